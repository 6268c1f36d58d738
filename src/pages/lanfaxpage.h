// CLanFaxPage: the "Velanet" tab of "Réseau": the address of the LAN fax server.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CLanFaxPage : public CSettingsPage {
    DECLARE_DYNAMIC(CLanFaxPage)
public:
    explicit CLanFaxPage(CLanFaxSettings* lanFax);

    CLanFaxSettings* const lanFax;

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    DECLARE_MESSAGE_MAP()
};
