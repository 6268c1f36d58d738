#include "recordwording/recordwording.h"

#include "afx/core/resources.h"
#include "res/resource.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace {

const afx::ResourceScript& Script()
{
    return afx::ResourceScript::Instance();
}

QString ResourceString(int id)
{
    const QString* text = Script().String(id);
    return text ? *text : QString();
}

QString Caption(int templateId)
{
    const afx::DialogTemplate* dialog = Script().Dialog(templateId);
    return dialog ? dialog->caption : QString();
}

// A label as it reads on screen: no mnemonic, no colon after it.
QString Cleaned(QString text)
{
    static const QRegularExpression tail(QStringLiteral("[\\s:]+$"));
    return afx::WithoutMnemonics(text).replace(tail, QString()).simplified();
}

// A label, a check box, a radio button or a group box: a control that names what follows it.
bool Names(const afx::DialogItem& item)
{
    const uint32_t kind = item.style & 0xF;   // a button's kind; 0 and 1 are push buttons
    return !item.text.isEmpty()
           && (item.className == QLatin1String("Static") || (item.className == QLatin1String("Button") && kind > 1));
}

// What names a control: its own text (a check box, a label), else the nearest control before
// it in template order that names what follows it.
QString Label(int templateId, int controlId)
{
    const afx::DialogTemplate* dialog = Script().Dialog(templateId);
    if (!dialog)
        return QString();
    const auto& items = dialog->items;
    auto at = std::find_if(items.begin(), items.end(), [&](const afx::DialogItem& item) { return item.id == controlId; });
    if (at == items.end())
        return QString();
    if (Names(*at))
        return Cleaned(at->text);
    while (at != items.begin()) {
        if (Names(*--at))
            return Cleaned(at->text);
    }
    return QString();
}

struct Field {
    const char* name;
    int controlId;
};

// A window that edits a section or an entry: its name (a template's caption, or a string for
// a panel's category or a directory list), the template of its controls, and its fields.
struct Window {
    const char* section;
    int captionTemplate;
    int captionString;
    int templateId;
    std::vector<Field> fields;
};

const std::vector<Field> dialingDataFields = {
    {"name", IDC_DIAL_NAME},
    {"emailAddress", IDC_EMAIL_ADDRESS},
    {"resolution", IDC_RECIPIENT_RESOLUTION},
    {"compression", IDC_RECIPIENT_COMPRESSION},
    {"dialLine", IDC_DIAL_LINE},
    {"maxSpeed", IDC_MAX_SPEED},
    {"monitorTone", IDC_MONITOR_TONE},
    {"printConfirmation", IDC_PRINT_CONFIRMATION},
    {"delayedDial", IDC_DELAYED_DIAL},
    {"delayHour", IDC_DELAY_TIME},
    {"delayMinute", IDC_DELAY_TIME},
    {"ituMailbox", IDC_ITU_MAILBOX},
    {"subAddress", IDC_SUB_ADDRESS},
    {"pollingSubAddress", IDC_POLLING_SUB_ADDRESS},
    {"mailboxPassword", IDC_ITU_MAILBOX_PASSWORD},
    {"target", IDC_ONE_TOUCH_TYPE},
};

