#include "afx/win/listctrl.h"

#include "afx/win/dlgtemplate.h"
#include "afx/win/hook.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTableWidget>
#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

Qt::Alignment AlignmentOf(int format)
{
    const Qt::Alignment horizontal = format == LVCFMT_RIGHT ? Qt::AlignRight
                                     : format == LVCFMT_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

// A report view's column headings, measured in the list's own font as Windows draws them (the
// toolkit's header measures them in bold, which also loads a bold face for nothing).
class ListHeader : public QHeaderView {
public:
    explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) { setSectionsClickable(true); }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        if (!model())
            return {};
        const QVariant hint = model()->headerData(logicalIndex, orientation(), Qt::SizeHintRole);
        if (hint.isValid())
            return hint.toSize();
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = logicalIndex;
        option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    }
};

// The report view. Rows are inserted and removed only here, and each row's item data is kept
// beside them in the same order (no Qt item: a header item per row would have the header
// view redo its layout for every row). Without any column a hidden column keeps the rows'
// own texts and selection, as Windows keeps them for a list whose columns are all deleted.
class ListViewWidget : public QTableWidget {
public:
    ListViewWidget(DWORD style, QWidget* parent) : QTableWidget(parent), style(style)
    {
        setSelectionBehavior(SelectRows);
        setSelectionMode(style & LVS_SINGLESEL ? SingleSelection : ExtendedSelection);
        setEditTriggers(NoEditTriggers);
        setShowGrid(false);
        setWordWrap(false);
        setTabKeyNavigation(false);
        setHorizontalHeader(new ListHeader(this));
        verticalHeader()->hide();
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        horizontalHeader()->setVisible(!(style & LVS_NOCOLUMNHEADER));
        horizontalHeader()->setHighlightSections(false);
        horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (!(style & LVS_SHOWSELALWAYS))
            afx::detail::HideSelectionWithoutFocus(this);
        setColumnCount(1);
        setColumnHidden(0, true);
        RowHeightFromFont();
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { NotifyStateChanges(); });
        connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { NotifyStateChanges(); });
    }


    bool Valid(int row) const { return row >= 0 && row < rowCount(); }
    int Columns() const { return placeholder ? 0 : columnCount(); }

    UINT StateOf(int row) const
    {
        const QModelIndex current = currentIndex();
        return (selectionModel()->isSelected(model()->index(row, 0)) ? LVIS_SELECTED : 0u)
               | (current.isValid() && current.row() == row ? LVIS_FOCUSED : 0u);
    }

    DWORD_PTR Data(int row) const { return rowData[size_t(row)]; }
    void SetData(int row, DWORD_PTR data) { rowData[size_t(row)] = data; }

    QString Text(int row, int column) const
    {
        const QTableWidgetItem* cell = item(row, column);
        return cell ? cell->text() : QString();
    }

    void SetText(int row, int column, const QString& text)
    {
        if (QTableWidgetItem* cell = item(row, column)) {
            cell->setText(text);
            return;
        }
        // Made whole before it joins the table, which then announces it once.
        auto* cell = new QTableWidgetItem(text);
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        // A cell without an alignment is drawn left-aligned and centred vertically, as
        // AlignmentOf(LVCFMT_LEFT): only the other columns' cells carry theirs.
        if (const Qt::Alignment alignment = AlignmentOf(Format(column)); alignment != AlignmentOf(LVCFMT_LEFT))
            cell->setTextAlignment(alignment);
        setItem(row, column, cell);
    }

    int Format(int column) const
    {
        const QTableWidgetItem* header = horizontalHeaderItem(column);
        return header ? header->data(Qt::UserRole).toInt() : LVCFMT_LEFT;
    }

    int AddColumn(int column, const QString& heading, int format, int width)
    {
        const std::vector<int> selectedRows = SelectedRows();
        Suspended([&] {
            if (placeholder) {
                placeholder = false;
                column = 0;
                setColumnHidden(0, false);
            } else {
                column = std::clamp(column, 0, columnCount());
                insertColumn(column);
            }
            auto* header = new QTableWidgetItem(heading);
            header->setData(Qt::UserRole, format);
            header->setTextAlignment(AlignmentOf(format));
            setHorizontalHeaderItem(column, header);
            setColumnWidth(column, width >= 0 ? width : fontMetrics().horizontalAdvance(heading) + 12);
            for (int row = 0; row < rowCount(); ++row) {
                if (QTableWidgetItem* cell = item(row, column))
                    cell->setTextAlignment(AlignmentOf(format));
            }
            // A new first column is not selected yet; the rows' selection stays theirs.
            for (int row : selectedRows)
                selectionModel()->select(model()->index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        });
        return column;
    }

    bool RemoveColumn(int column)
    {
        if (column < 0 || column >= Columns())
            return false;
        Suspended([&] {
            if (columnCount() > 1) {
                removeColumn(column);
                return;
            }
            delete takeHorizontalHeaderItem(0);
            setColumnHidden(0, true);
            placeholder = true;
        });
        return true;
    }

    int AddRow(const LVITEM& row)
    {
        const int index = std::clamp(row.iItem, 0, rowCount());
        Suspended([&] {
            known.insert(known.begin() + index, 0u);
            rowData.insert(rowData.begin() + index, row.mask & LVIF_PARAM ? DWORD_PTR(row.lParam) : 0);
            insertRow(index);
            if (row.mask & LVIF_TEXT)
                SetText(index, 0, row.pszText);
        });
        if (row.mask & LVIF_STATE)
            SetState(index, row.state, row.stateMask);
        return index;
    }

    void RemoveRow(int row)
    {
        Suspended([&] {
            // Qt would give the focus to the next row and, in a single-selection list, select
            // it; Windows selects nothing, so deleting "the first selected row until none is
            // selected" ends.
            if (currentIndex().row() == row)
                selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            if (known[size_t(row)] != 0)
                --knownStated;
            known.erase(known.begin() + row);
            rowData.erase(rowData.begin() + row);
            removeRow(row);
        });
    }

    void RemoveAllRows()
    {
        Suspended([&] {
            known.clear();
            knownStated = 0;
            rowData.clear();
            setRowCount(0);
        });
    }

    void SetState(int row, UINT state, UINT mask)
    {
        Suspended([&] {
            for (int each = row < 0 ? 0 : row; each < (row < 0 ? rowCount() : row + 1); ++each) {
                const QModelIndex index = model()->index(each, 0);
                if (mask & LVIS_SELECTED) {
                    const QItemSelectionModel::SelectionFlags select = selectionMode() == SingleSelection
                                                                           ? QItemSelectionModel::ClearAndSelect
                                                                           : QItemSelectionModel::Select;
                    selectionModel()->select(index, (state & LVIS_SELECTED ? select : QItemSelectionModel::Deselect)
                                                        | QItemSelectionModel::Rows);
                }
                if (mask & LVIS_FOCUSED) {
                    if (state & LVIS_FOCUSED)
                        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
                    else if (currentIndex().row() == each)
                        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
                }
            }
        });
    }

    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int row = 0; row < rowCount(); ++row) {
            if (StateOf(row) & LVIS_SELECTED)
                rows.push_back(row);
        }
        return rows;
    }

