// CAdvancedPage: the "Fonctions avancées" tab: remote access with its download policy, and the
// automatic supplies order: where the order goes (a fax number, an e-mail address, a speed
// dial or a one-touch key), what is ordered, and who orders it.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/phonebook.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"
#include "dialogs/dialstringedits.h"

class CAdvancedPage : public CSettingsPage {
    DECLARE_DYNAMIC(CAdvancedPage)
public:
    CAdvancedPage(CAdvancedSettings* advanced, CPhoneBook* phoneBook);

    CAdvancedSettings* const advanced;
    CPhoneBook* const phoneBook;
    CComboBox destinationTypeCombo;
    CFaxNumberEdit faxNumberEdit;
    CNumberEdit tonerQuantityEdit;
    CNumberEdit drumQuantityEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    afx_msg void OnChooseEntry();

    DECLARE_MESSAGE_MAP()

private:
    // Lists the destination types the directory and the mode offer, the stored one selected
    // when it is among them; saving takes the selected type and keeps one the list lacks.
    void ExchangeDestinationType(CDataExchange* pDX);
};
