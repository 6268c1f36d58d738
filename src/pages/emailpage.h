// CEmailPage: the "Messagerie" tab of "Réseau": the device's mail addresses and how it
// receives mail (from a POP server, or as an SMTP server).
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CEmailPage : public CSettingsPage {
    DECLARE_DYNAMIC(CEmailPage)
public:
    explicit CEmailPage(CEmailSettings* email);

    CEmailSettings* const email;
    CEdit machineAddressEdit;
    CEdit errorForwardEdit;
    CEdit popUserNameEdit;
    CEdit popPasswordEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
