// Views: child windows that show a document inside a frame. A form view
// is a child dialog made from a template.
#pragma once

#include "document.h"
#include "window.h"

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return document_; }
    void SetDocument(CDocument* document) { document_ = document; }

    // Creates the view's window inside the frame.
    virtual BOOL CreateView(CWnd* frame, UINT id);
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    virtual void OnUpdate(CView* sender, LPARAM hint);
    virtual void OnDraw(HDC dc);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Views are owned by their frame's window: they delete themselves.
    void PostNcDestroy() override { delete this; }

    CDocument* document_ = nullptr;
};

class CFormView : public CView {
public:
    explicit CFormView(UINT templateId) : templateId_(templateId) {}
    BOOL CreateView(CWnd* frame, UINT id) override;
    // Sizes the frame so that its client area fits the form.
    void ResizeParentToFit(BOOL shrinkOnly = TRUE);

protected:
    UINT templateId_;
    SIZE formSize_ = {0, 0};  // as the template makes it, in pixels
};
