#include "afx/win/bars.h"

#include "afx/core/resources.h"
#include "afx/win/dlgtemplate.h"
#include "afx/win/frame.h"
#include "afx/win/fwstrings.h"
#include "afx/win/menu.h"

#include <QAction>
#include <QEvent>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <functional>

namespace {

constexpr int kBorder = 2;          // a CBRS_BORDER_* edge
constexpr int kButtonPadding = 7;   // around a toolbar button's picture (and label)
constexpr int kToolBarMargin = 2;   // above and below the buttons
constexpr int kSeparatorWidth = 8;
constexpr int kGripperWidth = 10;

// The toolbar's buttons and the status bar's panes: items with an id and a widget.
template <class Item>
bool ValidIndex(const std::vector<Item>& items, int index)
{
    return index >= 0 && index < int(items.size());
}

template <class Item>
UINT ItemId(const std::vector<Item>& items, int index)
{
    return ValidIndex(items, index) ? items[size_t(index)].id : 0;
}

template <class Item>
int IndexOfId(const std::vector<Item>& items, UINT id)
{
    const auto found = std::find_if(items.begin(), items.end(), [id](const Item& item) { return item.id == id; });
    return found == items.end() ? -1 : int(found - items.begin());
}

// Windows' gripper: two etched bars, light above and left, dark below and right.
void PaintGripper(QPainter& painter, const QRect& area, const QPalette& palette)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Mid);
    const int top = area.top() + 2;
    const int bottom = area.bottom() - 2;
    for (const int left : {area.left() + 2, area.left() + 5}) {
        painter.setPen(light);
        painter.drawLine(left, top, left, bottom);
        painter.drawLine(left, top, left + 1, top);
        painter.setPen(dark);
        painter.drawLine(left + 2, top, left + 2, bottom);
        painter.drawLine(left, bottom, left + 2, bottom);
    }
}

} // namespace

namespace afx::detail {

// A bar's widget: its edges as the bar style asks, and its layout on each resize.
class BarWidget : public QWidget {
public:
    explicit BarWidget(CControlBar* bar) : bar(bar) {}

    std::function<void()> relayout;
    std::function<void(QPainter&)> paintInside;   // what the bar draws besides its edges

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (paintInside)
            paintInside(painter);
        const CRect edges = bar->BorderWidths();
        const QColor dark = palette().color(QPalette::Mid);
        const QColor light = palette().color(QPalette::Light);
        const QRect r = rect();
        auto line = [&](QPoint a, QPoint b, QPoint c, QPoint d) {
            painter.setPen(dark);
            painter.drawLine(a, b);
            painter.setPen(light);
            painter.drawLine(c, d);
        };
        if (edges.top)
            line(r.topLeft(), r.topRight(), r.topLeft() + QPoint(0, 1), r.topRight() + QPoint(0, 1));
        if (edges.bottom)
            line(r.bottomLeft() - QPoint(0, 1), r.bottomRight() - QPoint(0, 1), r.bottomLeft(), r.bottomRight());
        if (edges.left)
            line(r.topLeft(), r.bottomLeft(), r.topLeft() + QPoint(1, 0), r.bottomLeft() + QPoint(1, 0));
        if (edges.right)
            line(r.topRight() - QPoint(1, 0), r.bottomRight() - QPoint(1, 0), r.topRight(), r.bottomRight());
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (relayout)
            relayout();
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange && relayout)
            relayout();
        QWidget::changeEvent(event);
    }

private:
    CControlBar* const bar;
};

} // namespace afx::detail

using afx::detail::BarWidget;

