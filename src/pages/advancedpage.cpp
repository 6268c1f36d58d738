#include "pages/advancedpage.h"

#include "device/lib/idobject.h"
#include "pages/destinationkinds.h"
#include "pages/selectentrydlg.h"
#include "res/resource.h"

namespace {

// The edits of text fields, with their fields.
struct TextField {
    int control;
    CString CAdvancedSettings::*field;
};
constexpr TextField kTextFields[] = {
    {IDC_REMOTE_ACCESS_PASSWORD, &CAdvancedSettings::remoteAccessPassword},
    {IDC_TONER_PART_NUMBER, &CAdvancedSettings::tonerPartNumber},
    {IDC_DRUM_PART_NUMBER, &CAdvancedSettings::drumPartNumber},
    {IDC_CUSTOMER_NUMBER, &CAdvancedSettings::customerNumber},
    {IDC_CONTACT_NAME, &CAdvancedSettings::contactName},
    {IDC_RECIPIENT, &CAdvancedSettings::recipient},
    {IDC_CONTACT_PHONE, &CAdvancedSettings::contactPhone},
    {IDC_ADDRESS, &CAdvancedSettings::address},
};
constexpr int kDeviceNameFields[] = {IDC_CONTACT_NAME, IDC_RECIPIENT, IDC_ADDRESS};

// The edit of each destination type, by type: 0 fax number, 1 e-mail address, 2 speed dial,
// 3 one-touch key.
constexpr int kDestinationFields[] = {IDC_ORDER_FAX_NUMBER, IDC_ORDER_EMAIL_ADDRESS, IDC_ORDER_SPEED_DIAL,
                                      IDC_ORDER_ONE_TOUCH};
constexpr int kFaxNumberType = 0;
constexpr int kLastType = 3;

BOOL IsDestinationType(int type)
{
    return type >= 0 && type <= kLastType;
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
    const int type = advanced->orderDestinationType;
    if (type == kFaxNumberType)
        DDX_FaxNumber(pDX, IDC_ORDER_FAX_NUMBER, faxNumberEdit, advanced->orderDestination);
    else if (IsDestinationType(type))
        DDX_TextTrim(pDX, kDestinationFields[type], advanced->orderDestination);
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
    // Only a type the list offers shows its edit: a stored type it lacks shows none.
    const int offeredType = SelectedItemData(destinationTypeCombo);
    for (int shown = 0; shown <= kLastType; ++shown)
        ShowControlRun(this, kDestinationFields[shown], 1, 0, shown == offeredType);
    // Choosing needs entries of the kind: the list offers the type only when there are some.
    const DestinationKind* offered = FindDestinationKind(offeredType);
    ShowControlRun(this, IDC_CHOOSE_ORDER_ENTRY, 0, 0, offered && offered->directoryKind != 0);
}

void CAdvancedPage::ExchangeDestinationType(CDataExchange* pDX)
{
    int index = CB_ERR;
    if (!pDX->m_bSaveAndValidate) {
        FillDestinationKinds(destinationTypeCombo, kLastType, *phoneBook);
        index = FindItemData(destinationTypeCombo, advanced->orderDestinationType);
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
    for (const TextField& text : kTextFields)
        GetDlgItem(text.control)->SendMessage(EM_LIMITTEXT, WPARAM(fields::RuleOf(text.field).maxLength));
    // The address edit holds the destination while the order goes by e-mail.
    CAdvancedSettings byEmail;
    byEmail.orderDestinationType = CAdvancedSettings::orderByEmail;
    GetDlgItem(IDC_ORDER_EMAIL_ADDRESS)
        ->SendMessage(EM_LIMITTEXT, WPARAM(fields::RuleOf(&CAdvancedSettings::orderDestination, byEmail).maxLength));
    tonerQuantityEdit.SetRange(fields::RuleOf(&CAdvancedSettings::tonerQuantity));
    drumQuantityEdit.SetRange(fields::RuleOf(&CAdvancedSettings::drumQuantity));
    for (int field : kDeviceNameFields)
        SetDeviceNameFont(this, field);
    return TRUE;
}

void CAdvancedPage::OnChooseEntry()
{
    const DestinationKind* type = FindDestinationKind(SelectedItemData(destinationTypeCombo));
    if (!type || type->directoryKind == 0)
        return;
    const int current = static_cast<const QString&>(advanced->orderDestination).toInt();
    CSelectEntryDlg dialog(phoneBook, type->directoryKind, current, this);
    if (dialog.DoModal() != IDOK)
        return;
    SetDlgItemText(kDestinationFields[type->kind], FormatId(dialog.number, type->digits));
    OnSettingChange();
}
