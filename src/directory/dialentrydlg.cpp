#include "directory/dialentrydlg.h"

#include "device/lib/dialstring.h"
#include "device/lib/phonebook.h"
#include "dialogs/billingcodedlg.h"
#include "dialogs/dialoghelpers.h"
#include "pages/listpage.h"
#include "res/resource.h"

namespace {

constexpr DWORD kOneTouchHelp = 0x200F0;
constexpr DWORD kSpeedDialHelp = 0x200F1;
constexpr int kHighestSpeedDial = 999;

// Moves the child by dy pixels, its bottom by dy + dBottom.
void Shift(CWnd* dialog, CWnd* window, int dy, int dBottom)
{
    if (!window)
        return;
    CRect rect;
    window->GetWindowRect(&rect);
    dialog->ScreenToClient(&rect);
    window->MoveWindow(rect.left, rect.top + dy, rect.Width(), rect.Height() + dBottom);
}

int ScreenTop(CWnd* window)
{
    CRect rect;
    window->GetWindowRect(&rect);
    return rect.top;
}

CWnd* Previous(CWnd* window)
{
    return window ? window->GetWindow(GW_HWNDPREV) : nullptr;
}

// The part of a dial string before its first "+" or "$": what is dialled before a country
// prefix or a billing code.
CString DialledPart(const CString& text)
{
    int end = text.GetLength();
    for (TCHAR mark : {u'+', u'$'}) {
        const int at = text.Find(mark);
        if (at >= 0 && at < end)
            end = at;
    }
    return text.Left(end);
}

} // namespace

BEGIN_MESSAGE_MAP(CDialEntryDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_ONE_TOUCH_TYPE, &CDialEntryDlg::OnTypeChange)
    ON_EN_CHANGE(IDC_ENTRY_NUMBER, &CDialEntryDlg::OnNumberChange)
    ON_EN_CHANGE(IDC_FAX_NUMBER, &CDialEntryDlg::OnNumberFieldChange)
    ON_EN_CHANGE(IDC_SECOND_NUMBER, &CDialEntryDlg::OnNumberFieldChange)
    ON_CONTROL(EN_SETFOCUS, IDC_FAX_NUMBER, &CDialEntryDlg::OnFaxNumberFocus)
    ON_CONTROL(EN_SETFOCUS, IDC_SECOND_NUMBER, &CDialEntryDlg::OnSecondNumberFocus)
    ON_EN_KILLFOCUS(IDC_FAX_NUMBER, &CDialEntryDlg::OnNumberFieldChange)
    ON_EN_KILLFOCUS(IDC_SECOND_NUMBER, &CDialEntryDlg::OnNumberFieldChange)
    ON_BN_CLICKED(IDC_DELAYED_DIAL, &CDialEntryDlg::OnDelayedDial)
    ON_BN_CLICKED(IDC_ITU_MAILBOX, &CDialEntryDlg::OnItuMailbox)
    ON_EN_CHANGE(IDC_EMAIL_ADDRESS, &CDialEntryDlg::OnEmailChange)
    ON_BN_CLICKED(IDC_ADD_BILLING_CODE, &CDialEntryDlg::OnAddBillingCode)
    ON_NOTIFY(UDN_DELTAPOS, IDC_ENTRY_NUMBER_SPIN, &CDialEntryDlg::OnSpin)
    ON_BN_CLICKED(IDC_APPLY, &CDialEntryDlg::OnApply)
    ON_BN_CLICKED(IDHELP, &CDialEntryDlg::OnHelp)
END_MESSAGE_MAP()

CDialEntryDlg::CDialEntryDlg(CPhoneBook* phoneBook, CObject* entry, BOOL oneTouch, CListPage* parent)
    : CDialog(IDD_DIAL_ENTRY, parent), phoneBook(phoneBook), oneTouch(oneTouch), parent(parent), entry(entry)
{
}

CDialEntryDlg::~CDialEntryDlg() = default;

CObList& CDialEntryDlg::EntryList() const
{
    return oneTouch ? phoneBook->GetOneTouches() : phoneBook->GetSpeedDials();
}

int CDialEntryDlg::HighestNumber() const
{
    return oneTouch ? COneTouch::max_count : kHighestSpeedDial;
}

