// Choosing the device, connecting to it and forgetting it.
#include "document/ntsmgr.h"

#include "device/deviceselectdlg.h"
#include "device/lib/devicelink.h"
#include "device/lib/devices.h"
#include "dialogs/dialoghelpers.h"
#include "res/resource.h"

#include <algorithm>
#include <array>

namespace {

// Asks the device link once for the device's status: a single-tray device hides the paper
// choice of tray 2. A device that cannot be opened leaves the choice as it was.
void ProbeSecondTray(const CString& device)
{
    std::array<TCHAR, 200> name{};
    std::copy_n(static_cast<LPCTSTR>(device), std::min<int>(device.GetLength(), int(name.size()) - 1), name.begin());
    const DWORD handle = DvlOpenMFP(name.data());
    if (handle == 0)
        return;
    DvlRegisterCallback(handle, nullptr, handle);
    DWORD scratch = 0;
    const ULONGLONG status = DvlGetPrinterStatus(handle, &scratch);
    DvlUnregisterCallback(handle);
    const bool singleTray = (status & DVL_STATUS_SINGLE_TRAY) == DVL_STATUS_SINGLE_TRAY;
    secondTrayShown = !singleTray;
    DvlCloseMFP(handle);
}

} // namespace

BOOL CNtsMgr::SelectDevice()
{
    // A cancelled selection leaves no device selected.
    deviceName.Empty();
    CWnd* mainWnd = AfxGetMainWnd();
    CDeviceSelectDlg dialog(mainWnd);
    CString detail;
    if (!GetDevices(dialog.devices, detail)) {
        AfxMessageBox(detail, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (DoModalWithHelpKey(dialog) != IDOK || dialog.selectedDevice.IsEmpty())
        return FALSE;
    deviceName = dialog.selectedDevice;
    ProbeSecondTray(deviceName);
    return TRUE;
}

void CNtsMgr::OnConnect()
{
    if (!RunDeviceOperation(Read))
        return;
    SetModifiedFlag(FALSE);
    UpdateAllViews(nullptr, 0, nullptr);
}

void CNtsMgr::OnDisconnect()
{
    // The record, the pages and the modified flag stay as they are.
    deviceName.Empty();
    config.unchangedMailBoxes.RemoveAll();
    connected = FALSE;
}

void CNtsMgr::OnUpdateDisconnect(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(connected && !deviceName.IsEmpty());
}
