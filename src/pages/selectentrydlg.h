// CSelectEntryDlg: picks one speed dial, one-touch key or group dial of the phone book; after
// OK, `number` holds the chosen entry's number.
#pragma once

#include "afx/afxwin.h"

class CPhoneBook;

class CSelectEntryDlg : public CDialog {
public:
    // `kind`: 1 speed dials, 2 one-touch keys, any other value group dials. `number`: the
    // entry to preselect (none when no entry has it).
    CSelectEntryDlg(CPhoneBook* phoneBook, int kind, int number, CWnd* parent);

    CPhoneBook* const phoneBook;
    const int kind;
    int number;
    CListCtrl list;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnListDoubleClick(NMHDR* notify, LRESULT* result);
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()
};
