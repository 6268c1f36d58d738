#include "device/deviceselectdlg.h"

#include "res/resource.h"

namespace {
enum : int { localImage = 0, deviceImage = 1 };

bool IsNetworkName(const CString& name)
{
    return name.GetLength() > 0 && name[0] == '\\';
}
} // namespace

BEGIN_MESSAGE_MAP(CDeviceSelectDlg, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_DEVICE_TREE, &CDeviceSelectDlg::OnDblclkTree)
    ON_BN_CLICKED(IDHELP, &CDeviceSelectDlg::OnHelp)
END_MESSAGE_MAP()

CDeviceSelectDlg::CDeviceSelectDlg(CWnd* parent) : CDialog(IDD_DEVICE_SELECT, parent)
{
}

void CDeviceSelectDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_TREE, tree);
}

BOOL CDeviceSelectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    imageList.Create(16, 16, ILC_COLOR8 | ILC_MASK, 2, 2);
    imageList.Add(AfxLoadIcon(IDI_LOCAL));
    imageList.Add(AfxLoadIcon(IDI_FAX));
    tree.SetImageList(&imageList, TVSIL_NORMAL);
    CString local;
    local.LoadString(IDS_LOCAL_DEVICES);
    localItem = tree.InsertItem(local, localImage, localImage, TVI_ROOT, TVI_LAST);
    for (POSITION position = devices.GetHeadPosition(); position;) {
        const CString& name = devices.GetNext(position);
        tree.InsertItem(name, deviceImage, deviceImage, IsNetworkName(name) ? TVI_ROOT : localItem, TVI_LAST);
    }
    selectedDevice.Empty();
    return TRUE;
}

void CDeviceSelectDlg::OnOK()
{
    if (!AcceptSelection())
        AfxMessageBox(IDP_SELECT_DEVICE, MB_OK);
}

void CDeviceSelectDlg::OnDblclkTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    // 0: the tree still opens or closes the "Local" node.
    *pResult = 0;
    AcceptSelection();
}

BOOL CDeviceSelectDlg::AcceptSelection()
{
    // The "Local" node is never a device, even without children.
    const HTREEITEM item = tree.GetSelectedItem();
    if (!item || item == localItem || tree.ItemHasChildren(item))
        return FALSE;
    selectedDevice = tree.GetItemText(item);
    EndDialog(IDOK);
    return TRUE;
}

void CDeviceSelectDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_DEVICE_SELECT, afx::HELP_CONTEXT);
}
