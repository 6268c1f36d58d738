#include "afx/win/frame.h"

#include "afx/core/resources.h"
#include "afx/win/bars.h"
#include "afx/win/doc.h"
#include "afx/win/fwstrings.h"
#include "afx/win/gdi.h"
#include "afx/win/hook.h"
#include "afx/win/menu.h"
#include "afx/win/view.h"
#include "afx/win/winapp.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QWidget>
#include <algorithm>

namespace afx::detail {

// The frame's widget: its layout follows its size and its showing.
class FrameWidget : public QWidget {
public:
    FrameWidget() = default;

protected:
    void resizeEvent(QResizeEvent*) override { Relayout(); }
    void showEvent(QShowEvent*) override { Relayout(); }

private:
    void Relayout()
    {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(this)))
            frame->Relayout();
    }
};

} // namespace afx::detail

namespace {

// A command's enable state as its update handler gives it, without touching any item.
class EnableProbe : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(const CString&) override {}
};

// The Qt key of a virtual-key code of an accelerator table; 0 for keys it does not know.
int QtKey(uint32_t vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return int(vk);   // Qt's codes of letters and digits are their ASCII codes
    if (vk >= VK_F1 && vk < VK_F1 + 12)
        return Qt::Key_F1 + int(vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    default: return 0;
    }
}

QKeySequence KeyOf(const afx::Accelerator& accelerator)
{
    const int key = (accelerator.flags & afx::Accelerator::VirtKey) ? QtKey(accelerator.key)
                                                                  : int(QChar(char16_t(accelerator.key)).toUpper().unicode());
    if (!key)
        return {};
    int modifiers = 0;
    if (accelerator.flags & afx::Accelerator::Shift)
        modifiers |= Qt::SHIFT;
    if (accelerator.flags & afx::Accelerator::Control)
        modifiers |= Qt::CTRL;
    if (accelerator.flags & afx::Accelerator::Alt)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}

} // namespace

namespace afx {

CFrameWnd* ParentFrameOf(const CWnd* pWnd)
{
    for (QWidget* widget = pWnd && pWnd->m_hWnd ? pWnd->m_hWnd->parentWidget() : nullptr; widget;
         widget = widget->parentWidget()) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(widget)))
            return frame;
    }
    return nullptr;
}

} // namespace afx

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    // Bars that outlive the frame (members of a derived frame go after it) must not call back.
    for (CControlBar* bar : m_listControlBars)
        bar->m_pDockSite = nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString documentString;
    documentString.LoadString(nIDResource);
    AfxExtractSubString(m_strTitle, documentString, 0);
    if (!CreateFrame(m_strTitle, dwDefaultStyle, pParentWnd, nIDResource, pContext))
        return FALSE;   // the frame deleted itself with its window
    if (HICON icon = AfxLoadIcon(nIDResource))
        m_hWnd->setWindowIcon(*icon);
    LoadAccelerators(nIDResource);
    return TRUE;
}

BOOL CFrameWnd::CreateFrame(const CString& lpszWindowName, DWORD dwStyle, CWnd* pParentWnd, UINT nIDResource,
                            CCreateContext* pContext)
{
    CREATESTRUCT cs;
    cs.lpCreateParams = pContext;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.style = dwStyle;
    cs.lpszName = lpszWindowName;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    auto* widget = new afx::detail::FrameWidget;
    if (cs.hwndParent)
        widget->setParent(cs.hwndParent, Qt::Window);
    widget->setWindowFlags(Qt::Window | afx::detail::TitleBarFlags(cs.style | WS_CAPTION | WS_SYSMENU));
    widget->resize(640, 480);
    if (const std::vector<afx::MenuItem>* items = afx::ResourceScript::Instance().Menu(int(nIDResource))) {
        m_menuBar = afx::BuildMenuBar(*items, widget);
        ConnectMenuBar();
    }
    // On failure the widget is destroyed, and the frame with it.
    return CreateWithWidget(widget, cs);
}

