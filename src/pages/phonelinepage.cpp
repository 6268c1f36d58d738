#include "pages/phonelinepage.h"

#include "res/resource.h"

namespace {

constexpr int kCountryCodeLength = 10;
const CString kTimeFormat = "HH:mm";

// Answer modes, as the list offers them.
constexpr int kAnswerAuto = 0;
constexpr int kAnswerFaxTad = 3;

// The caret goes behind the country code once the focus has fully arrived: the edit's own
// handling of the focus (selecting all on Tab) comes after its notification.
constexpr UINT WM_PLACE_NUMBER_CARET = WM_APP + 1;

// "France (33)" gives "33": the text after the last "(", up to the ")".
CString CountryCode(const CString& line)
{
    const int open = int(static_cast<const QString&>(line).lastIndexOf(u'('));
    const CString code = line.Mid(open + 1).Left(kCountryCodeLength);
    const int close = code.Find(u')');
    return close == -1 ? code : code.Left(close);
}

// The code of the list's line at `index`; none for no line.
CString CountryCodeAt(CComboBox& countries, int index)
{
    if (index < 0)
        return CString();
    CString line;
    countries.GetLBText(index, line);
    return CountryCode(line);
}

// The code sits right after the number's first character (a "+" or some other).
BOOL CodeFollowsFirstCharacter(const CString& number, const CString& code)
{
    return !code.IsEmpty() && number.Find(code) == 1;
}

} // namespace

IMPLEMENT_DYNAMIC(CPhoneLinePage, CSettingsPage)

BEGIN_MESSAGE_MAP(CPhoneLinePage, CSettingsPage)
    ON_EN_CHANGE(IDC_LINE1_NUMBER, &CPhoneLinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_ANSWER_MODE, &CPhoneLinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_DIAL_MODE, &CPhoneLinePage::OnSettingChange)
    ON_BN_CLICKED(IDC_ECM, &CPhoneLinePage::OnSettingChange)
    ON_BN_CLICKED(IDC_ADD_COUNTRY_CODE, &CPhoneLinePage::OnCountryCodeBox)
    ON_CBN_SELCHANGE(IDC_COUNTRY, &CPhoneLinePage::OnCountryChange)
    ON_CONTROL(EN_SETFOCUS, IDC_LINE1_NUMBER, &CPhoneLinePage::OnNumberFocus)
    ON_MESSAGE(WM_PLACE_NUMBER_CARET, &CPhoneLinePage::OnPlaceNumberCaret)
END_MESSAGE_MAP()

CPhoneLinePage::CPhoneLinePage(CPhoneLineSettings* phoneLine)
    : CSettingsPage(IDD_PHONE_LINE_PAGE, *phoneLine, &numberEdit), phoneLine(phoneLine)
{
}

void CPhoneLinePage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COUNTRY, countryCombo);
    DDX_Control(pDX, IDC_ADD_COUNTRY_CODE, countryCodeBox);
    DDX_TextTrim(pDX, IDC_LINE1_NUMBER, phoneLine->line1Number);
    DDX_CBIndex(pDX, IDC_ANSWER_MODE, phoneLine->answerMode);
    DDX_CBIndex(pDX, IDC_DIAL_MODE, phoneLine->line1DialMode);
    DDX_Text(pDX, IDC_RINGS_BEFORE_ANSWER, phoneLine->ringsBeforeAnswer);
    DDX_Text(pDX, IDC_TAD_TIMER, phoneLine->tadTimer);
    DDX_Check(pDX, IDC_ECM, phoneLine->ecmEnabled);

    const int mode = phoneLine->answerMode;
    // A count beyond the new range stays until the field is edited; the record check names it.
    ringsEdit.SetRange(fields::RuleOf(&CPhoneLineSettings::ringsBeforeAnswer, *phoneLine));
    // One line only: its selector and the second line's use and reception window stay hidden.
    ShowControlRun(this, IDC_LINE_SELECTOR, 1, 0, FALSE);
    ShowControlRun(this, IDC_LINE_USE_LABEL, 0, 5, FALSE);
    EnableControlRun(this, IDC_START_LABEL, 0, 3, FALSE);
    ShowControlRun(this, IDC_ANSWER_MODE, 1, 0, TRUE);
    ShowControlRun(this, IDC_RINGS_LABEL_TO_15, 0, 2, TRUE);
    ShowControlRun(this, IDC_TAD_TIMER, 1, 1, mode == kAnswerFaxTad);
    SynchroniseCountry();
    EnableControlRun(this, IDC_RINGS_BEFORE_ANSWER, 1, 1, mode == kAnswerAuto || mode == CPhoneLineSettings::answerTelFax);
    ShowControlRun(this, IDC_RINGS_LABEL_TO_10, 0, 0, mode == kAnswerAuto);
    ShowControlRun(this, IDC_RINGS_LABEL_TO_15, 0, 0, mode != kAnswerAuto);
}

