// CMainFrame: the console's only top-level window: menu, the six-button toolbar, the status
// bar, the category bar on the left, the caption bar over the pages, and the view. Its size is
// fixed by the size of the pages. It handles creation, layout, help and the caption; the
// commands belong to the document, the view and the application.
#pragma once

#include "afx/afxwin.h"
#include "frame/captionbar.h"
#include "frame/iconbar.h"

// The toolbar: six buttons with their labels under the pictures.
class CMainToolBar : public CToolBar {
    DECLARE_DYNAMIC(CMainToolBar)
public:
    // Creates the bar with its buttons, labels and button size; flat buttons with the flat look.
    BOOL CreateButtons(CFrameWnd* frame, BOOL flatLook);
};

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    CIconBar* iconBar;
    CFont toolBarFont;
    CMainToolBar toolBar;
    CCaptionBar captionBar;
    CStatusBar statusBar;
    CReBar reBar;   // with the flat look only

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Sizes the window for the pages and the bars that show, then lays the bars out.
    void RecalcLayout(BOOL bNotify = TRUE) override;

    // Shows the string in the caption bar.
    void SetCaption(UINT stringId);
    // Shows the string in the status bar's message pane at once.
    void SetStatusText(UINT stringId);
    // The category bar's list; nullptr without a category bar.
    CListBox* GetCategoryList();
    // TRUE while the network-mode command is in the menu and checked.
    BOOL IsNetworkMode();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // The topic of the page on show; the contents without a view.
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()
};

// The version of a system library as major * 65536 + minor; 0 when it cannot be told.
DWORD GetDllVersion(const CString& fileName);
