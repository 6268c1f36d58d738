#include "clientcodes/clientcodedlgs.h"

#include "device/lib/departmentcodes.h"
#include "dialogs/dialoghelpers.h"
#include "pages/listpage.h"
#include "res/resource.h"

#include <memory>

namespace {

constexpr int kMasterId = 1;
constexpr int kNoCode = -1;

// Whether the ID and the code are free for `owner`, the code that would keep them (null for
// a new code): no other code holds either.
bool IsFree(const CDepartmentCodes& codes, int id, int code, const CDepartmentCode* owner)
{
    const CDepartmentCode* withId = codes.Get(id);
    const CDepartmentCode* withCode = codes.FindCode(code);
    return (!withId || withId == owner) && (!withCode || withCode == owner);
}

// The edited code keeps its place only under its own ID; under another the input is a new code.
CDepartmentCode* Owner(CDepartmentCode* entry, int id)
{
    return entry && entry->GetId() == id ? entry : nullptr;
}

[[noreturn]] void FailWith(CDataExchange* pDX, UINT messageId)
{
    AfxMessageBox(messageId, MB_OK | MB_ICONERROR);
    pDX->Fail();
}

} // namespace

// ---- CClientCodeEntryDlg ----

BEGIN_MESSAGE_MAP(CClientCodeEntryDlg, CDialog)
    ON_NOTIFY(UDN_DELTAPOS, IDC_ENTRY_NUMBER_SPIN, &CClientCodeEntryDlg::OnIdSpin)
    ON_EN_CHANGE(IDC_ENTRY_NUMBER, &CClientCodeEntryDlg::OnNumberChange)
    ON_EN_CHANGE(IDC_CLIENT_CODE, &CClientCodeEntryDlg::OnNumberChange)
    ON_BN_CLICKED(IDC_APPLY, &CClientCodeEntryDlg::OnApply)
    ON_BN_CLICKED(IDHELP, &CClientCodeEntryDlg::OnHelp)
END_MESSAGE_MAP()

CClientCodeEntryDlg::CClientCodeEntryDlg(CDepartmentCodes* clientCodes, CDepartmentCode* entry, CListPage* page)
    : CDialog(IDD_CLIENT_CODE_ENTRY, page), clientCodes(clientCodes), entry(entry), page(page)
{
}

BOOL CClientCodeEntryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    idEdit.LimitText(CDepartmentCode::digits);
    codeEdit.LimitText(CDepartmentCode::codeDigits);
    nameEdit.LimitText(fields::RuleOf(&CDepartmentCode::name).maxLength);
    idSpin.SetRange(short(CDepartmentCode::idRule.low), short(CDepartmentCode::idRule.high));
    SetDeviceNameFont(this, IDC_ENTRY_NAME);
    return TRUE;
}

void CClientCodeEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_NUMBER, idEdit);
    DDX_Control(pDX, IDC_ENTRY_NUMBER_SPIN, idSpin);
    DDX_Control(pDX, IDC_CLIENT_CODE, codeEdit);
    DDX_Control(pDX, IDC_ENTRY_NAME, nameEdit);

    int id = entry ? entry->GetId() : NextAvailableId(*clientCodes, 0, FALSE);
    int code = entry ? entry->code : kNoCode;
    CString name = entry ? entry->name : CString();
    DDX_Text(pDX, IDC_ENTRY_NUMBER, id);
    DDV_MinMaxInt(pDX, id, CDepartmentCode::idRule.low, CDepartmentCode::idRule.high);
    DDX_Text(pDX, IDC_CLIENT_CODE, code);
    if (!pDX->m_bSaveAndValidate && code == kNoCode)
        codeEdit.SetWindowText(CString());
    const fields::Rule codeRule = fields::RuleOf(&CDepartmentCode::code);
    DDV_MinMaxInt(pDX, code, codeRule.low, codeRule.high);
    DDX_TextTrim(pDX, IDC_ENTRY_NAME, name);

    if (pDX->m_bSaveAndValidate) {
        // Everything is checked before anything changes, so a refused save leaves the code
        // that was opened, and the list, as they were.
        CDepartmentCode* owner = Owner(entry, id);
        int capacity = 0;
        if (!owner && page->GetUsage(capacity) >= capacity)
            FailWith(pDX, IDP_MAX_ENTRIES_REACHED);
        if (!IsFree(*clientCodes, id, code, owner))
            FailWith(pDX, IDP_CLIENT_CODE_EXISTS);
        if (owner) {
            // Its ID, and so its place, stay.
            owner->code = code;
            owner->name = name;
        } else {
            auto created = std::make_unique<CDepartmentCode>(id, code, name);
            if (!clientCodes->Add(created.get()))
                FailWith(pDX, IDP_MAX_ENTRIES_REACHED);
            owner = created.release();
        }
        entry = owner;
        page->RefreshEntry(entry);
    } else {
        idEdit.SetWindowText(FormatId(id, CDepartmentCode::digits));
    }

    // The master code keeps its ID: its field and arrows are off.
    EnableControlRun(this, IDC_ENTRY_NUMBER, 1, 1, id != kMasterId);
    ShowUsage(this, page);
}

