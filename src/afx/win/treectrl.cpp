#include "afx/win/treectrl.h"

#include "afx/win/dlgtemplate.h"
#include "afx/win/imagelist.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeWidget>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

enum Role { DataRole = Qt::UserRole, ImageRole, SelectedImageRole };

QTreeWidgetItem* ItemOf(HTREEITEM handle)
{
    return reinterpret_cast<QTreeWidgetItem*>(handle);
}

HTREEITEM HandleOf(QTreeWidgetItem* item)
{
    return reinterpret_cast<HTREEITEM>(item);
}

bool IsSpecial(HTREEITEM handle)
{
    return handle == TVI_ROOT || handle == TVI_FIRST || handle == TVI_LAST || handle == TVI_SORT;
}

class TreeViewWidget : public QTreeWidget {
public:
    TreeViewWidget(DWORD style, QWidget* parent) : QTreeWidget(parent)
    {
        setHeaderHidden(true);
        setColumnCount(1);
        setRootIsDecorated(style & TVS_LINESATROOT);
        setExpandsOnDoubleClick(false);   // the parent's NM_DBLCLK result decides
        setSelectionMode(SingleSelection);
        setEditTriggers(NoEditTriggers);
        setUniformRowHeights(true);
        if (!(style & TVS_SHOWSELALWAYS))
            afx::detail::HideSelectionWithoutFocus(this);
        connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    }

    CImageList* images = nullptr;

    QTreeWidgetItem* Selected() const { return selectedItems().value(0); }

    QTreeWidgetItem* Child(QTreeWidgetItem* parent, int index) const
    {
        return parent ? parent->child(index) : topLevelItem(index);
    }

    int Children(QTreeWidgetItem* parent) const { return parent ? parent->childCount() : topLevelItemCount(); }

    int IndexOf(QTreeWidgetItem* item) const
    {
        return item->parent() ? item->parent()->indexOfChild(item) : indexOfTopLevelItem(item);
    }

    QTreeWidgetItem* Add(const QString& text, int image, int selectedImage, QTreeWidgetItem* parent, HTREEITEM after)
    {
        const int count = Children(parent);
        int index = count;
        if (after == TVI_FIRST) {
            index = 0;
        } else if (after == TVI_SORT) {
            index = 0;
            while (index < count && Child(parent, index)->text(0).compare(text, Qt::CaseInsensitive) <= 0)
                ++index;
        } else if (after && !IsSpecial(after) && ItemOf(after)->parent() == parent) {
            index = IndexOf(ItemOf(after)) + 1;
        }
        auto* item = new QTreeWidgetItem(QStringList(text));
        item->setData(0, ImageRole, image);
        item->setData(0, SelectedImageRole, selectedImage);
        if (parent)
            parent->insertChild(index, item);
        else
            insertTopLevelItem(index, item);
        ShowImage(item);
        return item;
    }

    void Remove(QTreeWidgetItem* item)
    {
        for (QTreeWidgetItem* ancestor = selectedBefore; ancestor; ancestor = ancestor->parent()) {
            if (ancestor == item)
                selectedBefore = nullptr;
        }
        ++generation;
        delete item;
    }

    void RemoveAll()
    {
        selectedBefore = nullptr;
        ++generation;
        clear();
    }

    void SetImages(CImageList* list)
    {
        images = list;
        int cx = 0, cy = 0;
        if (list && list->GetIconSize(cx, cy))
            setIconSize(QSize(cx, cy));
        for (QTreeWidgetItemIterator it(this); *it; ++it)
            ShowImage(*it);
    }

    // A selected item shows its selected picture.
    void ShowImage(QTreeWidgetItem* item)
    {
        const int index = item->data(0, item->isSelected() ? SelectedImageRole : ImageRole).toInt();
        HICON icon = images ? images->ExtractIcon(index) : nullptr;
        item->setIcon(0, icon ? *icon : QIcon());
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        cause = TVC_BYMOUSE;
        QTreeWidget::mousePressEvent(event);
        cause = TVC_UNKNOWN;
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        cause = TVC_BYKEYBOARD;
        QTreeWidget::keyPressEvent(event);
        cause = TVC_UNKNOWN;
    }

    // NM_DBLCLK first; a result of 0 lets the item under the mouse expand or collapse.
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QPointer<TreeViewWidget> self = this;
        QTreeWidgetItem* hit = itemAt(event->position().toPoint());
        const int before = generation;
        QTreeWidget::mouseDoubleClickEvent(event);
        if (!self || event->button() != Qt::LeftButton)
            return;
        NMHDR header;
        header.code = NM_DBLCLK;
        const LRESULT result = afx::NotifyParent(this, header);
        if (self && result == 0 && hit && generation == before && hit->childCount() > 0)
            hit->setExpanded(!hit->isExpanded());
    }

