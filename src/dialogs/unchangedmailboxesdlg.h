// Reports the mailboxes that the device kept as they were on a write because they still
// hold documents.
#pragma once

#include "afx/afxwin.h"

class CUnchangedMailboxesDlg : public CDialog {
public:
    // The list stays the caller's.
    CUnchangedMailboxesDlg(CStringArray* mailboxNumbers, CWnd* parent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CStatic icon;
    CStringArray* mailboxNumbers;
};