const std::vector<Window>& Windows()
{
    static const std::vector<Window> windows = {
        {"machine", IDD_MACHINE_PAGE, 0, IDD_MACHINE_PAGE,
         {{"companyName", IDC_COMPANY_NAME},
          {"resolution", IDC_RESOLUTION},
          {"contrast", IDC_CONTRAST},
          {"activityReportKey", IDC_ACTIVITY_REPORT_KEY},
          {"ringerVolume", IDC_RINGER_VOLUME},
          {"alarmVolume", IDC_ALARM_VOLUME},
          {"keyVolume", IDC_KEY_VOLUME},
          {"lineVolume", IDC_LINE_VOLUME},
          {"superSaverMode", IDC_SUPER_SAVER_MODE},
          {"superSaverMinutes", IDC_SUPER_SAVER_MINUTES},
          {"powerSaverEnabled", IDC_POWER_SAVER},
          {"askAccountCode", IDC_ASK_ACCOUNT_CODE},
          {"faxSeparatorSheet", IDC_FAX_SEPARATOR},
          {"tray1PaperSize", IDC_TRAY1_PAPER_SIZE},
          {"tray2PaperSize", IDC_TRAY2_PAPER_SIZE},
          {"collateCopies", IDC_COLLATE_COPIES}}},
        {"phoneLine", IDD_PHONE_LINE_PAGE, 0, IDD_PHONE_LINE_PAGE,
         {{"line1Number", IDC_LINE1_NUMBER},
          {"answerMode", IDC_ANSWER_MODE},
          {"line1DialMode", IDC_DIAL_MODE},
          {"ringsBeforeAnswer", IDC_RINGS_BEFORE_ANSWER},
          {"tadTimer", IDC_TAD_TIMER},
          {"ecmEnabled", IDC_ECM},
          {"line2Use", IDC_LINE_USE}}},
        {"clientCodes", IDD_CLIENT_CODE_PAGE, 0, IDD_CLIENT_CODE_ENTRY,
         {{"id", IDC_ENTRY_NUMBER}, {"code", IDC_CLIENT_CODE}, {"name", IDC_ENTRY_NAME}}},
        {"advanced", IDD_ADVANCED_PAGE, 0, IDD_ADVANCED_PAGE,
         {{"remoteAccess", IDC_REMOTE_ACCESS},
          {"downloadMode", IDC_DOWNLOAD_MODE},
          {"remoteAccessPassword", IDC_REMOTE_ACCESS_PASSWORD},
          {"autoSupplyOrder", IDC_AUTO_SUPPLY_ORDER},
          {"orderDestinationType", IDC_ORDER_DESTINATION_TYPE},
          {"orderDestination", IDC_ORDER_EMAIL_ADDRESS},
          {"orderToner", IDC_ORDER_TONER},
          {"tonerPartNumber", IDC_TONER_PART_NUMBER},
          {"tonerQuantity", IDC_TONER_QUANTITY},
          {"orderDrum", IDC_ORDER_DRUM},
          {"drumPartNumber", IDC_DRUM_PART_NUMBER},
          {"drumQuantity", IDC_DRUM_QUANTITY},
          {"customerNumber", IDC_CUSTOMER_NUMBER},
          {"contactName", IDC_CONTACT_NAME},
          {"contactPhone", IDC_CONTACT_PHONE},
          {"recipient", IDC_RECIPIENT},
          {"address", IDC_ADDRESS}}},
        {"faxSend", IDD_FAX_SEND_PAGE, 0, IDD_FAX_SEND_PAGE,
         {{"redialAttempts", IDC_REDIAL_ATTEMPTS},
          {"redialInterval", IDC_REDIAL_INTERVAL},
          {"dialTiming", IDC_DIAL_TIMING},
          {"lineMonitor", IDC_LINE_MONITOR},
          {"storeForResend", IDC_STORE_FOR_RESEND},
          {"resendStoreHours", IDC_RESEND_STORE_HOURS},
          {"longOriginal", IDC_LONG_ORIGINAL},
          {"sendHeaderEnabled", IDC_SEND_HEADER},
          {"sendHeaderPosition", IDC_SEND_HEADER_POSITION},
          {"defaultCoverPage", IDC_DEFAULT_COVER_PAGE},
          {"alwaysSendFromMemory", IDC_ALWAYS_SEND_FROM_MEMORY},
          {"secureSend", IDC_SECURE_SEND}}},
        {"faxReceive", IDD_FAX_RECEIVE_PAGE, 0, IDD_FAX_RECEIVE_PAGE,
         {{"receiveToMemory", IDC_RECEIVE_TO_MEMORY},
          {"secureReceive", IDC_SECURE_RECEIVE},
          {"secureAllDay", IDC_SUNDAY},
          {"receiveInterval", IDC_RECEIVE_INTERVAL},
          {"printReceiveFooter", IDC_PRINT_RECEIVE_FOOTER},
          {"directoryNumbersOnly", IDC_DIRECTORY_NUMBERS_ONLY},
          {"reduceToFit", IDC_REDUCE_TO_FIT},
          {"printOverflowOnNextPage", IDC_PRINT_OVERFLOW_ON_NEXT_PAGE},
          {"collateFaxes", IDC_COLLATE_FAXES}}},
        // The secure reception password is asked in a dialog of its own, named after the page.
        {"faxReceive", IDD_FAX_RECEIVE_PAGE, 0, IDD_SECURE_FAX_PASSWORD, {{"secureReceivePassword", IDC_SECURE_PASSWORD}}},
        {"mailBoxes", IDD_MAILBOX_PAGE, 0, IDD_MAILBOX_ENTRY,
         {{"number", IDC_MAILBOX_NUMBER},
          {"type", IDC_MAILBOX_TYPE},
          {"password", IDC_MAILBOX_PASSWORD},
          {"destinations", IDC_RELAY_DESTINATIONS},
          {"reportDestKind", IDC_REPORT_DEST_KIND},
          {"reportDest", IDC_EMAIL_ADDRESS}}},
        {"speedDials", IDD_DIRECTORY_PAGE, 0, IDD_DIAL_ENTRY, dialingDataFields},
        {"oneTouches", 0, IDS_ONE_TOUCH, IDD_DIAL_ENTRY, dialingDataFields},
        {"groupDials", 0, IDS_GROUP_DIAL, IDD_GROUP_ENTRY, {{"name", IDC_ENTRY_NAME}, {"members", IDC_GROUP_MEMBERS}}},
        {"pcFax", 0, IDS_CATEGORY_PC_FAX, IDD_PC_FAX_PANEL,
         {{"pcReceiveAttempts", IDC_PC_RECEIVE_ATTEMPTS},
          {"pcRetryInterval", IDC_PC_RETRY_INTERVAL},
          {"pcReceiveMode", IDC_PC_RECEIVE_MODE},
          {"afterAttempts", IDC_AFTER_ATTEMPTS}}},
        {"tcpIp", IDD_TCPIP_PAGE, 0, IDD_TCPIP_PAGE,
         {{"dhcpEnabled", IDC_DHCP}, {"broadcastInterval", IDC_BROADCAST_INTERVAL}, {"disconnectAfter", IDC_DISCONNECT_AFTER}}},
        {"email", IDD_EMAIL_PAGE, 0, IDD_EMAIL_PAGE,
         {{"machineAddress", IDC_MACHINE_EMAIL_ADDRESS},
          {"errorForwardAddress", IDC_ERROR_FORWARD_ADDRESS},
          {"receiveMode", IDC_RECEIVE_MODE},
          {"popCheckInterval", IDC_POP_CHECK_INTERVAL},
          {"popUserName", IDC_POP_USER_NAME},
          {"popPassword", IDC_POP_PASSWORD},
          {"smtpGateway", IDC_SMTP_GATEWAY}}},
        {"ftp", IDD_FTP_PAGE, 0, IDD_FTP_PAGE, {{"ftpUserName", IDC_FTP_USER_NAME}, {"ftpPassword", IDC_FTP_PASSWORD}}},
        {"ipxSpx", IDD_IPX_SPX_PAGE, 0, IDD_IPX_SPX_PAGE, {{"frameType", IDC_FRAME_TYPE}}},
        {"snmp", IDD_SNMP_PAGE, 0, IDD_SNMP_PAGE,
         {{"readCommunity", IDC_READ_COMMUNITY},
          {"readWriteCommunity", IDC_READ_WRITE_COMMUNITY},
          {"trapOnline", IDC_TRAP_ONLINE},
          {"trapOffline", IDC_TRAP_OFFLINE},
          {"trapPrinting", IDC_TRAP_PRINTING},
          {"trapNetworkError", IDC_TRAP_NETWORK_ERROR},
          {"trapServiceRequest", IDC_TRAP_SERVICE_REQUEST},
          {"trapMediaLow", IDC_TRAP_MEDIA_LOW},
          {"trapMediaOut", IDC_TRAP_MEDIA_OUT},
          {"trapIncident", IDC_TRAP_INCIDENT},
          {"trapMediaSizeMismatch", IDC_TRAP_MEDIA_SIZE_MISMATCH},
          {"trapTonerLow", IDC_TRAP_TONER_LOW},
          {"trapTonerOut", IDC_TRAP_TONER_OUT},
          {"trapOutputTrayFull", IDC_TRAP_OUTPUT_TRAY_FULL},
          {"trapCoverOpen", IDC_TRAP_COVER_OPEN},
          {"trapMemoryFull", IDC_TRAP_MEMORY_FULL}}},
        {"reports", 0, IDS_CATEGORY_REPORTS, IDD_REPORTS_PANEL,
         {{"activityReportAuto", IDC_ACTIVITY_REPORT_AUTO},
          {"pollingReport", IDC_POLLING_REPORT},
          {"broadcastReport", IDC_BROADCAST_REPORT},
          {"broadcastReportFirstPage", IDC_BROADCAST_FIRST_PAGE},
          {"mailboxReportLocal", IDC_MAILBOX_REPORT_LOCAL},
          {"mailboxReportRemote", IDC_MAILBOX_REPORT_REMOTE},
          {"confirmationReport", IDC_CONFIRMATION_REPORT},
          {"memorySendReport", IDC_MEMORY_SEND_REPORT},
          {"memorySendReportFirstPage", IDC_MEMORY_SEND_FIRST_PAGE}}},
        {"mailOptions", 0, IDS_CATEGORY_MAIL_OPTIONS, IDD_MAIL_OPTIONS_PANEL,
         {{"printBodyText", IDC_PRINT_BODY_TEXT},
          {"bodyTextLimit", IDC_BODY_TEXT_LIMIT},
          {"sendRequest", IDC_SEND_REQUEST},
          {"deliveryConfirmationRequest", IDC_DELIVERY_CONFIRMATION_REQUEST},
          {"printMailHeader", IDC_PRINT_MAIL_HEADER},
          {"printErrorMessageBody", IDC_PRINT_ERROR_MESSAGE_BODY},
          {"printDeliveryConfirmation", IDC_PRINT_DELIVERY_CONFIRMATION},
          {"printSendRequestReply", IDC_PRINT_SEND_REQUEST_REPLY},
          {"confirmationTimer", IDC_CONFIRMATION_TIMER}}},
    };
    return windows;
}