protected:
    // The user's actions change focus and selection in several steps; each row's change is
    // notified once, when the action is done.
    void mousePressEvent(QMouseEvent* event) override
    {
        Suspended([&] { QTableWidget::mousePressEvent(event); });
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        Suspended([&] { QTableWidget::mouseReleaseEvent(event); });
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QPointer<ListViewWidget> self = this;
        Suspended([&] { QTableWidget::mouseDoubleClickEvent(event); });
        if (self && event->button() == Qt::LeftButton)
            NotifyMouse(NM_DBLCLK, event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        Suspended([&] { QTableWidget::keyPressEvent(event); });
    }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange)
            RowHeightFromFont();
        QTableWidget::changeEvent(event);
    }

private:
    DWORD style;
    bool placeholder = true;
    int suspended = 0;
    std::vector<UINT> known;   // each row's state as last notified
    int knownStated = 0;       // how many of them are not 0
    std::vector<DWORD_PTR> rowData;

    template <class Change>
    void Suspended(Change change)
    {
        ++suspended;
        change();
        --suspended;
        NotifyStateChanges();
    }

    // LVN_ITEMCHANGED for every row whose state differs from what was last notified.
    void NotifyStateChanges()
    {
        if (suspended)
            return;
        // No row selected or focused, none notified so: nothing changed, and no need to look
        // at every row after each change (filling a long list would take quadratic time).
        if (knownStated == 0 && !selectionModel()->hasSelection() && !currentIndex().isValid())
            return;
        QPointer<ListViewWidget> self = this;
        for (int row = 0; self && row < rowCount() && row < int(known.size()); ++row) {
            const UINT state = StateOf(row);
            if (state == known[size_t(row)])
                continue;
            NMLISTVIEW change;
            change.hdr.code = LVN_ITEMCHANGED;
            change.iItem = row;
            change.uNewState = state;
            change.uOldState = known[size_t(row)];
            change.uChanged = LVIF_STATE;
            change.lParam = LPARAM(Data(row));
            knownStated += (state != 0) - (known[size_t(row)] != 0);
            known[size_t(row)] = state;
            afx::NotifyParent(this, change.hdr);
        }
    }

    void NotifyMouse(UINT code, QMouseEvent* event)
    {
        const QPoint point = event->position().toPoint();
        NMITEMACTIVATE activate;
        activate.hdr.code = code;
        activate.iItem = rowAt(point.y());
        activate.iSubItem = std::max(0, columnAt(point.x()));
        if (Valid(activate.iItem)) {
            activate.uNewState = activate.uOldState = StateOf(activate.iItem);
            activate.lParam = LPARAM(Data(activate.iItem));
        }
        const QPoint client = viewport()->mapTo(this, point);
        activate.ptAction = POINT{client.x(), client.y()};
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        activate.uKeyFlags = (modifiers & Qt::AltModifier ? 0x1u : 0u) | (modifiers & Qt::ControlModifier ? 0x2u : 0u)
                             | (modifiers & Qt::ShiftModifier ? 0x4u : 0u);
        afx::NotifyParent(this, activate.hdr);
    }

    void RowHeightFromFont()
    {
        const int height = fontMetrics().height() + 4;
        verticalHeader()->setMinimumSectionSize(height);
        verticalHeader()->setDefaultSectionSize(height);
    }
};

