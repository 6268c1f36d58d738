// The choice of a device among those the data library finds: local devices under the
// "Local" node, network devices at the top level.
#pragma once

#include "afx/afxwin.h"

class CDeviceSelectDlg : public CDialog {
public:
    explicit CDeviceSelectDlg(CWnd* parent = nullptr);

    CStringList devices{10};   // filled by the caller through GetDevices
    CString selectedDevice;    // empty until a device is chosen

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnDblclkTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    // Takes the selected item when it is a device, and ends the dialog with OK.
    BOOL AcceptSelection();

    CTreeCtrl tree;
    CImageList imageList;
    HTREEITEM localItem = nullptr;
};
