// The dialog helpers, on dialogs of a small script of the test's own: choice lists, the number
// field's clamping, the exchanges of trimmed text, time windows and addresses, control runs,
// section copies and the F1 key of modal dialogs.
#include "dialogs/dialoghelpers.h"

#include "afx/core/resources.h"
#include "afx/win/testing.h"
#include "device/lib/sections.h"
#include "res/resource.h"
#include "support/helpers.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

enum : int {
    TDD_HELPERS = 3000, TDD_HELP_KEY = 3001,
    TDC_NO_STRING_COMBO = 3100, TDC_NUMBER = 3101, TDC_NAME = 3102, TDC_START = 3103, TDC_STOP = 3104,
    TDC_ADDRESS = 3105, TDC_BEFORE = 3106, TDC_LABEL = 3107, TDC_SPIN = 3108, TDC_AFTER = 3109,
    TDC_HELP_EDIT = 3110, TDC_RUN_FIELD = 3111, TDC_NUMBER_SPIN = 3112,
};

// Combo boxes of ids with and without a string, the country list, a number field with its
// spin, a name, a time window, an address, and a run of five controls.
QByteArray Script()
{
    return QStringLiteral(R"(
%1 DIALOGEX 0, 0, 300, 200
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Aides"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    COMBOBOX        %2,7,7,100,60,CBS_DROPDOWNLIST | WS_TABSTOP
    COMBOBOX        %3,7,22,100,60,CBS_DROPDOWNLIST | WS_TABSTOP
    COMBOBOX        %4,7,37,200,60,CBS_DROPDOWNLIST | WS_TABSTOP
    EDITTEXT        %5,7,52,100,12,ES_AUTOHSCROLL
    EDITTEXT        %6,7,67,30,12,ES_RIGHT | ES_NUMBER
    CONTROL         "",%7,"msctls_updown32",UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS,37,67,11,12
    EDITTEXT        %8,7,82,100,12,ES_AUTOHSCROLL
    CONTROL         "",%9,"SysDateTimePick32",DTS_TIMEFORMAT | WS_TABSTOP,7,97,60,12
    CONTROL         "",%10,"SysDateTimePick32",DTS_TIMEFORMAT | WS_TABSTOP,77,97,60,12
    CONTROL         "",%11,"SysIPAddress32",WS_TABSTOP,7,112,100,12
    CONTROL         "Avant",%12,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,7,127,60,10
    LTEXT           "Minutes :",%13,7,140,40,8
    EDITTEXT        %14,50,140,30,12,ES_NUMBER
    CONTROL         "",%15,"msctls_updown32",UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS,80,140,11,12
    CONTROL         "Après",%16,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,7,155,60,10
END

%17 DIALOGEX 0, 0, 200, 60
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Aide"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        %18,7,7,100,12,ES_AUTOHSCROLL
    PUSHBUTTON      "Ai&de",9,140,40,50,14
END
)")
        .arg(TDD_HELPERS).arg(IDC_POLLING_REPORT).arg(TDC_NO_STRING_COMBO).arg(IDC_COUNTRY)
        .arg(IDC_CONFIRMATION_REPORT).arg(TDC_NUMBER).arg(TDC_NUMBER_SPIN).arg(TDC_NAME).arg(TDC_START)
        .arg(TDC_STOP).arg(TDC_ADDRESS).arg(TDC_BEFORE).arg(TDC_LABEL).arg(TDC_RUN_FIELD)
        .arg(TDC_SPIN).arg(TDC_AFTER).arg(TDD_HELP_KEY).arg(TDC_HELP_EDIT)
        .toUtf8();
}

class CHelpersDlg : public CDialog {
public:
    CHelpersDlg() : CDialog(TDD_HELPERS) {}

    int number = 15;
    CString name;
    CInterval window;
    BYTE address[4] = {0, 0, 0, 0};
    CNumberEdit numberEdit;

    BOOL OnInitDialog() override
    {
        FillComboBoxes(this);
        numberEdit.SubclassDlgItem(TDC_NUMBER, this);
        CDialog::OnInitDialog();
        return TRUE;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, TDC_NUMBER, number);
        DDX_TextTrim(pDX, TDC_NAME, name);
        DDX_Interval(pDX, TDC_START, TDC_STOP, window);
        DDX_IPOctets(pDX, TDC_ADDRESS, address);
    }
};

