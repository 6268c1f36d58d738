#include "directory/groupentrydlg.h"

#include "device/lib/phonebook.h"
#include "dialogs/dialoghelpers.h"
#include "pages/listpage.h"
#include "res/resource.h"

#include <memory>

namespace {

constexpr int highestGroupNumber = 1999;
// Items of the source chooser.
constexpr int oneTouchSourceItem = 1;

} // namespace

BEGIN_MESSAGE_MAP(CGroupEntryDlg, CDialog)
    ON_NOTIFY(UDN_DELTAPOS, IDC_ENTRY_NUMBER_SPIN, &CGroupEntryDlg::OnNumberSpin)
    ON_EN_CHANGE(IDC_ENTRY_NUMBER, &CGroupEntryDlg::OnNumberChange)
    ON_CBN_SELCHANGE(IDC_ENTRY_SOURCE, &CGroupEntryDlg::OnSourceChange)
    ON_BN_CLICKED(IDC_ADD, &CGroupEntryDlg::OnAddMembers)
    ON_BN_CLICKED(IDC_REMOVE, &CGroupEntryDlg::OnRemoveMembers)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SPEED_DIAL_SOURCE, &CGroupEntryDlg::OnListItemChanged)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_ONE_TOUCH_SOURCE, &CGroupEntryDlg::OnListItemChanged)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_GROUP_MEMBERS, &CGroupEntryDlg::OnListItemChanged)
    ON_BN_CLICKED(IDC_APPLY, &CGroupEntryDlg::OnApply)
    ON_BN_CLICKED(IDHELP, &CGroupEntryDlg::OnHelp)
END_MESSAGE_MAP()

CGroupEntryDlg::CGroupEntryDlg(CPhoneBook* phoneBook, CGroupDial* entry, CListPage* parent)
    : CDialog(IDD_GROUP_ENTRY, parent), phoneBook(phoneBook), entry(entry), parent(parent)
{
}

BOOL CGroupEntryDlg::OnInitDialog()
{
    FillComboBoxes(this);
    CDialog::OnInitDialog();
    numberField.SetLimitText(CGroupDial::digits);
    numberSpin.SetRange(1, highestGroupNumber);
    static_cast<CEdit*>(GetDlgItem(IDC_ENTRY_NAME))->SetLimitText(fields::RuleOf(&CGroupDial::name).maxLength);
    SetDeviceNameFont(this, IDC_ENTRY_NAME);
    return TRUE;
}

void CGroupEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_NUMBER, numberField);
    DDX_Control(pDX, IDC_ENTRY_NUMBER_SPIN, numberSpin);
    DDX_Control(pDX, IDC_ENTRY_SOURCE, sourceChooser);
    DDX_Control(pDX, IDC_SPEED_DIAL_SOURCE, speedDialSource);
    DDX_Control(pDX, IDC_ONE_TOUCH_SOURCE, oneTouchSource);
    DDX_Control(pDX, IDC_GROUP_MEMBERS, memberList);

    int number = entry ? entry->GetId() : NextAvailableId(phoneBook->GetGroupDials(), 0, FALSE);
    CString name = entry ? entry->GetName() : CString();
    DDX_TextTrim(pDX, IDC_ENTRY_NAME, name);
    DDX_Text(pDX, IDC_ENTRY_NUMBER, number);
    DDV_MinMaxInt(pDX, number, 1, highestGroupNumber);

    if (pDX->m_bSaveAndValidate)
        Save(pDX, number, name);
    else
        Load(number);
}

void CGroupEntryDlg::Load(int number)
{
    numberField.SetWindowText(FormatId(number, CGroupDial::digits));
    // Members share the speed-dial columns: a key's type is dropped from its row there.
    SetListColumns(memberList, IDS_SPEED_DIAL_COLUMNS_NETWORK);
    SetListColumns(speedDialSource, IDS_SPEED_DIAL_COLUMNS_NETWORK);
    SetListColumns(oneTouchSource, IDS_ONE_TOUCH_COLUMNS_NETWORK);
    const auto isMember = [this](CObject* object) { return entry && entry->members.Find(object) != nullptr; };

    CObList& speedDials = phoneBook->GetSpeedDials();
    for (POSITION pos = speedDials.GetHeadPosition(); pos;) {
        CObject* speedDial = speedDials.GetNext(pos);
        InsertEntryItem(isMember(speedDial) ? memberList : speedDialSource, speedDial, FALSE);
    }
    // Only a key that dials a record of its own can be a member: one that stands for a speed
    // dial or a group is not offered, and leaves the group at its next save.
    CObList& keys = phoneBook->GetOneTouches();
    for (POSITION pos = keys.GetHeadPosition(); pos;) {
        auto* key = static_cast<COneTouch*>(keys.GetNext(pos));
        CObject* ref = key->GetRef();
        if (DYNAMIC_DOWNCAST(CGroupDial, ref) || DYNAMIC_DOWNCAST(CSpeedDial, ref))
            continue;
        InsertEntryItem(isMember(key) ? memberList : oneTouchSource, key, FALSE);
    }

    sourceChooser.SetCurSel(0);
    OnSourceChange();
    ShowUsage(this, parent);
    CheckNumber();
}

