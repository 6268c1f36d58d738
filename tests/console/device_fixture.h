// What the tests of the device connection share: emulated devices in a data folder of the
// test's own, without delay or faults.
#pragma once

#include "afx/afxwin.h"
#include "afx/win/testing.h"
#include "device/lib/config.h"
#include "device/lib/devicelist.h"
#include "device/lib/emulateddevice.h"
#include "support/devicefaults.h"
#include "support/devicefolder.h"
#include "support/helpers.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace devicetest {

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

using ::DeviceFolder;

} // namespace devicetest
