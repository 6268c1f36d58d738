#include "mailboxes/mailboxdlgs.h"

#include "device/lib/idobject.h"
#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"
#include "dialogs/dialoghelpers.h"
#include "pages/destinationkinds.h"
#include "pages/listpage.h"
#include "pages/selectentrydlg.h"
#include "res/resource.h"

namespace {

constexpr int kRelayType = 2;
constexpr int kDestinationLength = 99;
// From the group box "Destinations" to "Modifier...", in control order.
constexpr int kRelayRunBefore = 1;
constexpr int kRelayRunAfter = 17;

// The edit of each report destination kind, by kind (see DestinationKind).
constexpr int kReportFields[] = {IDC_REPORT_FAX_NUMBER, IDC_EMAIL_ADDRESS, IDC_REPORT_SPEED_DIAL,
                                 IDC_REPORT_ONE_TOUCH, IDC_REPORT_GROUP_DIAL};
constexpr int kLastReportKind = 4;

// The relay dialog's directory kinds: item data, text, phone-book kind, column string.
struct RelayKind {
    UINT textId;
    int directoryKind;
    UINT columnsId;
};
constexpr RelayKind kRelayKinds[] = {
    {IDS_SPEED_DIAL, 1, IDS_SPEED_DIAL_COLUMNS_NETWORK},
    {IDS_ONE_TOUCH, 2, IDS_ONE_TOUCH_COLUMNS_NETWORK},
    {IDS_GROUP_DIAL, 3, IDS_GROUP_DIAL_COLUMNS},
};

int lastRelayKind = 0;
int mailBoxTypeIndex = 0;

CObList& EntriesOf(CPhoneBook& phoneBook, int directoryKind)
{
    if (directoryKind == 1)
        return phoneBook.GetSpeedDials();
    if (directoryKind == 2)
        return phoneBook.GetOneTouches();
    return phoneBook.GetGroupDials();
}

// Digit strings in numeric order: the shorter first, then by text.
bool ComesBefore(const CString& a, const CString& b)
{
    if (a.GetLength() != b.GetLength())
        return a.GetLength() < b.GetLength();
    return a.Compare(b) < 0;
}

[[noreturn]] void FailWith(CDataExchange* pDX, UINT messageId, UINT type)
{
    AfxMessageBox(messageId, type);
    pDX->Fail();
}

} // namespace

// ---- CRelayDestDlg ----

BEGIN_MESSAGE_MAP(CRelayDestDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_RELAY_DEST_KIND, &CRelayDestDlg::OnKindChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_ENTRY_LIST, &CRelayDestDlg::OnListDoubleClick)
    ON_BN_CLICKED(IDHELP, &CRelayDestDlg::OnHelp)
END_MESSAGE_MAP()

CRelayDestDlg::CRelayDestDlg(CPhoneBook* phoneBook, int remaining, CWnd* parent)
    : CDialog(IDD_RELAY_DEST, parent), phoneBook(phoneBook), remaining(remaining)
{
}

void CRelayDestDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, list);
    DDX_Control(pDX, IDC_RELAY_DEST_KIND, kindCombo);
}

BOOL CRelayDestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    kindCombo.ResetContent();
    for (int data = 0; data < int(std::size(kRelayKinds)); ++data) {
        if (phoneBook->GetCount(kRelayKinds[data].directoryKind) != 0)
            AddItemWithData(kindCombo, kRelayKinds[data].textId, data);
    }
    const int last = FindItemData(kindCombo, lastRelayKind);
    kindCombo.SetCurSel(last == CB_ERR ? 0 : last);
    OnKindChanged();
    return TRUE;
}

void CRelayDestDlg::OnKindChanged()
{
    const int data = SelectedItemData(kindCombo);
    if (data < 0)
        return;
    lastRelayKind = data;
    const RelayKind& kind = kRelayKinds[data];
    FillEntryList(list, kind.columnsId, EntriesOf(*phoneBook, kind.directoryKind), nullptr);
}

