#include "pages/mailoptionspanel.h"

#include "res/resource.h"

namespace {


} // namespace

IMPLEMENT_DYNAMIC(CMailOptionsPanel, CSettingsPanel)

BEGIN_MESSAGE_MAP(CMailOptionsPanel, CSettingsPanel)
    ON_BN_CLICKED(IDC_PRINT_BODY_TEXT, &CMailOptionsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_SEND_REQUEST, &CMailOptionsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_DELIVERY_CONFIRMATION_REQUEST, &CMailOptionsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_PRINT_MAIL_HEADER, &CMailOptionsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_PRINT_ERROR_MESSAGE_BODY, &CMailOptionsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_PRINT_DELIVERY_CONFIRMATION, &CMailOptionsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_PRINT_SEND_REQUEST_REPLY, &CMailOptionsPanel::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_CONFIRMATION_TIMER, &CMailOptionsPanel::OnSettingChange)
END_MESSAGE_MAP()

CMailOptionsPanel::CMailOptionsPanel(CMailOptionSettings* mailOptions)
    : CSettingsPanel(IDD_MAIL_OPTIONS_PANEL, *mailOptions, &bodyTextLimitEdit), mailOptions(mailOptions)
{
}

void CMailOptionsPanel::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPanel::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PRINT_BODY_TEXT, mailOptions->printBodyText);
    DDX_Text(pDX, IDC_BODY_TEXT_LIMIT, mailOptions->bodyTextLimit);
    DDX_Check(pDX, IDC_SEND_REQUEST, mailOptions->sendRequest);
    DDX_Check(pDX, IDC_DELIVERY_CONFIRMATION_REQUEST, mailOptions->deliveryConfirmationRequest);
    DDX_Check(pDX, IDC_PRINT_MAIL_HEADER, mailOptions->printMailHeader);
    DDX_Check(pDX, IDC_PRINT_ERROR_MESSAGE_BODY, mailOptions->printErrorMessageBody);
    DDX_Check(pDX, IDC_PRINT_DELIVERY_CONFIRMATION, mailOptions->printDeliveryConfirmation);
    DDX_Check(pDX, IDC_PRINT_SEND_REQUEST_REPLY, mailOptions->printSendRequestReply);
    DDX_CBIndex(pDX, IDC_CONFIRMATION_TIMER, mailOptions->confirmationTimer);

    // The limit counts only while the body text is printed.
    EnableControlRun(this, IDC_BODY_TEXT_LIMIT, 1, 1, mailOptions->printBodyText);
}

BOOL CMailOptionsPanel::OnInitDialog()
{
    FillComboBoxes(this);
    bodyTextLimitEdit.SubclassDlgItem(IDC_BODY_TEXT_LIMIT, this);
    CSettingsPanel::OnInitDialog();
    bodyTextLimitEdit.SetRange(fields::RuleOf(&CMailOptionSettings::bodyTextLimit));
    return TRUE;
}
