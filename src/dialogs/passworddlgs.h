// The console's password dialogs: the prompt at start-up, which also offers to change the
// password, and the change dialog. The password is compared exactly, letter case included.
#pragma once

#include "afx/afxwin.h"

// Ends with IDOK only once the expected password was typed; IDCANCEL when the user gives up.
class CPasswordDlg : public CDialog {
public:
    CPasswordDlg(const CString& expectedPassword, CWnd* parent);

    CString expectedPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The application's change of password; the prompt then expects the stored password.
    afx_msg void OnChangePassword();
    DECLARE_MESSAGE_MAP()

private:
    CEdit passwordEdit;
};

// Ends with IDOK once the current password and the new one twice alike were typed; `password`
// then holds the new password, which the caller stores.
class CChangePasswordDlg : public CDialog {
public:
    CChangePasswordDlg(const CString& currentPassword, CWnd* parent);

    CString password;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    CEdit oldPasswordEdit;
    CEdit newPasswordEdit;
    CEdit confirmPasswordEdit;
};
