// Firmware files: the format's checksum, files made and checked, and what a device does
// with a good file and with each kind of bad one.
#include "emulation.h"

#include "device/lib/devices.h"
#include "device/lib/filestore.h"
#include "device/lib/firmware.h"

#include <QtEndian>

#include <vector>

namespace {

TEST(FirmwareChecksum, IsTheStandardCrc32)
{
    EXPECT_EQ(0x00000000u, firmware::Crc32(QByteArray()));
    EXPECT_EQ(0xCBF43926u, firmware::Crc32("123456789"));
}

TEST(FirmwareBuild, RefusesFieldsThatDoNotFitTheHeader)
{
    QByteArray bytes;
    CString reason;
    EXPECT_FALSE(firmware::Build({"", "1.0", "x"}, bytes, reason));
    EXPECT_FALSE(firmware::Build({"Brevia Pro 45", "", "x"}, bytes, reason));
    EXPECT_FALSE(firmware::Build({CString('M', firmware::modelBytes + 1), "1.0", "x"}, bytes, reason));
    EXPECT_FALSE(firmware::Build({"Brevia Pro 45", "1.0.0.0.0.0.0.0.0", "x"}, bytes, reason));
    EXPECT_TRUE(static_cast<const QString&>(reason).contains("version")) << Text(reason);
    EXPECT_TRUE(firmware::Build({CString('M', firmware::modelBytes), CString('9', firmware::versionBytes), {}}, bytes, reason));
    EXPECT_FALSE(firmware::Build({"Brevia\nPro 45", "1.0", "x"}, bytes, reason));
    EXPECT_EQ(CString("le modèle ne doit compter que des caractères imprimables"), reason);
    EXPECT_FALSE(firmware::Build({"Brevia Pro 45", "1.0\t", "x"}, bytes, reason));
    EXPECT_EQ(CString("la version ne doit compter que des caractères imprimables"), reason);
}

class FirmwareUpgrade : public EmulatedDeviceTest {
protected:
    void SetUp() override
    {
        CString reason;
        ASSERT_TRUE(firmware::Build({"Brevia Pro 45", "3.01", QByteArray(10000, 'f') + "end"}, good, reason));
    }

    static constexpr int modelField = 8;
    static constexpr int versionField = modelField + firmware::modelBytes;

    // The good file with the text in a header field, zero-padded.
    QByteArray WithField(int field, const QByteArray& text) const
    {
        const int size = field == modelField ? firmware::modelBytes : firmware::versionBytes;
        QByteArray bytes = good;
        bytes.replace(field, size, text.leftJustified(size, '\0', true));
        return bytes;
    }

    // Writes the bytes to a file of the data folder; returns its path.
    QString FileWith(const QByteArray& bytes)
    {
        const QString path = data.filePath("firmware.bfw");
        CString reason;
        EXPECT_TRUE(WriteFileAtomically(path, bytes, reason));
        return path;
    }

    CString FirmwareVersion()
    {
        CConfig config;
        CString detail;
        EXPECT_TRUE(config.Read(device, detail)) << Text(detail);
        return config.machineInfo.firmwareVersion;
    }

    const CString device = LocalDevice();
    QByteArray good;
};

TEST_F(FirmwareUpgrade, GoodFileIsInstalledAndTheFlagKept)
{
    const CString factoryVersion = FirmwareVersion();
    CString detail;
    for (int flag : {1, 0}) {
        ASSERT_TRUE(UpgradeFirmware(device, flag, FileWith(good), detail)) << Text(detail);
        EXPECT_EQ(CString("3.01"), FirmwareVersion());
        EXPECT_EQ(flag, EmulatedDevice::Inspect(device)->firmwareFlag);
    }
    EXPECT_NE(factoryVersion, FirmwareVersion());
}

TEST_F(FirmwareUpgrade, EachKindOfBadFileIsRefusedAndNamed)
{
    auto withByte = [&](int offset, char value) {
        QByteArray bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    auto withNumber = [&](int offset, quint16 value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };
    QByteArray otherModel;
    CString reason;
    ASSERT_TRUE(firmware::Build({"Brevia Pro 40", "3.01", "image"}, otherModel, reason));

    const struct {
        const char* what;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"empty", QByteArray(), "fichier tronqué"},
        {"header cut", good.left(firmware::headerSize - 1), "fichier tronqué"},
        {"image cut", good.left(good.size() - 1), "fichier tronqué"},
        {"bytes after the image", good + "!", "données en trop après l'image"},
        {"wrong magic", withByte(0, 'X'), "ce n'est pas un fichier de micrologiciel"},
        {"later format", withNumber(4, 2), "version de format 2 non prise en charge"},
        {"header size", withNumber(6, 32), "en-tête incorrect"},
        {"no version", WithField(versionField, ""), "en-tête incorrect"},
        {"image damaged", withByte(firmware::headerSize + 5000, 'g'), "somme de contrôle incorrecte"},
        {"checksum damaged", withByte(60, '\x55'), "somme de contrôle incorrecte"},
        {"other model", otherModel, "destiné au Brevia Pro 40, pas au Brevia Pro 45"},
    };
    const QByteArray memory = StoredMemory(device);
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.what);
        CString detail;
        EXPECT_FALSE(UpgradeFirmware(device, 1, FileWith(bad.bytes), detail));
        EXPECT_EQ(CString("Fichier de micrologiciel non valide : ") + bad.reason + " (firmware.bfw).", detail);
        EXPECT_EQ(memory, StoredMemory(device));
    }

    CString detail;
    EXPECT_FALSE(UpgradeFirmware(device, 1, data.filePath("absent.bfw"), detail));
    EXPECT_EQ(CString("Fichier de micrologiciel non valide : fichier introuvable (absent.bfw)."), detail);
}

