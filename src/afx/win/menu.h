// CMenu: a menu bar or popup of a frame, built from a MENU resource. Each command item is a
// QAction carrying its id in the Qt property "cmdId"; CMenuCmdUI lets update handlers work it.
#pragma once

#include "afx/win/cmdtarget.h"

#include <vector>

class QAction;
class QMenuBar;
class QObject;
class QWidget;
namespace afx::detail { class MenuHolder; }
namespace afx { struct MenuItem; }

enum : UINT {
    MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400,
    MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002,
    MF_UNCHECKED = 0x0000, MF_CHECKED = 0x0008,
    MF_STRING = 0x0000, MF_POPUP = 0x0010, MF_SEPARATOR = 0x0800,
};

class CMenu {
public:
    // The object of a menu bar or popup widget; it lives as long as the widget.
    static CMenu* FromHandle(QWidget* hMenu);

    QWidget* m_hMenu = nullptr;   // a QMenuBar or a QMenu

    UINT GetMenuItemCount() const;
    // The command id at the position; 0 for a separator, UINT(-1) for a popup or no item.
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    // MF_CHECKED, MF_GRAYED | MF_DISABLED, MF_SEPARATOR or MF_POPUP bits of the item (searched
    // through the popups when MF_BYCOMMAND); UINT(-1) when there is no such item.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    // Each returns the item's previous state (MF_CHECKED, MF_GRAYED), UINT(-1) when absent.
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // A command item (MF_STRING) or a separator (MF_SEPARATOR) before the position or command;
    // a position past the end appends.
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, const CString& lpszNewItem = {});

    // The item's action, searched through the popups when MF_BYCOMMAND; nullptr when absent.
    QAction* FindItem(UINT nItem, UINT nFlags) const;

private:
    explicit CMenu(QWidget* hMenu) : m_hMenu(hMenu) {}
    friend class afx::detail::MenuHolder;
};

// The update state of a menu item: m_pMenu and m_nIndex name it.
class CMenuCmdUI : public CCmdUI {
public:
    CMenu* m_pMenu = nullptr;

    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(const CString& lpszText) override;

private:
    QAction* Item() const;
};

namespace afx {
// A menu bar of the items, as the MENU resource lists them; mnemonics ("&") as Windows marks
// them.
QMenuBar* BuildMenuBar(const std::vector<MenuItem>& items, QWidget* parent);
// An action for a command id (menu item or toolbar button). Triggering it never changes its
// check mark: only update handlers and CheckMenuItem do, as in Windows.
QAction* NewCommandAction(const CString& text, UINT id, QObject* parent);
// The command id an action carries, 0 for none.
UINT CommandIdOf(const QAction* action);
void SetActionChecked(QAction* action, bool checked);
}
