#include "controls_fixture.h"

#include "afx/win/ddx.h"
#include "afx/win/gdi.h"
#include "afx/win/imagelist.h"
#include "afx/win/treectrl.h"

#include <QTest>
#include <QTreeWidget>
#include <string>
#include <vector>

namespace {

enum : int { IDD_DEVICES = 171, IDC_DEVICE_TREE = 1265, IDI_FAX = 139, IDI_LOCAL = 172 };

const QByteArray kScript = testctl::DialogScript(171, "Sélectionner périphérique", 208, 159, R"(
    CONTROL         "",1265,"SysTreeView32",TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_FULLROWSELECT | WS_BORDER | WS_TABSTOP,7,15,194,116
)");

// A device chooser: local devices under "Local", network ones (a leading backslash) beside it.
class CDevicesDlg : public CDialog {
public:
    CDevicesDlg() : CDialog(IDD_DEVICES) {}
    CTreeCtrl tree;
    CImageList images;
    HTREEITEM local = nullptr;
    LRESULT doubleClickResult = 0;
    std::vector<std::string> calls;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_DEVICE_TREE, tree); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        images.Create(16, 16, ILC_COLOR8 | ILC_MASK, 2, 2);
        images.Add(AfxLoadIcon(IDI_LOCAL));
        images.Add(AfxLoadIcon(IDI_FAX));
        tree.SetImageList(&images, TVSIL_NORMAL);
        local = tree.InsertItem("Local", 0, 0, TVI_ROOT, TVI_LAST);
        for (const char* device : {"FAX-2", "\\\\serveur\\fax", "FAX-1"}) {
            const HTREEITEM item = tree.InsertItem(device, 1, 1, device[0] == '\\' ? TVI_ROOT : local, TVI_LAST);
            tree.SetItemData(item, DWORD_PTR(QString(device).size()));
        }
        return TRUE;
    }
    void OnDoubleClick(NMHDR*, LRESULT* result)
    {
        const HTREEITEM selected = tree.GetSelectedItem();
        calls.push_back("dblclk " + QString(tree.GetItemText(selected)).toStdString());
        *result = doubleClickResult;
    }
    void OnSelChanged(NMHDR* header, LRESULT*)
    {
        const auto* change = reinterpret_cast<NMTREEVIEW*>(header);
        calls.push_back("selchanged " + QString(tree.GetItemText(change->itemOld.hItem)).toStdString() + ">"
                        + QString(tree.GetItemText(change->itemNew.hItem)).toStdString() + " data "
                        + std::to_string(change->itemNew.lParam) + (change->action == TVC_BYMOUSE ? " by mouse" : ""));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDevicesDlg, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_DEVICE_TREE, &CDevicesDlg::OnDoubleClick)
    ON_NOTIFY(TVN_SELCHANGED, IDC_DEVICE_TREE, &CDevicesDlg::OnSelChanged)
END_MESSAGE_MAP()

class TreeCtrlTest : public testctl::ControlDialogs {
protected:
    TreeCtrlTest() : ControlDialogs(kScript) {}
    void SetUp() override { ASSERT_TRUE(dialog.Create(IDD_DEVICES)); }

    QTreeWidget* Widget() { return qobject_cast<QTreeWidget*>(dialog.tree.m_hWnd); }

    void DoubleClick(HTREEITEM item)
    {
        auto* handle = reinterpret_cast<QTreeWidgetItem*>(item);
        QTest::mouseDClick(Widget()->viewport(), Qt::LeftButton, {}, Widget()->visualItemRect(handle).center());
    }

    std::string Texts(HTREEITEM first)
    {
        std::string texts;
        for (HTREEITEM item = first; item; item = dialog.tree.GetNextSiblingItem(item))
            texts += QString(dialog.tree.GetItemText(item)).toStdString() + ";";
        return texts;
    }

    CDevicesDlg dialog;
};