class DialogHelpers : public ::testing::Test {
protected:
    DialogHelpers()
        : script(afx::ResourceScript::Parse(Script(), QByteArray(), QStringLiteral("helpers.rc"))),
          previous(afx::SetDialogResources(&script))
    {
    }
    ~DialogHelpers() override { afx::SetDialogResources(previous); }

    // The dialog made and shown, its controls loaded.
    void Open()
    {
        ASSERT_TRUE(dialog.Create(TDD_HELPERS, nullptr));
        dialog.m_hWnd->show();
        dialog.m_hWnd->activateWindow();
        QApplication::processEvents();
    }

    QWidget* Control(int id) const { return dialog.GetDlgItem(id)->m_hWnd; }
    CComboBox& Combo(int id) const { return *static_cast<CComboBox*>(dialog.GetDlgItem(id)); }
    CString Text(int id) const
    {
        CString text;
        dialog.GetDlgItemText(id, text);
        return text;
    }

    afx::ResourceScript script;
    const afx::ResourceScript* previous;
    CHelpersDlg dialog;
};

std::vector<CString> Items(CComboBox& combo)
{
    std::vector<CString> items;
    for (int index = 0; index < combo.GetCount(); ++index) {
        CString item;
        combo.GetLBText(index, item);
        items.push_back(item);
    }
    return items;
}

TEST_F(DialogHelpers, ChoiceListsComeFromTheStringOfTheirIdWithoutAnEmptyLastItem)
{
    Open();
    EXPECT_EQ(Items(Combo(IDC_POLLING_REPORT)), (std::vector<CString>{"Toujours", "Si erreur", "Jamais"}));
    EXPECT_EQ(Combo(TDC_NO_STRING_COMBO).GetCount(), 0);
    // An edit whose id has a string is no list: its text stays its own.
    EXPECT_EQ(Text(IDC_CONFIRMATION_REPORT), CString());
}

TEST_F(DialogHelpers, TheCountryListHoldsEveryLineWithoutItsLineEnd)
{
    Open();
    const std::vector<CString> countries = Items(Combo(IDC_COUNTRY));
    ASSERT_EQ(countries.size(), 250u);
    EXPECT_EQ(countries.front(), CString("Afghanistan (93)"));
    EXPECT_EQ(countries.back(), CString("Zimbabwe (263)"));
    EXPECT_EQ(countries[2], CString("Algérie (213)"));
    for (const CString& country : countries) {
        EXPECT_EQ(country.Find(u'\r'), -1) << QString(country).toStdString();
        EXPECT_EQ(country.Find(u'\n'), -1) << QString(country).toStdString();
    }
}

// How the user changes the number field.
enum class Entry { Clear, Type, Paste };

struct NumberCase {
    const char* name;
    unsigned minimum, maximum;
    Entry entry;
    const char* input;
    const char* shown;
};

class NumberField : public DialogHelpers, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberField, ClampsEveryChangeAndWritesItThrough)
{
    const NumberCase& c = GetParam();
    Open();
    dialog.numberEdit.SetRange(c.minimum, c.maximum);
    QWidget* edit = Control(TDC_NUMBER);
    dialog.numberEdit.SetSel(0, -1);
    switch (c.entry) {
    case Entry::Clear:
        QTest::keyClick(edit, Qt::Key_Backspace);
        break;
    case Entry::Type:
        QTest::keyClick(edit, Qt::Key_Backspace);   // the field shows its minimum, all selected
        QTest::keyClicks(edit, c.input);
        break;
    case Entry::Paste:
        QApplication::clipboard()->setText(c.input);
        dialog.numberEdit.Paste();
        break;
    }
    EXPECT_EQ(Text(TDC_NUMBER), CString(c.shown));
    EXPECT_EQ(dialog.number, QString(c.shown).toInt());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberField,
    ::testing::Values(NumberCase{"emptied", 1, 60, Entry::Clear, "", "1"},
                      NumberCase{"above", 1, 60, Entry::Type, "75", "60"},
                      NumberCase{"below", 1, 60, Entry::Type, "0", "1"},
                      NumberCase{"inside", 1, 60, Entry::Type, "42", "42"},
                      NumberCase{"three_digits_above", 1, 180, Entry::Type, "200", "180"},
                      NumberCase{"pasted_above", 1, 60, Entry::Paste, "75", "60"},
                      NumberCase{"pasted_negative_refused", 1, 60, Entry::Paste, "-5", "15"},
                      NumberCase{"pasted_text_refused", 1, 60, Entry::Paste, "ab", "15"}),
    RowName);

