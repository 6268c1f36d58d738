#include "pages/destinationkinds.h"

#include "device/lib/phonebook.h"
#include "dialogs/dialoghelpers.h"
#include "res/resource.h"

namespace {

constexpr int kEmailKind = 1;

constexpr DestinationKind kDestinationKinds[] = {
    {0, IDS_FAX_NUMBER, 0, 0},
    {kEmailKind, IDS_EMAIL_ADDRESS, 0, 0},
    {2, IDS_SPEED_DIAL, 1, CSpeedDial::digits},
    {3, IDS_ONE_TOUCH, 2, COneTouch::digits},
    {4, IDS_GROUP_DIAL, 3, CGroupDial::digits},
};

} // namespace

const DestinationKind* FindDestinationKind(int kind)
{
    for (const DestinationKind& k : kDestinationKinds) {
        if (k.kind == kind)
            return &k;
    }
    return nullptr;
}

void FillDestinationKinds(CComboBox& list, int lastKind, const CPhoneBook& phoneBook)
{
    list.ResetContent();
    for (const DestinationKind& k : kDestinationKinds) {
        if (k.kind > lastKind || (k.kind == kEmailKind && !IsNetworkMode()))
            continue;
        if (k.directoryKind != 0 && phoneBook.GetCount(k.directoryKind) == 0)
            continue;
        AddItemWithData(list, k.textId, k.kind);
    }
}

void AddItemWithData(CComboBox& list, UINT textId, int data)
{
    CString text;
    text.LoadString(textId);
    list.SetItemData(list.AddString(text), DWORD_PTR(data));
}

int SelectedItemData(CComboBox& list)
{
    const int selected = list.GetCurSel();
    return selected < 0 ? -1 : int(list.GetItemData(selected));
}

int FindItemData(CComboBox& list, int data)
{
    for (int item = 0; item < list.GetCount(); ++item) {
        if (int(list.GetItemData(item)) == data)
            return item;
    }
    return CB_ERR;
}