BOOL CPhoneLinePage::OnInitDialog()
{
    FillComboBoxes(this);
    GetDlgItem(IDC_COUNTRY)->SendMessage(CB_SETCURSEL, 0);
    ringsEdit.SubclassDlgItem(IDC_RINGS_BEFORE_ANSWER, this);
    timerEdit.SubclassDlgItem(IDC_TAD_TIMER, this);
    numberEdit.SubclassDlgItem(IDC_LINE1_NUMBER, this);
    // The exchange gives the rings their range, which follows the answer mode.
    CSettingsPage::OnInitDialog();
    numberEdit.SetLimitText(fields::RuleOf(&CPhoneLineSettings::line1Number).maxLength);
    static_cast<CDateTimeCtrl*>(GetDlgItem(IDC_START_TIME))->SetFormat(kTimeFormat);
    static_cast<CDateTimeCtrl*>(GetDlgItem(IDC_STOP_TIME))->SetFormat(kTimeFormat);
    timerEdit.SetRange(fields::RuleOf(&CPhoneLineSettings::tadTimer));
    return TRUE;
}

CString CPhoneLinePage::ShownCountryCode()
{
    return CountryCodeAt(countryCombo, countryCombo.GetCurSel());
}

void CPhoneLinePage::SynchroniseCountry()
{
    const CString& number = phoneLine->line1Number;
    BOOL matched = CodeFollowsFirstCharacter(number, ShownCountryCode());
    for (int index = 0; !matched && index < countryCombo.GetCount(); ++index) {
        if (CodeFollowsFirstCharacter(number, CountryCodeAt(countryCombo, index))) {
            countryCombo.SetCurSel(index);
            matched = TRUE;
        }
    }
    const BOOL withCode = matched && number.Left(1) == "+";
    countryCodeBox.SetCheck(withCode ? BST_CHECKED : BST_UNCHECKED);
    countryCombo.EnableWindow(withCode);
}

void CPhoneLinePage::ApplyCountryCode()
{
    // The edit's change notification stores the new number and synchronises again.
    numberEdit.SetWindowText("+" + ShownCountryCode());
}

void CPhoneLinePage::OnCountryCodeBox()
{
    if (countryCodeBox.GetCheck() == BST_CHECKED) {
        countryCombo.EnableWindow(TRUE);
        ApplyCountryCode();
        countryCombo.SetFocus();
    } else {
        countryCombo.EnableWindow(FALSE);
        numberEdit.SetWindowText(CString());
        numberEdit.SetFocus();
    }
}

void CPhoneLinePage::OnCountryChange()
{
    ApplyCountryCode();
}

void CPhoneLinePage::OnNumberFocus()
{
    PostMessage(WM_PLACE_NUMBER_CARET);
}

LRESULT CPhoneLinePage::OnPlaceNumberCaret(WPARAM, LPARAM)
{
    CString text;
    numberEdit.GetWindowText(text);
    if (countryCodeBox.GetCheck() == BST_CHECKED && CodeFollowsFirstCharacter(text, ShownCountryCode()))
        numberEdit.SetSel(text.GetLength(), text.GetLength());
    return 0;
}
