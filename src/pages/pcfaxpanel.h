// CPcFaxPanel: the "Télécopie PC" category: whether and how received faxes go to the PC.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CPcFaxPanel : public CSettingsPanel {
    DECLARE_DYNAMIC(CPcFaxPanel)
public:
    explicit CPcFaxPanel(CPcFaxSettings* pcFax);

    CPcFaxSettings* const pcFax;
    CNumberEdit retryIntervalEdit;
    CNumberEdit attemptsEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
