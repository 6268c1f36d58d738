#include "view/ntsview.h"

#include "document/ntsmgr.h"
#include "frame/mainframe.h"
#include "res/resource.h"
#include "view/categorysheet.h"
#include "view/categorytable.h"

namespace {

constexpr DWORD kSheetStyle = WS_CHILD | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME;
constexpr COLORREF kBackground = RGB(192, 192, 192);
constexpr int kNetworkCategory = 5;
constexpr int kMailOptionsCategory = 7;
// The help topics of the directory's three tabs, which share one template.
constexpr int kDirectoryHelpIds[] = {229, 230, 231};

bool ValidCategory(int index)
{
    return index >= 0 && index < categoryCount;
}

int PageCount(const CategoryRow& row)
{
    int count = 0;
    for (UINT page : row.pages)
        count += page != 0;
    return count;
}

CMainFrame* MainFrame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

} // namespace

IMPLEMENT_DYNCREATE(CNtsView, CView)

BEGIN_MESSAGE_MAP(CNtsView, CView)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_VIEW_NETWORK_MODE, &CNtsView::OnToggleNetwork)
END_MESSAGE_MAP()

CNtsView::~CNtsView() = default;

CNtsMgr* CNtsView::GetDocument() const
{
    return static_cast<CNtsMgr*>(m_pDocument);
}

CCategorySheet* CNtsView::SheetOf(int index) const
{
    return ValidCategory(index) && size_t(index) < categoryWindows.size()
               ? dynamic_cast<CCategorySheet*>(categoryWindows[size_t(index)].get())
               : nullptr;
}

int CNtsView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    tabPositions.resize(categoryCount);
    for (int index = 0; index < categoryCount; ++index)
        categoryWindows.push_back(CreateCategoryWindow(index));
    return 0;
}

std::unique_ptr<CWnd> CNtsView::CreateCategoryWindow(int index)
{
    const CategoryRow& row = categoryTable[index];
    if (PageCount(row) == 1 && row.pages[0] != IDD_MAILBOX_PAGE) {
        std::unique_ptr<CDialog> panel(GetDocument()->CreatePage(row.pages[0], 0));
        if (panel && panel->Create(row.pages[0], this))
            return panel;
    } else {
        auto sheet = std::make_unique<CCategorySheet>(this);
        for (int position = 0; position < PageCount(row); ++position) {
            std::unique_ptr<CDialog> made(GetDocument()->CreatePage(row.pages[position], position));
            auto* page = dynamic_cast<CPropertyPage*>(made.get());
            if (!page)
                continue;
            made.release();
            sheet->AddPage(page);
            allPages.emplace_back(page);
            tabPositions[size_t(index)].push_back(position);
        }
        if (sheet->GetPageCount() > 0 && sheet->Create(this, kSheetStyle)) {
            sheet->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return sheet;
        }
    }
    // Nothing of this category to show yet: an empty window keeps its place.
    auto empty = std::make_unique<CWnd>();
    empty->Create(CString(), CString(), WS_CHILD, CRect(), this, 0);
    return empty;
}

void CNtsView::OnDraw(CDC*)
{
}

BOOL CNtsView::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(client);
    pDC->FillSolidRect(client, kBackground);
    return TRUE;
}

void CNtsView::SelectCategory(int index)
{
    if (!ValidCategory(index) || size_t(index) >= categoryWindows.size())
        return;
    current = index;
    if (CMainFrame* frame = MainFrame())
        frame->SetCaption(categoryTable[index].captionId);
    for (size_t other = 0; other < categoryWindows.size(); ++other)
        categoryWindows[other]->ShowWindow(int(other) == index ? SW_SHOW : SW_HIDE);
    CWnd& shown = *categoryWindows[size_t(index)];
    shown.SetFocus();
    if (CCategorySheet* sheet = SheetOf(index); sheet && sheet->GetActivePage())
        sheet->GetActivePage()->OnSetActive();
}

void CNtsView::FillCategoryBar()
{
    CMainFrame* frame = MainFrame();
    CListBox* list = frame ? frame->GetCategoryList() : nullptr;
    if (!list)
        return;
    list->ResetContent();
    for (int index = 0; index < int(categoryWindows.size()); ++index) {
        if (frame->IsNetworkMode() || !categoryTable[index].networkOnly)
            list->AddString(reinterpret_cast<LPCTSTR>(index));
    }
}

void CNtsView::OnUpdate(CView*, LPARAM lHint, CObject*)
{
    CCategorySheet* shownSheet = SheetOf(current);
    if (lHint != 0) {
        SelectCategory(int(lHint) - 100);
        return;
    }
    for (const std::unique_ptr<CWnd>& window : categoryWindows)
        window->UpdateData(FALSE);
    for (const std::unique_ptr<CPropertyPage>& page : allPages) {
        if (page->m_hWnd)
            page->UpdateData(FALSE);
    }
    if (shownSheet && shownSheet->GetActivePage())
        shownSheet->GetActivePage()->OnSetActive();
    if (current == -1) {
        FillCategoryBar();
        SelectCategory(0);
    }
}

void CNtsView::OnToggleNetwork()
{
    if (CMainFrame* frame = MainFrame(); frame && frame->GetMenu()) {
        const UINT checked = frame->IsNetworkMode() ? MF_UNCHECKED : MF_CHECKED;
        frame->GetMenu()->CheckMenuItem(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND | checked);
    }
    FillCategoryBar();
    if (current == kNetworkCategory || current == kMailOptionsCategory)
        SelectCategory(0);
    GetDocument()->UpdateAllViews(nullptr, 0, nullptr);
}

int CNtsView::GetHelpContext()
{
    if (!ValidCategory(current))
        return 0;
    const CategoryRow& row = categoryTable[current];
    int position = 0;
    if (CCategorySheet* sheet = SheetOf(current)) {
        const std::vector<int>& positions = tabPositions[size_t(current)];
        const int tab = sheet->GetActiveIndex();
        position = tab >= 0 && tab < int(positions.size()) ? positions[size_t(tab)] : 0;
    }
    const UINT id = row.pages[position];
    if (id != IDD_DIRECTORY_PAGE)
        return int(id);
    return kDirectoryHelpIds[position];
}
