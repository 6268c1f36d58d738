#include "afx/win/listbox.h"

#include "afx/win/commctrl.h"
#include "afx/win/dlgtemplate.h"
#include "afx/win/gdi.h"
#include "afx/win/hook.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {

struct ListItem {
    QString text;
    DWORD_PTR data = 0;
    int height = 0;   // variable lists only
};

// The list box's widget. What it draws goes to a canvas that keeps its pixels, as a window's
// do on Windows: a paint erases (WM_ERASEBKGND) and redraws (ODA_DRAWENTIRE) only the part
// that was invalidated, and a change of selection or focus draws the items involved at once
// (ODA_SELECT, ODA_FOCUS) over what they showed.
class ListBoxWidget : public QWidget {
public:
    ListBoxWidget(DWORD style, QWidget* parent) : QWidget(parent), style(style)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        if (style & WS_VSCROLL) {
            scrollBar = new QScrollBar(Qt::Vertical, this);
            scrollBar->setFocusPolicy(Qt::NoFocus);
            scrollBar->hide();
            QObject::connect(scrollBar, &QScrollBar::valueChanged, this, [this](int value) { SetTop(value); });
        }
    }

    std::vector<ListItem> items;
    int selected = -1;
    int caret = -1;          // the item that shows the focus
    int top = 0;

    bool OwnerDrawn() const { return style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
    bool Variable() const { return style & LBS_OWNERDRAWVARIABLE; }
    bool HasStrings() const { return !OwnerDrawn() || (style & LBS_HASSTRINGS); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    int Count() const { return int(items.size()); }
    int DefaultHeight() const { return fontMetrics().height(); }

    int ItemHeight(int index) const
    {
        if (Variable())
            return items[size_t(index)].height;
        return DefaultHeight();
    }

    int ClientWidth() const
    {
        return width() - (scrollBar && !scrollBar->isHidden() ? scrollBar->width() : 0);
    }

    CRect ItemRect(int index) const
    {
        int y = 0;
        for (int i = top; i < index; ++i)
            y += ItemHeight(i);
        for (int i = index; i < top; ++i)
            y -= ItemHeight(i);
        return {0, y, ClientWidth(), y + ItemHeight(index)};
    }

    // The item under a point of the client area, -1 below the last one.
    int ItemAt(QPoint point) const
    {
        int bottom = 0;
        for (int i = top; i < Count(); ++i) {
            bottom += ItemHeight(i);
            if (point.y() < bottom)
                return i;
        }
        return -1;
    }

    int Insert(int index, const QString& text, DWORD_PTR data)
    {
        items.insert(items.begin() + index, ListItem{text, data, 0});
        if (selected >= index)
            ++selected;
        if (caret >= index)
            ++caret;
        if (Variable())
            items[size_t(index)].height = Measure(index);
        Changed();
        return index;
    }

    void Clear()
    {
        items.clear();
        selected = caret = -1;
        top = 0;
        Changed();
    }

    // Selection and focus move together; the user's changes notify LBN_SELCHANGE.
    void SetSelection(int index, bool byUser)
    {
        const int oldSelected = selected;
        const int oldCaret = caret;
        selected = index;
        if (index >= 0)
            caret = index;
        const bool focusMoves = hasFocus() && oldCaret != caret;
        if (focusMoves)
            DrawAtOnce(oldCaret, ODA_FOCUS);
        if (oldSelected != selected) {
            DrawAtOnce(oldSelected, ODA_SELECT);
            DrawAtOnce(selected, ODA_SELECT);
        }
        if (focusMoves)
            DrawAtOnce(caret, ODA_FOCUS);
        if (focusMoves && caret >= 0 && QAccessible::isActive()) {
            QAccessibleEvent event(this, QAccessible::Focus);
            event.setChild(caret);
            QAccessible::updateAccessibility(&event);
        }
        if (byUser && oldSelected != selected && (style & LBS_NOTIFY))
            afx::NotifyParent(this, LBN_SELCHANGE);
    }

    void SetTop(int index)
    {
        index = std::clamp(index, 0, MaxTop());
        if (index == top)
            return;
        top = index;
        if (scrollBar)
            scrollBar->setValue(top);
        update();
    }

    void EnsureVisible(int index)
    {
        if (!Valid(index))
            return;
        if (index < top) {
            SetTop(index);
            return;
        }
        int newTop = top;
        while (newTop < index && ItemRectFrom(newTop, index).bottom > height())
            ++newTop;
        SetTop(newTop);
    }

    void Changed()
    {
        top = std::min(top, MaxTop());
        UpdateScrollBar();
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const qreal ratio = devicePixelRatioF();
        if (canvas.size() != size() * ratio) {
            canvas = QPixmap(size() * ratio);
            canvas.setDevicePixelRatio(ratio);
        }
        const QRegion invalid = event->region() - drawnAtOnce;
        if (!invalid.isEmpty()) {
            QPainter painter(&canvas);
            painter.setClipRegion(invalid);
            painter.setFont(font());
            CDC dc(&painter);
            CWnd::FromHandle(this)->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc));
            for (int i = top; i < Count(); ++i) {
                const QRect rect = ItemRect(i);
                if (rect.top() >= height())
                    break;
                if (invalid.intersects(rect))
                    Draw(painter, i, ODA_DRAWENTIRE);
            }
        }
        QPainter screen(this);
        screen.drawPixmap(0, 0, canvas);
        if (style & WS_BORDER) {
            // Windows draws the border outside the client area; here it lies over the items' edges.
            screen.setPen(palette().color(QPalette::Dark));
            screen.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

    void resizeEvent(QResizeEvent*) override
    {
        if (scrollBar)
            scrollBar->setGeometry(width() - scrollBar->sizeHint().width(), 0, scrollBar->sizeHint().width(), height());
        Changed();
    }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange)
            Changed();
        QWidget::changeEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            SelectAt(event->position().toPoint());
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            SelectAt(event->position().toPoint());
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        SelectAt(event->position().toPoint());
        if (style & LBS_NOTIFY)
            afx::NotifyParent(this, LBN_DBLCLK);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        int index;
        switch (event->key()) {
        case Qt::Key_Up: index = std::max(0, (selected < 0 ? caret : selected) - 1); break;
        case Qt::Key_Down: index = std::min(Count() - 1, (selected < 0 ? caret : selected) + 1); break;
        case Qt::Key_Home: index = 0; break;
        case Qt::Key_End: index = Count() - 1; break;
        default:
            QWidget::keyPressEvent(event);
            return;
        }
        if (Valid(index)) {
            EnsureVisible(index);
            SetSelection(index, true);
        }
    }

    void wheelEvent(QWheelEvent* event) override
    {
        SetTop(top - event->angleDelta().y() / 40);
    }

    void focusInEvent(QFocusEvent*) override { DrawAtOnce(caret, ODA_FOCUS); }
    void focusOutEvent(QFocusEvent*) override { DrawAtOnce(caret, ODA_FOCUS); }

