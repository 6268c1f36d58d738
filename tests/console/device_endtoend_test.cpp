// The console with an emulated device, worked as a user works it: the toolbar, the machine
// settings page, the prompts.
#include "device_console.h"

#include "device/lib/devicelink.h"
#include "device/lib/devicememory.h"
#include "device/lib/serialformat.h"
#include "pages/machinepage.h"

#include <QLineEdit>
#include <map>

namespace {

using devicetest::ChooseDevice;
using devicetest::DeviceFolder;

class DeviceEndToEndTest : public devicetest::DeviceConsole {
protected:
    // The control of the page on show, by id.
    QWidget* PageControl(int id)
    {
        for (QWidget* control : app.m_pMainWnd->m_hWnd->findChildren<QWidget*>()) {
            if (control->property("ctrlId").toInt() == id && control->isVisibleTo(app.m_pMainWnd->m_hWnd))
                return control;
        }
        return nullptr;
    }

    CString CompanyName()
    {
        auto* edit = qobject_cast<QLineEdit*>(PageControl(IDC_COMPANY_NAME));
        return edit ? CString(edit->text()) : CString("(no field)");
    }

    void TypeCompanyName(const QString& text)
    {
        QWidget* edit = PageControl(IDC_COMPANY_NAME);
        ASSERT_NE(edit, nullptr);
        qobject_cast<QLineEdit*>(edit)->selectAll();
        QTest::keyClicks(edit, text);
    }

    // What every page shows: the text and state of every control of the main window.
    std::map<QWidget*, QString> EveryControl()
    {
        std::map<QWidget*, QString> controls;
        for (QWidget* control : app.m_pMainWnd->m_hWnd->findChildren<QWidget*>()) {
            if (!control->property("ctrlId").isValid())
                continue;
            CString text;
            CWnd::FromHandle(control)->GetWindowText(text);
            controls[control] = QString("%1|%2|%3").arg(QString(text)).arg(control->isEnabled()).arg(control->isVisibleTo(app.m_pMainWnd->m_hWnd));
        }
        return controls;
    }
};

TEST_F(DeviceEndToEndTest, AnAppliedChangeIsReadBackFromTheDevice)
{
    const CString device = DeviceFolder::LocalDevice();
    EXPECT_FALSE(ToolbarEnabled(ID_DEVICE_DISCONNECT));
    Connect(device);
    EXPECT_TRUE(ToolbarEnabled(ID_DEVICE_DISCONNECT));
    EXPECT_EQ(CompanyName(), CString());

    TypeCompanyName("Cabinet Durand");
    EXPECT_TRUE(Doc().IsModified());
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        ClickToolbar(ID_DEVICE_APPLY);
    }
    EXPECT_EQ(EmulatedDevice::Inspect(device)->config.machine.companyName, CString("Cabinet Durand"));

    ClickToolbar(ID_DEVICE_DISCONNECT);
    EXPECT_FALSE(ToolbarEnabled(ID_DEVICE_DISCONNECT));
    TypeCompanyName("brouillon");
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_CONNECT_OVERWRITES)).Dialog(IDD_DEVICE_SELECT, ChooseDevice(device));
        ClickToolbar(ID_DEVICE_CONNECT);
    }
    EXPECT_EQ(CompanyName(), CString("Cabinet Durand"));
    EXPECT_FALSE(Doc().IsModified());
}

// Factory values show on the pages at once; the device has them only after the next apply.
TEST_F(DeviceEndToEndTest, FactoryValuesWaitForTheNextApply)
{
    const CString device = DeviceFolder::LocalDevice();
    devicetest::WriteToDevice(device, [](CConfig& record) { record.machine.companyName = "Cabinet Durand"; });
    Connect(device);
    EXPECT_EQ(CompanyName(), CString("Cabinet Durand"));
    EXPECT_FALSE(ToolbarEnabled(ID_FILE_SAVE));

    Command(ID_FACTORY_DEFAULTS);
    EXPECT_EQ(CompanyName(), CString());
    EXPECT_TRUE(ToolbarEnabled(ID_FILE_SAVE));
    EXPECT_EQ(EmulatedDevice::Inspect(device)->config.machine.companyName, CString("Cabinet Durand"));
}