ListViewWidget* ListView(const CWnd* wnd)
{
    return dynamic_cast<ListViewWidget*>(wnd->m_hWnd);
}

QWidget* CreateListView(const afx::ControlSpec& spec, QWidget* parent)
{
    auto* list = new ListViewWidget(spec.style, parent);
    if (!(spec.style & WS_BORDER) && !(spec.exStyle & WS_EX_CLIENTEDGE))
        list->setFrameShape(QFrame::NoFrame);
    return list;
}

} // namespace

void afx::detail::RegisterListCtrl()
{
    RegisterWindowClass({QStringLiteral("SysListView32"), CreateListView, nullptr, NewWrapper<CListCtrl>,
                         nullptr, nullptr});
}

int CListCtrl::InsertColumn(int nCol, const CString& lpszColumnHeading, int nFormat, int nWidth)
{
    ListViewWidget* list = ListView(this);
    return list && nCol >= 0 ? list->AddColumn(nCol, lpszColumnHeading, nFormat, nWidth) : -1;
}

BOOL CListCtrl::DeleteColumn(int nCol)
{
    ListViewWidget* list = ListView(this);
    return list && list->RemoveColumn(nCol);
}

int CListCtrl::GetColumnCount() const
{
    ListViewWidget* list = ListView(this);
    return list ? list->Columns() : 0;
}

