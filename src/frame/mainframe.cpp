#include "frame/mainframe.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)