// The model and the version are shown to the user: printable UTF-8, padded with zeros only.
TEST_F(FirmwareUpgrade, TextFieldsMustBePrintableUtf8)
{
    constexpr int model = modelField, version = versionField;
    const char* const badModel = "le modèle n'est pas un texte imprimable";
    const char* const badVersion = "la version n'est pas un texte imprimable";
    const struct {
        const char* what;
        int field;
        QByteArray text;
        const char* reason;   // nullptr: accepted
    } cases[] = {
        {"byte never in UTF-8", model, "Brevia Pro \xFF" "45", badModel},
        {"sequence cut short", model, "Brevia Pro 45\xC3", badModel},
        {"overlong encoding", model, "Brevia\xC0\xA0Pro 45", badModel},
        {"line feed", model, "Brevia\nPro 45", badModel},
        {"terminal escape", model, "\x1B[2JBrevia Pro 45", badModel},
        {"text after a zero", model, QByteArray("Brevia\0Pro 45", 14), badModel},
        {"tab", version, "3.01\t", badVersion},
        {"delete", version, "3.01\x7F", badVersion},
        {"C1 control", version, "3.01\xC2\x85", badVersion},
        {"encoded surrogate", version, "3.01\xED\xA0\x80", badVersion},
        {"accented", version, "3.01 bêta", nullptr},
        {"field full", version, "3.01 bêta final", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            const FirmwareImage loaded = firmware::Read(FileWith(WithField(c.field, c.text)));
            EXPECT_EQ(c.reason, nullptr);
            EXPECT_EQ(CString(QString::fromUtf8(c.text)), loaded.version);
        } catch (const firmware::InvalidFile& invalid) {
            EXPECT_EQ(CString(c.reason != nullptr ? c.reason : "(accepted)"), invalid.reason);
        }
    }
}

// Another client that comes between the steps is told the device is busy, so the write-back
// undoes nothing of its.
TEST_F(FirmwareUpgrade, KeepingTheSettingsHoldsTheDeviceThroughEveryStep)
{
    CConfig settings;
    settings.machine.companyName = "avant la mise à jour";
    settings.advanced.downloadMode = 0;   // "always": the upgrade is given flag 1
    CString detail;
    int unchanged = 0;
    ASSERT_TRUE(settings.Write(device, detail, unchanged)) << Text(detail);

    std::vector<FirmwareStep> steps;
    auto otherClient = [&](FirmwareStep step) {
        steps.push_back(step);
        if (step == FirmwareStep::read)
            return;   // not connected yet
        CConfig other;
        other.machine.companyName = "autre poste";
        CString otherDetail;
        int otherUnchanged = 0;
        EXPECT_FALSE(other.Write(device, otherDetail, otherUnchanged));
        EXPECT_EQ(CString("Le périphérique est occupé par un autre poste."), otherDetail);
        EXPECT_FALSE(other.Read(device, otherDetail));
        EXPECT_EQ(CString("Le périphérique est occupé par un autre poste."), otherDetail);
    };
    ASSERT_TRUE(UpgradeFirmwareKeepingSettings(device, FileWith(good), detail, otherClient)) << Text(detail);

    EXPECT_EQ(steps, (std::vector<FirmwareStep>{FirmwareStep::read, FirmwareStep::upgrade, FirmwareStep::writeBack}));
    const auto memory = EmulatedDevice::Inspect(device);
    EXPECT_EQ(CString("3.01"), memory->config.machineInfo.firmwareVersion);
    EXPECT_EQ(1, memory->firmwareFlag);
    EXPECT_EQ(CString("avant la mise à jour"), memory->config.machine.companyName);
}

TEST_F(FirmwareUpgrade, BadFileIsRefusedWithoutBotheringTheDevice)
{
    devicefaults::Inject(device, {DeviceFault::unreachable});
    CString detail;
    EXPECT_FALSE(UpgradeFirmware(device, 1, FileWith(good.left(10)), detail));
    EXPECT_TRUE(static_cast<const QString&>(detail).startsWith("Fichier de micrologiciel non valide")) << Text(detail);
}

} // namespace
