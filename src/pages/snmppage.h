// CSnmpPage: the "SNMP" tab of "Réseau": the community names and the events the device
// sends traps for.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CSnmpPage : public CSettingsPage {
    DECLARE_DYNAMIC(CSnmpPage)
public:
    explicit CSnmpPage(CSnmpSettings* snmp);

    CSnmpSettings* const snmp;
    CEdit readCommunityEdit;
    CEdit readWriteCommunityEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
