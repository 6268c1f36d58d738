// The phone line and advanced features pages in the started console, worked through their
// widgets: the number's country, the answer modes with their rings and timer, the supplies
// order with its destination types, its directory entries and its fax number's billing code,
// remote access with its warning, the defaults buttons, and both sections through a settings
// file and through a device.
#include "phonebook_entries.h"
#include "settingspage_fixture.h"
#include "settingswindows_fixture.h"
#include "support/helpers.h"

#include "afx/win/clipboard.h"
#include "device/lib/devicememory.h"
#include "pages/advancedpage.h"
#include "pages/phonelinepage.h"
#include "support/pick.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

using afx::testing::PromptScript;

namespace {

// ---- The phone line page ----

class PhoneLinePage : public pagetest::PageOnShow<CPhoneLinePage> {
protected:
    CPhoneLineSettings& Line() { return Document()->config.phoneLine; }
    CString ShownCountry()
    {
        CString line;
        if (Combo(IDC_COUNTRY).GetCurSel() >= 0)
            Combo(IDC_COUNTRY).GetLBText(Combo(IDC_COUNTRY).GetCurSel(), line);
        return line;
    }
    BOOL Shown(int id) { return Control(id)->IsWindowVisible(); }
    void PickAnswerMode(int mode) { PickComboItem(Control(IDC_ANSWER_MODE)->m_hWnd, mode); }

