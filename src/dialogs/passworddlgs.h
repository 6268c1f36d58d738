// The console's password dialogs: the prompt at start-up, which also offers to change the
// password, and the change dialog. The application keeps the password; the dialogs only ask it
// whether a typed text is the password.
#pragma once

#include "afx/afxwin.h"

#include <functional>

// TRUE when the typed text is the console's password as it is stored now.
using PasswordCheck = std::function<BOOL(const CString& typed)>;

// Ends with IDOK only once the password was typed; IDCANCEL when the user gives up.
class CPasswordDlg : public CDialog {
public:
    CPasswordDlg(PasswordCheck isPassword, CWnd* parent);

    // Asked at each OK, so a password changed through the dialog's button is the one expected.
    PasswordCheck isPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The application's change of password.
    afx_msg void OnChangePassword();
    DECLARE_MESSAGE_MAP()

private:
    CEdit passwordEdit;
};

// Ends with IDOK once the current password and the new one twice alike were typed; `password`
// then holds the new password, which the caller stores.
class CChangePasswordDlg : public CDialog {
public:
    CChangePasswordDlg(PasswordCheck isCurrentPassword, CWnd* parent);

    PasswordCheck isCurrentPassword;
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