TEST_F(DialogHelpers, NumberFieldTakesAsManyDigitsAsItsMaximumAndGivesItsSpinTheRange)
{
    Open();
    for (const auto& [maximum, digits] : std::vector<std::pair<unsigned, UINT>>{{9, 1}, {60, 2}, {180, 3}, {9999, 4}, {65000, 5}}) {
        SCOPED_TRACE(::testing::Message() << "maximum " << maximum);
        dialog.numberEdit.SetRange(1, maximum);
        EXPECT_EQ(dialog.numberEdit.GetLimitText(), digits) << maximum;
        int lower = 0, upper = 0;
        static_cast<CSpinButtonCtrl*>(dialog.GetDlgItem(TDC_NUMBER_SPIN))->GetRange(lower, upper);
        EXPECT_EQ(upper, int(maximum));
        EXPECT_EQ(lower, 1);
    }
}

TEST_F(DialogHelpers, TrimmedTextShowsTheRecordAsItIsButStoresItTrimmed)
{
    dialog.name = "  Dupont SA  ";
    Open();
    EXPECT_EQ(Text(TDC_NAME), CString("  Dupont SA  "));
    EXPECT_EQ(dialog.name, CString("Dupont SA"));
    dialog.SetDlgItemText(TDC_NAME, "\tMartin ");
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.name, CString("Martin"));
}

TEST_F(DialogHelpers, TimeWindowAndAddressGoBothWays)
{
    dialog.window = CInterval(8 * 60 + 30, 17 * 60 + 45);
    const BYTE loaded[4] = {192, 168, 1, 20};
    std::copy(loaded, loaded + 4, dialog.address);
    Open();
    auto& start = *static_cast<CDateTimeCtrl*>(dialog.GetDlgItem(TDC_START));
    auto& stop = *static_cast<CDateTimeCtrl*>(dialog.GetDlgItem(TDC_STOP));
    auto& address = *static_cast<CIPAddressCtrl*>(dialog.GetDlgItem(TDC_ADDRESS));
    CTime time;
    start.GetTime(time);
    EXPECT_EQ(time.GetHour() * 60 + time.GetMinute(), 8 * 60 + 30);
    stop.GetTime(time);
    EXPECT_EQ(time.GetHour() * 60 + time.GetMinute(), 17 * 60 + 45);
    DWORD packed = 0;
    address.GetAddress(packed);
    EXPECT_EQ(packed, MAKEIPADDRESS(192, 168, 1, 20));

    start.SetTime(CTime(2024, 3, 1, 22, 5, 0));
    stop.SetTime(CTime(2024, 3, 1, 6, 0, 0));
    address.SetAddress(10, 0, 0, 254);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.window, CInterval(22 * 60 + 5, 6 * 60));
    EXPECT_EQ(std::vector<BYTE>(dialog.address, dialog.address + 4), (std::vector<BYTE>{10, 0, 0, 254}));
}

struct RunCase {
    const char* name;
    int controlId, before, after;
    std::vector<int> touched;
};

class ControlRuns : public DialogHelpers, public ::testing::WithParamInterface<RunCase> {};

