// A started console with emulated devices of its own, and the toolbar as the user sees it.
#pragma once

#include "device_fixture.h"
#include "startup_fixture.h"

#include <QAbstractButton>
#include <QTest>

#include <functional>
#include <utility>

namespace devicetest {

class DeviceConsole : public startup::StartedConsole {
protected:
    CNtsMgr& Doc() { return *Document(); }

    // The toolbar button of the command, once idle time has set its state.
    QAbstractButton* ToolbarButton(UINT command)
    {
        app.OnIdle(0);
        for (auto* button : app.m_pMainWnd->m_hWnd->findChildren<QAbstractButton*>()) {
            if (button->property("cmdId").toUInt() == command)
                return button;
        }
        ADD_FAILURE() << "no toolbar button " << command;
        return nullptr;
    }
    bool ToolbarEnabled(UINT command)
    {
        QAbstractButton* button = ToolbarButton(command);
        return button && button->isEnabled();
    }
    void ClickToolbar(UINT command)
    {
        QAbstractButton* button = ToolbarButton(command);
        ASSERT_TRUE(button && button->isEnabled()) << command;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Runs the command, which shows the details dialog (after the prompts `first` scripts):
    // its message and its details.
    std::pair<CString, CString> CommandShowingDetails(UINT command,
                                                      const std::function<void(afx::testing::PromptScript&)>& first = {})
    {
        CString message;
        CString details;
        afx::testing::PromptScript prompts;
        if (first)
            first(prompts);
        prompts.Dialog(IDD_DETAILS_MESSAGE, [&](CDialog& dialog) {
            dialog.GetDlgItemText(IDC_DETAILS_MESSAGE, message);
            dialog.GetDlgItemText(IDC_DETAILS_TEXT, details);
            dialog.EndDialog(IDOK);
        });
        Command(command);
        return {message, details};
    }

    // Connects to the device, chosen in the selection dialog.
    void Connect(const CString& device)
    {
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_DEVICE_SELECT, ChooseDevice(device));
        ClickToolbar(ID_DEVICE_CONNECT);
        ASSERT_TRUE(Doc().connected);
    }

    DeviceFolder devices;
};

} // namespace devicetest