namespace {

// Tooltips (second line of the command's string) and status prompts (first line) of a bar's
// buttons, as the bar style asks.
class ButtonPrompts : public QObject {
public:
    ButtonPrompts(CControlBar* bar, UINT id, QWidget* button) : QObject(button), bar(bar), id(id)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ToolTip: {
            CString text;
            CString tip;
            text.LoadString(id);
            AfxExtractSubString(tip, text, 1);
            auto* help = static_cast<QHelpEvent*>(event);
            if ((bar->GetBarStyle() & CBRS_TOOLTIPS) && !tip.IsEmpty())
                QToolTip::showText(help->globalPos(), tip, static_cast<QWidget*>(watched));
            else
                QToolTip::hideText();
            return true;
        }
        case QEvent::Enter:
            if (CFrameWnd* frame = Frame())
                frame->SetMessageText(id);
            return false;
        case QEvent::Leave:
            if (CFrameWnd* frame = Frame())
                frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
            return false;
        default:
            return false;
        }
    }

private:
    CFrameWnd* Frame() const
    {
        return (bar->GetBarStyle() & CBRS_FLYBY) ? bar->GetDockingFrame() : nullptr;
    }

    CControlBar* const bar;
    const UINT id;
};

class ToolCmdUI : public CCmdUI {
public:
    explicit ToolCmdUI(QAction* action) : action(action) {}
    void Enable(BOOL bOn) override
    {
        action->setEnabled(bOn);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { afx::SetActionChecked(action, nCheck != 0); }
    void SetText(const CString&) override {}   // a button's label is the bar's

private:
    QAction* const action;
};

} // namespace

// ---- CControlBar ----

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

CControlBar::~CControlBar()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    auto* widget = dynamic_cast<BarWidget*>(m_hWnd);
    if (widget && widget->relayout)
        widget->relayout();
    if (m_hWnd)
        m_hWnd->update();
}

BOOL CControlBar::CreateBar(QWidget* widget, DWORD dwStyle, CWnd* pParentWnd, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    widget->setParent(pParentWnd ? pParentWnd->m_hWnd : nullptr);
    CREATESTRUCT cs;
    cs.hwndParent = widget->parentWidget();
    cs.hMenu = nID;
    cs.style = (dwStyle & ~CBRS_ALL) | WS_CHILD;
    if (!CreateWithWidget(widget, cs))
        return FALSE;
    m_pDockSite = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (!m_pDockSite)
        m_pDockSite = afx::ParentFrameOf(this);
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

void CControlBar::PostNcDestroy()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}

CRect CControlBar::BorderWidths() const
{
    return {(m_dwStyle & CBRS_BORDER_LEFT) ? kBorder : 0, (m_dwStyle & CBRS_BORDER_TOP) ? kBorder : 0,
            (m_dwStyle & CBRS_BORDER_RIGHT) ? kBorder : 0, (m_dwStyle & CBRS_BORDER_BOTTOM) ? kBorder : 0};
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const QSize size = m_hWnd ? m_hWnd->size() : QSize();
    return {size.width(), size.height()};
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        // The bar's own map first; what it leaves goes to the frame.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result))
            return result;
        return m_pDockSite ? m_pDockSite->SendMessage(message, wParam, lParam) : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- CToolBar ----

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    auto* widget = new BarWidget(this);
    widget->relayout = [this] { LayoutButtons(); };
    widget->paintInside = [this](QPainter& painter) {
        if (m_dwStyle & CBRS_GRIPPER)
            PaintGripper(painter, QRect(QPoint(int(BorderWidths().left), 0), QSize(kGripperWidth, m_hWnd->height())),
                         m_hWnd->palette());
    };
    if (!CreateBar(widget, dwStyle, pParentWnd, nID))
        return FALSE;
    ModifyStyle(0, dwCtrlStyle);
    const QFontInfo font(widget->font());
    LOGFONT logFont;
    logFont.lfHeight = -font.pixelSize();
    logFont.lfFaceName = font.family();
    m_font.CreateFontIndirect(&logFont);
    SetFont(&m_font, FALSE);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    const afx::ResourceScript& resources = afx::ResourceScript::Instance();
    const afx::ToolbarResource* toolbar = resources.Toolbar(int(nIDResource));
    if (!toolbar || !m_hWnd)
        return FALSE;
    const QPixmap strip = QPixmap::fromImage(afx::LoadPicture(resources.BitmapFile(int(nIDResource))));
    for (const Button& old : m_buttons)
        delete old.button;
    m_buttons.clear();
    const bool flat = GetStyle() & TBSTYLE_FLAT;
    int image = 0;
    for (const int id : toolbar->buttons) {
        Button entry{UINT(id), nullptr};
        if (id != ID_SEPARATOR) {
            entry.button = new QToolButton(m_hWnd);
            QAction* action = afx::NewCommandAction(CString(), UINT(id), entry.button);
            action->setIcon(strip.copy(image * toolbar->width, 0, toolbar->width, toolbar->height));
            ++image;
            entry.button->setDefaultAction(action);
            entry.button->setAutoRaise(flat);
            entry.button->setProperty("cmdId", id);
            new ButtonPrompts(this, UINT(id), entry.button);
            QObject::connect(action, &QAction::triggered, entry.button, [this, id] {
                if (m_pDockSite)
                    m_pDockSite->SendMessage(WM_COMMAND, UINT(id));
            });
            entry.button->show();
        }
        m_buttons.push_back(entry);
    }
    SetSizes(CSize(toolbar->width + kButtonPadding, toolbar->height + kButtonPadding),
             CSize(toolbar->width, toolbar->height));
    return TRUE;
}

