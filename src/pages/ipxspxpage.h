// CIpxSpxPage: the "IPX/SPX" tab of "Réseau": the frame type of the device's IPX traffic.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CIpxSpxPage : public CSettingsPage {
    DECLARE_DYNAMIC(CIpxSpxPage)
public:
    explicit CIpxSpxPage(CIpxSpxSettings* ipxSpx);

    CIpxSpxSettings* const ipxSpx;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
