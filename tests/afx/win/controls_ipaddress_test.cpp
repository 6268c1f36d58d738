#include "controls_fixture.h"

#include "afx/win/ipaddress.h"

#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

namespace {

enum : int { IDD_TCPIP = 157, IDC_IP_ADDRESS = 1351, IDC_INTERVAL = 1251 };

const QByteArray kScript = testctl::DialogScript(157, "TCP/IP", 200, 60, R"(
    CONTROL         "",1351,"SysIPAddress32",WS_TABSTOP,90,9,82,13
    EDITTEXT        1251,90,30,33,14,ES_RIGHT
)");

class CTcpIpDlg : public CDialog {
public:
    CTcpIpDlg() : CDialog(IDD_TCPIP) {}
    std::vector<std::string> fieldChanges;
    int textChanges = 0;
    int replaceField = -1;   // the handler puts 7 into this field

    void OnFieldChanged(NMHDR* header, LRESULT* result)
    {
        auto* change = reinterpret_cast<NMIPADDRESS*>(header);
        // The control already holds the field's final value when its parent hears of it.
        DWORD address = 0;
        static_cast<CIPAddressCtrl*>(GetDlgItem(IDC_IP_ADDRESS))->GetAddress(address);
        fieldChanges.push_back(std::to_string(change->iField) + "=" + std::to_string(change->iValue) + " "
                               + std::to_string((address >> (8 * (3 - change->iField))) & 0xFF));
        if (change->iField == replaceField)
            change->iValue = 7;
        *result = 0;
    }
    void OnTextChange() { ++textChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTcpIpDlg, CDialog)
    ON_NOTIFY(IPN_FIELDCHANGED, IDC_IP_ADDRESS, &CTcpIpDlg::OnFieldChanged)
    ON_EN_CHANGE(IDC_IP_ADDRESS, &CTcpIpDlg::OnTextChange)
END_MESSAGE_MAP()

class IPAddressTest : public testctl::ControlDialogs {
protected:
    IPAddressTest() : ControlDialogs(kScript) {}
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_TCPIP));
        address = static_cast<CIPAddressCtrl*>(dialog.GetDlgItem(IDC_IP_ADDRESS));
    }

    // Keys go where the focus is: the focus moves from field to field as the user types.
    static void Type(const char* keys)
    {
        for (const char* key = keys; *key; ++key)
            QTest::keyClick(QApplication::focusWidget(), *key);
    }

    QStringList Fields()
    {
        QStringList texts;
        for (QLineEdit* field : address->m_hWnd->findChildren<QLineEdit*>())
            texts << field->text();
        return texts;
    }

    void LeaveTheControl() { dialog.GetDlgItem(IDC_INTERVAL)->SetFocus(); }

    CTcpIpDlg dialog;
    CIPAddressCtrl* address = nullptr;
};

