#include "support/devicefolder.h"

#include "support/devicefaults.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

template <class Rule>
CString FindDefault(Rule rule)
{
    for (const DeviceDefinition& device : DefaultDeviceList().devices) {
        if (rule(device))
            return device.name;
    }
    ADD_FAILURE() << "no such default device";
    return CString();
}

} // namespace

DeviceFolder::DeviceFolder()
{
    EXPECT_TRUE(data.isValid());
    SetDeviceDataFolder(data.path());
    devicefaults::SetStepDelay(0);
    devicefaults::Clear();
}

DeviceFolder::~DeviceFolder()
{
    devicefaults::Clear();
    devicefaults::SetStepDelay(-1);
    SetDeviceDataFolder(QString());
}

void DeviceFolder::WriteDeviceList(const QByteArray& json)
{
    QDir().mkpath(DeviceDataFolder());
    QFile file(DeviceDataFolder() + "/devices.json");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(json);
}

CString DeviceFolder::LocalDevice()
{
    return FindDefault([](const DeviceDefinition& d) { return d.trays == 2; });
}

CString DeviceFolder::SingleTrayDevice()
{
    return FindDefault([](const DeviceDefinition& d) { return d.trays == 1; });
}