BOOL CToolBar::SetButtonText(int nIndex, const CString& lpszText)
{
    if (!ValidIndex(m_buttons, nIndex) || !m_buttons[size_t(nIndex)].button)
        return FALSE;
    QToolButton* button = m_buttons[size_t(nIndex)].button;
    button->defaultAction()->setText(lpszText);
    m_buttons[size_t(nIndex)].labelWidth = -1;
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    LayoutButtons();
    return TRUE;
}

CString CToolBar::GetButtonText(int nIndex) const
{
    if (!ValidIndex(m_buttons, nIndex) || !m_buttons[size_t(nIndex)].button)
        return {};
    return m_buttons[size_t(nIndex)].button->defaultAction()->text();
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = CSize(int(sizeButton.cx), int(sizeButton.cy));
    m_sizeImage = CSize(int(sizeImage.cx), int(sizeImage.cy));
    LayoutButtons();
}

UINT CToolBar::GetItemID(int nIndex) const
{
    return ItemId(m_buttons, nIndex);
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return IndexOfId(m_buttons, nIDFind);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    *lpRect = CRect();
    if (ValidIndex(m_buttons, nIndex) && m_buttons[size_t(nIndex)].button)
        *lpRect = CRect(m_buttons[size_t(nIndex)].button->geometry());
}