private:
    QTreeWidgetItem* selectedBefore = nullptr;
    UINT cause = TVC_UNKNOWN;
    int generation = 0;   // counts deletions, so a handler's deletions are noticed

    void SelectionChanged()
    {
        QTreeWidgetItem* now = Selected();
        if (now == selectedBefore)
            return;
        QTreeWidgetItem* old = selectedBefore;
        selectedBefore = now;
        if (old)
            ShowImage(old);
        if (now)
            ShowImage(now);
        NMTREEVIEW change;
        change.hdr.code = TVN_SELCHANGED;
        change.action = cause;
        change.itemOld.hItem = HandleOf(old);
        change.itemOld.lParam = old ? LPARAM(old->data(0, DataRole).toLongLong()) : 0;
        change.itemNew.hItem = HandleOf(now);
        change.itemNew.lParam = now ? LPARAM(now->data(0, DataRole).toLongLong()) : 0;
        afx::NotifyParent(this, change.hdr);
    }
};

TreeViewWidget* Tree(const CWnd* wnd)
{
    return dynamic_cast<TreeViewWidget*>(wnd->m_hWnd);
}

QTreeWidgetItem* Item(HTREEITEM handle)
{
    return handle && !IsSpecial(handle) ? ItemOf(handle) : nullptr;
}

QWidget* CreateTreeView(const afx::ControlSpec& spec, QWidget* parent)
{
    auto* tree = new TreeViewWidget(spec.style, parent);
    if (!(spec.style & WS_BORDER) && !(spec.exStyle & WS_EX_CLIENTEDGE))
        tree->setFrameShape(QFrame::NoFrame);
    return tree;
}

} // namespace

void afx::detail::RegisterTreeCtrl()
{
    RegisterWindowClass({QStringLiteral("SysTreeView32"), CreateTreeView, nullptr, NewWrapper<CTreeCtrl>,
                         nullptr, nullptr});
}

HTREEITEM CTreeCtrl::InsertItem(const CString& lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    TreeViewWidget* tree = Tree(this);
    if (!tree || (hParent && hParent != TVI_ROOT && !Item(hParent)))
        return nullptr;
    return HandleOf(tree->Add(lpszItem, nImage, nSelectedImage, Item(hParent), hInsertAfter));
}

HTREEITEM CTreeCtrl::InsertItem(const CString& lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(lpszItem, 0, 0, hParent, hInsertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    TreeViewWidget* tree = Tree(this);
    if (!tree)
        return FALSE;
    if (hItem == TVI_ROOT)
        return DeleteAllItems();
    QTreeWidgetItem* item = Item(hItem);
    if (!item)
        return FALSE;
    tree->Remove(item);
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems()
{
    TreeViewWidget* tree = Tree(this);
    if (!tree)
        return FALSE;
    tree->RemoveAll();
    return TRUE;
}

UINT CTreeCtrl::GetCount() const
{
    TreeViewWidget* tree = Tree(this);
    UINT count = 0;
    if (tree) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++count;
    }
    return count;
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    TreeViewWidget* tree = Tree(this);
    return tree ? HandleOf(tree->topLevelItem(0)) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    QTreeWidgetItem* item = Item(hItem);
    return item ? HandleOf(item->child(0)) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    TreeViewWidget* tree = Tree(this);
    QTreeWidgetItem* item = Item(hItem);
    return tree && item ? HandleOf(tree->Child(item->parent(), tree->IndexOf(item) + 1)) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const
{
    QTreeWidgetItem* item = Item(hItem);
    return item ? HandleOf(item->parent()) : nullptr;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    QTreeWidgetItem* item = Item(hItem);
    return item && item->childCount() > 0;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    TreeViewWidget* tree = Tree(this);
    return tree ? HandleOf(tree->Selected()) : nullptr;
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem)
{
    TreeViewWidget* tree = Tree(this);
    if (!tree || (hItem && !Item(hItem)))
        return FALSE;
    if (QTreeWidgetItem* item = Item(hItem)) {
        tree->setCurrentItem(item);
        tree->scrollToItem(item);
    } else {
        tree->clearSelection();
    }
    return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    QTreeWidgetItem* item = Item(hItem);
    if (!item)
        return 0;
    const UINT state = (item->isSelected() ? TVIS_SELECTED : 0u) | (item->isExpanded() ? TVIS_EXPANDED : 0u);
    return state & nStateMask;
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    QTreeWidgetItem* item = Item(hItem);
    return item ? CString(item->text(0)) : CString();
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    QTreeWidgetItem* item = Item(hItem);
    return item ? DWORD_PTR(item->data(0, DataRole).toULongLong()) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    QTreeWidgetItem* item = Item(hItem);
    if (!item)
        return FALSE;
    item->setData(0, DataRole, QVariant::fromValue(qulonglong(dwData)));
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    QTreeWidgetItem* item = Item(hItem);
    if (!item)
        return FALSE;
    nImage = item->data(0, ImageRole).toInt();
    nSelectedImage = item->data(0, SelectedImageRole).toInt();
    return TRUE;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    TreeViewWidget* tree = Tree(this);
    if (!tree || nImageListType != TVSIL_NORMAL)
        return nullptr;
    CImageList* previous = tree->images;
    tree->SetImages(pImageList);
    return previous;
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const
{
    TreeViewWidget* tree = Tree(this);
    return tree && nImageListType == TVSIL_NORMAL ? tree->images : nullptr;
}
