#include "frame/mainframe.h"

#include "app/consoleapp.h"
#include "dialogs/dialoghelpers.h"

#include "res/resource.h"
#include "view/ntsview.h"

#include <algorithm>

namespace {

constexpr DWORD kFlatLookVersion = 0x40046;   // 4.70
constexpr DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY;
constexpr DWORD kCategoryBarStyle = CBRS_LEFT | CBRS_TOOLTIPS | CBRS_FLYBY;
constexpr DWORD kCaptionBarStyle = CBRS_TOP | WS_BORDER;

// The pages' room, in dialog units.
constexpr int kPageAreaWidth = 343;
constexpr int kPageAreaHeight = 202;

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

const UINT kButtonLabels[] = {IDS_TOOLBAR_CONNECT, IDS_TOOLBAR_DISCONNECT, IDS_TOOLBAR_APPLY,
                              IDS_TOOLBAR_OPEN,    IDS_TOOLBAR_SAVE,       IDS_TOOLBAR_HELP};

// The flat look needs these shell and common-control libraries at 4.70 or later.
const char* const kShellLibraries[] = {"comctl32.dll", "Shell32.dll", "Shlwapi.dll"};

BOOL FlatLookAvailable()
{
    for (const char* library : kShellLibraries) {
        if (GetDllVersion(library) < kFlatLookVersion)
            return FALSE;
    }
    return TRUE;
}

// The height of a bar that shows; 0 for one that is missing or hidden.
CSize ShownSize(const CWnd& bar)
{
    if (!bar.m_hWnd || !(bar.GetStyle() & WS_VISIBLE))
        return CSize();
    CRect rect;
    bar.GetWindowRect(rect);
    return rect.Size();
}

// The dialog font's base units: the pages are laid out in them.
CSize PageBaseUnits()
{
    const afx::DialogTemplate* page = afx::FindDialogTemplate(IDD_MACHINE_PAGE);
    return afx::DialogBaseUnits(page ? afx::TemplateFont(*page) : CFont::FromFace("MS Sans Serif", 11, 0, false));
}

} // namespace

DWORD GetDllVersion(const CString& fileName)
{
    // Those libraries are the toolkit here, and it does everything their 4.71 did.
    for (const char* library : kShellLibraries) {
        if (fileName.CompareNoCase(library) == 0)
            return 0x40047;
    }
    return 0;
}

// ---- CMainToolBar ----

IMPLEMENT_DYNAMIC(CMainToolBar, CToolBar)

BOOL CMainToolBar::CreateButtons(CFrameWnd* frame, BOOL flatLook)
{
    const BOOL made = flatLook ? CreateEx(frame, TBSTYLE_FLAT, kToolBarStyle) : Create(frame, kToolBarStyle);
    if (!made || !LoadToolBar(IDR_MAINFRAME))
        return FALSE;
    for (int index = 0; index < int(std::size(kButtonLabels)); ++index) {
        CString label;
        label.LoadString(kButtonLabels[index]);
        SetButtonText(index, label);
    }
    SetSizes(CSize(35, flatLook ? 50 : 47), CSize(22, 23));
    return TRUE;
}

// ---- CMainFrame ----

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_HELP_FINDER, &CFrameWnd::OnHelpFinder)
    ON_COMMAND(ID_HELP, &CMainFrame::OnHelp)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : iconBar(new CIconBar)
{
}

CMainFrame::~CMainFrame()
{
    delete iconBar;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~(WS_MAXIMIZEBOX | WS_THICKFRAME | FWS_ADDTOTITLE);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    EnableDocking(CBRS_ALIGN_LEFT);
    if (!statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM)
        || !statusBar.SetIndicators(kIndicators, int(std::size(kIndicators))))
        return -1;
    const BOOL flatLook = FlatLookAvailable();
    if (!toolBar.CreateButtons(this, flatLook))
        return -1;
    if (CFont* font = toolBar.GetFont()) {
        LOGFONT description;
        font->GetLogFont(&description);
        if (toolBarFont.CreatePointFont(100, description.lfFaceName))
            toolBar.SetFont(&toolBarFont, TRUE);
    }
    if (!iconBar->Create(this, IDD_CATEGORY_BAR, kCategoryBarStyle))
        return -1;
    if (!captionBar.Create(this, IDD_CAPTION_BAR, kCaptionBarStyle, IDD_CAPTION_BAR))
        return -1;
    if (flatLook && (!reBar.Create(this) || !reBar.AddBar(&captionBar, RBBS_NOGRIPPER)))
        return -1;
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The network mode stays off, its pages built but never listed, unless the command line
    // offered it: then the user switches it from the menu.
    auto* console = dynamic_cast<CConsoleApp*>(AfxGetApp());
    CMenu* menu = GetMenu();
    if (menu && !(console && console->NetworkModeOffered()))
        menu->DeleteMenu(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND);
    return 0;
}

void CMainFrame::RecalcLayout(BOOL bNotify)
{
    // The caption bar takes its place inside the rebar when there is one.
    const CSize captionArea = reBar.m_hWnd ? ShownSize(reBar) : ShownSize(captionBar);
    const CSize base = PageBaseUnits();
    const int width = base.cx * kPageAreaWidth / 4 + 2 * GetSystemMetrics(SM_CXDLGFRAME)
                      + int(ShownSize(*iconBar).cx);
    const int aroundBars = int(ShownSize(statusBar).cy) + 2 * GetSystemMetrics(SM_CYDLGFRAME)
                           + GetSystemMetrics(SM_CYMENU) + int(ShownSize(toolBar).cy);
    // Tall enough for the pages, and for every category of the bar without a scroll bar.
    const int categoriesHeight = ShownSize(*iconBar).cy ? iconBar->HeightForAllItems() : 0;
    const int height = std::max(base.cy * kPageAreaHeight / 8 + int(captionArea.cy), categoriesHeight) + aroundBars;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    CFrameWnd::RecalcLayout(bNotify);
}

void CMainFrame::SetCaption(UINT stringId)
{
    if (!captionBar.m_hWnd)
        return;
    captionBar.captionId = stringId;
    captionBar.Invalidate(TRUE);
    captionBar.UpdateWindow();
}

void CMainFrame::SetStatusText(UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    statusBar.SetPaneText(0, text, TRUE);
    statusBar.UpdateWindow();
}

CListBox* CMainFrame::GetCategoryList()
{
    return iconBar ? &iconBar->categoryList : nullptr;
}

BOOL CMainFrame::IsNetworkMode()
{
    return ::IsNetworkMode();
}

void CMainFrame::OnHelp()
{
    auto* view = dynamic_cast<CNtsView*>(GetActiveView());
    if (!view) {
        OnHelpFinder();
        return;
    }
    AfxGetApp()->WinHelp(HID_BASE_RESOURCE + DWORD(view->GetHelpContext()), afx::HELP_CONTEXT);
}
