// CMachinePage: the "Paramètres machine" tab: company name, control panel defaults, power
// saver, volumes, separator sheet, paper sizes and the account code prompt.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CMachinePage : public CSettingsPage {
    DECLARE_DYNAMIC(CMachinePage)
public:
    explicit CMachinePage(CMachineSettings* machine);

    CMachineSettings* const machine;
    CEdit companyNameEdit;
    CNumberEdit minutesEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    afx_msg void OnAskAccountCode();

    DECLARE_MESSAGE_MAP()
};
