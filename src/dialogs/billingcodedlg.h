// The billing-code dialog, and the edit of a fax number's billing code through it.
#pragma once

#include "dialogs/dialstringedits.h"

class CBillingCodeDlg : public CDialog {
public:
    CBillingCodeDlg(const CString& billingCode, int maxLength, CWnd* parent);

    // In: the field's code; after OK: the code entered (may be empty).
    CString billingCode;
    int maxLength;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    CBillingCodeEdit codeEdit;
};

// Runs the dialog for the field's code, limited to the room left in the field, and gives the
// field the code entered on OK. Nothing when the field has no room; the focus goes back to the
// field. TRUE on OK.
BOOL EditBillingCode(CFaxNumberEdit& field, CWnd* owner);
