// Property sheets as child windows: a row of tabs, one per page, over the active page. A page's
// window is made from its template the first time its tab is shown; the sheet never owns its
// pages. Leaving a page asks its OnKillActive (which may keep it), entering one its
// OnSetActive.
#pragma once

#include "afx/win/dialog.h"

#include <QPointer>
#include <QTabBar>
#include <vector>

// A page asks its sheet to pass (wParam, lParam) to the pages that have a window, in order,
// until one answers non-zero (ON_MESSAGE(PSM_QUERYSIBLINGS, ...)).
constexpr UINT PSM_QUERYSIBLINGS = WM_USER + 108;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // The tab shows string nIDCaption, or the template's caption for 0.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    CString GetTabTitle() const;

    // Each time the page becomes the active one; the base reloads the controls (but the first
    // time: OnInitDialog has just loaded them). TRUE.
    virtual BOOL OnSetActive();
    // Before another page becomes the active one; the base saves the controls
    // (UpdateData(TRUE)). FALSE keeps this page.
    virtual BOOL OnKillActive();

    // The sibling query through the sheet; 0 when no page answered.
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

private:
    friend class CPropertySheet;
    UINT m_nIDCaption;
    bool m_bFirstSetActive = true;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet() = default;
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    // A child window (WS_CHILD) of pParentWnd as large as the largest page template needs;
    // dwStyle (DWORD)-1 means WS_CHILD | WS_VISIBLE. The page of iSelectPage is made at once.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = DWORD(-1), DWORD dwExStyle = 0);

    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const { return GetPage(m_nCurPage); }
    int GetActiveIndex() const { return m_nCurPage; }
    // FALSE when the active page refused to be left, or there is no such page.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

    // PSM_QUERYSIBLINGS.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL ShowPage(int nPage);
    BOOL CreatePageWindow(CPropertyPage* pPage);

    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    std::vector<CPropertyPage*> m_pages;
    int m_nCurPage = 0;
    QPointer<QTabBar> m_tabs;
    CRect m_pageRect;   // where pages stand, in the sheet's client pixels
};
