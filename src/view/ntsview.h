// CNtsView: the view of the settings record. It holds every page of the eight categories at
// once, shows one category at a time, reloads the pages when the record changes as a whole,
// and tells which page's help topic applies.
#pragma once

#include "afx/afxwin.h"

#include <memory>
#include <vector>

class CCategorySheet;
class CNtsMgr;

class CNtsView : public CView {
    DECLARE_DYNCREATE(CNtsView)
public:
    CNtsView() = default;
    ~CNtsView() override;

    // Every page put into a sheet, in creation order (a sheet does not own its pages).
    std::vector<std::unique_ptr<CPropertyPage>> allPages;
    // One window per category, at its index: the sheet, the single panel, or an empty window
    // while none of the category's pages exists.
    std::vector<std::unique_ptr<CWnd>> categoryWindows;
    // The visible category; -1 until the first is shown.
    int current = -1;

    // Makes the category current and visible.
    void SelectCategory(int index);
    // Lists the categories of the current mode in the category bar.
    void FillCategoryBar();
    // The help id of the page on show (0 before any).
    int GetHelpContext();

    CNtsMgr* GetDocument() const;
    // The sheet of a category; nullptr for a panel.
    CCategorySheet* SheetOf(int index) const;

    void OnDraw(CDC* pDC) override;
    // Hint 0: the record changed as a whole; 100 + n: show category n.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnToggleNetwork();

    DECLARE_MESSAGE_MAP()

private:
    // The window of a category row: a sheet of its pages, its panel, or an empty window.
    std::unique_ptr<CWnd> CreateCategoryWindow(int index);

    // Per category, the row position of each tab its sheet holds (pages not built yet have
    // no tab).
    std::vector<std::vector<int>> tabPositions;
};
