// Control bars: toolbar, status bar, dialog bar and rebar. A bar belongs to the frame it is
// created in; the frame lays the bars out in creation order (CFrameWnd::RecalcLayout). The
// bar style's CBRS_ALIGN_* bit gives the side, its CBRS_BORDER_* bits a two-pixel edge on
// those sides. Notifications of a bar's controls that the bar does not handle go to the frame.
#pragma once

#include "afx/win/gdi.h"
#include "afx/win/winids.h"
#include "afx/win/wnd.h"

#include <QPointer>
#include <QWidget>
#include <vector>

class CFrameWnd;
class QAction;
class QLabel;
class QPainter;
class QToolButton;
namespace afx::detail { class BarWidget; }

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // The sides the bar may be docked on (CBRS_ALIGN_*).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

    // The bar's size on a horizontal (top, bottom) or vertical (left, right) side. Stretched,
    // it spans the side (the frame sets that length); otherwise its own length.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Gives the bar's items the state their update handlers in pTarget give them.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CControlBar() = default;
    // Attaches the bar's widget as a child of pParentWnd (a frame, or a window inside one),
    // registers the bar with the frame and sends WM_CREATE.
    BOOL CreateBar(QWidget* widget, DWORD dwStyle, CWnd* pParentWnd, UINT nID);
    // The border widths the CBRS_BORDER_* bits give.
    CRect BorderWidths() const;
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

private:
    friend class afx::detail::BarWidget;
    friend class CFrameWnd;   // lets the bars go when it goes first
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // dwCtrlStyle TBSTYLE_FLAT gives flat buttons that rise under the mouse.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(),
                  UINT nID = AFX_IDW_TOOLBAR);
    // The buttons of a TOOLBAR resource, their pictures cut from the bitmap of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    // A label under the button's picture; all buttons take the width of the widest.
    BOOL SetButtonText(int nIndex, const CString& lpszText);
    CString GetButtonText(int nIndex) const;
    // The least button size (labels may widen or heighten it) and the picture size.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const { return int(m_buttons.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

private:
    void LayoutButtons();

    struct Button {
        UINT id;            // 0 for a separator
        QToolButton* button;
        int labelWidth = -1;   // the label's width in labelFont; -1 until measured
    };
    std::vector<Button> m_buttons;
    QFont labelFont;        // the font the labels' widths were measured in
    CFont m_font;   // the font a toolbar has from the start, as Windows gives it one
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: ID_SEPARATOR for the message pane (which takes the width left), else an
    // indicator as wide as its string, showing it while its update handler enables it.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, const CString& lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetCount() const { return int(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

private:
    struct Pane {
        UINT id;
        QLabel* label;
        CString text;   // an indicator's string, shown while enabled
    };
    std::vector<Pane> m_panes;
};

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    // The bar's controls come from the dialog template; its size is the template's.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    CSize m_sizeDefault;
};

class CReBar : public CControlBar {
    DECLARE_DYNAMIC(CReBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    // Moves the bar into a new band, below the others, as wide as the rebar. Without
    // RBBS_NOGRIPPER the band has a gripper at its left.
    BOOL AddBar(CWnd* pBar, DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

private:
    void LayoutBands();
    void PaintGrippers(QPainter& painter) const;

    struct Band {
        QPointer<QWidget> bar;   // a band goes with its bar's window
        bool gripper;
    };
    std::vector<Band> m_bands;
    DWORD m_dwCtrlStyle = 0;
};
