// CSecureFaxPasswordDlg: asks the four-digit password of secure fax reception.
#pragma once

#include "afx/afxwin.h"

// Ends with IDOK only once `password` holds exactly four digits.
class CSecureFaxPasswordDlg : public CDialog {
public:
    explicit CSecureFaxPasswordDlg(CWnd* parent = nullptr);

    CString password;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CEdit passwordEdit;
};