const Window* FindWindow(const RecordFinding& finding, int& controlId)
{
    for (const Window& window : Windows()) {
        if (std::strcmp(window.section, finding.section) != 0)
            continue;
        for (const Field& field : window.fields) {
            if (std::strcmp(field.name, finding.field) == 0) {
                controlId = field.controlId;
                return &window;
            }
        }
    }
    return nullptr;
}

// The control that shows the value of the finding, where one field has several.
int ShownControl(const RecordFinding& finding, int controlId)
{
    const auto is = [&](const char* section, const char* field) {
        return std::strcmp(finding.section, section) == 0 && std::strcmp(finding.field, field) == 0;
    };
    // The page names the range it shows.
    if (is("phoneLine", "ringsBeforeAnswer"))
        return finding.rule.high > 10 ? IDC_RINGS_LABEL_TO_15 : IDC_RINGS_LABEL_TO_10;
    if (is("faxReceive", "secureAllDay")) {
        const int days[] = {IDC_SUNDAY, IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY, IDC_THURSDAY, IDC_FRIDAY, IDC_SATURDAY};
        return finding.index >= 0 && finding.index < 7 ? days[finding.index] : controlId;
    }
    // A reference shows in the edit of its kind.
    if (finding.problem == RecordFinding::missingEntry && is("advanced", "orderDestination"))
        return finding.referenceKind == 1 ? IDC_ORDER_SPEED_DIAL : IDC_ORDER_ONE_TOUCH;
    if (finding.problem == RecordFinding::missingEntry && is("mailBoxes", "reportDest")) {
        const int editOfKind[] = {IDC_REPORT_SPEED_DIAL, IDC_REPORT_ONE_TOUCH, IDC_REPORT_GROUP_DIAL};
        return finding.referenceKind >= 1 && finding.referenceKind <= 3 ? editOfKind[finding.referenceKind - 1] : controlId;
    }
    return controlId;
}

