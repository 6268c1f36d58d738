#include "pages/advancedpage.h"

#include "device/lib/idobject.h"
#include "pages/selectentrydlg.h"
#include "res/resource.h"

namespace {

constexpr unsigned kQuantityMinimum = 1;
constexpr unsigned kQuantityMaximum = 99;

struct TextLimit {
    int control;
    int length;
};
constexpr TextLimit kTextLimits[] = {
    {IDC_ORDER_EMAIL_ADDRESS, 256}, {IDC_REMOTE_ACCESS_PASSWORD, 20}, {IDC_TONER_PART_NUMBER, 20},
    {IDC_DRUM_PART_NUMBER, 20},     {IDC_CUSTOMER_NUMBER, 20},        {IDC_CONTACT_NAME, 40},
    {IDC_RECIPIENT, 40},            {IDC_CONTACT_PHONE, 32},          {IDC_ADDRESS, 64},
};
constexpr int kDeviceNameFields[] = {IDC_CONTACT_NAME, IDC_RECIPIENT, IDC_ADDRESS};

// The destination types in list order: the item's text, the edit that holds the destination,
// and for a directory entry its kind and the digits its number is shown with.
struct DestinationType {
    int type;
    UINT textId;
    int field;
    int directoryKind;   // 0: not a directory entry
    int digits;
};
constexpr int kFaxNumberType = 0;
constexpr int kEmailType = 1;
constexpr DestinationType kDestinationTypes[] = {
    {kFaxNumberType, IDS_FAX_NUMBER, IDC_ORDER_FAX_NUMBER, 0, 0},
    {kEmailType, IDS_EMAIL_ADDRESS, IDC_ORDER_EMAIL_ADDRESS, 0, 0},
    {2, IDS_SPEED_DIAL, IDC_ORDER_SPEED_DIAL, 1, CSpeedDial::digits},
    {3, IDS_ONE_TOUCH, IDC_ORDER_ONE_TOUCH, 2, COneTouch::digits},
};

const DestinationType* FindDestinationType(int type)
{
    for (const DestinationType& t : kDestinationTypes) {
        if (t.type == type)
            return &t;
    }
    return nullptr;
}

// The type of the list's selected item; none when nothing is selected.
const DestinationType* SelectedType(CComboBox& list)
{
    const int selected = list.GetCurSel();
    return selected < 0 ? nullptr : FindDestinationType(int(list.GetItemData(selected)));
}

// Controls of the supplies order after the label of the type list, down to the address edit.
constexpr int kSupplyOrderRunAfter = 31;
// The download label and list, the warning, the password label and edit.
constexpr int kRemoteAccessRunAfter = 3;
// A part number's label and edit, the quantity's label, edit and spin.
constexpr int kPartRunAfter = 3;

constexpr int kDownloadAlways = 0;

} // namespace

IMPLEMENT_DYNAMIC(CAdvancedPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CAdvancedPage, CSettingsPage)
    ON_BN_CLICKED(IDC_REMOTE_ACCESS, &CAdvancedPage::OnSettingChange)
    ON_BN_CLICKED(IDC_AUTO_SUPPLY_ORDER, &CAdvancedPage::OnSettingChange)
    ON_BN_CLICKED(IDC_ORDER_TONER, &CAdvancedPage::OnSettingChange)
    ON_BN_CLICKED(IDC_ORDER_DRUM, &CAdvancedPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_DOWNLOAD_MODE, &CAdvancedPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_ORDER_DESTINATION_TYPE, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_ORDER_FAX_NUMBER, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_ORDER_EMAIL_ADDRESS, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_REMOTE_ACCESS_PASSWORD, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_TONER_PART_NUMBER, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_DRUM_PART_NUMBER, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_CUSTOMER_NUMBER, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_CONTACT_NAME, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_CONTACT_PHONE, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_RECIPIENT, &CAdvancedPage::OnSettingChange)
    ON_EN_CHANGE(IDC_ADDRESS, &CAdvancedPage::OnSettingChange)
    ON_BN_CLICKED(IDC_CHOOSE_ORDER_ENTRY, &CAdvancedPage::OnChooseEntry)
END_MESSAGE_MAP()

CAdvancedPage::CAdvancedPage(CAdvancedSettings* advanced, CPhoneBook* phoneBook)
    : CSettingsPage(IDD_ADVANCED_PAGE, *advanced, &destinationTypeCombo), advanced(advanced), phoneBook(phoneBook)
{
}

void CAdvancedPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ORDER_DESTINATION_TYPE, destinationTypeCombo);
    DDX_Check(pDX, IDC_REMOTE_ACCESS, advanced->remoteAccess);
    DDX_CBIndex(pDX, IDC_DOWNLOAD_MODE, advanced->downloadMode);
    DDX_Text(pDX, IDC_REMOTE_ACCESS_PASSWORD, advanced->remoteAccessPassword);
    DDX_Check(pDX, IDC_AUTO_SUPPLY_ORDER, advanced->autoSupplyOrder);
    ExchangeDestinationType(pDX);
    // The destination goes with the edit of the type now current: a new type takes the text
    // its edit shows.
    const DestinationType* type = FindDestinationType(advanced->orderDestinationType);
    if (type && type->type == kFaxNumberType)
        DDX_FaxNumber(pDX, IDC_ORDER_FAX_NUMBER, faxNumberEdit, advanced->orderDestination);
    else if (type)
        DDX_TextTrim(pDX, type->field, advanced->orderDestination);
    DDX_Check(pDX, IDC_ORDER_TONER, advanced->orderToner);
    DDX_TextTrim(pDX, IDC_TONER_PART_NUMBER, advanced->tonerPartNumber);
    DDX_Text(pDX, IDC_TONER_QUANTITY, advanced->tonerQuantity);
    DDX_Check(pDX, IDC_ORDER_DRUM, advanced->orderDrum);
    DDX_TextTrim(pDX, IDC_DRUM_PART_NUMBER, advanced->drumPartNumber);
    DDX_Text(pDX, IDC_DRUM_QUANTITY, advanced->drumQuantity);
    DDX_TextTrim(pDX, IDC_CUSTOMER_NUMBER, advanced->customerNumber);
    DDX_TextTrim(pDX, IDC_CONTACT_NAME, advanced->contactName);
    DDX_TextTrim(pDX, IDC_CONTACT_PHONE, advanced->contactPhone);
    DDX_TextTrim(pDX, IDC_RECIPIENT, advanced->recipient);
    DDX_TextTrim(pDX, IDC_ADDRESS, advanced->address);

    const BOOL ordering = advanced->autoSupplyOrder;
    EnableControlRun(this, IDC_DOWNLOAD_MODE, 1, kRemoteAccessRunAfter, advanced->remoteAccess);
    EnableControlRun(this, IDC_ORDER_DESTINATION_TYPE, 1, kSupplyOrderRunAfter, ordering);
    EnableControlRun(this, IDC_TONER_PART_NUMBER, 1, kPartRunAfter, ordering && advanced->orderToner);
    EnableControlRun(this, IDC_DRUM_PART_NUMBER, 1, kPartRunAfter, ordering && advanced->orderDrum);
    ShowControlRun(this, IDC_REMOTE_ACCESS_PASSWORD, 1, 0, FALSE);
    // A stored type the list lacks leaves it without a selection: it then stays open even with
    // one item, so that a destination the apply asks for can always be given.
    const BOOL choice = destinationTypeCombo.GetCount() > 1 || destinationTypeCombo.GetCurSel() < 0;
    EnableControlRun(this, IDC_ORDER_DESTINATION_TYPE, 0, 0, ordering && choice);
    ShowControlRun(this, IDC_STORED_JOBS_WARNING, 0, 0,
                   advanced->remoteAccess && advanced->downloadMode == kDownloadAlways);
    for (const DestinationType& t : kDestinationTypes)
        ShowControlRun(this, t.field, 1, 0, type == &t);
    // Choosing needs entries of the kind: the list offers the type only when there are some.
    const DestinationType* offered = SelectedType(destinationTypeCombo);
    ShowControlRun(this, IDC_CHOOSE_ORDER_ENTRY, 0, 0, offered && offered->directoryKind != 0);
}

void CAdvancedPage::ExchangeDestinationType(CDataExchange* pDX)
{
    int index = CB_ERR;
    if (!pDX->m_bSaveAndValidate) {
        destinationTypeCombo.ResetContent();
        for (const DestinationType& t : kDestinationTypes) {
            if (t.type == kEmailType && !IsNetworkMode())
                continue;
            if (t.directoryKind != 0 && phoneBook->GetCount(t.directoryKind) == 0)
                continue;
            CString text;
            text.LoadString(t.textId);
            const int added = destinationTypeCombo.AddString(text);
            destinationTypeCombo.SetItemData(added, DWORD_PTR(t.type));
            if (t.type == advanced->orderDestinationType)
                index = added;
        }
    }
    DDX_CBIndex(pDX, IDC_ORDER_DESTINATION_TYPE, index);
    if (pDX->m_bSaveAndValidate && index != CB_ERR)
        advanced->orderDestinationType = int(destinationTypeCombo.GetItemData(index));
}

BOOL CAdvancedPage::OnInitDialog()
{
    FillComboBoxes(this);
    faxNumberEdit.SubclassDlgItem(IDC_ORDER_FAX_NUMBER, this);
    tonerQuantityEdit.SubclassDlgItem(IDC_TONER_QUANTITY, this);
    drumQuantityEdit.SubclassDlgItem(IDC_DRUM_QUANTITY, this);
    CSettingsPage::OnInitDialog();
    faxNumberEdit.UpdateLimitText();
    for (const TextLimit& limit : kTextLimits)
        GetDlgItem(limit.control)->SendMessage(EM_LIMITTEXT, WPARAM(limit.length));
    tonerQuantityEdit.SetRange(kQuantityMinimum, kQuantityMaximum);
    drumQuantityEdit.SetRange(kQuantityMinimum, kQuantityMaximum);
    for (int field : kDeviceNameFields)
        SetDeviceNameFont(this, field);
    return TRUE;
}

void CAdvancedPage::OnChooseEntry()
{
    const DestinationType* type = SelectedType(destinationTypeCombo);
    if (!type || type->directoryKind == 0)
        return;
    const int current = static_cast<const QString&>(advanced->orderDestination).toInt();
    CSelectEntryDlg dialog(phoneBook, type->directoryKind, current, this);
    if (dialog.DoModal() != IDOK)
        return;
    SetDlgItemText(type->field, FormatId(dialog.number, type->digits));
    OnSettingChange();
}
