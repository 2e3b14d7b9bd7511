#include "document.h"

#include <memory>

#include "application.h"
#include "frame.h"

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : resourceId_(resourceId), documentClass_(documentClass), frameClass_(frameClass), viewClass_(viewClass) {}

CDocument* CDocTemplate::OpenDocumentFile(const char*) {
    return nullptr;
}

CSingleDocTemplate::~CSingleDocTemplate() {
    delete document_;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char*) {
    std::unique_ptr<CDocument> document(dynamic_cast<CDocument*>(documentClass_->CreateObject()));
    if (!document || !document->OnNewDocument()) return nullptr;
    // The frame deletes itself when its window is destroyed.
    auto* frame = dynamic_cast<CFrameWnd*>(frameClass_->CreateObject());
    if (!frame) return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = viewClass_;
    context.m_pCurrentDoc = document.get();
    if (!frame->LoadFrame(resourceId_, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        delete frame;
        return nullptr;
    }
    delete document_;
    document_ = document.release();
    AfxGetApp()->m_pMainWnd = frame;
    frame->InitialUpdateFrame(document_, TRUE);
    return document_;
}