// The machine page shows the paper choice of tray 2 only for a device with two trays.
TEST_F(DeviceEndToEndTest, ASingleTrayDeviceHidesTheSecondTray)
{
    struct Case {
        CString device;
        bool trayShown;
    };
    for (const Case& c : {Case{DeviceFolder::SingleTrayDevice(), false}, Case{DeviceFolder::LocalDevice(), true}}) {
        SCOPED_TRACE(static_cast<const QString&>(c.device).toStdString());
        Connect(c.device);
        EXPECT_EQ(PageControl(IDC_TRAY2_PAPER_SIZE) != nullptr, c.trayShown);
        ClickToolbar(ID_DEVICE_DISCONNECT);
    }
    secondTrayShown = TRUE;
}

TEST_F(DeviceEndToEndTest, TheDeviceKeepsABusyMailboxAndSaysSo)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    afx::testing::PromptScript prompts;
    // The mailbox page's edit of a mailbox that still holds documents.
    CMailBox* busy = Doc().config.mailBoxes.Get("10");
    ASSERT_NE(busy, nullptr);
    ASSERT_TRUE(Doc().config.mailBoxes.IsBusy("10"));
    busy->password = "0000";
    Doc().SetModifiedFlag();

    CString listed;
    prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM)).Dialog(IDD_UNCHANGED_MAILBOXES, [&](CDialog& dialog) {
        auto* list = static_cast<CListBox*>(dialog.GetDlgItem(IDC_UNCHANGED_MAILBOX_LIST));
        EXPECT_EQ(list->GetCount(), 1);
        list->GetText(0, listed);
        dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    });
    ClickToolbar(ID_DEVICE_APPLY);
    EXPECT_EQ(listed, CString("10"));
    EXPECT_EQ(prompts.Shown().size(), 2u);   // the question and the list, no other message
    EXPECT_NE(EmulatedDevice::Inspect(device)->config.mailBoxes.Get("10")->password, CString("0000"));
}

TEST_F(DeviceEndToEndTest, AReadCutOffLeavesTheRecordAndThePagesAsTheyWere)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    afx::testing::PromptScript prompts;
    TypeCompanyName("Brouillon non envoye");
    const QByteArray record = serialformat::StoreToBytes(Doc().config);
    const std::map<QWidget*, QString> pages = EveryControl();

    // The link breaks as the first block of the record comes over.
    devicefaults::Inject(device, {DeviceFault::cutOff, 0, -1, 1});
    CString detail;
    prompts.MessageBox(IDYES, LoadText(IDP_CONNECT_OVERWRITES)).Dialog(IDD_DETAILS_MESSAGE, [&](CDialog& dialog) {
        CString message;
        dialog.GetDlgItemText(IDC_DETAILS_MESSAGE, message);
        EXPECT_EQ(message, LoadText(IDP_READ_FAILED));
        static_cast<CButton*>(dialog.GetDlgItem(IDC_DETAILS_EXPAND))->Click();
        dialog.GetDlgItemText(IDC_DETAILS_TEXT, detail);
        dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    });
    ClickToolbar(ID_DEVICE_CONNECT);
    EXPECT_EQ(detail, CString("La connexion avec le périphérique a été coupée."));
    EXPECT_EQ(serialformat::StoreToBytes(Doc().config), record);
    EXPECT_EQ(EveryControl(), pages);
    EXPECT_EQ(Doc().deviceName, device);
    EXPECT_FALSE(Doc().connected);
    EXPECT_FALSE(ToolbarEnabled(ID_DEVICE_DISCONNECT));
    EXPECT_TRUE(Doc().IsModified());
}

} // namespace
