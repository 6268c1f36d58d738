// CPhoneLinePage: the "Lignes téléphonique" tab: the line's own number with its optional
// country code, the answer mode with its rings and answering-machine timer, the dial mode and
// error correction. The second line's controls stay hidden: this console leaves that line as
// the device has it.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"
#include "dialogs/dialstringedits.h"

class CPhoneLinePage : public CSettingsPage {
    DECLARE_DYNAMIC(CPhoneLinePage)
public:
    explicit CPhoneLinePage(CPhoneLineSettings* phoneLine);

    CPhoneLineSettings* const phoneLine;
    CComboBox countryCombo;
    CButton countryCodeBox;
    CNumberEdit ringsEdit;
    CNumberEdit timerEdit;
    CPhoneNumberEdit numberEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    afx_msg void OnCountryCodeBox();
    afx_msg void OnCountryChange();
    afx_msg void OnNumberFocus();
    afx_msg LRESULT OnPlaceNumberCaret(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    // The code of the country line the list shows; empty when it shows none.
    CString ShownCountryCode();
    // Selects the country whose code follows the number's first character, and checks the
    // box only for a number that starts with "+" and such a code.
    void SynchroniseCountry();
    void ApplyCountryCode();
};
