// CMailOptionsPanel: the "Options messagerie" category: what the device prints of the mail it
// receives and what it asks of the mail it sends.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/sections.h"
#include "dialogs/dialoghelpers.h"

class CMailOptionsPanel : public CSettingsPanel {
    DECLARE_DYNAMIC(CMailOptionsPanel)
public:
    explicit CMailOptionsPanel(CMailOptionSettings* mailOptions);

    CMailOptionSettings* const mailOptions;
    CNumberEdit bodyTextLimitEdit;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()
};
