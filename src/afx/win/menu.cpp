#include "afx/win/menu.h"

#include "afx/core/resources.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <memory>

namespace {

constexpr char kCmdId[] = "cmdId";

} // namespace

namespace afx::detail {

// Owns the CMenu of a menu widget, as its child, so that it goes with the widget.
class MenuHolder : public QObject {
public:
    explicit MenuHolder(QWidget* menu) : QObject(menu), object(new CMenu(menu)) {}
    const std::unique_ptr<CMenu> object;
};

} // namespace afx::detail

using afx::detail::MenuHolder;

CMenu* CMenu::FromHandle(QWidget* hMenu)
{
    if (!hMenu)
        return nullptr;
    for (QObject* child : hMenu->children()) {
        if (auto* holder = dynamic_cast<MenuHolder*>(child))
            return holder->object.get();
    }
    return (new MenuHolder(hMenu))->object.get();
}

UINT CMenu::GetMenuItemCount() const
{
    return UINT(m_hMenu->actions().size());
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    const QList<QAction*> items = m_hMenu->actions();
    if (nPos < 0 || nPos >= items.size() || items.at(nPos)->menu())
        return UINT(-1);
    return afx::CommandIdOf(items.at(nPos));
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    const QList<QAction*> items = m_hMenu->actions();
    if (nPos < 0 || nPos >= items.size())
        return nullptr;
    return FromHandle(items.at(nPos)->menu());
}

QAction* CMenu::FindItem(UINT nItem, UINT nFlags) const
{
    const QList<QAction*> items = m_hMenu->actions();
    if (nFlags & MF_BYPOSITION)
        return nItem < UINT(items.size()) ? items.at(nItem) : nullptr;
    for (QAction* item : items) {
        if (QMenu* popup = item->menu()) {
            if (QAction* found = FromHandle(popup)->FindItem(nItem, nFlags))
                return found;
        } else if (!item->isSeparator() && afx::CommandIdOf(item) == nItem) {
            return item;
        }
    }
    return nullptr;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    const QAction* item = FindItem(nID, nFlags);
    if (!item)
        return UINT(-1);
    if (item->isSeparator())
        return MF_SEPARATOR;
    UINT state = item->menu() ? UINT(MF_POPUP) : 0U;
    if (item->isChecked())
        state |= MF_CHECKED;
    if (!item->isEnabled())
        state |= MF_GRAYED | MF_DISABLED;
    return state;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const QAction* item = FindItem(nIDItem, nFlags);
    rString = item ? item->text() : QString();
    return rString.GetLength();
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    QAction* item = FindItem(nIDCheckItem, nCheck & MF_BYPOSITION);
    if (!item)
        return UINT(-1);
    const UINT previous = item->isChecked() ? MF_CHECKED : MF_UNCHECKED;
    afx::SetActionChecked(item, nCheck & MF_CHECKED);
    return previous;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    QAction* item = FindItem(nPosition, nFlags);
    if (!item)
        return FALSE;
    for (QObject* holder : item->associatedObjects()) {
        if (auto* widget = qobject_cast<QWidget*>(holder))
            widget->removeAction(item);
    }
    // Later: the item may be the one whose command is running.
    if (QMenu* popup = item->menu())
        popup->deleteLater();
    else
        item->deleteLater();
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CString& lpszNewItem)
{
    QWidget* owner = m_hMenu;
    QAction* before = FindItem(nPosition, nFlags & MF_BYPOSITION);
    if (!(nFlags & MF_BYPOSITION)) {
        if (!before)
            return FALSE;
        for (QObject* holder : before->associatedObjects()) {
            if (auto* widget = qobject_cast<QWidget*>(holder); widget && widget->actions().contains(before))
                owner = widget;
        }
    }
    QAction* item;
    if (nFlags & MF_SEPARATOR) {
        item = new QAction(owner);
        item->setSeparator(true);
    } else {
        item = afx::NewCommandAction(lpszNewItem, UINT(nIDNewItem), owner);
        item->setEnabled(!(nFlags & (MF_GRAYED | MF_DISABLED)));
        afx::SetActionChecked(item, nFlags & MF_CHECKED);
    }
    owner->insertAction(before, item);
    return TRUE;
}

QAction* CMenuCmdUI::Item() const
{
    return m_pMenu ? m_pMenu->FindItem(m_nIndex, MF_BYPOSITION) : nullptr;
}

void CMenuCmdUI::Enable(BOOL bOn)
{
    if (QAction* item = Item())
        item->setEnabled(bOn);
    m_bEnableChanged = TRUE;
}

void CMenuCmdUI::SetCheck(int nCheck)
{
    if (QAction* item = Item())
        afx::SetActionChecked(item, nCheck != 0);
}

void CMenuCmdUI::SetText(const CString& lpszText)
{
    if (QAction* item = Item())
        item->setText(lpszText);
}

namespace afx {

namespace {

void AddItems(QWidget* menu, const std::vector<MenuItem>& items)
{
    for (const MenuItem& entry : items) {
        if (entry.flags & MenuItem::Separator) {
            auto* separator = new QAction(menu);
            separator->setSeparator(true);
            menu->addAction(separator);
            continue;
        }
        QAction* item;
        if (entry.flags & MenuItem::Popup) {
            auto* popup = new QMenu(entry.text, menu);
            AddItems(popup, entry.children);
            item = popup->menuAction();
        } else {
            item = NewCommandAction(entry.text, UINT(entry.id), menu);
            SetActionChecked(item, entry.flags & MenuItem::Checked);
        }
        item->setEnabled(!(entry.flags & (MenuItem::Grayed | MenuItem::Inactive)));
        menu->addAction(item);
    }
}

} // namespace

QMenuBar* BuildMenuBar(const std::vector<MenuItem>& items, QWidget* parent)
{
    auto* bar = new QMenuBar(parent);
    bar->setNativeMenuBar(false);
    AddItems(bar, items);
    return bar;
}

QAction* NewCommandAction(const CString& text, UINT id, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setProperty(kCmdId, id);
    // Qt toggles a checkable action before it reports the trigger; the command decides.
    QObject::connect(action, &QAction::triggered, action, [action](bool checked) {
        if (action->isCheckable()) {
            const QSignalBlocker blocker(action);
            action->setChecked(!checked);
        }
    });
    return action;
}

UINT CommandIdOf(const QAction* action)
{
    return action ? action->property(kCmdId).toUInt() : 0;
}

void SetActionChecked(QAction* action, bool checked)
{
    // Only a checked item is checkable, so an unchecked one shows no empty box.
    action->setCheckable(checked);
    action->setChecked(checked);
}

} // namespace afx