TEST_F(TreeCtrlTest, LocalDevicesStandUnderTheRootNodeNetworkOnesBesideIt)
{
    CTreeCtrl& tree = dialog.tree;
    EXPECT_EQ(tree.GetCount(), 4u);
    const HTREEITEM root = tree.GetRootItem();
    EXPECT_EQ(root, dialog.local);
    EXPECT_EQ(Texts(root), "Local;\\\\serveur\\fax;");
    EXPECT_EQ(Texts(tree.GetChildItem(root)), "FAX-2;FAX-1;");
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_EQ(tree.GetItemState(root, TVIS_EXPANDED), 0u);   // starts collapsed
    const HTREEITEM device = tree.GetChildItem(root);
    EXPECT_EQ(tree.GetParentItem(device), root);
    EXPECT_EQ(tree.GetParentItem(root), nullptr);
    EXPECT_FALSE(tree.ItemHasChildren(device));
    EXPECT_EQ(tree.GetItemData(device), DWORD_PTR(5));

    int image = -1, selectedImage = -1;
    ASSERT_TRUE(tree.GetItemImage(device, image, selectedImage));
    EXPECT_EQ(image, 1);
    EXPECT_EQ(dialog.images.GetImageCount(), 2);
    EXPECT_FALSE(reinterpret_cast<QTreeWidgetItem*>(device)->icon(0).isNull());
    EXPECT_EQ(Widget()->iconSize(), QSize(16, 16));
}

TEST_F(TreeCtrlTest, InsertionPlacesAnItemFirstLastSortedOrAfterASibling)
{
    CTreeCtrl& tree = dialog.tree;
    tree.DeleteAllItems();
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    const HTREEITEM m = tree.InsertItem("M");
    tree.InsertItem("Z");
    tree.InsertItem("A", TVI_ROOT, TVI_FIRST);
    tree.InsertItem("b", TVI_ROOT, TVI_SORT);
    tree.InsertItem("N", TVI_ROOT, m);
    EXPECT_EQ(Texts(tree.GetRootItem()), "A;b;M;N;Z;");
}

TEST_F(TreeCtrlTest, ADoubleClickNotifiesThenExpandsUnlessTheParentRefuses)
{
    CTreeCtrl& tree = dialog.tree;
    ShowActive(dialog);
    DoubleClick(dialog.local);
    EXPECT_EQ(tree.GetItemState(dialog.local, TVIS_EXPANDED), UINT(TVIS_EXPANDED));
    DoubleClick(dialog.local);
    EXPECT_EQ(tree.GetItemState(dialog.local, TVIS_EXPANDED), 0u);

    dialog.doubleClickResult = 1;
    DoubleClick(dialog.local);
    EXPECT_EQ(tree.GetItemState(dialog.local, TVIS_EXPANDED), 0u);

    const HTREEITEM network = tree.GetNextSiblingItem(dialog.local);
    dialog.calls.clear();
    DoubleClick(network);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"selchanged Local>\\\\serveur\\fax data 13 by mouse",
                                                      "dblclk \\\\serveur\\fax"}));
}

TEST_F(TreeCtrlTest, SelectingNotifiesTheOldAndTheNewItem)
{
    CTreeCtrl& tree = dialog.tree;
    const HTREEITEM first = tree.GetChildItem(dialog.local);
    const HTREEITEM second = tree.GetNextSiblingItem(first);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    ASSERT_TRUE(tree.SelectItem(first));
    EXPECT_EQ(tree.GetItemState(dialog.local, TVIS_EXPANDED), UINT(TVIS_EXPANDED));   // made visible
    tree.SelectItem(second);
    tree.SelectItem(second);
    EXPECT_EQ(tree.GetSelectedItem(), second);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"selchanged >FAX-2 data 5", "selchanged FAX-2>FAX-1 data 5"}));

    // Deleting the selected item (here with its parent) leaves a live item selected, or none.
    tree.DeleteItem(dialog.local);
    EXPECT_EQ(tree.GetCount(), 1u);
    const HTREEITEM selected = tree.GetSelectedItem();
    EXPECT_TRUE(selected == nullptr || selected == tree.GetRootItem());
    tree.DeleteAllItems();
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(tree.GetCount(), 0u);
}

} // namespace