void CToolBar::LayoutButtons()
{
    if (!m_hWnd)
        return;
    // Every button is as large as the largest: the given size, grown to fit its label. Each
    // label is measured once in a font: the bar is laid out again at every resize.
    const QFontMetrics metrics(m_hWnd->font());
    if (m_hWnd->font() != labelFont) {
        labelFont = m_hWnd->font();
        for (Button& entry : m_buttons)
            entry.labelWidth = -1;
    }
    int width = int(m_sizeButton.cx);
    int height = int(m_sizeButton.cy);
    for (Button& entry : m_buttons) {
        if (!entry.button)
            continue;
        const QString label = entry.button->defaultAction()->text();
        if (!label.isEmpty()) {
            if (entry.labelWidth < 0)
                entry.labelWidth = metrics.horizontalAdvance(label);
            width = std::max(width, entry.labelWidth + kButtonPadding);
            height = std::max(height, int(m_sizeImage.cy) + metrics.height() + kButtonPadding);
        }
    }
    const CRect edges = BorderWidths();
    int x = int(edges.left) + ((m_dwStyle & CBRS_GRIPPER) ? kGripperWidth : 0) + kToolBarMargin;
    const int y = int(edges.top) + kToolBarMargin;
    for (const Button& entry : m_buttons) {
        if (!entry.button) {
            x += kSeparatorWidth;
            continue;
        }
        entry.button->setIconSize(QSize(int(m_sizeImage.cx), int(m_sizeImage.cy)));
        entry.button->setGeometry(x, y, width, height);
        x += width;
    }
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    LayoutButtons();
    const CRect edges = BorderWidths();
    int right = 0;
    int bottom = 0;
    for (const Button& entry : m_buttons) {
        if (entry.button) {
            right = std::max(right, entry.button->geometry().right() + 1);
            bottom = std::max(bottom, entry.button->geometry().bottom() + 1);
        }
    }
    const int length = right + kToolBarMargin + int(edges.right);
    const int thickness = std::max(bottom, int(m_sizeButton.cy)) + kToolBarMargin + int(edges.bottom);
    if (bStretch)
        return bHorz ? CSize(32767, thickness) : CSize(thickness, 32767);
    return bHorz ? CSize(length, thickness) : CSize(thickness, length);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    for (size_t index = 0; index < m_buttons.size(); ++index) {
        if (!m_buttons[index].button)
            continue;
        ToolCmdUI state(m_buttons[index].button->defaultAction());
        state.m_nID = m_buttons[index].id;
        state.m_nIndex = UINT(index);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

// ---- CStatusBar ----

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

class StatusCmdUI : public CCmdUI {
public:
    StatusCmdUI(QLabel* label, CString& text) : label(label), text(text) {}
    // A disabled indicator shows no text.
    void Enable(BOOL bOn) override
    {
        label->setText(bOn ? QString(text) : QString());
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(const CString& lpszText) override
    {
        text = lpszText;
        label->setText(text);
    }

private:
    QLabel* const label;
    CString& text;
};

} // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    auto* widget = new BarWidget(this);
    auto* layout = new QHBoxLayout(widget);
    layout->setSpacing(2);
    if (!CreateBar(widget, dwStyle, pParentWnd, nID))
        return FALSE;
    const CRect edges = BorderWidths();
    layout->setContentsMargins(int(edges.left) + 2, int(edges.top) + 2, int(edges.right) + 2, int(edges.bottom) + 2);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (!m_hWnd)
        return FALSE;
    for (const Pane& pane : m_panes)
        delete pane.label;
    m_panes.clear();
    auto* layout = static_cast<QHBoxLayout*>(m_hWnd->layout());
    for (int index = 0; index < nIDCount; ++index) {
        Pane pane{lpIDArray[index], new QLabel(m_hWnd), CString()};
        pane.label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane.label->setProperty("ctrlId", int(pane.id));
        if (pane.id == ID_SEPARATOR) {
            layout->addWidget(pane.label, 1);
        } else {
            if (!pane.text.LoadString(pane.id))
                qWarning("afx: status bar indicator %u has no string", pane.id);
            pane.label->setAlignment(Qt::AlignCenter);
            pane.label->setFixedWidth(pane.label->fontMetrics().horizontalAdvance(pane.text) + 12);
            layout->addWidget(pane.label, 0);
        }
        m_panes.push_back(pane);
    }
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int nIndex, const CString& lpszNewText, BOOL bUpdate)
{
    if (!ValidIndex(m_panes, nIndex))
        return FALSE;
    m_panes[size_t(nIndex)].label->setText(lpszNewText);
    if (bUpdate)
        m_panes[size_t(nIndex)].label->repaint();
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return ValidIndex(m_panes, nIndex) ? CString(m_panes[size_t(nIndex)].label->text()) : CString();
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return ItemId(m_panes, nIndex);
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    *lpRect = CRect();
    if (!ValidIndex(m_panes, nIndex))
        return;
    m_hWnd->layout()->activate();
    *lpRect = CRect(m_panes[size_t(nIndex)].label->geometry());
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const int height = m_hWnd ? m_hWnd->layout()->sizeHint().height() : 0;
    return {bStretch ? 32767 : (m_hWnd ? m_hWnd->layout()->sizeHint().width() : 0), height};
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    // Only indicators follow handlers; a pane without one keeps its text.
    for (size_t index = 0; index < m_panes.size(); ++index) {
        Pane& pane = m_panes[index];
        if (pane.id == ID_SEPARATOR)
            continue;
        StatusCmdUI state(pane.label, pane.text);
        state.m_nID = pane.id;
        state.m_nIndex = UINT(index);
        state.DoUpdate(pTarget, FALSE);
    }
}

// ---- CDialogBar ----

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(nIDTemplate);
    if (!tmpl) {
        qWarning("afx: no dialog template %u for a dialog bar", nIDTemplate);
        return FALSE;
    }
    auto* widget = new BarWidget(this);
    // The bar shows whatever its style says: a dialog bar is always visible at first.
    if (!CreateBar(widget, nStyle | WS_VISIBLE, pParentWnd, nID))
        return FALSE;
    afx::BuildDialog(widget, *tmpl);
    const CRect edges = BorderWidths();
    m_sizeDefault = CSize(widget->width() + int(edges.left + edges.right), widget->height() + int(edges.top + edges.bottom));
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (!bStretch)
        return m_sizeDefault;
    return bHorz ? CSize(32767, int(m_sizeDefault.cy)) : CSize(int(m_sizeDefault.cx), 32767);
}

