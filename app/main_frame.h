// The control center's one top-level window.
#pragma once

#include "frame.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};
