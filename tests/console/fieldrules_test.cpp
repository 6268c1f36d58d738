// Each field's rule lives in its table (fields.h): every control that edits a field, on every
// page, panel and entry dialog, takes its limit from there, and every rule of every table is
// named by a control for the record check's wording.
#include "settingswindows_fixture.h"

#include "clientcodes/clientcodedlgs.h"
#include "clientcodes/clientcodepage.h"
#include "directory/dialentrydlg.h"
#include "directory/directorypages.h"
#include "directory/groupentrydlg.h"
#include "mailboxes/mailboxdlgs.h"
#include "mailboxes/mailboxpage.h"
#include "pages/securepassworddlg.h"
#include "recordwording/recordwording.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

using afx::testing::PromptScript;
using settingswindows::SettingsWindows;

// Each rule of a table's fields, as it stands for `object`.
template <class Object>
void AddRules(const char* section, const Object& object, std::map<std::string, fields::Rule>& rules)
{
    Object::Fields([&](const char* name, auto, const auto& rule) {
        rules[std::string(section) + "." + name] = fields::Evaluate(rule, object);
    });
}

// The rules of every table by "section.field", each for the object as its control edits it: a
// text that holds several kinds of destination for the e-mail address, the secure reception
// password while secure reception is on.
std::map<std::string, fields::Rule> EveryRule()
{
    std::map<std::string, fields::Rule> rules;
    CConfig record;
    record.advanced.orderDestinationType = CAdvancedSettings::orderByEmail;
    record.faxReceive.secureReceive = 1;
    CConfig::Sections([&](const char* name, auto member) {
        using Section = std::remove_cvref_t<decltype(record.*member)>;
        if constexpr (requires { Section::Fields([](const char*, auto, const auto&) {}); })
            AddRules(name, record.*member, rules);
    });
    AddRules("speedDials", CDialingData(), rules);
    AddRules("oneTouches", CDialingData(), rules);
    AddRules("groupDials", CGroupDial(), rules);
    CMailBox byEmail;
    byEmail.reportDestKind = CMailBox::reportByEmail;
    AddRules("mailBoxes", byEmail, rules);
    AddRules("clientCodes", CDepartmentCode(), rules);
    rules["clientCodes.id"] = CDepartmentCode::idRule;
    return rules;
}

struct FieldControl {
    std::string field;
    int controlId;
};

// The controls of the wording's table, by the template of their window.
std::map<int, std::vector<FieldControl>> ControlsByTemplate()
{
    std::map<int, std::vector<FieldControl>> controls;
    ForEachFieldControl([&](const char* section, const char* field, int templateId, int controlId) {
        controls[templateId].push_back({std::string(section) + "." + field, controlId});
    });
    return controls;
}

int DigitsOf(int n)
{
    return int(std::to_string(n).size());
}

// The control's limit is the rule: a list's items, an edit's length and characters, a number
// field's range, a check box's two states.
void ExpectControlFollowsRule(CWnd& window, const FieldControl& control, const fields::Rule& rule)
{
    SCOPED_TRACE(control.field);
    CWnd* item = window.GetDlgItem(control.controlId);
    ASSERT_NE(item, nullptr);
    QWidget* widget = item->m_hWnd;
    if (rule.kind == fields::Rule::any)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        ASSERT_EQ(rule.kind, fields::Rule::number);
        if (combo->count() > 0 && combo->itemData(0).isValid()) {
            // A list of the kinds on offer: each item's value is one the rule allows.
            for (int index = 0; index < combo->count(); ++index)
                EXPECT_TRUE(rule.Allows(int(combo->itemData(index).toULongLong()))) << index;
        } else if (control.field == "speedDials.dialLine" || control.field == "oneTouches.dialLine") {
            // The console dials on the first of the device's two lines only.
            EXPECT_EQ(combo->count(), 1);
        } else {
            EXPECT_EQ(combo->count(), rule.high - rule.low + 1);
        }
    } else if (qobject_cast<QDateTimeEdit*>(widget)) {
        // A time picker's hours and minutes are the day's, as the rules say.
        EXPECT_TRUE(rule == fields::Number(0, 23) || rule == fields::Number(0, 59));
    } else if (qobject_cast<QAbstractButton*>(widget)) {
        EXPECT_TRUE(rule == fields::Flag());
    } else if (rule.kind == fields::Rule::text) {
        EXPECT_EQ(int(item->SendMessage(EM_GETLIMITTEXT)), rule.maxLength);
        EXPECT_EQ(rule.chars == fields::Chars::digits, (item->GetStyle() & ES_NUMBER) != 0);
    } else if (auto* number = dynamic_cast<CNumberEdit*>(CWnd::FromHandlePermanent(widget))) {
        EXPECT_EQ(int(number->minimum), rule.low);
        EXPECT_EQ(int(number->maximum), rule.high);
    } else {
        // A plain number edit: as many digits as the highest number, and its spin's range.
        EXPECT_EQ(int(item->SendMessage(EM_GETLIMITTEXT)), DigitsOf(rule.high));
        if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(item->GetWindow(GW_HWNDNEXT))) {
            int low = 0;
            int high = 0;
            spin->GetRange(low, high);
            EXPECT_EQ(low, rule.low);
            EXPECT_EQ(high, rule.high);
        }
    }
}

