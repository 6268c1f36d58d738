// CReportsPanel: the "Relevés" category: which reports the device prints by itself.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CReportsPanel : public CSettingsPanel {
    DECLARE_DYNAMIC(CReportsPanel)
public:
    explicit CReportsPanel(CReportSettings* reports);

    CReportSettings* const reports;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