    // Every field of the page away from its factory value, through the widgets; the second
    // line's fields, which the page never shows, straight in the record.
    void ChangeEveryField()
    {
        Line().line2Number = "0299887766";
        Line().line2Use = 2;
        Line().line2DialMode = 1;
        Line().line2ReceiveWindow = CInterval{21 * 60, 7 * 60};
        Reload();
        TypeOver(IDC_LINE1_NUMBER, "+32-2-5551212");
        PickAnswerMode(3);
        TypeOver(IDC_TAD_TIMER, "45");
        PickAnswerMode(2);
        TypeOver(IDC_RINGS_BEFORE_ANSWER, "12");
        PickComboItem(Control(IDC_DIAL_MODE)->m_hWnd, 1);
        Button(IDC_ECM).Click();
    }
    static CPhoneLineSettings Changed()
    {
        CPhoneLineSettings changed;
        changed.line1Number = "+32-2-5551212";
        changed.answerMode = 2;
        changed.line1DialMode = 1;
        changed.ringsBeforeAnswer = 12;
        changed.tadTimer = 45;
        changed.ecmEnabled = 0;
        changed.line2Number = "0299887766";
        changed.line2Use = 2;
        changed.line2DialMode = 1;
        changed.line2ReceiveWindow = CInterval{21 * 60, 7 * 60};
        return changed;
    }
};

TEST_F(PhoneLinePage, EveryFieldChangedReachesTheRecordAtOnce)
{
    EXPECT_EQ(HelpContext(), IDD_PHONE_LINE_PAGE);
    pagetest::ExpectEveryFieldAwayFromItsDefault(Changed());
    ChangeEveryField();
    EXPECT_TRUE(fields::SameFields(Line(), Changed()));
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(PhoneLinePage, TheLoadedNumberSelectsItsCountry)
{
    struct Case {
        const char* name;
        const char* number;
        const char* country;
        bool withCode;
    };
    // In order: a number without a code leaves the list where it was. A code may follow any
    // first character: "0123" names the country of code 1, as "033" names France.
    const Case cases[] = {
        {"no code, fresh page", "0023456789", "Afghanistan (93)", false},
        {"plus and code", "+33 1 23 45 67 89", "France (33)", true},
        {"no code after a country", "0023456789", "France (33)", false},
        {"first line with the code", "+1 202 0100", "Canada, Etats-Unis, îles vierges américaines (1)", true},
        {"code after another first character", "0331234567", "France (33)", false},
        {"code 1 after another first character", "0123456789", "Canada, Etats-Unis, îles vierges américaines (1)", false},
        {"plus alone", "+", "Canada, Etats-Unis, îles vierges américaines (1)", false},
        {"empty", "", "Canada, Etats-Unis, îles vierges américaines (1)", false},
        {"code of the shown line", "+33", "France (33)", true},
        {"code after the name's own brackets", "+95 1 234 567", "Birmanie (Myanmar) (95)", true},
        {"three-digit code", "+243 81 234", "Congo, rép. dém. du (ex-Zaïre) (243)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line().line1Number = c.number;
        Reload();
        EXPECT_EQ(Text(IDC_LINE1_NUMBER), CString(c.number));
        EXPECT_EQ(ShownCountry(), CString(c.country));
        EXPECT_EQ(Button(IDC_ADD_COUNTRY_CODE).GetCheck(), c.withCode ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(Control(IDC_COUNTRY)->IsWindowEnabled(), c.withCode);
        EXPECT_EQ(Line().line1Number, CString(c.number));
    }
}

TEST_F(PhoneLinePage, TheCountryCodeBoxAndListWriteTheCode)
{
    struct Step {
        const char* name;
        int countryOrClick;   // an item of the country list, or -1 for a click on the box
        const char* number;
        bool withCode;
    };
    Line().line1Number = "0023456789";
    Reload();
    const Step steps[] = {
        {"box checked", -1, "+93", true},
        {"Belgium chosen", 22, "+32", true},
        {"France chosen", 78, "+33", true},
        {"box unchecked", -1, "", false},
        {"box checked again", -1, "+33", true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        Document()->SetModifiedFlag(FALSE);
        if (s.countryOrClick < 0)
            Button(IDC_ADD_COUNTRY_CODE).Click();
        else
            PickComboItem(Control(IDC_COUNTRY)->m_hWnd, s.countryOrClick);
        EXPECT_EQ(Text(IDC_LINE1_NUMBER), CString(s.number));
        EXPECT_EQ(Line().line1Number, CString(s.number));
        EXPECT_EQ(Button(IDC_ADD_COUNTRY_CODE).GetCheck(), s.withCode ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(Control(IDC_COUNTRY)->IsWindowEnabled(), s.withCode);
        EXPECT_TRUE(Document()->IsModified());
    }
    EXPECT_EQ(ShownCountry(), CString("France (33)"));
}

TEST_F(PhoneLinePage, TheCaretGoesBehindTheCountryCode)
{
    struct Case {
        const char* name;
        const char* number;
        bool allSelected;
    };
    const Case cases[] = {
        {"with its code", "+33", false},
        {"code and local number", "+33 1 23", false},
        {"without a code", "0123456789", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line().line1Number = c.number;
        Reload();
        Control(IDC_DIAL_MODE)->SetFocus();
        auto* field = qobject_cast<QLineEdit*>(Control(IDC_LINE1_NUMBER)->m_hWnd);
        field->setFocus(Qt::TabFocusReason);
        afx::testing::RunPostedWork();
        EXPECT_EQ(field->hasSelectedText(), c.allSelected);
        EXPECT_EQ(field->cursorPosition(), field->text().size());
    }
}

TEST_F(PhoneLinePage, AnswerModesSetTheRingsAndTimer)
{
    struct Case {
        const char* name;
        int mode;
        bool ringsEnabled;
        bool labelTo10;   // else the "(1-15)" label
        bool timerShown;
        const char* ringsAfterTyping16;
    };
    const Case cases[] = {
        {"Auto", 0, true, true, false, "10"},
        {"Manuel", 1, false, false, false, nullptr},
        {"TEL/FAX", 2, true, false, false, "15"},
        {"FAX/TAD", 3, false, false, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PickAnswerMode(c.mode);
        EXPECT_EQ(Line().answerMode, c.mode);
        EXPECT_EQ(Control(IDC_RINGS_BEFORE_ANSWER)->IsWindowEnabled(), c.ringsEnabled);
        EXPECT_EQ(Control(IDC_RINGS_SPIN)->IsWindowEnabled(), c.ringsEnabled);
        EXPECT_EQ(Control(IDC_RINGS_LABEL_TO_15)->IsWindowEnabled(), c.ringsEnabled);
        EXPECT_EQ(Shown(IDC_RINGS_LABEL_TO_10), c.labelTo10);
        EXPECT_EQ(Shown(IDC_RINGS_LABEL_TO_15), !c.labelTo10);
        EXPECT_TRUE(Shown(IDC_RINGS_BEFORE_ANSWER));
        EXPECT_EQ(Shown(IDC_TAD_TIMER), c.timerShown);
        EXPECT_EQ(Shown(IDC_TAD_TIMER_SPIN), c.timerShown);
        EXPECT_EQ(Control(IDC_TAD_TIMER)->GetWindow(GW_HWNDPREV)->IsWindowVisible(), c.timerShown);
        if (c.ringsAfterTyping16) {
            TypeOver(IDC_RINGS_BEFORE_ANSWER, "16");
            EXPECT_EQ(Text(IDC_RINGS_BEFORE_ANSWER), CString(c.ringsAfterTyping16));
            EXPECT_EQ(Line().ringsBeforeAnswer, atoi(c.ringsAfterTyping16));
        }
        // The one line shown: no selector, nothing of the second line.
        for (int hidden : {IDC_LINE_SELECTOR, IDC_LINE_USE_LABEL, IDC_LINE_USE, IDC_START_LABEL, IDC_START_TIME,
                           IDC_STOP_LABEL, IDC_STOP_TIME})
            EXPECT_FALSE(Shown(hidden)) << hidden;
        EXPECT_TRUE(Shown(IDC_ANSWER_MODE));
        EXPECT_TRUE(Shown(IDC_ANSWER_MODE_LABEL));
    }
}

TEST_F(PhoneLinePage, RingsBeyondANewRangeStayUntilEdited)
{
    Line().answerMode = 2;
    Line().ringsBeforeAnswer = 12;
    Reload();
    PickAnswerMode(0);
    EXPECT_EQ(Text(IDC_RINGS_BEFORE_ANSWER), CString("12"));
    EXPECT_EQ(Line().ringsBeforeAnswer, 12);
    EXPECT_EQ(page->ringsEdit.maximum, 10u);
    TypeOver(IDC_RINGS_BEFORE_ANSWER, "12");
    EXPECT_EQ(Text(IDC_RINGS_BEFORE_ANSWER), CString("10"));
    EXPECT_EQ(Line().ringsBeforeAnswer, 10);
}

// The page's window built while the record is in tel/fax mode.
class PhoneLinePageBuiltInTelFax : public PhoneLinePage {
protected:
    void SetUp() override
    {
        DeviceConsole::SetUp();
        Line().answerMode = 2;
        Line().ringsBeforeAnswer = 14;
        ASSERT_NO_FATAL_FAILURE(Show());
    }
};

TEST_F(PhoneLinePageBuiltInTelFax, TakesUpToFifteenRings)
{
    ASSERT_EQ(Text(IDC_RINGS_BEFORE_ANSWER), CString("14"));
    TypeOver(IDC_RINGS_BEFORE_ANSWER, "15");
    EXPECT_EQ(Text(IDC_RINGS_BEFORE_ANSWER), CString("15"));
    EXPECT_EQ(Line().ringsBeforeAnswer, 15);
}

TEST_F(PhoneLinePage, DefaultsRestoreOnlyThisSection)
{
    ChangeEveryField();
    Document()->config.advanced.customerNumber = "C-1234";
    Document()->config.machine.contrast = 2;
    Document()->SetModifiedFlag(FALSE);
    Button(IDC_DEFAULTS).Click();
    const CConfig fresh;
    EXPECT_TRUE(fields::SameFields(Line(), fresh.phoneLine));
    EXPECT_EQ(Document()->config.advanced.customerNumber, CString("C-1234"));
    EXPECT_EQ(Document()->config.machine.contrast, 2);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(Text(IDC_LINE1_NUMBER), CString());
    EXPECT_EQ(Button(IDC_ADD_COUNTRY_CODE).GetCheck(), BST_UNCHECKED);
    EXPECT_TRUE(Shown(IDC_RINGS_LABEL_TO_10));
}

// The rings label of each answer mode hands its mnemonic to the rings field, past the other
// mode's label that stands hidden between them.
TEST_F(PhoneLinePage, EachRingsLabelsMnemonicReachesTheRingsField)
{
    struct Case {
        const char* name;
        int mode;
        Qt::Key mnemonic;
    };
    const Case cases[] = {{"Auto, 1 to 10", 0, Qt::Key_S}, {"1 to 15", 2, Qt::Key_R}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PickAnswerMode(c.mode);
        Control(IDC_LINE1_NUMBER)->SetFocus();
        QTest::keyClick(QApplication::focusWidget(), c.mnemonic, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), Control(IDC_RINGS_BEFORE_ANSWER)->m_hWnd);
    }
}

TEST_F(PhoneLinePage, EveryFieldSurvivesASettingsFile)
{
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(SaveRestoreDefaultsAndReopen());
    EXPECT_TRUE(fields::SameFields(Line(), Changed()));
    EXPECT_EQ(Text(IDC_RINGS_BEFORE_ANSWER), CString("12"));
    EXPECT_EQ(ShownCountry(), CString("Belgique (32)"));
    EXPECT_EQ(Button(IDC_ADD_COUNTRY_CODE).GetCheck(), BST_CHECKED);
    EXPECT_FALSE(Document()->IsModified());
}

TEST_F(PhoneLinePage, EveryFieldSurvivesADeviceApplyAndRead)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(ApplyRestoreDefaultsAndRead(device));
    EXPECT_TRUE(fields::SameFields(EmulatedDevice::Inspect(device)->config.phoneLine, Changed()));
    EXPECT_TRUE(fields::SameFields(Line(), Changed()));
    EXPECT_EQ(Text(IDC_LINE1_NUMBER), CString("+32-2-5551212"));
    EXPECT_EQ(Combo(IDC_ANSWER_MODE).GetCurSel(), 2);
}

// ---- The advanced features page ----

const CString kFaxNumberItem = "Numéro fax";
const CString kEmailItem = "Adresse messagerie";
const CString kSpeedDialItem = "Composition abrégée";
const CString kOneTouchItem = "Composition instantanée";

class AdvancedPage : public pagetest::PageOnShow<CAdvancedPage> {
protected:
    CAdvancedSettings& Advanced() { return Document()->config.advanced; }
    CPhoneBook& Book() { return Document()->config.phoneBook; }
    BOOL Shown(int id) { return Control(id)->IsWindowVisible(); }
    CString Items(int id)
    {
        CString items;
        for (int index = 0; index < Combo(id).GetCount(); ++index) {
            CString item;
            Combo(id).GetLBText(index, item);
            items += (index > 0 ? "|" : "") + item;
        }
        return items;
    }
    // The destination edit on show; 0 for none.
    int ShownDestination()
    {
        int shown = 0;
        for (int id : {IDC_ORDER_FAX_NUMBER, IDC_ORDER_EMAIL_ADDRESS, IDC_ORDER_SPEED_DIAL, IDC_ORDER_ONE_TOUCH}) {
            if (Shown(id)) {
                EXPECT_EQ(shown, 0) << "two destinations on show";
                shown = id;
            }
        }
        return shown;
    }
    void PickType(const CString& item)
    {
        CComboBox& list = Combo(IDC_ORDER_DESTINATION_TYPE);
        for (int index = 0; index < list.GetCount(); ++index) {
            CString text;
            list.GetLBText(index, text);
            if (text == item)
                return PickComboItem(list.m_hWnd, index);
        }
        ADD_FAILURE() << "no item " << static_cast<const QString&>(item).toStdString();
    }
    // "C&hanger...", then the entry of that number chosen in the selection dialog; the
    // number the dialog preselected.
    int ChooseEntry(const CString& row)
    {
        int preselected = -1;
        RunModal(IDD_SELECT_ENTRY, [&] { Button(IDC_CHOOSE_ORDER_ENTRY).Click(); }, [&](CDialog& dialog) {
            auto& list = *static_cast<CListCtrl*>(dialog.GetDlgItem(IDC_ENTRY_LIST));
            const int selected = list.GetNextItem(-1, LVNI_SELECTED);
            if (selected >= 0)
                preselected = static_cast<const QString&>(list.GetItemText(selected, 0)).toInt();
            for (int item = 0; item < list.GetItemCount(); ++item) {
                if (list.GetItemText(item, 0) == row)
                    list.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
            }
            static_cast<CButton*>(dialog.GetDlgItem(IDOK))->Click();
        });
        return preselected;
    }

    // Every field of the page away from its factory value, through the widgets; the hidden
    // password straight in the record. Speed dial 5 is the destination.
    void ChangeEveryField()
    {
        phonebooktest::AddSpeedDial(Book(), 5, "Fournitures");
        Advanced().remoteAccessPassword = " 4711 ";
        Reload();
        Button(IDC_REMOTE_ACCESS).Click();
        PickComboItem(Control(IDC_DOWNLOAD_MODE)->m_hWnd, 0);
        Button(IDC_AUTO_SUPPLY_ORDER).Click();
        PickType(kSpeedDialItem);
        ChooseEntry("005");
        TypeOver(IDC_TONER_PART_NUMBER, "TN-3280 ");
        TypeOver(IDC_TONER_QUANTITY, "4");
        TypeOver(IDC_DRUM_PART_NUMBER, "DR-3200");
        TypeOver(IDC_DRUM_QUANTITY, "2");
        Button(IDC_ORDER_TONER).Click();
        Button(IDC_ORDER_DRUM).Click();
        TypeOver(IDC_CUSTOMER_NUMBER, "C-1234");
        TypeOver(IDC_CONTACT_NAME, "Jeanne Roux");
        TypeOver(IDC_CONTACT_PHONE, "0145678900");
        TypeOver(IDC_RECIPIENT, "Service achats");
        TypeOver(IDC_ADDRESS, "12 rue des Lilas");
    }
    static CAdvancedSettings Changed()
    {
        CAdvancedSettings changed;
        changed.remoteAccess = 1;
        changed.downloadMode = 0;
        changed.remoteAccessPassword = " 4711 ";
        changed.autoSupplyOrder = 1;
        changed.orderDestinationType = 2;
        changed.orderDestination = "005";
        changed.orderToner = 0;
        changed.tonerPartNumber = "TN-3280";
        changed.tonerQuantity = 4;
        changed.orderDrum = 0;
        changed.drumPartNumber = "DR-3200";
        changed.drumQuantity = 2;
        changed.customerNumber = "C-1234";
        changed.contactName = "Jeanne Roux";
        changed.contactPhone = "0145678900";
        changed.recipient = "Service achats";
        changed.address = "12 rue des Lilas";
        return changed;
    }
};

TEST_F(AdvancedPage, EveryFieldChangedReachesTheRecordAtOnce)
{
    EXPECT_EQ(HelpContext(), IDD_ADVANCED_PAGE);
    pagetest::ExpectEveryFieldAwayFromItsDefault(Changed());
    ChangeEveryField();
    EXPECT_TRUE(fields::SameFields(Advanced(), Changed()));
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(AdvancedPage, TheTypeListOffersWhatTheDirectoryAndModeHold)
{
    struct Case {
        const char* name;
        bool speedDial;
        bool oneTouch;
        bool network;
        CString items;
        bool enabled;
    };
    // The network row last: the mode stays on.
    const Case cases[] = {
        {"empty directory", false, false, false, kFaxNumberItem, false},
        {"speed dials", true, false, false, kFaxNumberItem + "|" + kSpeedDialItem, true},
        {"one-touch keys", false, true, false, kFaxNumberItem + "|" + kOneTouchItem, true},
        {"both, network mode", true, true, true,
         kFaxNumberItem + "|" + kEmailItem + "|" + kSpeedDialItem + "|" + kOneTouchItem, true},
    };
    Advanced().autoSupplyOrder = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        if (c.speedDial)
            phonebooktest::AddSpeedDial(Book(), 5, "Fournitures");
        if (c.oneTouch)
            phonebooktest::AddOwnKey(Book(), 3, "Agence");
        if (c.network)
            settingswindows::EnterNetworkMode(Frame());
        Reload();
        EXPECT_EQ(Items(IDC_ORDER_DESTINATION_TYPE), c.items);
        EXPECT_EQ(Combo(IDC_ORDER_DESTINATION_TYPE).GetCurSel(), 0);
        EXPECT_EQ(Control(IDC_ORDER_DESTINATION_TYPE)->IsWindowEnabled(), c.enabled);
        EXPECT_EQ(ShownDestination(), IDC_ORDER_FAX_NUMBER);
        EXPECT_FALSE(Shown(IDC_CHOOSE_ORDER_ENTRY));
    }
}

TEST_F(AdvancedPage, TheTypeListFollowsTheDirectoryWhenShownAgain)
{
    Advanced().autoSupplyOrder = 1;
    Reload();
    ASSERT_EQ(Items(IDC_ORDER_DESTINATION_TYPE), kFaxNumberItem);
    auto* view = dynamic_cast<CNtsView*>(Frame()->GetActiveView());
    view->SelectCategory(2);   // the directory, where an entry comes
    phonebooktest::AddOwnKey(Book(), 3, "Agence");
    ASSERT_NO_FATAL_FAILURE(Show());
    EXPECT_EQ(Items(IDC_ORDER_DESTINATION_TYPE), kFaxNumberItem + "|" + kOneTouchItem);
    EXPECT_TRUE(Control(IDC_ORDER_DESTINATION_TYPE)->IsWindowEnabled());
}

TEST_F(AdvancedPage, EachTypeShowsItsOwnDestinationAndTakesItsText)
{
    settingswindows::EnterNetworkMode(Frame());
    phonebooktest::AddSpeedDial(Book(), 5, "Fournitures");
    phonebooktest::AddOwnKey(Book(), 3, "Agence");
    Advanced().autoSupplyOrder = 1;
    Reload();
    struct Step {
        const char* name;
        CString item;
        int type;
        int edit;
        bool chooser;
        const char* typed;   // nullptr: a read-only edit, left as it is
        const char* stored;
    };
    const Step steps[] = {
        {"fax number", kFaxNumberItem, 0, IDC_ORDER_FAX_NUMBER, false, "0140 ", "0140"},
        {"e-mail address", kEmailItem, 1, IDC_ORDER_EMAIL_ADDRESS, false, " achats@corvane.fr", "achats@corvane.fr"},
        {"speed dial never filled", kSpeedDialItem, 2, IDC_ORDER_SPEED_DIAL, true, nullptr, ""},
        {"one-touch key never filled", kOneTouchItem, 3, IDC_ORDER_ONE_TOUCH, true, nullptr, ""},
        {"back to the fax number", kFaxNumberItem, 0, IDC_ORDER_FAX_NUMBER, false, nullptr, "0140"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        PickType(s.item);
        if (s.typed)
            TypeOver(s.edit, s.typed);
        EXPECT_EQ(Advanced().orderDestinationType, s.type);
        EXPECT_EQ(ShownDestination(), s.edit);
        EXPECT_EQ(Shown(IDC_CHOOSE_ORDER_ENTRY), s.chooser);
        EXPECT_EQ(Advanced().orderDestination, CString(s.stored));
    }
}

TEST_F(AdvancedPage, ChangerPutsTheChosenEntryInItsEdit)
{
    struct Case {
        const char* name;
        int type;
        const char* stored;   // the entry the dialog preselects
        int preselected;
        const char* chosen;
        int edit;
    };
    const Case cases[] = {
        {"speed dial, three digits", 2, "", -1, "012", IDC_ORDER_SPEED_DIAL},
        {"speed dial preselected", 2, "004", 4, "012", IDC_ORDER_SPEED_DIAL},
        {"speed dial, no number stored", 2, "x", -1, "004", IDC_ORDER_SPEED_DIAL},
        {"one-touch key, two digits", 3, "", -1, "07", IDC_ORDER_ONE_TOUCH},
        {"one-touch key preselected", 3, "02", 2, "07", IDC_ORDER_ONE_TOUCH},
    };
    CSpeedDial* first = phonebooktest::AddSpeedDial(Book(), 4, "Atelier");
    phonebooktest::AddSpeedDial(Book(), 12, "Fournitures");
    phonebooktest::AddKey(Book(), 2, first);
    phonebooktest::AddOwnKey(Book(), 7, "Agence");
    Advanced().autoSupplyOrder = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Advanced().orderDestinationType = c.type;
        Advanced().orderDestination = c.stored;
        Reload();
        EXPECT_EQ(Text(c.edit), CString(c.stored));
        Document()->SetModifiedFlag(FALSE);
        EXPECT_EQ(ChooseEntry(c.chosen), c.preselected);
        EXPECT_EQ(Text(c.edit), CString(c.chosen));
        EXPECT_EQ(Advanced().orderDestination, CString(c.chosen));
        EXPECT_TRUE(Document()->IsModified());
    }
}

TEST_F(AdvancedPage, AStoredTypeTheListLacksIsKeptAndCanBeLeft)
{
    // The speed dial named is gone; the apply asks for a destination.
    Advanced().autoSupplyOrder = 1;
    Advanced().orderDestinationType = 2;
    Advanced().orderDestination = "";
    Reload();
    EXPECT_EQ(Items(IDC_ORDER_DESTINATION_TYPE), kFaxNumberItem);
    EXPECT_EQ(Combo(IDC_ORDER_DESTINATION_TYPE).GetCurSel(), CB_ERR);
    EXPECT_EQ(ShownDestination(), 0);
    TypeOver(IDC_CUSTOMER_NUMBER, "C-1234");
    EXPECT_EQ(Advanced().orderDestinationType, 2);
    EXPECT_EQ(Advanced().customerNumber, CString("C-1234"));
    EXPECT_EQ(ShownDestination(), 0);
    EXPECT_FALSE(Shown(IDC_CHOOSE_ORDER_ENTRY));
    // The list stays open, so that the destination can be given.
    EXPECT_TRUE(Control(IDC_ORDER_DESTINATION_TYPE)->IsWindowEnabled());
    PickType(kFaxNumberItem);
    TypeOver(IDC_ORDER_FAX_NUMBER, "0140");
    EXPECT_EQ(Advanced().orderDestinationType, 0);
    EXPECT_EQ(Advanced().orderDestination, CString("0140"));
    EXPECT_FALSE(Control(IDC_ORDER_DESTINATION_TYPE)->IsWindowEnabled());
}

TEST_F(AdvancedPage, ADestinationGivenOnThePageLetsTheApplyThrough)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    Advanced().autoSupplyOrder = 1;
    Advanced().orderDestinationType = 3;
    Advanced().orderDestination = "";
    Reload();
    {
        PromptScript prompts;
        prompts.MessageBox(IDOK, LoadText(IDP_SUPPLY_ORDER_NEEDS_ADDRESS));
        ClickToolbar(ID_DEVICE_APPLY);
    }
    PickType(kFaxNumberItem);
    TypeOver(IDC_ORDER_FAX_NUMBER, "0140");
    {
        PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        ClickToolbar(ID_DEVICE_APPLY);
    }
    EXPECT_EQ(EmulatedDevice::Inspect(device)->config.advanced.orderDestination, CString("0140"));
    EXPECT_EQ(EmulatedDevice::Inspect(device)->config.advanced.orderDestinationType, 0);
}

// The page's own mnemonic acts on its control at the first press; a letter the page does not
// hold opens the menu that has it.
TEST_F(AdvancedPage, ThePagesMnemonicsComeBeforeTheMenus)
{
    Control(IDC_CUSTOMER_NUMBER)->SetFocus();
    for (const int checked : {BST_CHECKED, BST_UNCHECKED}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        EXPECT_EQ(Button(IDC_AUTO_SUPPLY_ORDER).GetCheck(), checked);
        EXPECT_EQ(Advanced().autoSupplyOrder, checked == BST_CHECKED ? 1 : 0);
        EXPECT_EQ(QApplication::focusWidget(), Control(IDC_AUTO_SUPPLY_ORDER)->m_hWnd);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&Fichier");
    menu->close();
}

TEST_F(AdvancedPage, ThePastedFaxNumberKeepsItsRealCode)
{
    Advanced().autoSupplyOrder = 1;
    Reload();
    auto* field = qobject_cast<QLineEdit*>(Control(IDC_ORDER_FAX_NUMBER)->m_hWnd);
    field->setFocus();
    field->selectAll();
    ASSERT_TRUE(afx::SetClipboardFormatData("FaxNum", QByteArray("0140$12\0", 8)));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(IDC_ORDER_FAX_NUMBER), CString("0140$$$"));
    EXPECT_EQ(Advanced().orderDestination, CString("0140$12"));
    // Saved again by another change, and loaded again: the code, never the mask.
    TypeOver(IDC_CUSTOMER_NUMBER, "C-1234");
    EXPECT_EQ(Advanced().orderDestination, CString("0140$12"));
    Reload();
    EXPECT_EQ(Text(IDC_ORDER_FAX_NUMBER), CString("0140$$$"));
    TypeOver(IDC_RECIPIENT, "Achats");
    EXPECT_EQ(Advanced().orderDestination, CString("0140$12"));
}

TEST_F(AdvancedPage, TheSupplyOrderSwitchesDisableTheirRunsAndKeepTheValues)
{
    ChangeEveryField();
    Button(IDC_ORDER_TONER).Click();
    Button(IDC_ORDER_DRUM).Click();
    PickType(kFaxNumberItem);
    TypeOver(IDC_ORDER_FAX_NUMBER, "0140");
    const CAdvancedSettings before = Advanced();
    struct Case {
        const char* name;
        int box;
        int firstInRun;   // the window before this control starts the run
        int runLength;
    };
    const Case cases[] = {
        {"supplies order", IDC_AUTO_SUPPLY_ORDER, IDC_ORDER_DESTINATION_TYPE, 33},
        {"toner", IDC_ORDER_TONER, IDC_TONER_PART_NUMBER, 5},
        {"drum", IDC_ORDER_DRUM, IDC_DRUM_PART_NUMBER, 5},
    };
    auto states = [&](const Case& c) {
        std::vector<bool> run;
        CWnd* window = Control(c.firstInRun)->GetWindow(GW_HWNDPREV);
        for (int step = 0; window && step < c.runLength; ++step, window = window->GetWindow(GW_HWNDNEXT))
            run.push_back(window->IsWindowEnabled());
        return run;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t length = size_t(c.runLength);
        EXPECT_EQ(states(c), std::vector<bool>(length, true));
        Button(c.box).Click();
        EXPECT_EQ(states(c), std::vector<bool>(length, false));
        EXPECT_TRUE(Control(c.box)->IsWindowEnabled());
        EXPECT_TRUE(Control(IDC_DEFAULTS)->IsWindowEnabled());
        Button(c.box).Click();
        EXPECT_EQ(states(c), std::vector<bool>(length, true));
    }
    EXPECT_TRUE(fields::SameFields(Advanced(), before));
    // Off, every value is still saved by another change.
    Button(IDC_AUTO_SUPPLY_ORDER).Click();
    Button(IDC_REMOTE_ACCESS).Click();
    Advanced().autoSupplyOrder = 1;
    Advanced().remoteAccess = 1;
    EXPECT_TRUE(fields::SameFields(Advanced(), before));
}

TEST_F(AdvancedPage, TheStoredJobsWarningShowsWithRemoteAccessAlways)
{
    struct Step {
        const char* name;
        int downloadOrClick;   // an item of the download list, or -1 for a click on remote access
        bool warning;
        bool downloadEnabled;
    };
    const Step steps[] = {
        {"remote access on, only without stored jobs", -1, false, true},
        {"always", 0, true, true},
        {"only without stored jobs", 1, false, true},
        {"always again", 0, true, true},
        {"remote access off", -1, false, false},
        {"remote access on again", -1, true, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.downloadOrClick < 0)
            Button(IDC_REMOTE_ACCESS).Click();
        else
            PickComboItem(Control(IDC_DOWNLOAD_MODE)->m_hWnd, s.downloadOrClick);
        EXPECT_EQ(Shown(IDC_STORED_JOBS_WARNING), s.warning);
        EXPECT_EQ(Control(IDC_DOWNLOAD_MODE)->IsWindowEnabled(), s.downloadEnabled);
        EXPECT_EQ(Control(IDC_STORED_JOBS_WARNING)->IsWindowEnabled(), s.downloadEnabled);
        EXPECT_FALSE(Shown(IDC_REMOTE_ACCESS_PASSWORD));
    }
}

TEST_F(AdvancedPage, DefaultsRestoreOnlyThisSection)
{
    ChangeEveryField();
    Document()->config.phoneLine.line1Number = "+33";
    Document()->config.machine.contrast = 2;
    Document()->SetModifiedFlag(FALSE);
    Button(IDC_DEFAULTS).Click();
    const CConfig fresh;
    EXPECT_TRUE(fields::SameFields(Advanced(), fresh.advanced));
    EXPECT_EQ(Document()->config.phoneLine.line1Number, CString("+33"));
    EXPECT_EQ(Document()->config.machine.contrast, 2);
    EXPECT_EQ(Book().GetCount(1), 1);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(ShownDestination(), IDC_ORDER_FAX_NUMBER);
    EXPECT_EQ(Text(IDC_ORDER_FAX_NUMBER), CString());
    EXPECT_FALSE(Control(IDC_ORDER_DESTINATION_TYPE)->IsWindowEnabled());
}

TEST_F(AdvancedPage, EveryFieldSurvivesASettingsFile)
{
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(SaveRestoreDefaultsAndReopen());
    EXPECT_TRUE(fields::SameFields(Advanced(), Changed()));
    EXPECT_EQ(Text(IDC_ORDER_SPEED_DIAL), CString("005"));
    EXPECT_EQ(ShownDestination(), IDC_ORDER_SPEED_DIAL);
    EXPECT_TRUE(Shown(IDC_STORED_JOBS_WARNING));
    EXPECT_FALSE(Document()->IsModified());
}

TEST_F(AdvancedPage, EveryFieldSurvivesADeviceApplyAndRead)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(ApplyRestoreDefaultsAndRead(device));
    EXPECT_TRUE(fields::SameFields(EmulatedDevice::Inspect(device)->config.advanced, Changed()));
    EXPECT_TRUE(fields::SameFields(Advanced(), Changed()));
    EXPECT_EQ(Text(IDC_ORDER_SPEED_DIAL), CString("005"));
    EXPECT_EQ(Combo(IDC_DOWNLOAD_MODE).GetCurSel(), 0);
}

} // namespace
