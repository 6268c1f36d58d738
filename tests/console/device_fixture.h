// What the tests of the device connection share: every prompt answered by a script or a
// failure, and emulated devices in a data folder of the test's own, without delay or faults.
#pragma once

#include "afx/afxwin.h"
#include "afx/win/testing.h"
#include "device/lib/config.h"
#include "device/lib/devicelist.h"
#include "device/lib/emulateddevice.h"
#include "support/devicefaults.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const CString& text, std::ostream* os)
{
    PrintTo(static_cast<const QString&>(text), os);
}

namespace devicetest {

class PromptEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        afx::testing::SetFailureReporter([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        afx::SetPromptAnswerer(&strict);
    }
    void TearDown() override { afx::SetPromptAnswerer(nullptr); }

private:
    afx::testing::StrictPrompts strict;
};

inline ::testing::Environment* const promptEnvironment = ::testing::AddGlobalTestEnvironment(new PromptEnvironment);

inline CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

// Emulated devices in a data folder of their own, without delay or faults, for the life of
// the object.
// The tree item with that text, at any depth; nullptr when there is none.
inline HTREEITEM FindItem(CTreeCtrl& tree, HTREEITEM first, const CString& text)
{
    for (HTREEITEM item = first; item; item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemText(item) == text)
            return item;
        if (HTREEITEM child = FindItem(tree, tree.GetChildItem(item), text))
            return child;
    }
    return nullptr;
}

// Works the device selection dialog: picks the device and clicks "C&onnecter".
inline std::function<void(CDialog&)> ChooseDevice(const CString& device)
{
    return [device](CDialog& dialog) {
        auto& tree = *static_cast<CTreeCtrl*>(dialog.GetDlgItem(IDC_DEVICE_TREE));
        tree.SelectItem(FindItem(tree, tree.GetRootItem(), device));
        dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    };
}

// Writes a record, changed from the factory values, onto the device as another console would.
inline void WriteToDevice(const CString& device, const std::function<void(CConfig&)>& change)
{
    CConfig record;
    change(record);
    CString detail;
    int unchanged = 0;
    ASSERT_TRUE(record.Write(device, detail, unchanged)) << static_cast<const QString&>(detail).toStdString();
}

class DeviceFolder {
public:
    DeviceFolder()
    {
        EXPECT_TRUE(data.isValid());
        SetDeviceDataFolder(data.path());
        devicefaults::SetStepDelay(0);
        devicefaults::Clear();
    }
    ~DeviceFolder()
    {
        devicefaults::Clear();
        devicefaults::SetStepDelay(-1);
        SetDeviceDataFolder(QString());
    }
    DeviceFolder(const DeviceFolder&) = delete;
    DeviceFolder& operator=(const DeviceFolder&) = delete;

    // The devices this computer reaches, as devices.json lists them.
    static void WriteDeviceList(const QByteArray& json)
    {
        QDir().mkpath(DeviceDataFolder());
        QFile file(DeviceDataFolder() + "/devices.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

    // The default devices.
    static CString LocalDevice() { return Find([](const DeviceDefinition& d) { return d.trays == 2 && !IsNetwork(d); }); }
    static CString SingleTrayDevice() { return Find([](const DeviceDefinition& d) { return d.trays == 1; }); }
    static CString NetworkDevice() { return Find(IsNetwork); }

private:
    static bool IsNetwork(const DeviceDefinition& device) { return device.name.GetLength() > 0 && device.name[0] == '\\'; }

    template <class Rule>
    static CString Find(Rule rule)
    {
        for (const DeviceDefinition& device : DefaultDeviceList().devices) {
            if (rule(device))
                return device.name;
        }
        ADD_FAILURE() << "no such default device";
        return CString();
    }

    QTemporaryDir data;
};

} // namespace devicetest
