// The console with a network device served by a real agent on loopback: first contact, the
// device's password, and an apply that would undo another client's change.
#include "device_console.h"

#include "device/lib/devicelink.h"
#include "dialogs/devicepassworddlg.h"
#include "support/agentprocess.h"

namespace {

using agenttest::AgentProcess;
using devicetest::ChooseDevice;

// Types the password into the device's password dialog and clicks OK.
std::function<void(CDialog&)> TypePassword(const char* password, QString* shownText = nullptr)
{
    return [password, shownText](CDialog& dialog) {
        if (shownText != nullptr) {
            CString text;
            dialog.GetDlgItemText(IDC_DEVICE_PASSWORD_TEXT, text);
            *shownText = text;
        }
        dialog.SetDlgItemText(IDC_PASSWORD, password);
        dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    };
}

class NetworkDeviceTest : public devicetest::DeviceConsole {
protected:
    void SetUp() override
    {
        devicetest::DeviceConsole::SetUp();
        ASSERT_EQ(agent.SetPassword(AgentProcess::device, QByteArray(AgentProcess::password) + "\n"), 0);
        ASSERT_TRUE(agent.Start()) << agent.Log().toStdString();
        device = agent.DeviceName();
        DeviceFolder::WriteDeviceList(R"({"network": [")" + agent.Address().toLatin1() + R"("]})");
    }

    CString StoredCompany()
    {
        SetDeviceStoreFolder(agent.Store());
        const CString company = EmulatedDevice::Inspect(AgentProcess::device)->config.machine.companyName;
        SetDeviceStoreFolder(QString());
        return company;
    }

    AgentProcess agent{R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45"}]})"};
    CString device;
};

TEST_F(NetworkDeviceTest, FirstContactTrustPasswordAndAConflictingApply)
{
    // The device's status word, asked over the network, decides the second tray too.
    secondTrayShown = FALSE;
    {
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_DEVICE_SELECT, ChooseDevice(device));
        prompts.MessageBox(IDYES);
        QString passwordText, againText;
        prompts.Dialog(IDD_DEVICE_PASSWORD, TypePassword("pas le bon", &passwordText));
        prompts.Dialog(IDD_DEVICE_PASSWORD, TypePassword(AgentProcess::password, &againText));
        ClickToolbar(ID_DEVICE_CONNECT);
        ASSERT_TRUE(Doc().connected);
        EXPECT_TRUE(secondTrayShown);
        const CString trust = prompts.Shown()[1].text;
        EXPECT_TRUE(static_cast<const QString&>(trust).contains(agent.Fingerprint())) << static_cast<const QString&>(trust).toStdString();
        EXPECT_TRUE(static_cast<const QString&>(trust).startsWith("Première connexion au périphérique " + agent.Address()));
        EXPECT_EQ(prompts.Shown()[1].type, UINT(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
        EXPECT_EQ(passwordText, "Le périphérique « " + static_cast<const QString&>(device)
                                    + " » demande son mot de passe d'administrateur.");
        EXPECT_TRUE(againText.startsWith("Mot de passe incorrect.")) << againText.toStdString();
    }
    EXPECT_TRUE(Doc().config.mailBoxes.IsBusy("10"));

    // Another administrator changes the device meanwhile.
    {
        CConfig theirs;
        CString detail;
        ASSERT_TRUE(theirs.Read(device, detail)) << static_cast<const QString&>(detail).toStdString();
        theirs.machine.companyName = "L'autre poste";
        int unchanged = 0;
        ASSERT_TRUE(theirs.Write(device, detail, unchanged));
    }
    Doc().config.machine.companyName = "Ce poste";
    Doc().SetModifiedFlag();
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        prompts.MessageBox(IDNO);
        prompts.Dialog(IDD_DETAILS_MESSAGE, IDOK);
        Command(ID_DEVICE_APPLY);
        EXPECT_TRUE(static_cast<const QString&>(prompts.Shown()[1].text).startsWith("Un autre poste a modifié"));
    }
    EXPECT_EQ(StoredCompany(), "L'autre poste");
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        prompts.MessageBox(IDYES);
        Command(ID_DEVICE_APPLY);
    }
    EXPECT_EQ(StoredCompany(), "Ce poste");
    EXPECT_FALSE(agent.Log().contains(AgentProcess::password));
}

} // namespace
