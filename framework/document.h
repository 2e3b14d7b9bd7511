// Documents and the single-document template that creates a document with
// its frame and view.
#pragma once

#include <windows.h>

#include "command_target.h"

class CFrameWnd;

class CDocument : public CCmdTarget {
public:
    // A new document holds nothing; programs that keep data override this.
    virtual BOOL OnNewDocument() { return TRUE; }
};

// What a frame needs to create its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

class CDocTemplate : public CCmdTarget {
public:
    CDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    // Makes the document, the frame (menu, icon and accelerators from the
    // template's resource ID) and the view, and shows the frame. A file name
    // is not meaningful to these documents: a new document is made either
    // way. Null when any part cannot be made.
    virtual CDocument* OpenDocumentFile(const char* path);

protected:
    UINT resourceId_;
    const CRuntimeClass* documentClass_;
    const CRuntimeClass* frameClass_;
    const CRuntimeClass* viewClass_;
};

class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;
    CDocument* OpenDocumentFile(const char* path) override;

private:
    CDocument* document_ = nullptr;
};
