// CFrameWnd: the main window. It carries the menu (with its accelerators), the control bars
// and the view; it routes commands to the view, the view's document, itself and the
// application; it keeps menu items and toolbar buttons in the state their update handlers
// give them.
#pragma once

#include "afx/win/winids.h"
#include "afx/win/wnd.h"

#include <vector>

class CControlBar;
class CDocTemplate;
class CDocument;
class CFrameWnd;
class CMenu;
class CView;
class QMenuBar;
namespace afx::detail { class FrameWidget; }

// What a frame needs to make its view and tie it to a document.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with the menu, accelerators, icon and title (first part of the
    // string) of resource nIDResource. The window is created hidden.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = DWORD(WS_OVERLAPPEDWINDOW) | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Without WS_MAXIMIZEBOX the window has no maximise button; without WS_THICKFRAME the user
    // cannot resize it (the program still can).
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Lays the bars out in the order they were created, each on its side of what is left,
    // and gives the view the rest. Overrides may resize the frame first.
    virtual void RecalcLayout(BOOL bNotify = TRUE);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame's menu bar; nullptr for a frame without a menu.
    CMenu* GetMenu() const;

    // Docking: the sides bars may take.
    void EnableDocking(DWORD dwDockStyle);
    CControlBar* GetControlBar(UINT nID) const;
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay = FALSE);

    // The message pane of the status bar: a text, or the first line of a command's string.
    void SetMessageText(const CString& lpszText);
    void SetMessageText(UINT nID);
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    CWnd* GetMessageBar() const;

    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Menu items of a popup about to show, and toolbar buttons and indicators (on idle, or on
    // demand), get the state their update handlers give them; a command nobody handles is
    // disabled.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnIdleUpdateCmdUI();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // The save prompt at once; the documents and the frame go once the event that asked has
    // returned (Quitter, the close box and the toolbar are all inside the frame's own widgets).
    afx_msg void OnClose();
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    afx_msg void OnHelpFinder();

    // Bars register themselves with the frame that lays them out.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    void PostNcDestroy() override;

    CString m_strTitle;
    UINT m_nIDHelp = 0;

    DECLARE_MESSAGE_MAP()

private:
    friend class afx::detail::FrameWidget;
    BOOL CreateFrame(const CString& lpszWindowName, DWORD dwStyle, CWnd* pParentWnd, UINT nIDResource,
                     CCreateContext* pContext);
    void ConnectMenuBar();
    void LoadAccelerators(UINT nIDResource);
    // What closing does once the user agreed: the documents, then the frame.
    void CloseDocumentsAndFrame();
    // RecalcLayout with the fixed size of a frame without sizing border lifted meanwhile.
    void Relayout();
    CRect LayoutArea() const;

    QMenuBar* m_menuBar = nullptr;
    bool m_closing = false;   // a close the user agreed to is posted
    CView* m_pViewActive = nullptr;
    std::vector<CControlBar*> m_listControlBars;   // in creation order
    DWORD m_dwDockStyle = 0;
    bool m_bInRecalcLayout = false;
};

namespace afx {
// The frame a window belongs to: its nearest ancestor that is a CFrameWnd (not the window
// itself); nullptr when none.
CFrameWnd* ParentFrameOf(const CWnd* pWnd);
}
