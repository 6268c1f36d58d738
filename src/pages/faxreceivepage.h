// CFaxReceivePage: the "Réception télécopie" tab: what to do when printing is not available,
// secure reception with its password, daily period and all-day weekdays, the reception
// interval and the print options of received faxes.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CFaxReceivePage : public CSettingsPage {
    DECLARE_DYNAMIC(CFaxReceivePage)
public:
    explicit CFaxReceivePage(CFaxReceiveSettings* faxReceive);

    CFaxReceiveSettings* const faxReceive;
    CDateTimeCtrl stopPicker;
    CDateTimeCtrl startPicker;
    CNumberEdit receiveIntervalEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Asks the secure reception password, preset to the stored one. OK stores it and gives
    // TRUE; cancelling changes nothing.
    BOOL RunPasswordDialog();

protected:
    afx_msg void OnTimeChange(NMHDR* notification, LRESULT* result);
    afx_msg void OnSecureReceive();
    afx_msg void OnPassword();

    DECLARE_MESSAGE_MAP()
};
