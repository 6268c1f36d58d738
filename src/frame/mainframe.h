// CMainFrame: the console's main window.
#pragma once

#include "afx/afxwin.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame() = default;

};
