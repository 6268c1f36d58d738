#include "controls_fixture.h"

#include "afx/win/datetime.h"
#include "afx/win/ddx.h"

#include <QDateTimeEdit>
#include <QTest>
#include <string>
#include <vector>

namespace {

enum : int { IDD_WINDOW = 156, IDC_START_TIME = 1001, IDC_STOP_TIME = 1002 };

const QByteArray kScript = testctl::DialogScript(156, "Réception protégée", 200, 60, R"(
    CONTROL         "",1001,"SysDateTimePick32",DTS_TIMEFORMAT | WS_TABSTOP,85,15,37,13
    CONTROL         "",1002,"SysDateTimePick32",DTS_TIMEFORMAT | WS_TABSTOP,138,15,37,13
)");

// A time window exchanged with two time-only pickers.
class CWindowDlg : public CDialog {
public:
    CWindowDlg() : CDialog(IDD_WINDOW) {}
    CTime start{1970, 1, 3, 7, 45, 0};
    CTime stop{1970, 1, 3, 18, 5, 0};
    CDateTimeCtrl startPicker;
    std::vector<std::string> changes;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_START_TIME, startPicker);
        DDX_DateTimeCtrl(pDX, IDC_START_TIME, start);
        DDX_DateTimeCtrl(pDX, IDC_STOP_TIME, stop);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        startPicker.SetFormat("HH:mm");
        static_cast<CDateTimeCtrl*>(GetDlgItem(IDC_STOP_TIME))->SetFormat("HH:mm");
        return TRUE;
    }
    void OnTimeChange(NMHDR* header, LRESULT* result)
    {
        const auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
        changes.push_back(std::to_string(header->idFrom) + " " + std::to_string(change->st.wHour) + ":"
                          + std::to_string(change->st.wMinute));
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWindowDlg, CDialog)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_START_TIME, &CWindowDlg::OnTimeChange)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_STOP_TIME, &CWindowDlg::OnTimeChange)
END_MESSAGE_MAP()

class DateTimeTest : public testctl::ControlDialogs {
protected:
    DateTimeTest() : ControlDialogs(kScript) {}
    void SetUp() override { ASSERT_TRUE(dialog.Create(IDD_WINDOW)); }

    QDateTimeEdit* Picker(int id) { return qobject_cast<QDateTimeEdit*>(dialog.GetDlgItem(id)->m_hWnd); }

    CWindowDlg dialog;
};

TEST_F(DateTimeTest, TheExchangeLoadsAndSavesTheTimeAndKeepsTheDate)
{
    EXPECT_EQ(Picker(IDC_START_TIME)->text(), QStringLiteral("07:45"));
    EXPECT_EQ(Picker(IDC_STOP_TIME)->text(), QStringLiteral("18:05"));
    EXPECT_TRUE(dialog.changes.empty()) << "loading is no change of the user's";

    QDateTimeEdit* start = Picker(IDC_START_TIME);
    ShowActive(dialog);
    start->setFocus();
    start->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(start, Qt::Key_Up);
    start->setSelectedSection(QDateTimeEdit::MinuteSection);
    QTest::keyClicks(start, "30");
    EXPECT_EQ(start->text(), QStringLiteral("08:30"));
    ASSERT_FALSE(dialog.changes.empty());
    EXPECT_EQ(dialog.changes.front(), "1001 8:45");
    EXPECT_EQ(dialog.changes.back(), "1001 8:30");

    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.start, CTime(1970, 1, 3, 8, 30, 0));
    EXPECT_EQ(dialog.stop, CTime(1970, 1, 3, 18, 5, 0));
}

TEST_F(DateTimeTest, SettingTheTimeByProgramDoesNotNotify)
{
    CDateTimeCtrl& picker = dialog.startPicker;
    ASSERT_TRUE(picker.SetTime(CTime(2024, 2, 29, 23, 59, 0)));
    CTime read;
    EXPECT_EQ(picker.GetTime(read), DWORD(GDT_VALID));
    EXPECT_EQ(read, CTime(2024, 2, 29, 23, 59, 0));
    dialog.stop = CTime(1970, 1, 3, 6, 0, 0);
    dialog.UpdateData(FALSE);
    EXPECT_EQ(Picker(IDC_STOP_TIME)->text(), QStringLiteral("06:00"));
    EXPECT_TRUE(dialog.changes.empty());
}

TEST_F(DateTimeTest, FormatsInWindowsNotationShowAsWindowsShowsThem)
{
    CDateTimeCtrl& picker = dialog.startPicker;
    picker.SetTime(CTime(2024, 3, 5, 7, 4, 9));
    struct Case {
        const char* format;
        const char* shown;
    } cases[] = {
        {"HH:mm", "07:04"},
        {"H'h'mm", "7h04"},
        {"HH:mm:ss", "07:04:09"},
        {"dd/MM/yyyy HH:mm", "05/03/2024 07:04"},
        {"d MMM yy", "5 mars 24"},
        {"'Le' d", "Le 5"},
        {"", "07:04:09"},   // the style's own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        ASSERT_TRUE(picker.SetFormat(c.format));
        EXPECT_EQ(Picker(IDC_START_TIME)->text(), QString::fromUtf8(c.shown)) << c.format;
    }
    CTime read;
    picker.GetTime(read);
    EXPECT_EQ(read, CTime(2024, 3, 5, 7, 4, 9)) << "a format changes nothing of the value";
}

} // namespace