void CRelayDestDlg::OnOK()
{
    if (int(list.GetSelectedCount()) > remaining) {
        AfxMessageBox(IDP_RELAY_DEST_LIMIT, MB_OK | MB_ICONERROR);
        return;
    }
    numbers.RemoveAll();
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
        numbers.Add(list.GetItemText(row, 0).Left(kDestinationLength));
    EndDialog(IDOK);
}

void CRelayDestDlg::OnListDoubleClick(NMHDR*, LRESULT* result)
{
    OnOK();
    *result = 0;
}

void CRelayDestDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_RELAY_DEST, afx::HELP_CONTEXT);
}

// ---- CMailBoxEntryDlg ----

BEGIN_MESSAGE_MAP(CMailBoxEntryDlg, CDialog)
    ON_EN_CHANGE(IDC_MAILBOX_NUMBER, &CMailBoxEntryDlg::OnNumberChange)
    ON_CBN_SELCHANGE(IDC_MAILBOX_TYPE, &CMailBoxEntryDlg::OnTypeChanged)
    ON_CBN_SELCHANGE(IDC_REPORT_DEST_KIND, &CMailBoxEntryDlg::OnReportKindChanged)
    ON_BN_CLICKED(IDC_CHOOSE_REPORT_ENTRY, &CMailBoxEntryDlg::OnChooseReportEntry)
    ON_BN_CLICKED(IDC_ADD, &CMailBoxEntryDlg::OnAddDestinations)
    ON_BN_CLICKED(IDC_REMOVE, &CMailBoxEntryDlg::OnRemoveDestinations)
    ON_BN_CLICKED(IDC_CLEAR_DESTINATIONS, &CMailBoxEntryDlg::OnClearDestinations)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_RELAY_DESTINATIONS, &CMailBoxEntryDlg::OnDestinationChanged)
    ON_BN_CLICKED(IDC_APPLY, &CMailBoxEntryDlg::OnApply)
    ON_BN_CLICKED(IDHELP, &CMailBoxEntryDlg::OnHelp)
END_MESSAGE_MAP()

CMailBoxEntryDlg::CMailBoxEntryDlg(CMailBoxes* mailBoxes, CPhoneBook* phoneBook, CMailBox* entry, CListPage* page)
    : CDialog(IDD_MAILBOX_ENTRY, page), mailBoxes(mailBoxes), phoneBook(phoneBook), entry(entry), page(page)
{
}

CMailBoxEntryDlg::~CMailBoxEntryDlg() = default;

BOOL CMailBoxEntryDlg::OnInitDialog()
{
    FillComboBoxes(this);
    faxEdit.SubclassDlgItem(IDC_REPORT_FAX_NUMBER, this);
    CDialog::OnInitDialog();
    static_cast<CEdit*>(GetDlgItem(IDC_MAILBOX_NUMBER))->LimitText(fields::RuleOf(&CMailBox::number).maxLength);
    static_cast<CEdit*>(GetDlgItem(IDC_MAILBOX_PASSWORD))->LimitText(fields::RuleOf(&CMailBox::password).maxLength);
    faxEdit.UpdateLimitText();
    // The address edit holds the report destination while reports go by e-mail.
    CMailBox byEmail;
    byEmail.reportDestKind = CMailBox::reportByEmail;
    static_cast<CEdit*>(GetDlgItem(IDC_EMAIL_ADDRESS))->LimitText(fields::RuleOf(&CMailBox::reportDest, byEmail).maxLength);
    return TRUE;
}

void CMailBoxEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // A type the list does not offer shows no selection; saving keeps it, and the next new
    // mailbox starts with the type last shown in the list.
    int type = entry ? entry->type : mailBoxTypeIndex;
    int typeIndex = type;
    DDX_CBIndex(pDX, IDC_MAILBOX_TYPE, typeIndex);
    DDX_Control(pDX, IDC_MAILBOX_TYPE, typeCombo);
    if (typeCombo.GetCurSel() >= 0) {
        type = typeCombo.GetCurSel();
        mailBoxTypeIndex = type;
    }
    DDX_Control(pDX, IDC_REPORT_DEST_KIND, reportKindCombo);
    DDX_Control(pDX, IDC_RELAY_DESTINATIONS, destinations);
    CString password = entry ? entry->password : CString();
    CString number = entry ? entry->number : CString();
    DDX_Text(pDX, IDC_MAILBOX_PASSWORD, password);
    DDX_TextTrim(pDX, IDC_MAILBOX_NUMBER, number);

    if (!pDX->m_bSaveAndValidate) {
        FillReportKinds(entry ? entry->reportDestKind : 0);
        destinations.DeleteAllItems();
        SetListColumns(destinations, IDS_RELAY_DEST_COLUMNS);
        if (entry) {
            for (int at = 0; at < entry->destinations.GetSize(); ++at) {
                InsertDestinationRow(destinations.GetItemCount(), entry->destinations[at]);
            }
        }
    } else {
        if (number.IsEmpty())
            FailWith(pDX, IDP_MAILBOX_NUMBER_BLANK, MB_OK);
        if (type == kRelayType && destinations.GetItemCount() == 0)
            FailWith(pDX, IDP_DESTINATION_LIST_EMPTY, MB_OK);
        // Under another number the input is a new mailbox; the one opened stays as it was.
        if (entry && entry != refused.get() && entry->number != number)
            entry = nullptr;
        if (!entry) {
            int capacity = 0;
            if (page->GetUsage(capacity) >= capacity)
                FailWith(pDX, IDP_MAX_ENTRIES_REACHED, MB_OK | MB_ICONERROR);
            refused = std::make_unique<CMailBox>();
            entry = refused.get();
        }
        const CString previous = entry->number;
        entry->number = number;
        if (!mailBoxes->Add(entry)) {
            entry->number = previous;
            FailWith(pDX, IDP_MAILBOX_EXISTS, MB_OK | MB_ICONERROR);
        }
        if (entry == refused.get())
            refused.release();
        entry->type = type;
        entry->password = password;
        // A kind the list no longer offers shows no selection and stays as stored.
        const int kind = SelectedReportKind();
        if (kind >= 0)
            entry->reportDestKind = kind;
        entry->destinations.RemoveAll();
        for (int row = 0; row < destinations.GetItemCount(); ++row)
            entry->destinations.Add(destinations.GetItemText(row, 0).Left(kDestinationLength));
        page->RefreshEntry(entry);
    }

    if (entry) {
        if (entry->reportDestKind == 0)
            DDX_FaxNumber(pDX, IDC_REPORT_FAX_NUMBER, faxEdit, entry->reportDest);
        else if (FindDestinationKind(entry->reportDestKind))
            DDX_TextTrim(pDX, kReportFields[entry->reportDestKind], entry->reportDest);
    }
    ShowUsage(this, page);
    OnTypeChanged();
}

void CMailBoxEntryDlg::FillReportKinds(int current)
{
    FillDestinationKinds(reportKindCombo, kLastReportKind, *phoneBook);
    reportKindCombo.SetCurSel(FindItemData(reportKindCombo, current));
}

int CMailBoxEntryDlg::SelectedReportKind()
{
    return SelectedItemData(reportKindCombo);
}

void CMailBoxEntryDlg::ShowReportField()
{
    const int selected = SelectedReportKind();
    for (int kind = 0; kind <= kLastReportKind; ++kind)
        ShowControlRun(this, kReportFields[kind], 1, 0, kind == selected);
    GetDlgItem(IDC_CHOOSE_REPORT_ENTRY)->ShowWindow(selected >= 2 ? SW_SHOW : SW_HIDE);
}

BOOL CMailBoxEntryDlg::IsRelay()
{
    return typeCombo.GetCurSel() == kRelayType;
}

void CMailBoxEntryDlg::OnTypeChanged()
{
    const BOOL relay = IsRelay();
    EnableControlRun(this, IDC_ADD, kRelayRunBefore, kRelayRunAfter, relay);
    reportKindCombo.EnableWindow(relay && reportKindCombo.GetCount() > 1);
    ShowReportField();
    UpdateRelayButtons();
}