int CDialEntryDlg::EntryType() const
{
    const auto* key = oneTouch ? static_cast<COneTouch*>(entry) : nullptr;
    if (!key)
        return 0;
    if (DYNAMIC_DOWNCAST(CGroupDial, key->GetRef()))
        return 2;
    if (DYNAMIC_DOWNCAST(CSpeedDial, key->GetRef()))
        return 1;
    return 0;
}

int CDialEntryDlg::ChosenType() const
{
    const int selected = typeList.GetCurSel();
    return selected < 0 ? 0 : int(typeList.GetItemData(selected));
}

BOOL CDialEntryDlg::ChosenIndividual() const
{
    return !oneTouch || ChosenType() == 0;
}

CDialingData* CDialEntryDlg::DialingData() const
{
    if (!entry)
        return nullptr;
    if (!oneTouch)
        return static_cast<CSpeedDial*>(entry)->GetDialingData();
    return static_cast<COneTouch*>(entry)->GetDialingData();
}

// ---- Initialisation ----

BOOL CDialEntryDlg::OnInitDialog()
{
    FillComboBoxes(this);
    faxNumberEdit.SubclassDlgItem(IDC_FAX_NUMBER, this);
    secondNumberEdit.SubclassDlgItem(IDC_SECOND_NUMBER, this);
    CDialog::OnInitDialog();

    numberEdit.LimitText(oneTouch ? COneTouch::digits : CSpeedDial::digits);
    numberSpin.SetRange(1, short(HighestNumber()));
    faxNumberEdit.UpdateLimitText();
    secondNumberEdit.UpdateLimitText();
    const std::pair<int, CString CDialingData::*> texts[] = {
        {IDC_DIAL_NAME, &CDialingData::name},
        {IDC_SUB_ADDRESS, &CDialingData::subAddress},
        {IDC_POLLING_SUB_ADDRESS, &CDialingData::pollingSubAddress},
        {IDC_ITU_MAILBOX_PASSWORD, &CDialingData::mailboxPassword},
        {IDC_EMAIL_ADDRESS, &CDialingData::emailAddress},
    };
    for (const auto& [id, field] : texts)
        static_cast<CEdit*>(GetDlgItem(id))->LimitText(fields::RuleOf(field).maxLength);
    delayTime.SetFormat("HH:mm");
    FitToMode();
    GetDlgItem(IDC_ADD_BILLING_CODE)->EnableWindow(FALSE);
    SetDeviceNameFont(this, IDC_DIAL_NAME);
    return TRUE;
}

// A speed dial has no type row: its name row takes that place. Outside network mode the
// e-mail rows are cut out and what stands below them moves up.
void CDialEntryDlg::FitToMode()
{
    if (!oneTouch) {
        CString title;
        title.LoadString(IDS_SPEED_DIAL_ENTRY_TITLE);
        SetWindowText(title);
        CWnd* name = GetDlgItem(IDC_DIAL_NAME);
        const int dy = (ScreenTop(&typeList) + ScreenTop(name->GetWindow(GW_HWNDNEXT))) / 2 - ScreenTop(name);
        Shift(this, Previous(name), dy, 0);
        Shift(this, name, dy, 0);
    }
    if (IsNetworkMode())
        return;
    const int d = ScreenTop(GetDlgItem(IDC_DIAL_LINE)) - ScreenTop(GetDlgItem(IDC_EMAIL_ADDRESS)) - 7;
    Shift(this, Previous(Previous(GetDlgItem(IDC_FAX_NUMBER))), 0, -d);
    Shift(this, &speedDialList, 0, -d);
    Shift(this, &groupDialList, 0, -d);
    CWnd* window = Previous(Previous(GetDlgItem(IDC_DIAL_LINE)));
    for (int count = 0; window && count < 22; ++count, window = window->GetWindow(GW_HWNDNEXT))
        Shift(this, window, -d, 0);
    CRect rect;
    GetWindowRect(&rect);
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height() - d);
}

// ---- Data exchange ----

void CDialEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_NUMBER, numberEdit);
    DDX_Control(pDX, IDC_ENTRY_NUMBER_SPIN, numberSpin);
    DDX_Control(pDX, IDC_ONE_TOUCH_TYPE, typeList);
    DDX_Control(pDX, IDC_SPEED_DIAL_LIST, speedDialList);
    DDX_Control(pDX, IDC_GROUP_DIAL_LIST, groupDialList);
    DDX_Control(pDX, IDC_DELAY_TIME, delayTime);

    ShowControlRun(this, IDC_SPEED_DIAL_NUMBER_LABEL, 0, 0, !oneTouch);
    ShowControlRun(this, IDC_ONE_TOUCH_NUMBER_LABEL, 0, 0, oneTouch);
    CString label;
    GetDlgItemText(IDC_ONE_TOUCH_NUMBER_LABEL, label);
    CString highest;
    highest.Format("%d", COneTouch::max_count);
    label.Replace(CString("38"), highest);
    SetDlgItemText(IDC_ONE_TOUCH_NUMBER_LABEL, label);

    int number = entry ? static_cast<CIdObject*>(entry)->GetId() : NextAvailableId(EntryList(), 0, FALSE);
    DDX_Text(pDX, IDC_ENTRY_NUMBER, number);
    DDV_MinMaxInt(pDX, number, 1, HighestNumber());

    if (pDX->m_bSaveAndValidate)
        Save(pDX, number);
    else
        Load(pDX, number);
    CommonEnd();
}

