// A started console with emulated devices, showing one settings page by its class: its
// controls by id, the record, a reload of every page, a settings file saved and opened again,
// and a device the record is applied to and read back from.
#pragma once

#include "device_console.h"

#include "view/categorysheet.h"
#include "view/ntsview.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

namespace pagetest {

// Fails for each field of the section that holds its factory value.
template <class Section>
void ExpectEveryFieldAwayFromItsDefault(const Section& section)
{
    const Section fresh;
    Section::Fields([&](const char* name, auto field, const auto&) {
        EXPECT_FALSE(fields::SameValue(section.*field, fresh.*field)) << name << " holds its default";
    });
}

template <class Page>
class PageOnShow : public devicetest::DeviceConsole {
protected:
    void SetUp() override
    {
        DeviceConsole::SetUp();
        ASSERT_NO_FATAL_FAILURE(Show());
        Document()->SetModifiedFlag(FALSE);
        Frame()->m_hWnd->activateWindow();   // so that the focus can move
        QApplication::processEvents();
    }

    // Selects the page's category and tab, which builds its window the first time.
    void Show()
    {
        auto* view = dynamic_cast<CNtsView*>(Frame()->GetActiveView());
        ASSERT_NE(view, nullptr);
        for (const auto& made : view->allPages) {
            if (auto* found = dynamic_cast<Page*>(made.get()))
                page = found;
        }
        ASSERT_NE(page, nullptr);
        for (int index = 0; index < int(view->categoryWindows.size()); ++index) {
            CCategorySheet* sheet = view->SheetOf(index);
            if (sheet && sheet->GetPageIndex(page) >= 0) {
                view->SelectCategory(index);
                sheet->SetActivePage(page);
            }
        }
        ASSERT_NE(page->m_hWnd, nullptr);
    }

    // The help topic F1 opens while the page is on show.
    int HelpContext() const { return dynamic_cast<CNtsView*>(Frame()->GetActiveView())->GetHelpContext(); }

    CWnd* Control(int id) const { return page->GetDlgItem(id); }
    CComboBox& Combo(int id) const { return *static_cast<CComboBox*>(Control(id)); }
    CButton& Button(int id) const { return *static_cast<CButton*>(Control(id)); }
    CString Text(int id) const
    {
        CString text;
        page->GetDlgItemText(id, text);
        return text;
    }
    // Replaces a field's text by typing, as a user does after selecting all of it.
    void TypeOver(int id, const QString& text)
    {
        qobject_cast<QLineEdit*>(Control(id)->m_hWnd)->selectAll();
        QTest::keyClicks(Control(id)->m_hWnd, text);
    }
    void Reload() { Document()->UpdateAllViews(nullptr, 0, nullptr); }
    std::vector<bool> EnabledStates(int first, int count) const
    {
        std::vector<bool> states;
        CWnd* window = Control(first);
        for (int step = 0; window && step < count; ++step, window = window->GetWindow(GW_HWNDNEXT))
            states.push_back(window->IsWindowEnabled());
        return states;
    }

    // Saves the record to a settings file, restores the page's defaults, and opens the file
    // again.
    void SaveRestoreDefaultsAndReopen()
    {
        QTemporaryDir folder;
        const CString path = folder.filePath("atelier.tms");
        ASSERT_TRUE(Document()->OnSaveDocument(path));
        Button(IDC_DEFAULTS).Click();
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDNO);   // the defaults are not saved
        ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    }

    // Applies the record to a device, restores the page's defaults, and reads the device
    // again. `device` was connected before the page was changed.
    void ApplyRestoreDefaultsAndRead(const CString& device)
    {
        {
            afx::testing::PromptScript prompts;
            prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
            ClickToolbar(ID_DEVICE_APPLY);
        }
        ClickToolbar(ID_DEVICE_DISCONNECT);
        Button(IDC_DEFAULTS).Click();
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_CONNECT_OVERWRITES)).Dialog(IDD_DEVICE_SELECT, devicetest::ChooseDevice(device));
        ClickToolbar(ID_DEVICE_CONNECT);
    }

    Page* page = nullptr;
};

} // namespace pagetest