TEST_F(IPAddressTest, APackedAddressHasTheFirstFieldInItsMostSignificantByte)
{
    struct Case {
        BYTE fields[4];
        DWORD packed;
        QStringList shown;
    } cases[] = {
        {{192, 168, 1, 20}, 0xC0A80114, {"192", "168", "1", "20"}},
        {{10, 0, 0, 1}, 0x0A000001, {"10", "0", "0", "1"}},
        {{255, 255, 255, 0}, 0xFFFFFF00, {"255", "255", "255", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.join('.').toStdString());
        address->SetAddress(c.fields[0], c.fields[1], c.fields[2], c.fields[3]);
        DWORD packed = 0;
        EXPECT_EQ(address->GetAddress(packed), 4);
        EXPECT_EQ(packed, c.packed);
        EXPECT_EQ(Fields(), c.shown);

        address->SetAddress(0, 0, 0, 0);
        address->SendMessage(IPM_SETADDRESS, 0, LPARAM(c.packed));   // as a data exchange loads it
        BYTE read[4] = {};
        EXPECT_EQ(address->GetAddress(read[0], read[1], read[2], read[3]), 4);
        EXPECT_TRUE(std::equal(read, read + 4, c.fields));
    }
    EXPECT_TRUE(dialog.fieldChanges.empty()) << "the program's addresses are no field changes";
    EXPECT_GT(dialog.textChanges, 0);
}

TEST_F(IPAddressTest, BlankFieldsCountAsZeroAndAreNotCounted)
{
    DWORD packed = 1;
    EXPECT_EQ(address->GetAddress(packed), 0);
    EXPECT_EQ(packed, 0u);

    ShowActive(dialog);
    address->SetFieldFocus(0);
    Type("10..");   // a dot in a blank field stays there
    address->SetFieldFocus(2);
    Type("5");
    EXPECT_EQ(address->GetAddress(packed), 2);
    EXPECT_EQ(packed, 0x0A000500u);
}

// Typed from the first field, all of it selected, over the address the control held: what is
// stored. A dot right after a full field, which has already moved on, only confirms the move.
TEST_F(IPAddressTest, TypedAddressesAreStoredAsTyped)
{
    struct Case {
        const char* typed;
        DWORD before;
        DWORD stored;
    };
    const Case cases[] = {
        {"192.168.1.50", 0, MAKEIPADDRESS(192, 168, 1, 50)},
        {"192.168.1.50", MAKEIPADDRESS(10, 20, 30, 40), MAKEIPADDRESS(192, 168, 1, 50)},
        {"192168001050", 0, MAKEIPADDRESS(192, 168, 1, 50)},
        {"10.0.0.1", MAKEIPADDRESS(1, 2, 3, 4), MAKEIPADDRESS(10, 0, 0, 1)},
        {"255.255.255.0", 0, MAKEIPADDRESS(255, 255, 255, 0)},
        {"192 168 1 50", 0, MAKEIPADDRESS(192, 168, 1, 50)},
        {"1.22.333.4", 0, MAKEIPADDRESS(1, 22, 255, 4)},
        // A second dot after the move is one of its own: it moves on again.
        {"192..7", MAKEIPADDRESS(1, 2, 3, 4), MAKEIPADDRESS(192, 2, 7, 4)},
        // The last field has nowhere to move: its dot stays a dot in place.
        {"1.2.3.444.", 0, MAKEIPADDRESS(1, 2, 3, 255)},
    };
    ShowActive(dialog);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        address->SetAddress(c.before);
        address->SetFieldFocus(0);
        Type(c.typed);
        LeaveTheControl();
        DWORD stored = 0;
        address->GetAddress(stored);
        auto dotted = [](DWORD a) {
            return std::to_string(FIRST_IPADDRESS(a)) + "." + std::to_string(SECOND_IPADDRESS(a)) + "."
                   + std::to_string(THIRD_IPADDRESS(a)) + "." + std::to_string(FOURTH_IPADDRESS(a));
        };
        EXPECT_EQ(dotted(stored), dotted(c.stored));
    }
}

TEST_F(IPAddressTest, TypingMovesFromFieldToFieldAndReportsEachChangedField)
{
    ShowActive(dialog);
    address->SetFieldFocus(0);
    // A third digit moves on (the dot after it finds a blank field); 300 is above the range.
    Type("192.168.1.300");
    EXPECT_EQ(Fields(), (QStringList{"192", "168", "1", "255"}));
    LeaveTheControl();
    EXPECT_EQ(dialog.fieldChanges, (std::vector<std::string>{"0=192 192", "1=168 168", "2=1 1", "3=255 255"}));

    // Passing through a field without changing it reports nothing; a value below the field's
    // range comes up to its lower limit when the user leaves the field.
    dialog.fieldChanges.clear();
    address->SetFieldRange(1, 10, 20);
    address->SetFieldFocus(0);
    Type(".5");   // the dot moves on and selects the next field, which the 5 replaces
    LeaveTheControl();
    EXPECT_EQ(dialog.fieldChanges, std::vector<std::string>{"1=10 10"});

    // The parent may replace the value it is told about.
    dialog.fieldChanges.clear();
    dialog.replaceField = 3;
    address->SetFieldFocus(3);
    Type("9");
    LeaveTheControl();
    EXPECT_EQ(dialog.fieldChanges, std::vector<std::string>{"3=9 9"});
    EXPECT_EQ(Fields(), (QStringList{"192", "10", "1", "7"}));

    // The arrow keys and Backspace cross from one field into the next at its edges.
    dialog.fieldChanges.clear();
    address->SetFieldFocus(1);
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Left, Qt::Key_Backspace, Qt::Key_Right})
        QTest::keyClick(QApplication::focusWidget(), key);
    Type("2");   // before the 10 of field 1: 210, above its range
    LeaveTheControl();
    EXPECT_EQ(Fields(), (QStringList{"19", "20", "1", "7"}));
    EXPECT_EQ(dialog.fieldChanges, (std::vector<std::string>{"0=19 19", "1=20 20"}));
}

} // namespace