QString Problem(const RecordFinding& finding)
{
    const fields::Rule& rule = finding.rule;
    switch (finding.problem) {
    case RecordFinding::outOfRange:
        return QStringLiteral("%1 n'est pas compris entre %2 et %3.").arg(finding.value).arg(rule.low).arg(rule.high);
    case RecordFinding::tooLong:
        return QStringLiteral("plus de %1 caractères.").arg(rule.maxLength);
    case RecordFinding::wrongCharacters:
        if (rule.minLength == rule.maxLength)
            return QStringLiteral("il faut %1 chiffres.").arg(rule.maxLength);
        return QStringLiteral("le numéro n'est pas fait de chiffres.");
    case RecordFinding::missingEntry:
        return QStringLiteral("l'entrée %1 n'est pas dans l'annuaire.").arg(static_cast<const QString&>(finding.reference));
    case RecordFinding::dialsNothing:
        return QStringLiteral("la touche ne compose rien.");
    case RecordFinding::noMembers:
        return QStringLiteral("le groupe n'a aucun membre.");
    case RecordFinding::noDestinations:
        return QStringLiteral("le relais n'a aucune destination.");
    }
    return QString();
}

} // namespace

void ForEachFieldControl(const std::function<void(const char*, const char*, int, int)>& visit)
{
    for (const Window& window : Windows()) {
        for (const Field& field : window.fields)
            visit(window.section, field.name, window.templateId, field.controlId);
    }
}

