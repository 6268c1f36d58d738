// A short message with its icon (a stop icon for the failure of a device operation), and the
// details in a part below that opens on demand: the data library's detail text, or lines.
#pragma once

#include "afx/afxwin.h"

class CDetailsMessageDlg : public CDialog {
public:
    CDetailsMessageDlg(const CString& message, const CString& details, CWnd* parent, UINT standardIcon = IDI_HAND);

    // The message of the string resource, with the lines as its details, one a line.
    static void ShowLines(UINT messageId, const CStringArray& lines, CWnd* parent, UINT standardIcon = IDI_HAND);

    CString details;
    CString message;
    int collapseHeight = 0;   // pixels between the collapsed and the expanded window
    UINT standardIcon;        // IDI_HAND, IDI_ASTERISK ...

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnExpand();
    afx_msg void OnCollapse();
    DECLARE_MESSAGE_MAP()

private:
    // Shows one of the two buttons and grows or shrinks the window by collapseHeight.
    void SwitchDetails(CButton& shown, CButton& hidden, int heightChange);

    CStatic icon;
    CEdit detailsBox;
    CButton expandButton;
    CButton collapseButton;
};
