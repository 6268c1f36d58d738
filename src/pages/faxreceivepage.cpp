#include "pages/faxreceivepage.h"

#include "pages/securepassworddlg.h"
#include "res/resource.h"

namespace {

const CString kTimeFormat = "HH:mm";

// The radio items of "when printing is not available".
constexpr int kReceiveToMemoryItem = 0;
constexpr int kDoNotReceiveItem = 1;

// The all-day boxes in the order of the stored flags, which begin with Sunday.
constexpr int kAllDayBoxes[7] = {IDC_SUNDAY, IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY,
                                 IDC_THURSDAY, IDC_FRIDAY, IDC_SATURDAY};

// The password button and the twelve windows after it: the period, its labels and pickers,
// the all-day group box and its seven boxes.
constexpr int kSecureControlsAfterButton = 12;

} // namespace

IMPLEMENT_DYNAMIC(CFaxReceivePage, CSettingsPage)

BEGIN_MESSAGE_MAP(CFaxReceivePage, CSettingsPage)
    ON_BN_CLICKED(IDC_RECEIVE_TO_MEMORY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_DO_NOT_RECEIVE, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_SUNDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_MONDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_TUESDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_WEDNESDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_THURSDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_FRIDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_SATURDAY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_PRINT_RECEIVE_FOOTER, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_DIRECTORY_NUMBERS_ONLY, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_REDUCE_TO_FIT, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_PRINT_OVERFLOW_ON_NEXT_PAGE, &CFaxReceivePage::OnSettingChange)
    ON_BN_CLICKED(IDC_COLLATE_FAXES, &CFaxReceivePage::OnSettingChange)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_START_TIME, &CFaxReceivePage::OnTimeChange)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_STOP_TIME, &CFaxReceivePage::OnTimeChange)
    ON_BN_CLICKED(IDC_SECURE_RECEIVE, &CFaxReceivePage::OnSecureReceive)
    ON_BN_CLICKED(IDC_SECURE_PASSWORD_BUTTON, &CFaxReceivePage::OnPassword)
END_MESSAGE_MAP()

CFaxReceivePage::CFaxReceivePage(CFaxReceiveSettings* faxReceive)
    : CSettingsPage(IDD_FAX_RECEIVE_PAGE, *faxReceive, &receiveIntervalEdit), faxReceive(faxReceive)
{
}

void CFaxReceivePage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STOP_TIME, stopPicker);
    DDX_Control(pDX, IDC_START_TIME, startPicker);
    int whenNotPrinting = faxReceive->receiveToMemory ? kReceiveToMemoryItem : kDoNotReceiveItem;
    DDX_Radio(pDX, IDC_RECEIVE_TO_MEMORY, whenNotPrinting);
    if (pDX->m_bSaveAndValidate)
        faxReceive->receiveToMemory = whenNotPrinting == kReceiveToMemoryItem ? 1 : 0;
    DDX_Check(pDX, IDC_SECURE_RECEIVE, faxReceive->secureReceive);
    DDX_Interval(pDX, IDC_START_TIME, IDC_STOP_TIME, faxReceive->secureReceiveWindow);
    for (int day = 0; day < 7; ++day)
        DDX_Check(pDX, kAllDayBoxes[day], faxReceive->secureAllDay[day]);
    DDX_Text(pDX, IDC_RECEIVE_INTERVAL, faxReceive->receiveInterval);
    DDX_Check(pDX, IDC_PRINT_RECEIVE_FOOTER, faxReceive->printReceiveFooter);
    DDX_Check(pDX, IDC_DIRECTORY_NUMBERS_ONLY, faxReceive->directoryNumbersOnly);
    DDX_Check(pDX, IDC_REDUCE_TO_FIT, faxReceive->reduceToFit);
    DDX_Check(pDX, IDC_PRINT_OVERFLOW_ON_NEXT_PAGE, faxReceive->printOverflowOnNextPage);
    DDX_Check(pDX, IDC_COLLATE_FAXES, faxReceive->collateFaxes);

    EnableControlRun(this, IDC_SECURE_PASSWORD_BUTTON, 0, kSecureControlsAfterButton, faxReceive->secureReceive);
}

BOOL CFaxReceivePage::OnInitDialog()
{
    FillComboBoxes(this);
    receiveIntervalEdit.SubclassDlgItem(IDC_RECEIVE_INTERVAL, this);
    CSettingsPage::OnInitDialog();
    receiveIntervalEdit.SetRange(fields::RuleOf(&CFaxReceiveSettings::receiveInterval));
    startPicker.SetFormat(kTimeFormat);
    stopPicker.SetFormat(kTimeFormat);
    return TRUE;
}

BOOL CFaxReceivePage::RunPasswordDialog()
{
    CSecureFaxPasswordDlg dialog(this);
    dialog.password = faxReceive->secureReceivePassword;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    faxReceive->secureReceivePassword = dialog.password;
    return TRUE;
}

void CFaxReceivePage::OnTimeChange(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnSettingChange();
}

void CFaxReceivePage::OnSecureReceive()
{
    // Secure reception never stays on without a password, and switching it off forgets it.
    if (IsDlgButtonChecked(IDC_SECURE_RECEIVE)) {
        AfxMessageBox(IDP_SECURE_RECEIVE_NOTICE, MB_OK | MB_ICONEXCLAMATION);
        if (!RunPasswordDialog()) {
            faxReceive->secureReceive = 0;
            faxReceive->secureReceivePassword.Empty();
            UpdateData(FALSE);
        }
    } else {
        faxReceive->secureReceivePassword.Empty();
    }
    OnSettingChange();
}

void CFaxReceivePage::OnPassword()
{
    if (RunPasswordDialog())
        OnSettingChange();
}