CString WordPlace(const RecordFinding& finding)
{
    int controlId = 0;
    const Window* window = FindWindow(finding, controlId);
    QString page;
    QString label;
    if (window) {
        page = window->captionTemplate ? Caption(window->captionTemplate) : ResourceString(window->captionString);
        label = Label(window->templateId, ShownControl(finding, controlId));
    } else {
        // A field no window shows: the section's page, and the field by its own name.
        const auto sameSection = [&](const Window& w) { return std::strcmp(w.section, finding.section) == 0; };
        const auto at = std::find_if(Windows().begin(), Windows().end(), sameSection);
        page = at == Windows().end() ? QLatin1String(finding.section)
               : at->captionTemplate ? Caption(at->captionTemplate)
                                     : ResourceString(at->captionString);
        label = QLatin1String(finding.field);
        if (finding.index >= 0)
            label += QStringLiteral("[%1]").arg(finding.index);
    }
    if (!finding.entry.IsEmpty())
        page += QLatin1Char(' ') + static_cast<const QString&>(finding.entry);
    return label.isEmpty() ? page : QStringLiteral("%1 : %2").arg(page, label);
}

CString WordFinding(const RecordFinding& finding)
{
    return WordPlace(finding) + " : " + Problem(finding);
}

CString WordProblem(const RecordFinding& finding)
{
    return Problem(finding);
}

CStringArray WordFindings(const std::vector<RecordFinding>& findings)
{
    CStringArray lines;
    for (const RecordFinding& finding : findings)
        lines.Add(WordFinding(finding));
    return lines;
}

CString WordDifference(const RecordDifference& difference)
{
    RecordFinding place;
    place.section = difference.section;
    place.field = difference.field;
    place.entry = difference.entry;
    place.index = difference.index;
    const CString where = WordPlace(place);
    const auto named = [](const CString& name) { return name.IsEmpty() ? CString() : CString(" ") + name; };
    // Every entry is feminine (boîte, composition) but the client code.
    const CString e = std::strcmp(difference.section, "clientCodes") == 0 ? "" : "e";
    switch (difference.change) {
    case RecordDifference::added:
        return where + " : ajouté" + e + named(difference.after);
    case RecordDifference::removed:
        return where + " : supprimé" + e + named(difference.before);
    case RecordDifference::kept:
        return where + " : non modifiée (elle contient des documents)";
    case RecordDifference::changed:
        break;
    }
    if (difference.secret)
        return where + " : modifié";
    return where + " : " + difference.before + " → " + difference.after;
}

CStringArray WordDifferences(const std::vector<RecordDifference>& differences)
{
    CStringArray lines;
    for (const RecordDifference& difference : differences)
        lines.Add(WordDifference(difference));
    return lines;
}