// ---- CReBar ----

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    auto* widget = new BarWidget(this);
    widget->relayout = [this] { LayoutBands(); };
    widget->paintInside = [this](QPainter& painter) { PaintGrippers(painter); };
    m_dwCtrlStyle = dwCtrlStyle;
    return CreateBar(widget, dwStyle, pParentWnd, nID);
}

BOOL CReBar::AddBar(CWnd* pBar, DWORD dwStyle)
{
    if (!m_hWnd || !pBar || !pBar->m_hWnd)
        return FALSE;
    const bool visible = !pBar->m_hWnd->isHidden();
    pBar->m_hWnd->setParent(m_hWnd);
    pBar->m_hWnd->setVisible(visible);
    m_bands.push_back({pBar->m_hWnd, !(dwStyle & RBBS_NOGRIPPER)});
    LayoutBands();
    return TRUE;
}

namespace {

int BandHeight(QWidget* bar)
{
    if (auto* controlBar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(bar)))
        return int(controlBar->CalcFixedLayout(TRUE, TRUE).cy);
    return bar->height();
}

} // namespace

void CReBar::LayoutBands()
{
    if (!m_hWnd)
        return;
    const CRect edges = BorderWidths();
    const int bandBorder = (m_dwCtrlStyle & RBS_BANDBORDERS) ? 1 : 0;
    int y = int(edges.top);
    for (const Band& band : m_bands) {
        if (!band.bar)
            continue;
        y += bandBorder;
        const int x = int(edges.left) + (band.gripper ? kGripperWidth : 0);
        const int height = BandHeight(band.bar);
        band.bar->setGeometry(x, y, std::max(0, m_hWnd->width() - x - int(edges.right)), height);
        y += height + bandBorder;
    }
}

void CReBar::PaintGrippers(QPainter& painter) const
{
    for (const Band& band : m_bands) {
        if (!band.bar || !band.gripper)
            continue;
        PaintGripper(painter, QRect(band.bar->x() - kGripperWidth, band.bar->y(), kGripperWidth, band.bar->height()),
                     m_hWnd->palette());
    }
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const CRect edges = BorderWidths();
    const int bandBorder = (m_dwCtrlStyle & RBS_BANDBORDERS) ? 1 : 0;
    int height = int(edges.top + edges.bottom);
    for (const Band& band : m_bands) {
        if (band.bar)
            height += BandHeight(band.bar) + 2 * bandBorder;
    }
    return {bStretch ? 32767 : (m_hWnd ? m_hWnd->width() : 0), height};
}
