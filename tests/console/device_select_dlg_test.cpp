// The device selection dialog: the tree of devices, what "C&onnecter" and a double click
// accept, and its help.
#include "device_fixture.h"

#include "device/deviceselectdlg.h"

#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

namespace {

CTreeCtrl& Tree(CDialog& dialog)
{
    return *static_cast<CTreeCtrl*>(dialog.GetDlgItem(IDC_DEVICE_TREE));
}

// The tree as text: "Local[A;B];\\NET;", children in brackets, "+" after an expanded item.
std::string Describe(CTreeCtrl& tree, HTREEITEM first)
{
    std::string text;
    for (HTREEITEM item = first; item; item = tree.GetNextSiblingItem(item)) {
        int image = -1, selectedImage = -1;
        tree.GetItemImage(item, image, selectedImage);
        text += QString(tree.GetItemText(item)).toStdString() + std::to_string(image) + std::to_string(selectedImage);
        if (tree.GetItemState(item, TVIS_EXPANDED))
            text += "+";
        if (tree.ItemHasChildren(item))
            text += "[" + Describe(tree, tree.GetChildItem(item)) + "]";
        text += ";";
    }
    return text;
}

void DoubleClick(CTreeCtrl& tree, HTREEITEM item)
{
    auto* widget = qobject_cast<QTreeWidget*>(tree.m_hWnd);
    const QRect place = widget->visualItemRect(reinterpret_cast<QTreeWidgetItem*>(item));
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, place.center());
}

struct Outcome {
    INT_PTR result;
    CString selectedDevice;
    std::vector<afx::Prompt> shown;
};

// Runs the dialog over the devices; `work` acts on the live dialog and may leave it open,
// `inside` scripts what the dialog shows meanwhile.
Outcome RunDialog(std::initializer_list<const char*> devices, const std::function<void(CDialog&)>& work,
                  const std::function<void(afx::testing::PromptScript&)>& inside = {})
{
    CDeviceSelectDlg dialog;
    for (const char* name : devices)
        dialog.devices.AddTail(name);
    const ModalOutcome outcome = RunModal(dialog, work, inside);
    return {outcome.result, dialog.selectedDevice, outcome.shown};
}

TEST(DeviceSelectDlgTest, LocalDevicesUnderTheLocalNodeNetworkOnesBesideIt)
{
    struct Case {
        std::initializer_list<const char*> devices;
        const char* tree;
    };
    const Case cases[] = {
        {{"Brevia (USB001)", "\\\\BUREAU\\Brevia", "Brevia (LPT1)"}, "Local00[Brevia (USB001)11;Brevia (LPT1)11;];\\\\BUREAU\\Brevia11;"},
        {{"\\\\A\\Fax", "\\\\B\\Fax"}, "Local00;\\\\A\\Fax11;\\\\B\\Fax11;"},
        {{}, "Local00;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tree);
        RunDialog(c.devices, [&](CDialog& dialog) {
            CString caption;
            dialog.GetWindowText(caption);
            EXPECT_EQ(caption, CString("Sélectionner périphérique"));
            CTreeCtrl& tree = Tree(dialog);
            EXPECT_EQ(Describe(tree, tree.GetRootItem()), c.tree);
            EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), LoadText(IDS_LOCAL_DEVICES));
            EXPECT_EQ(tree.GetImageList()->GetImageCount(), 2);
        });
    }
}

TEST(DeviceSelectDlgTest, ConnectAcceptsOnlyADevice)
{
    struct Case {
        const char* name;
        std::initializer_list<const char*> devices;
        const char* select;        // nullptr: nothing selected
        bool accepted;
    };
    const Case cases[] = {
        {"a local device", {"Brevia (USB001)", "\\\\BUREAU\\Brevia"}, "Brevia (USB001)", true},
        {"a network device", {"Brevia (USB001)", "\\\\BUREAU\\Brevia"}, "\\\\BUREAU\\Brevia", true},
        {"the Local node with devices", {"Brevia (USB001)"}, "Local", false},
        // Without local devices the node is still no device: its name would reach the library.
        {"the Local node alone", {"\\\\BUREAU\\Brevia"}, "Local", false},
        {"nothing", {"Brevia (USB001)"}, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunDialog(
            c.devices,
            [&](CDialog& dialog) {
            CTreeCtrl& tree = Tree(dialog);
            tree.SelectItem(c.select ? devicetest::FindItem(tree, tree.GetRootItem(), c.select) : nullptr);
            dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
                EXPECT_EQ(dialog.IsEnded(), c.accepted);
            },
            [&](afx::testing::PromptScript& prompts) {
                if (!c.accepted)
                    prompts.MessageBox(IDOK, "Sélectionner un Brevia.");
            });
        EXPECT_EQ(outcome.result, c.accepted ? IDOK : IDCANCEL);
        EXPECT_EQ(outcome.selectedDevice, c.accepted ? CString(c.select) : CString());
        if (!c.accepted) {
            ASSERT_EQ(outcome.shown.size(), 2u);
            EXPECT_EQ(outcome.shown[1].type, UINT(MB_OK));
        }
    }
}

TEST(DeviceSelectDlgTest, DoubleClickOpensTheLocalNodeAndTakesADevice)
{
    const Outcome outcome = RunDialog({"Brevia (USB001)", "Brevia (LPT1)"}, [](CDialog& dialog) {
        CTreeCtrl& tree = Tree(dialog);
        const HTREEITEM local = tree.GetRootItem();
        DoubleClick(tree, local);
        EXPECT_FALSE(dialog.IsEnded());
        EXPECT_EQ(tree.GetItemState(local, TVIS_EXPANDED), UINT(TVIS_EXPANDED));
        DoubleClick(tree, tree.GetNextSiblingItem(tree.GetChildItem(local)));
    });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.selectedDevice, CString("Brevia (LPT1)"));
}

TEST(DeviceSelectDlgTest, CancelAndHelp)
{
    const Outcome outcome = RunDialog(
        {"Brevia (USB001)"},
        [](CDialog& dialog) {
            CTreeCtrl& tree = Tree(dialog);
            tree.SelectItem(tree.GetChildItem(tree.GetRootItem()));
            dialog.GetDlgItem(IDHELP)->SendMessage(BM_CLICK);
            dialog.GetDlgItem(IDCANCEL)->SendMessage(BM_CLICK);
        },
        [](afx::testing::PromptScript& prompts) { prompts.Help(HID_BASE_RESOURCE + IDD_DEVICE_SELECT); });
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(outcome.selectedDevice, CString());
}

} // namespace
