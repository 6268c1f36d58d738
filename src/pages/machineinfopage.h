// CMachineInfoPage: the "Informations machine" tab: what the device reports about itself,
// shown and never edited.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"

class CMachineInfoPage : public CPropertyPage {
    DECLARE_DYNAMIC(CMachineInfoPage)
public:
    explicit CMachineInfoPage(CMachineInfo* machineInfo);

    CMachineInfo* const machineInfo;

    void DoDataExchange(CDataExchange* pDX) override;
};
