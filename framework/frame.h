// The main window: a frame with a menu and accelerators around one view,
// routing commands to the view, the document, itself and the application.
#pragma once

#include "document.h"
#include "window.h"

class CView;

class CFrameWnd : public CWnd {
public:
    // Creates the frame with the menu, icon and accelerators of resourceId;
    // the context names the view to create inside it.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnCmdMsg(UINT id, UINT code, CCmdUI* update) override;

    CView* GetActiveView() const { return activeView_; }
    void SetActiveView(CView* view) { activeView_ = view; }
    // Sizes the view to the client area.
    virtual void RecalcLayout();
    // Sends the views their initial update, then shows the frame.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    // Runs the update handlers of a menu about to open.
    void OnInitMenuPopup(HMENU menu);

    HACCEL m_hAccelTable = nullptr;
    CView* activeView_ = nullptr;
    CCreateContext context_;
    // Set once the frame stands complete: from then on it deletes itself
    // when its window goes.
    bool autoDelete_ = false;
};