void CFrameWnd::ConnectMenuBar()
{
    QObject::connect(m_menuBar, &QMenuBar::triggered, m_menuBar, [this](QAction* action) {
        if (const UINT id = afx::CommandIdOf(action))
            SendMessage(WM_COMMAND, id);
    });
    const QList<QAction*> popups = m_menuBar->actions();
    for (int index = 0; index < popups.size(); ++index) {
        QMenu* popup = popups.at(index)->menu();
        if (!popup)
            continue;
        QObject::connect(popup, &QMenu::aboutToShow, popup, [this, popup, index] {
            OnInitMenuPopup(CMenu::FromHandle(popup), UINT(index), FALSE);
        });
        QObject::connect(popup, &QMenu::hovered, popup, [this](QAction* action) {
            const UINT id = afx::CommandIdOf(action);
            SetMessageText(id && !action->menu() ? id : UINT(AFX_IDS_IDLEMESSAGE));
        });
        QObject::connect(popup, &QMenu::aboutToHide, popup, [this] { SetMessageText(AFX_IDS_IDLEMESSAGE); });
    }
}

void CFrameWnd::LoadAccelerators(UINT nIDResource)
{
    const std::vector<afx::Accelerator>* table = afx::ResourceScript::Instance().Accelerators(int(nIDResource));
    if (!table)
        return;
    for (const afx::Accelerator& accelerator : *table) {
        const QKeySequence key = KeyOf(accelerator);
        if (key.isEmpty()) {
            qWarning("afx: accelerator key %u of table %u is not known here", accelerator.key, nIDResource);
            continue;
        }
        auto* shortcut = new QShortcut(key, m_hWnd);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT command = UINT(accelerator.command);
        QObject::connect(shortcut, &QShortcut::activated, shortcut,
                         [this, command] { SendMessage(WM_COMMAND, MAKEWPARAM(command, 1)); });
    }
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!OnCreateClient(lpCreateStruct, static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams)))
        return -1;
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    Relayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    auto* view = DYNAMIC_DOWNCAST(CWnd, pContext->m_pNewViewClass->CreateObject());
    if (!view) {
        qWarning("afx: the view class %s cannot be created", pContext->m_pNewViewClass->m_lpszClassName);
        return nullptr;
    }
    // A view deletes itself with its window, also when its creation fails.
    if (!view->CreateEx(0, CString(), CString(), WS_CHILD | WS_VISIBLE, CRect(), this, nID, pContext))
        return nullptr;
    return view;
}

void CFrameWnd::PostNcDestroy()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->OnMainWindowDestroyed();
    delete this;
}

CMenu* CFrameWnd::GetMenu() const
{
    return CMenu::FromHandle(m_menuBar);
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    m_pViewActive = pViewNew;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

// ---- Layout ----

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    std::erase(m_listControlBars, pBar);
}

CRect CFrameWnd::LayoutArea() const
{
    CRect area(m_hWnd->rect());
    if (m_menuBar) {
        // The menu bar wraps onto more lines when the window is narrow.
        const int wrapped = m_menuBar->heightForWidth(area.Width());
        area.top += wrapped > 0 ? wrapped : m_menuBar->sizeHint().height();
    }
    return area;
}

void CFrameWnd::Relayout()
{
    if (!m_hWnd || m_bInRecalcLayout)
        return;
    const bool fixed = !(GetStyle() & WS_THICKFRAME);
    if (fixed) {
        m_hWnd->setMinimumSize(0, 0);
        m_hWnd->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    // An override that sizes the frame from its bars sees them as the last layout left them:
    // once the frame changed size, the bars are laid out again until it holds still.
    for (int pass = 0; pass < 3 && m_hWnd; ++pass) {
        const QSize before = m_hWnd->size();
        RecalcLayout();
        if (!m_hWnd || m_hWnd->size() == before)
            break;
    }
    if (fixed && m_hWnd)
        m_hWnd->setFixedSize(m_hWnd->size());
}

void CFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (!m_hWnd || m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = true;
    CRect area = LayoutArea();
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, m_hWnd->width(), int(area.top));
    for (CControlBar* bar : m_listControlBars) {
        if (!bar->m_hWnd || bar->m_hWnd->parentWidget() != m_hWnd || bar->m_hWnd->isHidden())
            continue;
        const DWORD align = bar->GetBarStyle() & CBRS_ALIGN_ANY;
        const bool horizontal = align & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        const CSize size = bar->CalcFixedLayout(TRUE, horizontal);
        CRect place = area;
        if (align & CBRS_ALIGN_TOP) {
            place.bottom = place.top + size.cy;
            area.top = place.bottom;
        } else if (align & CBRS_ALIGN_BOTTOM) {
            place.top = place.bottom - size.cy;
            area.bottom = place.top;
        } else if (align & CBRS_ALIGN_LEFT) {
            place.right = place.left + size.cx;
            area.left = place.right;
        } else if (align & CBRS_ALIGN_RIGHT) {
            place.left = place.right - size.cx;
            area.right = place.left;
        } else {
            continue;   // a bar without side stays where it is
        }
        bar->m_hWnd->setGeometry(QRect(place));
    }
    if (CWnd* view = GetDlgItem(AFX_IDW_PANE_FIRST))
        view->m_hWnd->setGeometry(QRect(area).normalized());
    m_bInRecalcLayout = false;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* bar : m_listControlBars) {
        if (UINT(bar->GetDlgCtrlID()) == nID)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    Relayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* bar = GetControlBar(nID);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !(bar->GetStyle() & WS_VISIBLE), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    if (CControlBar* bar = GetControlBar(pCmdUI->m_nID)) {
        pCmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
        return;
    }
    pCmdUI->ContinueRouting();
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    UINT key = 0;
    switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
    default: break;
    }
    pCmdUI->Enable(GetKeyState(int(key)) & 1);
}