TEST_P(ControlRuns, TouchExactlyTheRunInControlOrder)
{
    const RunCase& c = GetParam();
    Open();
    const std::vector<int> all = {TDC_ADDRESS, TDC_BEFORE, TDC_LABEL, TDC_RUN_FIELD, TDC_SPIN, TDC_AFTER};
    EnableControlRun(&dialog, c.controlId, c.before, c.after, FALSE);
    ShowControlRun(&dialog, c.controlId, c.before, c.after, FALSE);
    for (int id : all) {
        const bool touched = std::find(c.touched.begin(), c.touched.end(), id) != c.touched.end();
        CWnd* control = dialog.GetDlgItem(id);
        EXPECT_EQ(control->IsWindowEnabled(), !touched) << id;
        EXPECT_EQ(control->IsWindowVisible(), !touched) << id;
    }
    EnableControlRun(&dialog, c.controlId, c.before, c.after, TRUE);
    ShowControlRun(&dialog, c.controlId, c.before, c.after, TRUE);
    for (int id : all) {
        EXPECT_TRUE(dialog.GetDlgItem(id)->IsWindowEnabled()) << id;
        EXPECT_TRUE(dialog.GetDlgItem(id)->IsWindowVisible()) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlRuns,
    ::testing::Values(RunCase{"label_field_spin", TDC_RUN_FIELD, 1, 1, {TDC_LABEL, TDC_RUN_FIELD, TDC_SPIN}},
                      RunCase{"label_and_field", TDC_RUN_FIELD, 1, 0, {TDC_LABEL, TDC_RUN_FIELD}},
                      RunCase{"field_alone", TDC_RUN_FIELD, 0, 0, {TDC_RUN_FIELD}},
                      // A run longer than the dialog stops at its last control.
                      RunCase{"past_the_end", TDC_SPIN, 0, 5, {TDC_SPIN, TDC_AFTER}}),
    RowName);

// A section that cannot be written or read.
class CBrokenSection : public CObject {
public:
    void Serialize(CArchive&) override { AfxThrowArchiveException(CArchiveException::generic); }
};

TEST(CopySection, CopiesEveryFieldOfTheSection)
{
    CMachineSettings source, destination;
    source.companyName = "Corvane";
    source.superSaverMinutes = 42;
    source.tray2PaperSize = 1;
    ASSERT_TRUE(CopySection(destination, source));
    EXPECT_EQ(destination.companyName, CString("Corvane"));
    EXPECT_EQ(destination.superSaverMinutes, 42);
    EXPECT_EQ(destination.tray2PaperSize, 1);
}

TEST(CopySection, ReportsAFailureEitherWay)
{
    CMachineSettings section;
    CBrokenSection broken;
    EXPECT_FALSE(CopySection(section, broken));
    EXPECT_FALSE(CopySection(broken, section));
}

// A modal dialog with a help button that counts its presses.
class CHelpKeyDlg : public CDialog {
public:
    CHelpKeyDlg() : CDialog(TDD_HELP_KEY) {}
    int helpPresses = 0;
    void OnHelp() { ++helpPresses; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpKeyDlg, CDialog)
    ON_BN_CLICKED(IDHELP, &CHelpKeyDlg::OnHelp)
END_MESSAGE_MAP()

class HelpKey : public DialogHelpers {
protected:
    // Works a modal dialog: presses F1 in its edit, then runs `inside` before closing it.
    static std::function<void(CDialog&)> PressF1(std::function<void()> inside = {})
    {
        return [inside](CDialog& shown) {
            QTest::keyClick(shown.GetDlgItem(TDC_HELP_EDIT)->m_hWnd, Qt::Key_F1);
            QApplication::processEvents();
            if (inside)
                inside();
            shown.EndDialog(IDCANCEL);
        };
    }
    // How often F1 pressed the help button of a dialog run modally.
    static int HelpPressesOfF1()
    {
        CHelpKeyDlg dialog;
        afx::testing::PromptScript prompts;
        prompts.Dialog(TDD_HELP_KEY, PressF1());
        dialog.DoModal();
        return dialog.helpPresses;
    }
};

TEST_F(HelpKey, PressesTheHelpButtonOnlyWhileItsScopeLives)
{
    EXPECT_EQ(HelpPressesOfF1(), 0);
    {
        const CHelpKeyScope helpKey;
        EXPECT_EQ(HelpPressesOfF1(), 1);
    }
    EXPECT_EQ(HelpPressesOfF1(), 0);
}

TEST_F(HelpKey, NestsAcrossDialogsAndEndsWithTheOutermost)
{
    CHelpKeyDlg outer;
    int innerPresses = 0;
    afx::testing::PromptScript prompts;
    prompts.Dialog(TDD_HELP_KEY, PressF1([&] {
        {
            const CHelpKeyScope inner;
            innerPresses = HelpPressesOfF1();
        }
        // The outer dialog still has its key after the inner one ended.
        QTest::keyClick(outer.GetDlgItem(TDC_HELP_EDIT)->m_hWnd, Qt::Key_F1);
        QApplication::processEvents();
    }));
    {
        const CHelpKeyScope helpKey;
        outer.DoModal();
    }
    EXPECT_EQ(innerPresses, 1);
    EXPECT_EQ(outer.helpPresses, 2);
    // Once the outermost bracket ended, F1 is an ordinary key again.
    EXPECT_EQ(HelpPressesOfF1(), 0);
}

TEST(MarkDocumentModified, DoesNothingWithoutAMainWindow)
{
    ASSERT_EQ(AfxGetMainWnd(), nullptr);
    MarkDocumentModified();
}

} // namespace