void CGroupEntryDlg::Save(CDataExchange* pDX, int number, const CString& name)
{
    // A new number never renumbers a group: it makes a new one and leaves the old as it was.
    // A group made here is the dialog's own until the phone book takes it, and the dialog
    // goes on with the group it had when the save fails.
    CGroupDial* group = entry && entry->GetId() == number ? entry : nullptr;
    std::unique_ptr<CGroupDial> made;
    if (!group) {
        int capacity = 0;
        if (parent->GetUsage(capacity) < capacity) {
            made = std::make_unique<CGroupDial>(number, name);
            group = made.get();
        }
    }
    if (!group) {
        AfxMessageBox(IDP_MAX_ENTRIES_REACHED, MB_OK | MB_ICONERROR);
        pDX->Fail();
    }
    if (!phoneBook->Add(group)) {
        AfxMessageBox(IDP_GROUP_DIAL_EXISTS, MB_OK | MB_ICONERROR);
        pDX->Fail();
    }
    static_cast<void>(made.release());   // the phone book owns it now
    entry = group;
    entry->name = name;

    entry->members.RemoveAll();
    for (int item = 0; item < memberList.GetItemCount(); ++item)
        entry->members.AddTail(reinterpret_cast<CObject*>(memberList.GetItemData(item)));

    parent->RefreshEntry(entry);
    ShowUsage(this, parent);
    CheckNumber();
}

void CGroupEntryDlg::CheckNumber()
{
    if (!numberField.m_hWnd || !memberList.m_hWnd)
        return;
    CString text;
    numberField.GetWindowText(text);
    const CGroupDial* holder = phoneBook->GetGroupDial(static_cast<const QString&>(text).toInt());
    const BOOL enable = (holder == nullptr || holder == entry) && memberList.GetItemCount() > 0;
    GetDlgItem(IDOK)->EnableWindow(enable);
    GetDlgItem(IDC_APPLY)->EnableWindow(enable);
}

CListCtrl& CGroupEntryDlg::ShownSource()
{
    return sourceChooser.GetCurSel() == oneTouchSourceItem ? oneTouchSource : speedDialSource;
}

void CGroupEntryDlg::UpdateArrowButtons()
{
    GetDlgItem(IDC_REMOVE)->EnableWindow(memberList.GetSelectedCount() > 0);
    GetDlgItem(IDC_ADD)->EnableWindow(ShownSource().GetSelectedCount() > 0);
}

void CGroupEntryDlg::OnNumberSpin(NMHDR* notify, LRESULT* result)
{
    const auto* step = reinterpret_cast<NMUPDOWN*>(notify);
    StepEntryNumber(&numberField, &numberSpin, phoneBook->GetGroupDials(), entry, step->iDelta);
    *result = 1;
}

void CGroupEntryDlg::OnNumberChange()
{
    CheckNumber();
}

void CGroupEntryDlg::OnSourceChange()
{
    const BOOL oneTouches = sourceChooser.GetCurSel() == oneTouchSourceItem;
    ShowControlRun(this, IDC_ONE_TOUCH_SOURCE, 1, 0, oneTouches);
    ShowControlRun(this, IDC_SPEED_DIAL_SOURCE, 1, 0, !oneTouches);
    UpdateArrowButtons();
}

void CGroupEntryDlg::OnAddMembers()
{
    CListCtrl& source = ShownSource();
    int index = -1;
    while (CObject* object = GetFirstSelectedData(source, &index)) {
        source.DeleteItem(index);
        InsertEntryItem(memberList, object, TRUE);
    }
    // The members list changed: so may OK and Apply.
    CheckNumber();
    UpdateArrowButtons();
}

void CGroupEntryDlg::OnRemoveMembers()
{
    int index = -1;
    while (CObject* object = GetFirstSelectedData(memberList, &index)) {
        memberList.DeleteItem(index);
        InsertEntryItem(DYNAMIC_DOWNCAST(COneTouch, object) ? oneTouchSource : speedDialSource, object, TRUE);
    }
    CheckNumber();
    UpdateArrowButtons();
}

void CGroupEntryDlg::OnListItemChanged(NMHDR*, LRESULT* result)
{
    CheckNumber();
    UpdateArrowButtons();
    *result = 0;
}

void CGroupEntryDlg::OnApply()
{
    UpdateData(TRUE);
}

void CGroupEntryDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_GROUP_ENTRY, afx::HELP_CONTEXT);
}