int CListCtrl::InsertItem(int nItem, const CString& lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(const LVITEM* pItem)
{
    ListViewWidget* list = ListView(this);
    return list && pItem->iItem >= 0 ? list->AddRow(*pItem) : -1;
}

int CListCtrl::InsertItem(UINT nMask, int nItem, const CString& lpszItem, UINT nState, UINT nStateMask,
                          int nImage, LPARAM lParam)
{
    LVITEM item;
    item.mask = nMask;
    item.iItem = nItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = lpszItem;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int nItem)
{
    ListViewWidget* list = ListView(this);
    if (!list || !list->Valid(nItem))
        return FALSE;
    list->RemoveRow(nItem);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    ListViewWidget* list = ListView(this);
    if (!list)
        return FALSE;
    list->RemoveAllRows();
    return TRUE;
}

int CListCtrl::GetItemCount() const
{
    ListViewWidget* list = ListView(this);
    return list ? list->rowCount() : 0;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const CString& lpszText)
{
    ListViewWidget* list = ListView(this);
    if (!list || !list->Valid(nItem) || nSubItem < 0 || nSubItem >= std::max(1, list->Columns()))
        return FALSE;
    list->SetText(nItem, nSubItem, lpszText);
    return TRUE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    ListViewWidget* list = ListView(this);
    return list && list->Valid(nItem) ? CString(list->Text(nItem, nSubItem)) : CString();
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    ListViewWidget* list = ListView(this);
    if (!list || !list->Valid(nItem))
        return FALSE;
    list->SetData(nItem, dwData);
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    ListViewWidget* list = ListView(this);
    return list && list->Valid(nItem) ? list->Data(nItem) : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    ListViewWidget* list = ListView(this);
    if (!list || (nItem != -1 && !list->Valid(nItem)))
        return FALSE;
    list->SetState(nItem, nState, nMask);
    return TRUE;
}

UINT CListCtrl::GetSelectedCount() const
{
    ListViewWidget* list = ListView(this);
    return list ? UINT(list->SelectedRows().size()) : 0;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    ListViewWidget* list = ListView(this);
    if (!list)
        return -1;
    const UINT wanted = (nFlags & LVNI_SELECTED ? LVIS_SELECTED : 0u) | (nFlags & LVNI_FOCUSED ? LVIS_FOCUSED : 0u);
    for (int row = std::max(0, nItem + 1); row < list->rowCount(); ++row) {
        if ((list->StateOf(row) & wanted) == wanted)
            return row;
    }
    return -1;
}

// A position is the row's index plus one, as in MFC.
POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    return reinterpret_cast<POSITION>(intptr_t(GetNextItem(-1, LVNI_SELECTED) + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    const int row = int(reinterpret_cast<intptr_t>(pos)) - 1;
    pos = reinterpret_cast<POSITION>(intptr_t(GetNextItem(row, LVNI_SELECTED) + 1));
    return row;
}

int CListCtrl::FindItem(LVFINDINFO* pFindInfo, int nStart) const
{
    ListViewWidget* list = ListView(this);
    if (!list)
        return -1;
    const int count = list->rowCount();
    const int first = std::max(0, nStart + 1);
    const int steps = pFindInfo->flags & LVFI_WRAP ? count : count - first;
    const QString wanted = pFindInfo->psz;
    for (int step = 0; step < steps; ++step) {
        const int row = (first + step) % count;
        if (pFindInfo->flags & LVFI_PARAM) {
            if (list->Data(row) == DWORD_PTR(pFindInfo->lParam))
                return row;
        } else if (pFindInfo->flags & (LVFI_STRING | LVFI_PARTIAL)) {
            const QString text = list->Text(row, 0);
            if (pFindInfo->flags & LVFI_PARTIAL ? text.startsWith(wanted, Qt::CaseInsensitive)
                                                : text.compare(wanted, Qt::CaseInsensitive) == 0)
                return row;
        }
    }
    return -1;
}
