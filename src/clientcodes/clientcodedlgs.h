// The client-code page's dialogs: one code with its ID and name, and the master code asked
// before the codes can be seen.
#pragma once

#include "afx/afxwin.h"

class CDepartmentCode;
class CDepartmentCodes;
class CListPage;

// Edits `entry`, or makes a new code when it is null. Every save (OK, "Appliq&uer") goes into
// `clientCodes` and the page's list at once.
class CClientCodeEntryDlg : public CDialog {
public:
    CClientCodeEntryDlg(CDepartmentCodes* clientCodes, CDepartmentCode* entry, CListPage* page);

    CEdit idEdit;
    CSpinButtonCtrl idSpin;
    CEdit codeEdit;
    CEdit nameEdit;
    CDepartmentCodes* const clientCodes;
    // The code the dialog saves into; a saved new code becomes it.
    CDepartmentCode* entry;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    afx_msg void OnIdSpin(NMHDR* notify, LRESULT* result);
    // OK and "Appliq&uer" only while the ID and the code are free.
    afx_msg void OnNumberChange();
    afx_msg void OnApply();
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    CListPage* const page;
};

// Ends with OK once the master code was typed: the one that exists, or a new one, which it
// creates.
class CMasterCodeDlg : public CDialog {
public:
    CMasterCodeDlg(CDepartmentCodes* clientCodes, CWnd* page);

    CEdit masterCodeEdit;
    CDepartmentCodes* const clientCodes;

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()
};