private:
    DWORD style;
    QScrollBar* scrollBar = nullptr;
    QPixmap canvas;
    QRegion drawnAtOnce;   // drawn into the canvas outside a paint: to be shown, not redrawn

    CListBox* Owner() { return dynamic_cast<CListBox*>(CWnd::FromHandle(this)); }

    int Measure(int index)
    {
        MEASUREITEMSTRUCT measure;
        measure.CtlID = UINT(afx::detail::CtrlIdOf(this).value_or(0));
        measure.itemID = UINT(index);
        measure.itemWidth = UINT(ClientWidth());
        measure.itemHeight = UINT(DefaultHeight());
        measure.itemData = items[size_t(index)].data;
        if (CListBox* owner = Owner())
            owner->MeasureItem(&measure);
        return int(measure.itemHeight);
    }

    void Draw(QPainter& painter, int index, UINT action)
    {
        DRAWITEMSTRUCT draw;
        draw.CtlID = UINT(afx::detail::CtrlIdOf(this).value_or(0));
        draw.itemID = UINT(index);
        draw.itemAction = action;
        draw.itemState = (index == selected ? ODS_SELECTED : 0u) | (index == caret && hasFocus() ? ODS_FOCUS : 0u)
                         | (isEnabled() ? 0u : UINT(ODS_DISABLED));
        draw.hwndItem = this;
        draw.hDC = &painter;
        draw.rcItem = ItemRect(index);
        draw.itemData = items[size_t(index)].data;
        painter.save();
        if (!OwnerDrawn())
            DrawString(draw);
        else if (CListBox* owner = Owner())
            owner->DrawItem(&draw);
        painter.restore();
    }

    void DrawString(const DRAWITEMSTRUCT& draw)
    {
        QPainter& painter = *draw.hDC;
        const QRect rect = draw.rcItem;
        const bool highlighted = draw.itemState & ODS_SELECTED;
        painter.fillRect(rect, palette().brush(highlighted ? QPalette::Highlight : QPalette::Base));
        painter.setPen(palette().color(highlighted ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, items[draw.itemID].text);
        if (draw.itemState & ODS_FOCUS) {
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }

    void DrawAtOnce(int index, UINT action)
    {
        if (!Valid(index) || !isVisible() || canvas.size() != size() * devicePixelRatioF())
            return;
        const QRect rect = ItemRect(index);
        const QRect client(0, 0, ClientWidth(), height());
        if (!rect.intersects(client))
            return;
        {
            QPainter painter(&canvas);
            painter.setClipRect(client);
            painter.setFont(font());
            Draw(painter, index, action);
        }
        drawnAtOnce = rect;
        repaint(rect);
        drawnAtOnce = QRegion();
    }

    void SelectAt(QPoint point)
    {
        const int index = ItemAt(point);
        if (index >= 0)
            SetSelection(index, true);
    }

    CRect ItemRectFrom(int first, int index) const
    {
        int y = 0;
        for (int i = first; i < index; ++i)
            y += ItemHeight(i);
        return {0, y, ClientWidth(), y + ItemHeight(index)};
    }

    // The first item that shows when the list is scrolled to its end.
    int MaxTop() const
    {
        int used = 0;
        for (int i = Count() - 1; i >= 0; --i) {
            used += ItemHeight(i);
            if (used > height())
                return i + 1;
        }
        return 0;
    }

    void UpdateScrollBar()
    {
        if (!scrollBar)
            return;
        const int maxTop = MaxTop();
        scrollBar->setRange(0, maxTop);
        scrollBar->setPageStep(std::max(1, Count() - maxTop));
        scrollBar->setValue(top);
        scrollBar->setVisible(maxTop > 0);
    }
};

ListBoxWidget* List(const CWnd* wnd)
{
    return dynamic_cast<ListBoxWidget*>(wnd->m_hWnd);
}

// A screen reader's view of an item: its name from the list's object, its place and state.
class ListBoxItemAccessible : public QAccessibleInterface {
public:
    ListBoxItemAccessible(ListBoxWidget* list, int index) : list(list), index(index) {}

    bool isValid() const override { return list && list->Valid(index); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list ? list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        const auto* owner = isValid() ? dynamic_cast<const CListBox*>(CWnd::FromHandle(list)) : nullptr;
        if (kind != QAccessible::Name || !owner)
            return {};
        return owner->GetItemAccessibleName(index);
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect item = list->ItemRect(index);
        return QRect(list->mapToGlobal(item.topLeft()), item.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        if (!isValid())
            return state;
        state.selected = list->selected == index;
        state.focused = list->caret == index && list->hasFocus();
        state.invisible = !QRect(list->ItemRect(index)).intersects(list->rect());
        return state;
    }

private:
    QPointer<ListBoxWidget> list;
    const int index;
};

// The list as a screen reader's list, its items as children.
class ListBoxAccessible : public QAccessibleWidget {
public:
    explicit ListBoxAccessible(ListBoxWidget* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~ListBoxAccessible() override
    {
        for (QAccessible::Id id : items)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return List()->Count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (!List()->Valid(index))
            return nullptr;
        while (int(items.size()) <= index)
            items.push_back(QAccessible::registerAccessibleInterface(new ListBoxItemAccessible(List(), int(items.size()))));
        return QAccessible::accessibleInterface(items[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (size_t i = 0; i < items.size() && int(i) < childCount(); ++i) {
            if (QAccessible::accessibleInterface(items[i]) == child)
                return int(i);
        }
        return -1;
    }

private:
    ListBoxWidget* List() const { return static_cast<ListBoxWidget*>(widget()); }
    // One interface per place, made when first asked; it reads the item at its place then.
    mutable std::vector<QAccessible::Id> items;
};

QAccessibleInterface* ListBoxAccessibleFactory(const QString&, QObject* object)
{
    auto* list = dynamic_cast<ListBoxWidget*>(object);
    return list ? new ListBoxAccessible(list) : nullptr;
}

QWidget* CreateListBox(const afx::ControlSpec& spec, QWidget* parent)
{
    return new ListBoxWidget(spec.style, parent);
}

// The standard background: the base colour of the list.
LRESULT ListBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM, bool* handled)
{
    if (message != WM_ERASEBKGND)
        return 0;
    *handled = true;
    auto* dc = reinterpret_cast<CDC*>(wParam);
    dc->GetPainter()->fillRect(hWnd->rect(), hWnd->palette().base());
    return TRUE;
}

} // namespace

void afx::detail::RegisterListBox()
{
    QAccessible::installFactory(ListBoxAccessibleFactory);
    RegisterWindowClass({QStringLiteral("ListBox"), CreateListBox, ListBoxProc, NewWrapper<CListBox>,
                         nullptr, nullptr});
}

int CListBox::GetCount() const
{
    ListBoxWidget* list = List(this);
    return list ? list->Count() : 0;
}

int CListBox::AddString(const CString& lpszItem)
{
    ListBoxWidget* list = List(this);
    if (!list)
        return LB_ERR;
    int index = list->Count();
    if ((GetStyle() & LBS_SORT) && list->HasStrings()) {
        index = 0;
        while (index < list->Count()
               && list->items[size_t(index)].text.compare(lpszItem, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    return list->Insert(index, lpszItem, 0);
}

int CListBox::AddString(LPCTSTR lpszItem)
{
    ListBoxWidget* list = List(this);
    if (!list || list->HasStrings())
        return AddString(CString(lpszItem));
    return list->Insert(list->Count(), {}, reinterpret_cast<DWORD_PTR>(lpszItem));
}

void CListBox::ResetContent()
{
    if (ListBoxWidget* list = List(this))
        list->Clear();
}

int CListBox::GetCurSel() const
{
    ListBoxWidget* list = List(this);
    return list && list->selected >= 0 ? list->selected : LB_ERR;
}

int CListBox::SetCurSel(int nSelect)
{
    ListBoxWidget* list = List(this);
    if (!list || nSelect < -1 || nSelect >= list->Count())
        return LB_ERR;
    list->EnsureVisible(nSelect);
    list->SetSelection(nSelect, false);
    return nSelect < 0 ? LB_ERR : nSelect;
}

CString CListBox::GetItemAccessibleName(int nIndex) const
{
    CString text;
    GetText(nIndex, text);
    return text;
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    ListBoxWidget* list = List(this);
    rString = list && list->Valid(nIndex) ? CString(list->items[size_t(nIndex)].text) : CString();
}

DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    ListBoxWidget* list = List(this);
    return list && list->Valid(nIndex) ? list->items[size_t(nIndex)].data : DWORD_PTR(LB_ERR);
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ListBoxWidget* list = List(this);
    if (!list || !list->Valid(nIndex))
        return LB_ERR;
    const CRect rect = list->ItemRect(nIndex);
    *lpRect = rect;
    return rect.bottom > 0 && rect.top < list->height() ? 1 : 0;
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    ListBoxWidget* list = List(this);
    if (!list || list->Count() == 0) {
        bOutside = TRUE;
        return 0xFFFF;
    }
    const QRect client(0, 0, list->ClientWidth(), list->height());
    QPoint point = pt;
    bOutside = !client.contains(point);
    point.setX(std::clamp(point.x(), 0, std::max(0, client.width() - 1)));
    point.setY(std::clamp(point.y(), 0, std::max(0, client.height() - 1)));
    int index = list->ItemAt(point);
    if (index < 0) {
        index = list->Count() - 1;
        bOutside = TRUE;
    }
    return UINT(index);
}

int CListBox::GetTopIndex() const
{
    ListBoxWidget* list = List(this);
    return list ? list->top : LB_ERR;
}

int CListBox::SetTopIndex(int nIndex)
{
    ListBoxWidget* list = List(this);
    if (!list || !list->Valid(nIndex))
        return LB_ERR;
    list->SetTop(nIndex);
    return LB_OKAY;
}

int CListBox::GetItemHeight(int nIndex) const
{
    ListBoxWidget* list = List(this);
    if (!list || (list->Variable() && !list->Valid(nIndex)))
        return LB_ERR;
    return list->ItemHeight(nIndex);
}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT)
{
}
