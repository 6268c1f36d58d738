// CTcpIpPage: the "TCP/IP" tab of "Réseau": how the device gets its address, and its
// broadcast and disconnection times.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CTcpIpPage : public CSettingsPage {
    DECLARE_DYNAMIC(CTcpIpPage)
public:
    explicit CTcpIpPage(CTcpIpSettings* tcpIp);

    CTcpIpSettings* const tcpIp;
    CNumberEdit disconnectEdit;
    CNumberEdit broadcastEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