void CMailBoxEntryDlg::OnReportKindChanged()
{
    ShowReportField();
}

void CMailBoxEntryDlg::UpdateRelayButtons()
{
    const BOOL relay = IsRelay();
    const int rows = destinations.GetItemCount();
    const int directory = phoneBook->GetCount(3) + phoneBook->GetCount(2) + phoneBook->GetCount(1);
    GetDlgItem(IDC_ADD)->EnableWindow(relay && directory > 0 && rows < CMailBox::max_relay_dest_count);
    GetDlgItem(IDC_REMOVE)->EnableWindow(relay && destinations.GetSelectedCount() >= 1);
    GetDlgItem(IDC_CLEAR_DESTINATIONS)->EnableWindow(relay && rows >= 1);
}

void CMailBoxEntryDlg::OnNumberChange()
{
    if (!destinations.m_hWnd)
        return;
    CString number;
    GetDlgItemText(IDC_MAILBOX_NUMBER, number);
    const CMailBox* found = mailBoxes->Get(number);
    const BOOL free = !found || found == entry;
    GetDlgItem(IDOK)->EnableWindow(free);
    GetDlgItem(IDC_APPLY)->EnableWindow(free);
}

void CMailBoxEntryDlg::OnChooseReportEntry()
{
    const DestinationKind* kind = FindDestinationKind(SelectedReportKind());
    if (!kind || kind->directoryKind == 0)
        return;
    const int current = entry ? static_cast<const QString&>(entry->reportDest).toInt() : 0;
    CSelectEntryDlg dialog(phoneBook, kind->directoryKind, current, this);
    if (dialog.DoModal() == IDOK)
        SetDlgItemText(kReportFields[kind->kind], FormatId(dialog.number, kind->digits));
}

BOOL CMailBoxEntryDlg::InsertDestination(const CString& number)
{
    int place = 0;
    while (place < destinations.GetItemCount() && ComesBefore(destinations.GetItemText(place, 0), number))
        ++place;
    if (place < destinations.GetItemCount() && destinations.GetItemText(place, 0) == number)
        return FALSE;
    InsertDestinationRow(place, number);
    return TRUE;
}

void CMailBoxEntryDlg::InsertDestinationRow(int place, const CString& number)
{
    CString name;
    const int kind = phoneBook->GetName(number, name);
    CString kindText;
    kindText.LoadString(kind == 1 ? IDS_SPEED_DIAL : kind == 2 ? IDS_ONE_TOUCH : IDS_GROUP_DIAL);
    const int row = destinations.InsertItem(place, number);
    destinations.SetItemText(row, 1, kindText);
    destinations.SetItemText(row, 2, name);
}

void CMailBoxEntryDlg::OnAddDestinations()
{
    CRelayDestDlg dialog(phoneBook, CMailBox::max_relay_dest_count - destinations.GetItemCount(), this);
    if (DoModalWithHelpKey(dialog) != IDOK)
        return;
    for (int at = 0; at < dialog.numbers.GetSize(); ++at)
        InsertDestination(dialog.numbers[at]);
    UpdateRelayButtons();
}

void CMailBoxEntryDlg::OnRemoveDestinations()
{
    for (int row = destinations.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = destinations.GetNextItem(-1, LVNI_SELECTED))
        destinations.DeleteItem(row);
    UpdateRelayButtons();
}

void CMailBoxEntryDlg::OnClearDestinations()
{
    destinations.DeleteAllItems();
    SetListColumns(destinations, IDS_RELAY_DEST_COLUMNS);
    UpdateRelayButtons();
}

void CMailBoxEntryDlg::OnDestinationChanged(NMHDR*, LRESULT* result)
{
    UpdateRelayButtons();
    *result = 0;
}

void CMailBoxEntryDlg::OnApply()
{
    UpdateData(TRUE);
}

void CMailBoxEntryDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_MAILBOX_ENTRY, afx::HELP_CONTEXT);
}