void CFrameWnd::OnHelpFinder()
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(0, afx::HELP_FINDER);
}

// ---- Status messages ----

CWnd* CFrameWnd::GetMessageBar() const
{
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

void CFrameWnd::SetMessageText(const CString& lpszText)
{
    if (auto* statusBar = dynamic_cast<CStatusBar*>(GetMessageBar()))
        statusBar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    CString message;
    GetMessageString(nID, message);
    SetMessageText(message);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString text;
    if (nID == AFX_IDS_IDLEMESSAGE)
        text = afx::FrameworkString(nID);
    else
        text.LoadString(nID);
    AfxExtractSubString(rMessage, text, 0);
}

// ---- Showing and titles ----

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (!m_pViewActive) {
        if (auto* view = dynamic_cast<CView*>(GetDlgItem(AFX_IDW_PANE_FIRST)))
            SetActiveView(view, FALSE);
    }
    if (bMakeVisible) {
        for (QWidget* child : m_hWnd->findChildren<QWidget*>()) {
            if (auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(child)))
                view->OnInitialUpdate();
        }
        int show = -1;
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
            show = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
        ActivateFrame(show);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    m_hWnd->raise();
    m_hWnd->activateWindow();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* document = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && document)
        SetWindowText(document->GetTitle() + " - " + m_strTitle);
    else
        SetWindowText(m_strTitle);
}

// ---- Commands ----

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        // A menu item or accelerator whose update handler disables it does nothing.
        const UINT id = LOWORD(wParam);
        if (id == 0)
            return FALSE;
        EnableProbe probe;
        probe.m_nID = id;
        OnCmdMsg(id, int(CN_UPDATE_COMMAND_UI), &probe, nullptr);
        if (!probe.m_bEnabled)
            return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMenuCmdUI state;
    state.m_pMenu = pPopupMenu;
    // Handlers may add or remove items (the recent-file list): the count is read each time.
    for (state.m_nIndex = 0; state.m_nIndex < pPopupMenu->GetMenuItemCount(); ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(int(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == UINT(-1))
            continue;
        state.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    for (CControlBar* bar : std::vector<CControlBar*>(m_listControlBars))
        bar->OnUpdateCmdUI(this, TRUE);
}

// ---- Closing ----

void CFrameWnd::OnClose()
{
    // The user has agreed already: the window goes once the posted close runs.
    if (m_closing)
        return;
    CDocument* document = GetActiveDocument();
    if (document && !document->CanCloseFrame(this))
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this && !document && !app->SaveAllModified())
        return;
    m_closing = true;
    DestroyWindowLater([this] { CloseDocumentsAndFrame(); });
}

void CFrameWnd::CloseDocumentsAndFrame()
{
    CDocument* document = GetActiveDocument();
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
        // Closing the documents destroys the frames that show them, this one among them.
        app->CloseAllDocuments(FALSE);
        if (app->m_pMainWnd != this)
            return;
    } else if (document && document->m_bAutoDelete) {
        document->OnCloseDocument();
        return;
    }
    DestroyWindow();
}
