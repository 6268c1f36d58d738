// CFtpPage: the "Connexion FTP" tab of "Réseau": the login the device's FTP server accepts.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CFtpPage : public CSettingsPage {
    DECLARE_DYNAMIC(CFtpPage)
public:
    explicit CFtpPage(CFtpSettings* ftp);

    CFtpSettings* const ftp;
    CEdit userNameEdit;
    CEdit passwordEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