void CDialEntryDlg::Load(CDataExchange* pDX, int number)
{
    for (int id : {IDC_DIAL_LINE, IDC_MAX_SPEED, IDC_RECIPIENT_RESOLUTION, IDC_RECIPIENT_COMPRESSION})
        static_cast<CComboBox*>(GetDlgItem(id))->SetCurSel(0);
    numberEdit.SetWindowText(FormatId(number, oneTouch ? COneTouch::digits : CSpeedDial::digits));

    // A new entry, or a key standing for another one, shows a blank record: a key retyped to
    // "Individuel" then starts from the defaults, its delay at 00:00.
    CDialingData blank;
    CDialingData* data = DialingData();
    ExchangeDialingData(pDX, data ? *data : blank);

    if (oneTouch) {
        CObject* ref = entry ? static_cast<COneTouch*>(entry)->GetRef() : nullptr;
        FillEntryList(speedDialList, IDS_SPEED_DIAL_COLUMNS_NETWORK, phoneBook->GetSpeedDials(), ref);
        FillEntryList(groupDialList, IDS_GROUP_DIAL_COLUMNS, phoneBook->GetGroupDials(), ref);
        for (CListCtrl* list : {&speedDialList, &groupDialList}) {
            if (list->GetItemCount() > 0 && list->GetSelectedCount() == 0)
                list->SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
}

void CDialEntryDlg::Refuse(CDataExchange* pDX, int controlId, UINT messageId)
{
    AfxMessageBox(messageId, MB_OK | MB_ICONERROR);
    pDX->PrepareCtrl(controlId);
    pDX->Fail();
}

void CDialEntryDlg::Save(CDataExchange* pDX, int number)
{
    // A new number never renumbers the entry: the dialog's data go to a new entry under it.
    if (entry && static_cast<CIdObject*>(entry)->GetId() != number) {
        entry = nullptr;
        pending.reset();
    }

    const int type = oneTouch ? ChosenType() : 0;
    CObject* speedDial = GetFirstSelectedData(speedDialList);
    CObject* group = GetFirstSelectedData(groupDialList);
    if (oneTouch && type == 1 && !speedDial)
        Refuse(pDX, IDC_SPEED_DIAL_LIST, IDP_SELECT_SPEED_DIAL);
    if (oneTouch && type == 2 && !group)
        Refuse(pDX, IDC_GROUP_DIAL_LIST, IDP_SELECT_GROUP_DIAL);

    const BOOL individual = type == 0;
    CString faxNumber;
    DDX_FaxNumber(pDX, IDC_FAX_NUMBER, faxNumberEdit, faxNumber);
    if (individual && DialledPart(faxNumber).IsEmpty())
        Refuse(pDX, IDC_FAX_NUMBER, IDP_FAX_NUMBER_BLANK);
    CString secondNumber;
    DDX_FaxNumber(pDX, IDC_SECOND_NUMBER, secondNumberEdit, secondNumber);
    if (individual && !secondNumber.IsEmpty() && DialledPart(secondNumber).IsEmpty())
        Refuse(pDX, IDC_SECOND_NUMBER, IDP_SECOND_NUMBER_BLANK);

    if (!entry) {
        int capacity = 0;
        if (parent->GetUsage(capacity) < capacity) {
            if (oneTouch)
                pending = std::make_unique<COneTouch>(number, nullptr);
            else
                pending = std::make_unique<CSpeedDial>(number);
            entry = pending.get();
        }
    }
    if (!entry)
        Refuse(pDX, IDC_ENTRY_NUMBER, IDP_MAX_ENTRIES_REACHED);

    // The phone book owns the entry once it took it; until then the dialog does.
    auto* numbered = static_cast<CIdObject*>(entry);
    const int previous = numbered->GetId();
    numbered->SetId(number);
    const BOOL added = oneTouch ? phoneBook->Add(static_cast<COneTouch*>(entry))
                                : phoneBook->Add(static_cast<CSpeedDial*>(entry));
    if (!added) {
        numbered->SetId(previous);
        Refuse(pDX, IDC_ENTRY_NUMBER, oneTouch ? IDP_ONE_TOUCH_EXISTS : IDP_SPEED_DIAL_EXISTS);
    }
    if (pending.get() == numbered)
        static_cast<void>(pending.release());

    if (oneTouch) {
        auto* key = static_cast<COneTouch*>(entry);
        if (CDialingData* own = key->GetDialingData())
            phoneBook->Delete(own);
        if (type == 0) {
            key->SetRef(phoneBook->NewDialingData());
        } else {
            key->SetRef(type == 1 ? speedDial : group);
            phoneBook->RemoveFromGroups(key);
        }
    }
    if (CDialingData* data = DialingData())
        ExchangeDialingData(pDX, *data);
    parent->RefreshEntry(entry);
}

void CDialEntryDlg::ExchangeDialingData(CDataExchange* pDX, CDialingData& data)
{
    DDX_FaxNumber(pDX, IDC_FAX_NUMBER, faxNumberEdit, data.faxNumber);
    DDX_FaxNumber(pDX, IDC_SECOND_NUMBER, secondNumberEdit, data.secondNumber);
    DDX_TextTrim(pDX, IDC_DIAL_NAME, data.name);
    DDX_CBIndex(pDX, IDC_DIAL_LINE, data.dialLine);
    DDX_CBIndex(pDX, IDC_MAX_SPEED, data.maxSpeed);
    DDX_Check(pDX, IDC_PRINT_CONFIRMATION, data.printConfirmation);
    DDX_Check(pDX, IDC_MONITOR_TONE, data.monitorTone);
    DDX_Check(pDX, IDC_DELAYED_DIAL, data.delayedDial);
    CTime time(1970, 1, 3, data.delayHour, data.delayMinute, 0);
    DDX_DateTimeCtrl(pDX, IDC_DELAY_TIME, time);
    data.delayHour = time.GetHour();
    data.delayMinute = time.GetMinute();
    DDX_Check(pDX, IDC_ITU_MAILBOX, data.ituMailbox);
    DDX_Text(pDX, IDC_SUB_ADDRESS, data.subAddress);
    DDX_Text(pDX, IDC_POLLING_SUB_ADDRESS, data.pollingSubAddress);
    DDX_Text(pDX, IDC_ITU_MAILBOX_PASSWORD, data.mailboxPassword);
    DDX_TextTrim(pDX, IDC_EMAIL_ADDRESS, data.emailAddress);
    DDX_CBIndex(pDX, IDC_RECIPIENT_RESOLUTION, data.resolution);
    DDX_CBIndex(pDX, IDC_RECIPIENT_COMPRESSION, data.compression);
}

void CDialEntryDlg::CommonEnd()
{
    FillTypeList();
    OnDelayedDial();
    OnItuMailbox();
    ApplyResolutionRule();
    ApplyShowRules();
    ShowControlRun(this, IDC_ONE_TOUCH_TYPE, 1, 0, oneTouch);
    ShowControlRun(this, IDC_DIAL_LINE, 1, 0, FALSE);
    ShowUsage(this, parent);
}

void CDialEntryDlg::FillTypeList()
{
    typeList.ResetContent();
    const struct {
        int type;
        UINT textId;
        BOOL offered;
    } types[] = {
        {0, IDS_INDIVIDUAL, TRUE},
        {1, IDS_SPEED_DIAL, phoneBook->GetCount(1) != 0},
        {2, IDS_GROUP_DIAL, phoneBook->GetCount(3) != 0},
    };
    const int current = EntryType();
    int selected = 0;
    for (const auto& type : types) {
        if (!type.offered)
            continue;
        CString text;
        text.LoadString(type.textId);
        const int index = typeList.AddString(text);
        typeList.SetItemData(index, DWORD_PTR(type.type));
        if (type.type == current)
            selected = index;
    }
    typeList.SetCurSel(selected);
}

// ---- Rules ----

void CDialEntryDlg::ApplyShowRules()
{
    const BOOL individual = ChosenIndividual();
    const int type = oneTouch ? ChosenType() : 0;
    ShowControlRun(this, IDC_DIAL_NAME, 1, 34, individual);
    ShowControlRun(this, IDC_DIAL_LINE, 1, 0, FALSE);
    ShowControlRun(this, IDC_EMAIL_ADDRESS, 1, 4, individual && IsNetworkMode());
    ShowControlRun(this, IDC_SPEED_DIAL_LIST, 1, 0, oneTouch && type == 1);
    ShowControlRun(this, IDC_GROUP_DIAL_LIST, 1, 0, oneTouch && type == 2);
}

void CDialEntryDlg::ApplyResolutionRule()
{
    CString email;
    GetDlgItemText(IDC_EMAIL_ADDRESS, email);
    EnableControlRun(this, IDC_RECIPIENT_COMPRESSION, 3, 0, ChosenIndividual() && !email.IsEmpty());
}

// Room for a code, in the field that has the focus (or whose code the button is about to edit).
void CDialEntryDlg::ApplyBillingCodeRule()
{
    BOOL enable = FALSE;
    CWnd* button = GetDlgItem(IDC_ADD_BILLING_CODE);
    CWnd* focus = GetFocus();
    if (activeNumberEdit && focus && (focus->m_hWnd == button->m_hWnd || focus->m_hWnd == activeNumberEdit->m_hWnd)) {
        CString text;
        activeNumberEdit->GetWindowText(text);
        CString withoutSpaces = text;
        withoutSpaces.Remove(u' ');
        if (!withoutSpaces.IsEmpty())
            enable = text.Find(u'+') >= 0 || text.GetLength() + 3 <= int(activeNumberEdit->GetLimitText());
    }
    button->EnableWindow(enable);
}

// ---- Handlers ----

void CDialEntryDlg::OnTypeChange()
{
    ApplyShowRules();
}

void CDialEntryDlg::OnNumberChange()
{
    if (!numberEdit.m_hWnd)
        return;
    CString text;
    numberEdit.GetWindowText(text);
    const int n = static_cast<const QString&>(text).toInt();
    CObject* holder = oneTouch ? static_cast<CObject*>(phoneBook->GetOneTouch(n))
                               : static_cast<CObject*>(phoneBook->GetSpeedDial(n));
    const BOOL free = !holder || holder == entry;
    GetDlgItem(IDOK)->EnableWindow(free);
    GetDlgItem(IDC_APPLY)->EnableWindow(free);
}

void CDialEntryDlg::OnFaxNumberFocus()
{
    activeNumberEdit = &faxNumberEdit;
    ApplyBillingCodeRule();
}

void CDialEntryDlg::OnSecondNumberFocus()
{
    activeNumberEdit = &secondNumberEdit;
    ApplyBillingCodeRule();
}

void CDialEntryDlg::OnNumberFieldChange()
{
    ApplyBillingCodeRule();
}

void CDialEntryDlg::OnDelayedDial()
{
    EnableControlRun(this, IDC_DELAY_TIME, 1, 0, IsDlgButtonChecked(IDC_DELAYED_DIAL));
}

void CDialEntryDlg::OnItuMailbox()
{
    EnableControlRun(this, IDC_ITU_MAILBOX_PASSWORD, 5, 0, IsDlgButtonChecked(IDC_ITU_MAILBOX));
}

void CDialEntryDlg::OnEmailChange()
{
    ApplyResolutionRule();
}

void CDialEntryDlg::OnAddBillingCode()
{
    if (activeNumberEdit)
        EditBillingCode(*activeNumberEdit, this);
}

void CDialEntryDlg::OnSpin(NMHDR* notify, LRESULT* result)
{
    const auto* upDown = reinterpret_cast<NMUPDOWN*>(notify);
    StepEntryNumber(&numberEdit, &numberSpin, EntryList(), static_cast<CIdObject*>(entry), upDown->iDelta);
    *result = 1;
}

void CDialEntryDlg::OnApply()
{
    UpdateData(TRUE);
}

void CDialEntryDlg::OnHelp()
{
    afx::ShowHelp(oneTouch ? kOneTouchHelp : kSpeedDialHelp, afx::HELP_CONTEXT);
}
