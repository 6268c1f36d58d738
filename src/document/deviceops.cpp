// The operations on the selected device, and factory values restored in the record.
#include "device/lib/devices.h"
#include "device/lib/history.h"
#include "device/waitdlg.h"
#include "dialogs/detailsmessagedlg.h"
#include "dialogs/dialoghelpers.h"
#include "dialogs/unchangedmailboxesdlg.h"
#include "document/ntsmgr.h"
#include "frame/mainframe.h"
#include "recordwording/recordwording.h"
#include "res/resource.h"

#include <QGuiApplication>
#include <utility>

namespace {

struct OperationTexts {
    UINT confirmation;   // 0: none
    UINT status;
    UINT success;        // 0: none
    UINT failure;
};

// By DeviceOperation.
constexpr OperationTexts operationTexts[] = {
    {IDP_CONNECT_OVERWRITES, IDS_STATUS_CONNECTING, 0, IDP_READ_FAILED},
    {IDP_APPLY_CONFIRM, IDS_STATUS_UPDATING, 0, IDP_UPDATE_FAILED},
    {0, IDS_STATUS_UPDATING, IDP_DEVICE_TIME_SET, IDP_UPDATE_FAILED},
    {IDP_RESET_CONFIRM, IDS_STATUS_UPDATING, 0, IDP_UPDATE_FAILED},
    {0, IDS_STATUS_CONNECTING, 0, IDP_READ_FAILED},
};

void ShowStatus(CWnd* mainWnd, UINT textId)
{
    if (auto* frame = dynamic_cast<CMainFrame*>(mainWnd))
        frame->SetStatusText(textId);
}

// The wait cursor, for as long as the device works. It ends before any report, which is
// the user's to read and answer.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { End(); }
    void End()
    {
        if (std::exchange(shown, false))
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool shown = true;
};

// The failure text with the library's detail, also written to the debug output.
void ReportFailure(UINT failure, const CString& detail, CWnd* mainWnd)
{
    TRACE("%s", detail);
    CString message;
    message.LoadString(failure);
    CDetailsMessageDlg(message, detail, mainWnd).DoModal();
}

BOOL Confirm(UINT question)
{
    return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

int CNtsMgr::RunDeviceOperation(int operation, CConfig* compared)
{
    const OperationTexts& texts = operationTexts[operation];
    const UINT confirmation = operation == Read && !IsModified() ? 0 : texts.confirmation;
    if (confirmation && !Confirm(confirmation))
        return 0;
    if (deviceName.IsEmpty() && !SelectDevice())
        return 0;

    CWnd* mainWnd = AfxGetMainWnd();
    ShowStatus(mainWnd, texts.status);
    WaitCursor waitCursor;
    CWaitDlg waitDlg(operation != Read && operation != Compare, mainWnd);
    waitDlg.Create(IDD_WAIT, mainWnd);
    CString detail;
    int mailBoxesUnchanged = 0;
    const CString device = deviceName;
    const int result = CallWhileWaiting([&] {
        switch (operation) {
        case Read:
            return config.Read(device, detail);
        case Write:
            return WriteKeepingHistory(config, device, detail, mailBoxesUnchanged);
        case SetTime:
            return config.SetDeviceTime(device, detail);
        case Compare:
            return compared->Read(device, detail);
        default:
            return config.ResetDevice(device, detail);
        }
    });
    if (operation == Read)
        connected = result != 0;
    ShowStatus(mainWnd, AFX_IDS_IDLEMESSAGE);
    waitDlg.DestroyWindow();
    waitCursor.End();

    if (!result) {
        ReportFailure(texts.failure, detail, mainWnd);
        return result;
    }
    if (texts.success)
        AfxMessageBox(texts.success, MB_OK);
    if (mailBoxesUnchanged)
        CUnchangedMailboxesDlg(&config.unchangedMailBoxes, mainWnd).DoModal();
    return result;
}

void CNtsMgr::OnApply()
{
    const CAdvancedSettings& advanced = config.advanced;
    if (advanced.autoSupplyOrder && (advanced.orderToner || advanced.orderDrum) && advanced.orderDestination.IsEmpty()) {
        AfxMessageBox(IDP_SUPPLY_ORDER_NEEDS_ADDRESS, MB_OK | MB_ICONERROR);
        return;
    }
    // A value the device would refuse stops the apply before anything is asked or sent.
    const CStringArray findings = WordFindings(CheckRecord(config));
    if (findings.GetSize() > 0) {
        CDetailsMessageDlg::ShowLines(IDP_RECORD_REFUSED, findings, AfxGetMainWnd());
        return;
    }
    RunDeviceOperation(Write);
}

void CNtsMgr::OnSetDeviceTime()
{
    RunDeviceOperation(SetTime);
}

void CNtsMgr::OnResetDevice()
{
    // The record stays as it is: the user may apply it again.
    RunDeviceOperation(Reset);
}

void CNtsMgr::OnFactoryDefaults()
{
    // The directory, mailboxes, client codes, machine information and network settings
    // belong to the device and stay.
    CConfig factory;
    CopySection(config.machine, factory.machine);
    CopySection(config.phoneLine, factory.phoneLine);
    CopySection(config.advanced, factory.advanced);
    CopySection(config.faxSend, factory.faxSend);
    CopySection(config.faxReceive, factory.faxReceive);
    CopySection(config.pcFax, factory.pcFax);
    CopySection(config.reports, factory.reports);
    CopySection(config.mailOptions, factory.mailOptions);
    UpdateAllViews(nullptr, 0, nullptr);
    SetModifiedFlag();
}

// Reads the device's settings, sends the firmware, then writes the settings back, which the
// new firmware may have lost, all while holding the device. The document is not touched.
void CNtsMgr::OnUpgradeFirmware()
{
    CWnd* mainWnd = AfxGetMainWnd();
    CString filter, title;
    filter.LoadString(IDS_FIRMWARE_FILTER);
    title.LoadString(IDS_FIRMWARE_DIALOG_TITLE);
    CFileDialog fileDialog(TRUE, "bfw", CString(), OFN_HIDEREADONLY, filter, mainWnd);
    fileDialog.m_ofn.lpstrTitle = title;
    if (fileDialog.DoModal() != IDOK)
        return;
    if (deviceName.IsEmpty() && !SelectDevice())
        return;
    if (!Confirm(IDP_FIRMWARE_UPGRADE_CONFIRM))
        return;

    ShowStatus(mainWnd, IDS_STATUS_CONNECTING);
    WaitCursor waitCursor;
    CWaitDlg waitDlg(0, mainWnd);
    waitDlg.Create(IDD_WAIT, mainWnd);
    CString detail;
    FirmwareStep step = FirmwareStep::read;
    const CString device = deviceName;
    const CString file = fileDialog.GetPathName();
    const int result = CallWhileWaiting([&] {
        return UpgradeFirmwareKeepingSettings(device, file, detail, [&](FirmwareStep next) {
            step = next;
            CallOnUserInterfaceThread([&] {
                if (next == FirmwareStep::upgrade) {
                    ShowStatus(mainWnd, IDS_STATUS_UPGRADING_FIRMWARE);
                    waitDlg.DestroyWindow();
                    waitDlg.updateMode = 1;
                    waitDlg.Create(IDD_WAIT, mainWnd);
                } else if (next == FirmwareStep::writeBack) {
                    ShowStatus(mainWnd, IDS_STATUS_UPDATING);
                }
            });
        });
    });
    // An upgrade that failed still gives way to the update status, as one that went through.
    if (!result && step == FirmwareStep::upgrade)
        ShowStatus(mainWnd, IDS_STATUS_UPDATING);
    waitDlg.DestroyWindow();
    waitCursor.End();
    if (!result) {
        constexpr UINT failures[] = {IDP_READ_FAILED, IDP_FIRMWARE_UPGRADE_FAILED, IDP_UPDATE_FAILED};
        ReportFailure(failures[static_cast<int>(step)], detail, mainWnd);
    }
    ShowStatus(mainWnd, AFX_IDS_IDLEMESSAGE);
}
