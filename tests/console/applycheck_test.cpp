// Apply with a record the device would refuse: the details dialog names each page and field,
// nothing is asked and nothing is sent.
#include "device_console.h"

#include "device/lib/devicememory.h"
#include "device/lib/serialformat.h"

#include <functional>

namespace {

using devicetest::DeviceFolder;

class ApplyCheckTest : public devicetest::DeviceConsole {
protected:
    const CString device = DeviceFolder::LocalDevice();
};

TEST_F(ApplyCheckTest, ARecordTheDeviceWouldRefuseIsNotSent)
{
    struct Case {
        const char* name;
        std::function<void(CConfig&)> spoil;
        const char* details;
    };
    const Case cases[] = {
        {"rings kept after the answer mode moved to 1-10",
         [](CConfig& r) {
             r.phoneLine.answerMode = 0;
             r.phoneLine.ringsBeforeAnswer = 12;
         },
         "Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 12 n'est pas compris entre 1 et 10."},
        {"two findings, one a supplies order to a missing speed dial",
         [](CConfig& r) {
             r.advanced.orderDestinationType = 2;
             r.advanced.orderDestination = "004";
             r.faxSend.redialAttempts = 15;
         },
         "Fonctions avancées : Comp. abrégée : l'entrée 004 n'est pas dans l'annuaire.\n"
         "Envoi télécopie : Nombre d'essais (0-14) : 15 n'est pas compris entre 0 et 14."},
    };
    Connect(device);
    const QByteArray read = serialformat::StoreToBytes(Doc().config);
    const QByteArray stored = serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        serialformat::LoadFromBytes(Doc().config, read);
        c.spoil(Doc().config);
        const auto [message, details] = CommandShowingDetails(ID_DEVICE_APPLY);
        EXPECT_EQ(message, LoadText(IDP_RECORD_REFUSED));
        EXPECT_EQ(static_cast<const QString&>(details).toStdString(), c.details);
        EXPECT_EQ(serialformat::StoreToBytes(EmulatedDevice::Inspect(device)->config), stored);
    }

    // Mended, the record is confirmed and sent as any other.
    serialformat::LoadFromBytes(Doc().config, read);
    Doc().config.faxSend.redialAttempts = 14;
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
    Command(ID_DEVICE_APPLY);
    EXPECT_EQ(EmulatedDevice::Inspect(device)->config.faxSend.redialAttempts, 14);
}

} // namespace
