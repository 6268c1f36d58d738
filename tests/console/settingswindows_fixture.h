// A started console in network mode, with the settings windows of every category at hand:
// the panels of the single-window categories and the tabs of the network category.
#pragma once

#include "startup_fixture.h"

#include "dialogs/dialoghelpers.h"
#include "frame/mainframe.h"
#include "support/pick.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

#include <QLineEdit>

namespace settingswindows {

// Category indices and network tabs, in the category table's order.
enum Category { PcFax = 4, Network = 5, Reports = 6, MailOptions = 7 };
enum NetworkTab { TcpIp = 0, Email = 1, Ftp = 2, LanFax = 3, IpxSpx = 4, Snmp = 5 };

// Switches the network mode on as its menu command does; a console started without the
// command has it put back first.
inline void EnterNetworkMode(CFrameWnd* frame)
{
    CMenu* menu = frame->GetMenu();
    if (menu->GetMenuState(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND) == UINT(-1))
        menu->GetSubMenu(1)->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_VIEW_NETWORK_MODE, "T&amsel réseau");
    if (!IsNetworkMode())
        frame->SendMessage(WM_COMMAND, ID_VIEW_NETWORK_MODE);
}

class SettingsWindows : public startup::StartedConsole {
protected:
    void SetUp() override
    {
        StartedConsole::SetUp();
        EnterNetworkMode(Frame());
        ASSERT_TRUE(IsNetworkMode());
        Document()->SetModifiedFlag(FALSE);
        Frame()->m_hWnd->activateWindow();   // so that the focus can move
        QApplication::processEvents();
    }

    CNtsView* View() const { return dynamic_cast<CNtsView*>(Frame()->GetActiveView()); }
    CConfig& Record() const { return Document()->config; }

    // The category's panel, shown.
    CDialog* Panel(Category category)
    {
        View()->SelectCategory(category);
        return dynamic_cast<CDialog*>(View()->categoryWindows[size_t(category)].get());
    }
    // The network tab, shown.
    CPropertyPage* NetworkPage(NetworkTab tab)
    {
        View()->SelectCategory(Network);
        CCategorySheet* sheet = View()->SheetOf(Network);
        sheet->SetActivePage(tab);
        return sheet->GetActivePage();
    }
    void Reload() { Document()->UpdateAllViews(nullptr, 0, nullptr); }
    // The record's serialised form: two records with the same form hold the same settings.
    static QByteArray Serialized(CConfig& record)
    {
        CMemFile file;
        {
            CArchive store(&file, CArchive::store);
            record.Serialize(store);
            store.Close();
        }
        QByteArray bytes(int(file.GetLength()), '\0');
        file.SeekToBegin();
        file.Read(bytes.data(), UINT(bytes.size()));
        return bytes;
    }

    static CWnd* Control(CWnd* window, int id) { return window->GetDlgItem(id); }
    static QWidget* Widget(CWnd* window, int id) { return window->GetDlgItem(id)->m_hWnd; }
    static CString Text(CWnd* window, int id)
    {
        CString text;
        window->GetDlgItemText(id, text);
        return text;
    }
    static void Click(CWnd* window, int id) { static_cast<CButton*>(Control(window, id))->Click(); }
    static void Pick(CWnd* window, int id, int index) { PickComboItem(Widget(window, id), index); }
    // A click on the control (`choice` -1) or the list's item chosen.
    static void ClickOrPick(CWnd* window, int id, int choice)
    {
        if (choice < 0)
            Click(window, id);
        else
            Pick(window, id, choice);
    }
    // Replaces the text of an edit as the user does: all selected, then typed over.
    static void TypeOver(CWnd* window, int id, const QString& text)
    {
        auto* edit = qobject_cast<QLineEdit*>(Widget(window, id));
        ASSERT_NE(edit, nullptr) << id;
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }
    // The four fields of an address control, leftmost first.
    static std::vector<QLineEdit*> AddressFields(CWnd* window, int id)
    {
        std::vector<QLineEdit*> fields;
        for (QLineEdit* field : Widget(window, id)->findChildren<QLineEdit*>())
            fields.push_back(field);
        return fields;
    }
};

} // namespace settingswindows
