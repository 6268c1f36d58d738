// Change control in the console: "Comparer avec le périphérique..." shows what an apply would
// change and sends nothing; every apply first keeps what the device held.
#include "device_console.h"

#include "device/lib/devicememory.h"
#include "device/lib/history.h"
#include "device/lib/serialformat.h"

#include <QDir>
#include <QFile>

namespace {

using devicetest::DeviceFolder;

class ChangeControlTest : public devicetest::DeviceConsole {
protected:
    const CString device = DeviceFolder::LocalDevice();
};

TEST_F(ChangeControlTest, ShowsWhatAnApplyWouldChangeAndSendsNothing)
{
    Connect(device);
    const QByteArray stored = serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config);
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDOK, LoadText(IDP_COMPARE_SAME));
        Command(ID_DEVICE_COMPARE);
    }

    Doc().config.machine.ringerVolume = 6;
    Doc().config.ftp.ftpPassword = "secret-du-poste";
    const auto [message, details] = CommandShowingDetails(ID_DEVICE_COMPARE);
    EXPECT_EQ(message, LoadText(IDP_COMPARE_DIFFERENCES));
    EXPECT_EQ(static_cast<const QString&>(details).toStdString(),
              "Paramètres machine : Sonnerie : 4 → 6\nConnexion FTP : Mot de passe : modifié");
    EXPECT_EQ(serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config), stored);
    EXPECT_EQ(6, Doc().config.machine.ringerVolume);

    HICON shownIcon = nullptr;
    {
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_DETAILS_MESSAGE, [&](CDialog& dialog) {
            shownIcon = static_cast<CStatic*>(dialog.GetDlgItem(IDC_DETAILS_ICON))->GetIcon();
            dialog.EndDialog(IDOK);
        });
        Command(ID_DEVICE_COMPARE);
    }
    EXPECT_EQ(shownIcon, AfxLoadStandardIcon(IDI_ASTERISK)) << "what will change is no failure";
}

// The record of before is kept, as a settings file the console opens; one that cannot be kept
// stops the apply before anything is sent, and the details say so.
TEST_F(ChangeControlTest, ApplyKeepsWhatTheDeviceHeldOrSendsNothing)
{
    Connect(device);
    const QByteArray before = serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config);
    Doc().config.machine.ringerVolume = 6;
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        Command(ID_DEVICE_APPLY);
    }
    const std::vector<history::Entry> kept = history::List(device);
    ASSERT_EQ(1u, kept.size());
    EXPECT_EQ(6, EmulatedDevice::Inspect(device)->config.machine.ringerVolume);
    ASSERT_TRUE(Doc().OnOpenDocument(kept[0].path));
    EXPECT_EQ(before, serialformat::StoreToBytes(Doc().config));

    ASSERT_TRUE(QFile::remove(kept[0].path));
    ASSERT_TRUE(QDir(DeviceDataFolder() + "/history").removeRecursively());
    {
        QFile blocker(DeviceDataFolder() + "/history");   // a file where the folder would go
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const QByteArray stored = serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config);
    Doc().config.machine.ringerVolume = 2;
    const auto [message, details] = CommandShowingDetails(ID_DEVICE_APPLY, [&](afx::testing::PromptScript& prompts) {
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
    });
    EXPECT_EQ(message, LoadText(IDP_UPDATE_FAILED));
    EXPECT_EQ(static_cast<const QString&>(details).toStdString(),
              "La configuration actuelle du périphérique n'a pas pu être conservée dans l'historique (création du "
              "dossier impossible) : rien n'a été envoyé.");
    EXPECT_EQ(serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config), stored);
}

} // namespace
