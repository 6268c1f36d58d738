#include "afx/win/propsheet.h"

#include "afx/core/resources.h"
#include "afx/win/dlgtemplate.h"
#include "afx/win/metricsstyle.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

namespace {

constexpr int kPageMargin = 4;   // between the pane's frame and the pages

// The sheet's widget: the tabs' pane drawn around the pages' place.
class SheetWidget : public QWidget {
public:
    explicit SheetWidget(QWidget* parent) : QWidget(parent) {}

    QRect pane;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOptionTabWidgetFrame frame;
        frame.initFrom(this);
        frame.rect = pane;
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
    }
};

// A page's template as the sheet makes it: a child without caption, enabled, shown by the sheet.
afx::DialogTemplate PageTemplate(const afx::DialogTemplate& tmpl)
{
    afx::DialogTemplate page = tmpl;
    page.style = (page.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DISABLED | WS_VISIBLE | DS_MODALFRAME))
                 | WS_CHILD;
    return page;
}

CSize PageSize(const afx::DialogTemplate& tmpl)
{
    const CSize base = afx::DialogBaseUnits(afx::TemplateFont(tmpl));
    return {afx::DialogUnitsToPixelsX(tmpl.cx, base), afx::DialogUnitsToPixelsY(tmpl.cy, base)};
}

} // namespace

// ---- CPropertyPage ----

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate), m_nIDCaption(nIDCaption)
{
}

CString CPropertyPage::GetTabTitle() const
{
    CString title;
    if (m_nIDCaption) {
        title.LoadString(m_nIDCaption);
    } else if (const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(m_nIDHelp)) {
        title = tmpl->caption;
    }
    return title;
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    CWnd* sheet = m_hWnd ? GetParent() : nullptr;
    return sheet ? sheet->SendMessage(PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

// ---- CPropertySheet ----

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_nCurPage(int(iSelectPage))
{
    m_strCaption.LoadString(nIDCaption);
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.push_back(pPage);
    if (m_tabs)
        m_tabs->addTab(pPage->GetTabTitle());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[size_t(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    const auto found = std::find(m_pages.begin(), m_pages.end(), pPage);
    return found == m_pages.end() ? -1 : int(found - m_pages.begin());
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (m_hWnd || m_pages.empty())
        return FALSE;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    const DWORD style = dwStyle == DWORD(-1) ? WS_CHILD | WS_VISIBLE : dwStyle;
    QWidget* parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    auto* widget = new SheetWidget(parent);
    if (!(style & WS_CHILD))
        widget->setWindowFlags(Qt::Window);

    // The pages' font is the sheet's; the largest page sets the size.
    CSize largest;
    for (CPropertyPage* page : m_pages) {
        const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(page->m_nIDHelp);
        if (!tmpl) {
            qWarning("afx: no template %u for a property page", page->m_nIDHelp);
            delete widget;
            return FALSE;
        }
        if (page == m_pages.front())
            widget->setFont(afx::TemplateFont(*tmpl));
        const CSize size = PageSize(*tmpl);
        largest = CSize(std::max(largest.cx, size.cx), std::max(largest.cy, size.cy));
    }
    m_tabs = new QTabBar(widget);
    m_tabs->setDrawBase(false);
    m_tabs->setStyle(afx::detail::WindowsMetricsStyle());
    m_tabs->setExpanding(false);   // tabs as wide as their titles
    for (CPropertyPage* page : m_pages)
        m_tabs->addTab(page->GetTabTitle());
    const int tabHeight = m_tabs->sizeHint().height();
    const int width = int(largest.cx) + 2 * kPageMargin;
    m_tabs->setGeometry(0, 0, width, tabHeight);
    widget->pane = QRect(0, tabHeight, width, int(largest.cy) + 2 * kPageMargin);
    m_pageRect = CRect(CPoint(kPageMargin, tabHeight + kPageMargin), largest);

    CREATESTRUCT cs;
    cs.hwndParent = parent;
    cs.style = style;
    cs.dwExStyle = dwExStyle;
    cs.lpszName = m_strCaption;
    cs.cx = width;
    cs.cy = widget->pane.bottom() + 1;
    if (!CreateWithWidget(widget, cs))
        return FALSE;
    if (m_nCurPage < 0 || m_nCurPage >= GetPageCount())
        m_nCurPage = 0;
    QObject::connect(m_tabs, &QTabBar::currentChanged, widget, [this](int index) {
        if (index != m_nCurPage)
            SetActivePage(index);
    });
    return ShowPage(m_nCurPage);
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_nCurPage = nPage;   // the page to start with
        return TRUE;
    }
    if (nPage == m_nCurPage)
        return TRUE;
    CPropertyPage* current = GetActivePage();
    if ((current && current->m_hWnd && !current->OnKillActive()) || !ShowPage(nPage)) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_nCurPage);
        return FALSE;
    }
    return TRUE;
}

BOOL CPropertySheet::ShowPage(int nPage)
{
    CPropertyPage* page = m_pages[size_t(nPage)];
    if (!page->m_hWnd && !CreatePageWindow(page))
        return FALSE;
    CPropertyPage* previous = nPage != m_nCurPage ? GetActivePage() : nullptr;
    m_nCurPage = nPage;
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(nPage);
    }
    // On show alone before it is activated: what its activation asks appears over its own
    // picture, not the previous page's.
    if (previous && previous->m_hWnd)
        previous->m_hWnd->hide();
    if (page->m_hWnd)
        page->m_hWnd->show();
    page->OnSetActive();
    return TRUE;
}

BOOL CPropertySheet::CreatePageWindow(CPropertyPage* pPage)
{
    const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(pPage->m_nIDHelp);
    if (!tmpl || !pPage->CreateIndirect(PageTemplate(*tmpl), this, false) || !pPage->m_hWnd)
        return FALSE;
    pPage->m_hWnd->move(int(m_pageRect.left), int(m_pageRect.top));
    return TRUE;
}

LRESULT CPropertySheet::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != PSM_QUERYSIBLINGS)
        return CWnd::DefWindowProc(message, wParam, lParam);
    for (CPropertyPage* page : m_pages) {
        if (!page->m_hWnd)
            continue;
        if (const LRESULT answer = page->SendMessage(PSM_QUERYSIBLINGS, wParam, lParam))
            return answer;
    }
    return 0;
}