class FieldRules : public SettingsWindows {
protected:
    // Every control of the window's template that edits a field.
    void ExpectWindowFollowsRules(CWnd& window, int templateId)
    {
        SCOPED_TRACE(templateId);
        const auto controls = ControlsByTemplate();
        ASSERT_TRUE(controls.count(templateId));
        for (const FieldControl& control : controls.at(templateId)) {
            // What a key dials and a group's members are references, no field of a table.
            const bool reference = control.field.ends_with(".target") || control.field.ends_with(".members");
            EXPECT_TRUE(reference || rules.count(control.field)) << control.field;
            if (rules.count(control.field))
                ExpectControlFollowsRule(window, control, rules.at(control.field));
        }
        walked.insert(templateId);
    }

    // Runs the modal dialog and looks at it as it shows, then cancels it.
    void ExpectDialogFollowsRules(CDialog& dialog, int templateId)
    {
        PromptScript prompts;
        prompts.Dialog(templateId, [&](CDialog& shown) {
            ExpectWindowFollowsRules(shown, templateId);
            shown.GetDlgItem(IDCANCEL)->SendMessage(BM_CLICK);
        });
        dialog.DoModal();
    }

    template <class Page>
    Page* PageOf() const
    {
        for (const auto& page : View()->allPages) {
            if (auto* found = dynamic_cast<Page*>(page.get()))
                return found;
        }
        return nullptr;
    }

    const std::map<std::string, fields::Rule> rules = EveryRule();
    std::set<int> walked;
};

TEST_F(FieldRules, EveryControlThatEditsAFieldTakesItsFieldsRule)
{
    const auto controls = ControlsByTemplate();
    // The pages and panels that edit plain sections, shown.
    for (int index = 0; index < int(View()->categoryWindows.size()); ++index) {
        CWnd* window = View()->categoryWindows[size_t(index)].get();
        if (auto* panel = dynamic_cast<CDialog*>(window); panel && controls.count(int(panel->GetTemplateID()))) {
            View()->SelectCategory(index);
            ExpectWindowFollowsRules(*panel, int(panel->GetTemplateID()));
        }
        CCategorySheet* sheet = View()->SheetOf(index);
        for (int page = 0; sheet && page < sheet->GetPageCount(); ++page) {
            CPropertyPage* shown = sheet->GetPage(page);
            if (!controls.count(int(shown->GetTemplateID())))
                continue;
            View()->SelectCategory(index);
            ASSERT_TRUE(sheet->SetActivePage(page));
            ExpectWindowFollowsRules(*shown, int(shown->GetTemplateID()));
        }
    }
    // The entry dialogs of the lists, and the secure reception password's.
    CConfig& record = Record();
    CSecureFaxPasswordDlg password(Frame());
    ExpectDialogFollowsRules(password, IDD_SECURE_FAX_PASSWORD);
    CMailBoxEntryDlg mailBox(&record.mailBoxes, &record.phoneBook, nullptr, PageOf<CMailBoxPage>());
    ExpectDialogFollowsRules(mailBox, IDD_MAILBOX_ENTRY);
    CDialEntryDlg speedDial(&record.phoneBook, nullptr, FALSE, PageOf<CSpeedDialPage>());
    ExpectDialogFollowsRules(speedDial, IDD_DIAL_ENTRY);
    CGroupEntryDlg group(&record.phoneBook, nullptr, PageOf<CGroupDialPage>());
    ExpectDialogFollowsRules(group, IDD_GROUP_ENTRY);
    CClientCodeEntryDlg clientCode(&record.clientCodes, nullptr, PageOf<CClientCodePage>());
    ExpectDialogFollowsRules(clientCode, IDD_CLIENT_CODE_ENTRY);

    for (const auto& [templateId, fields] : controls)
        EXPECT_TRUE(walked.count(templateId)) << "template " << templateId << " not walked";
}

// Whatever a table gives a rule, the console has a control that names it, so that a finding on
// it is worded with its page and field.
TEST(FieldRuleTables, EveryRuleOfEveryTableHasItsControl)
{
    std::set<std::string> named;
    ForEachFieldControl([&](const char* section, const char* field, int, int) {
        named.insert(std::string(section) + "." + field);
    });
    for (const auto& [field, rule] : EveryRule()) {
        if (rule.kind != fields::Rule::any) {
            EXPECT_TRUE(named.count(field)) << field << " has a rule and no control";
        }
    }
}

} // namespace
