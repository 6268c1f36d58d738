// The devices this computer reaches: the defaults, a list of one's own, and lists that
// break the rules.
#include "emulation.h"

#include "device/lib/devicelink.h"
#include "device/lib/devices.h"

#include <QRegularExpression>

namespace {

class DeviceListFile : public EmulatedDeviceTest {
protected:
    void WriteList(const QByteArray& json)
    {
        QDir().mkpath(DeviceDataFolder());
        QFile file(DeviceDataFolder() + "/devices.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

    static QStringList Names()
    {
        CStringList devices;
        CString detail;
        EXPECT_TRUE(GetDevices(devices, detail)) << Text(detail);
        QStringList names;
        for (POSITION pos = devices.GetHeadPosition(); pos != nullptr;)
            names << devices.GetNext(pos);
        return names;
    }
};

// Network devices are agents the list gives by their address: the defaults are local ones.
TEST_F(DeviceListFile, DefaultsHoldLocalDevicesOnlyAndASingleTrayOne)
{
    const QStringList names = Names();
    EXPECT_GE(names.size(), 2);
    EXPECT_TRUE(names.filter(QRegularExpression("^\\\\")).isEmpty()) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains(SingleTrayDevice()));
}

TEST_F(DeviceListFile, ListOfItsOwnReplacesTheDefaults)
{
    const QString longName = QString("Brevia ") + QString(243, QChar(u'é'));
    WriteList(QString(R"({"stepDelayMs": 0, "devices": [
        {"name": "SIEGE Brevia 1", "model": "Brevia Pro 40", "trays": 1, "firmwareVersion": "4.00"},
        {"name": "Atelier/Brevia"},
        {"name": "Atelier\\Brevia"},
        {"name": "%1"}]})").arg(longName).toUtf8());

    EXPECT_EQ(QStringList({"SIEGE Brevia 1", "Atelier/Brevia", "Atelier\\Brevia", longName}), Names());

    CConfig config;
    CString detail;
    ASSERT_TRUE(config.Read("SIEGE Brevia 1", detail)) << Text(detail);
    EXPECT_EQ(CString("4.00"), config.machineInfo.firmwareVersion);
    EXPECT_EQ(CString("Brevia Pro 40"), config.machineInfo.modelName);
    const DWORD handle = DvlOpenMFP(u"SIEGE Brevia 1");
    EXPECT_EQ(DVL_STATUS_SINGLE_TRAY, DvlGetPrinterStatus(handle, nullptr) & DVL_STATUS_SINGLE_TRAY);
    DvlCloseMFP(handle);

    // Names that differ only by characters unsafe in a file name keep files of their own;
    // a 250-character name too.
    int unchanged = 0;
    for (const QString& name : {QString("Atelier/Brevia"), QString("Atelier\\Brevia"), longName}) {
        SCOPED_TRACE(name.toStdString());
        config.machine.companyName = name.left(40);
        ASSERT_TRUE(config.Write(name, detail, unchanged)) << Text(detail);
        EXPECT_LE(QFileInfo(DeviceFilePath(name, "dev")).fileName().toUtf8().size(), 255);
    }
    for (const QString& name : {QString("Atelier/Brevia"), QString("Atelier\\Brevia"), longName}) {
        CConfig back;
        ASSERT_TRUE(back.Read(name, detail)) << Text(detail);
        EXPECT_EQ(CString(name.left(40)), back.machine.companyName);
    }
}

TEST_F(DeviceListFile, ListThatBreaksTheRulesIsRefusedWithItsReason)
{
    const struct {
        const char* json;
        const char* reason;
    } cases[] = {
        {"[1, 2]", "ce n'est pas un objet JSON"},
        {"{\"devices\": ", "ce n'est pas un objet JSON"},
        {R"({"devices": {"name": "x"}})", "« devices » doit être une liste"},
        {R"({"devices": [{"model": "Brevia Pro 45"}]})", "un périphérique n'a pas de nom"},
        {R"({"devices": [{"name": "A"}, {"name": "A"}]})", "le nom « A » apparaît deux fois"},
        {R"({"devices": [{"name": "A", "trays": 3}]})", "« trays » de « A » doit valoir 1 ou 2"},
        {R"({"stepDelayMs": -5})", "« stepDelayMs » doit être un nombre de 0 à 60000"},
        {R"({"devices": [{"name": "\\\\SIEGE\\Brevia"}]})",
         "« \\\\SIEGE\\Brevia » a la forme d'un nom du réseau (\\\\HÔTE\\Nom) : un périphérique du réseau est "
         "donné par son adresse dans « network »"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.json);
        WriteList(bad.json);
        const CString expected = CString("La liste des périphériques (") + DeviceDataFolder()
                                 + "/devices.json) est incorrecte : " + bad.reason + ".";
        CStringList devices;
        CString detail;
        EXPECT_FALSE(GetDevices(devices, detail));
        EXPECT_EQ(expected, detail);
        EXPECT_TRUE(devices.IsEmpty());
        CConfig config;
        EXPECT_FALSE(config.Read("A", detail));
        EXPECT_EQ(expected, detail);
    }
}

// A device or a FIFO in place of the list is refused at once, and read as nothing.
TEST_F(DeviceListFile, ListThatIsNoRegularFileIsRefused)
{
    QDir().mkpath(DeviceDataFolder());
    ASSERT_TRUE(QFile::link("/dev/null", DeviceDataFolder() + "/devices.json"));
    CStringList devices;
    CString detail;
    EXPECT_FALSE(GetDevices(devices, detail));
    EXPECT_EQ(CString("La liste des périphériques (") + DeviceDataFolder()
                  + "/devices.json) est incorrecte : ce n'est pas un fichier ordinaire.",
              detail);
    EXPECT_TRUE(devices.IsEmpty());
}

} // namespace
