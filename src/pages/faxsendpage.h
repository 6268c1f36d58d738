// CFaxSendPage: the "Envoi télécopie" tab: send header, cover page, sending from memory,
// secure sending, redialling, storage for resending, dial timing, line monitoring and long
// originals.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CFaxSendPage : public CSettingsPage {
    DECLARE_DYNAMIC(CFaxSendPage)
public:
    explicit CFaxSendPage(CFaxSendSettings* faxSend);

    CFaxSendSettings* const faxSend;
    CNumberEdit redialAttemptsEdit;
    CNumberEdit redialIntervalEdit;
    CNumberEdit resendHoursEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    afx_msg void OnSecureSend();

    DECLARE_MESSAGE_MAP()
};
