// Asks for a network device's administrator password when the device asks for it.
#pragma once

#include "afx/afxwin.h"

class CDevicePasswordDlg : public CDialog {
public:
    // `wrong`: the last password given was refused.
    CDevicePasswordDlg(const CString& device, BOOL wrong, CWnd* parent);

    CString password;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CString device;
    BOOL wrong;
};
