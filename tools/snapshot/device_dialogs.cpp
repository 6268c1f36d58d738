// The device connection's dialogs: the wait window, the result reports, device selection, a
// network device's password.
#include "snapshot.h"

#include "device/deviceselectdlg.h"
#include "device/lib/devicelist.h"
#include "device/waitdlg.h"
#include "dialogs/detailsmessagedlg.h"
#include "dialogs/devicepassworddlg.h"
#include "dialogs/unchangedmailboxesdlg.h"
#include "res/resource.h"

namespace snapshot {

namespace {

// The wait window once its first frame is drawn.
void CaptureWait(Album& album, const QString& name, int updateMode)
{
    CWaitDlg wait(updateMode, nullptr);
    int counter = 0;
    {
        std::lock_guard lock(animationBlock.animationLock);
        counter = animationBlock.frameCounter;
    }
    wait.Create(IDD_WAIT);
    {
        std::unique_lock lock(animationBlock.animationLock);
        animationBlock.frameDrawn.wait(lock, [counter] { return animationBlock.frameCounter > counter; });
    }
    album.Capture(name, wait.m_hWnd);
    wait.DestroyWindow();
}

const char* const detailText = "La connexion avec le périphérique a été coupée.";

class ExpandedDetailsDlg : public CDetailsMessageDlg {
public:
    using CDetailsMessageDlg::CDetailsMessageDlg;
    BOOL OnInitDialog() override
    {
        CDetailsMessageDlg::OnInitDialog();
        OnExpand();
        return TRUE;
    }
};

// The default devices, with a local one chosen.
class ChosenDeviceDlg : public CDeviceSelectDlg {
public:
    ChosenDeviceDlg()
    {
        for (const DeviceDefinition& device : DefaultDeviceList().devices)
            devices.AddTail(device.name);
    }
    BOOL OnInitDialog() override
    {
        CDeviceSelectDlg::OnInitDialog();
        auto* tree = static_cast<CTreeCtrl*>(GetDlgItem(IDC_DEVICE_TREE));
        tree->SelectItem(tree->GetChildItem(tree->GetRootItem()));
        return TRUE;
    }
};

} // namespace

std::vector<Subject> DeviceDialogSubjects()
{
    return {
        {"wait-connect", [](Album& album) { CaptureWait(album, "wait-connect", 0); }},
        {"wait-update", [](Album& album) { CaptureWait(album, "wait-update", 1); }},
        {"details-collapsed",
         [](Album& album) {
             CDetailsMessageDlg dialog(LoadText(IDP_READ_FAILED), detailText, nullptr);
             CaptureModal(album, "details-collapsed", dialog);
         }},
        {"details-expanded",
         [](Album& album) {
             ExpandedDetailsDlg dialog(LoadText(IDP_UPDATE_FAILED), detailText, nullptr);
             CaptureModal(album, "details-expanded", dialog);
         }},
        {"unchanged-mailboxes",
         [](Album& album) {
             CStringArray numbers;
             for (const char* number : {"20", "10", "35"})
                 numbers.Add(number);
             CUnchangedMailboxesDlg dialog(&numbers, nullptr);
             CaptureModal(album, "unchanged-mailboxes", dialog);
         }},
        {"device-select",
         [](Album& album) {
             ChosenDeviceDlg dialog;
             CaptureModal(album, "device-select", dialog);
         }},
        {"device-password",
         [](Album& album) {
             CDevicePasswordDlg dialog("\\\\192.0.2.10\\Brevia Pro 45", TRUE, nullptr);
             CaptureModal(album, "device-password", dialog);
         }},
    };
}

} // namespace snapshot