void CClientCodeEntryDlg::OnIdSpin(NMHDR* notify, LRESULT* result)
{
    StepEntryNumber(&idEdit, &idSpin, *clientCodes, entry, reinterpret_cast<NMUPDOWN*>(notify)->iDelta);
    *result = 1;
}

void CClientCodeEntryDlg::OnNumberChange()
{
    if (!idEdit.m_hWnd)
        return;
    const int id = int(GetDlgItemInt(IDC_ENTRY_NUMBER));
    const int code = int(GetDlgItemInt(IDC_CLIENT_CODE));
    const BOOL free = IsFree(*clientCodes, id, code, Owner(entry, id));
    GetDlgItem(IDOK)->EnableWindow(free);
    GetDlgItem(IDC_APPLY)->EnableWindow(free);
}

void CClientCodeEntryDlg::OnApply()
{
    UpdateData(TRUE);
}

void CClientCodeEntryDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_CLIENT_CODE_ENTRY, afx::HELP_CONTEXT);
}

// ---- CMasterCodeDlg ----

BEGIN_MESSAGE_MAP(CMasterCodeDlg, CDialog)
    ON_BN_CLICKED(IDHELP, &CMasterCodeDlg::OnHelp)
END_MESSAGE_MAP()

CMasterCodeDlg::CMasterCodeDlg(CDepartmentCodes* clientCodes, CWnd* page)
    : CDialog(IDD_MASTER_CODE, page), clientCodes(clientCodes)
{
}

void CMasterCodeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MASTER_CODE, masterCodeEdit);
    CString text;
    DDX_Text(pDX, IDC_MASTER_CODE, text);
    DDV_MaxChars(pDX, text, CDepartmentCode::codeDigits);
    if (!pDX->m_bSaveAndValidate)
        return;

    // Five digits and nothing else: a pasted text is not a code.
    bool digits = text.GetLength() == CDepartmentCode::codeDigits;
    for (int at = 0; digits && at < text.GetLength(); ++at)
        digits = text[at] >= u'0' && text[at] <= u'9';
    if (!digits)
        FailWith(pDX, IDP_MASTER_CODE_FIVE_DIGITS);
    const int code = static_cast<const QString&>(text).toInt();

    if (const CDepartmentCode* master = clientCodes->Get(kMasterId)) {
        if (master->code != code)
            FailWith(pDX, IDP_INVALID_MASTER_CODE);
        return;
    }
    // A code left without its master (from a device or a settings file) may hold this code.
    if (clientCodes->FindCode(code))
        FailWith(pDX, IDP_CLIENT_CODE_EXISTS);
    CString name;
    name.LoadString(IDS_MASTER_CODE_NAME);
    auto master = std::make_unique<CDepartmentCode>(kMasterId, code, name);
    if (!clientCodes->Add(master.get()))
        FailWith(pDX, IDP_MAX_ENTRIES_REACHED);
    master.release();
    MarkDocumentModified();
}

void CMasterCodeDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_MASTER_CODE, afx::HELP_CONTEXT);
}
