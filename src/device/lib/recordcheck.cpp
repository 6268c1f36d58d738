#include "device/lib/recordcheck.h"

#include "afx/core/resources.h"
#include "res/resource.h"

#include <QRegularExpression>

namespace {

// Where the console shows a field: the page's name (its tab caption, or for a panel its
// category; an entry's page with the entry's number) and the template whose labels name
// the page's fields.
struct Place {
    QString page;
    int templateId;
};

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

class Findings {
public:
    explicit Findings(CStringArray& lines) : lines(lines) {}

    void Range(const Place& place, int controlId, int value, int low, int high)
    {
        if (value < low || value > high)
            Add(place, controlId, QStringLiteral("%1 n'est pas compris entre %2 et %3.").arg(value).arg(low).arg(high));
    }
    void Flag(const Place& place, int controlId, int value) { Range(place, controlId, value, 0, 1); }
    void Length(const Place& place, int controlId, const CString& text, int most)
    {
        if (text.GetLength() > most)
            Add(place, controlId, QStringLiteral("plus de %1 caractères.").arg(most));
    }
    // A reference by number to an entry the directory does not hold.
    void Missing(const Place& place, int controlId, const CString& number)
    {
        Add(place, controlId, QStringLiteral("l'entrée %1 n'est pas dans l'annuaire.").arg(static_cast<const QString&>(number)));
    }
    void Add(const Place& place, int controlId, const QString& problem)
    {
        lines.Add(QStringLiteral("%1 : %2 : %3").arg(place.page, Label(place.templateId, controlId), problem));
    }

private:
    CStringArray& lines;
};

void CheckMachine(const CMachineSettings& s, Findings& out)
{
    const Place page{Caption(IDD_MACHINE_PAGE), IDD_MACHINE_PAGE};
    out.Length(page, IDC_COMPANY_NAME, s.companyName, 40);
    out.Range(page, IDC_RESOLUTION, s.resolution, 0, 2);
    out.Range(page, IDC_CONTRAST, s.contrast, 0, 2);
    out.Range(page, IDC_ACTIVITY_REPORT_KEY, s.activityReportKey, 0, 2);
    out.Range(page, IDC_RINGER_VOLUME, s.ringerVolume, 0, 7);
    out.Range(page, IDC_ALARM_VOLUME, s.alarmVolume, 0, 7);
    out.Range(page, IDC_KEY_VOLUME, s.keyVolume, 0, 7);
    out.Range(page, IDC_LINE_VOLUME, s.lineVolume, 0, 7);
    out.Range(page, IDC_SUPER_SAVER_MODE, s.superSaverMode, 0, 2);
    out.Range(page, IDC_SUPER_SAVER_MINUTES, s.superSaverMinutes, 1, 60);
    out.Flag(page, IDC_POWER_SAVER, s.powerSaverEnabled);
    out.Flag(page, IDC_ASK_ACCOUNT_CODE, s.askAccountCode);
    out.Flag(page, IDC_FAX_SEPARATOR, s.faxSeparatorSheet);
    out.Range(page, IDC_TRAY1_PAPER_SIZE, s.tray1PaperSize, 0, 2);
    out.Range(page, IDC_TRAY2_PAPER_SIZE, s.tray2PaperSize, 0, 1);
    out.Flag(page, IDC_COLLATE_COPIES, s.collateCopies);
}

void CheckPhoneLine(const CPhoneLineSettings& s, Findings& out)
{
    const Place page{Caption(IDD_PHONE_LINE_PAGE), IDD_PHONE_LINE_PAGE};
    out.Length(page, IDC_LINE1_NUMBER, s.line1Number, 20);
    out.Range(page, IDC_ANSWER_MODE, s.answerMode, 0, 3);
    out.Range(page, IDC_DIAL_MODE, s.line1DialMode, 0, 1);
    // Up to 15 rings in tel/fax mode only; the page names the range it shows.
    const bool telFax = s.answerMode == 2;
    out.Range(page, telFax ? IDC_RINGS_LABEL_TO_15 : IDC_RINGS_LABEL_TO_10, s.ringsBeforeAnswer, 1, telFax ? 15 : 10);
    out.Range(page, IDC_TAD_TIMER, s.tadTimer, 0, 99);
    out.Flag(page, IDC_ECM, s.ecmEnabled);
    out.Range(page, IDC_LINE_USE, s.line2Use, 0, 2);
}

void CheckAdvanced(const CAdvancedSettings& s, const CPhoneBook& phoneBook, Findings& out)
{
    const Place page{Caption(IDD_ADVANCED_PAGE), IDD_ADVANCED_PAGE};
    out.Flag(page, IDC_REMOTE_ACCESS, s.remoteAccess);
    out.Range(page, IDC_DOWNLOAD_MODE, s.downloadMode, 0, 1);
    out.Length(page, IDC_REMOTE_ACCESS_PASSWORD, s.remoteAccessPassword, 20);
    out.Flag(page, IDC_AUTO_SUPPLY_ORDER, s.autoSupplyOrder);
    out.Range(page, IDC_ORDER_DESTINATION_TYPE, s.orderDestinationType, 0, 3);
    if (s.orderDestinationType == 1)
        out.Length(page, IDC_ORDER_EMAIL_ADDRESS, s.orderDestination, 256);
    const int kinds[] = {0, 0, 1, 2};   // speed dial, one-touch key
    const int editOfType[] = {IDC_ORDER_FAX_NUMBER, IDC_ORDER_EMAIL_ADDRESS, IDC_ORDER_SPEED_DIAL, IDC_ORDER_ONE_TOUCH};
    if (s.orderDestinationType >= 2 && s.orderDestinationType <= 3 && !s.orderDestination.IsEmpty()
        && !phoneBook.Holds(s.orderDestination, kinds[s.orderDestinationType]))
        out.Missing(page, editOfType[s.orderDestinationType], s.orderDestination);
    out.Flag(page, IDC_ORDER_TONER, s.orderToner);
    out.Length(page, IDC_TONER_PART_NUMBER, s.tonerPartNumber, 20);
    out.Range(page, IDC_TONER_QUANTITY, s.tonerQuantity, 1, 99);
    out.Flag(page, IDC_ORDER_DRUM, s.orderDrum);
    out.Length(page, IDC_DRUM_PART_NUMBER, s.drumPartNumber, 20);
    out.Range(page, IDC_DRUM_QUANTITY, s.drumQuantity, 1, 99);
    out.Length(page, IDC_CUSTOMER_NUMBER, s.customerNumber, 20);
    out.Length(page, IDC_CONTACT_NAME, s.contactName, 40);
    out.Length(page, IDC_CONTACT_PHONE, s.contactPhone, 32);
    out.Length(page, IDC_RECIPIENT, s.recipient, 40);
    out.Length(page, IDC_ADDRESS, s.address, 64);
}

void CheckFaxSend(const CFaxSendSettings& s, Findings& out)
{
    const Place page{Caption(IDD_FAX_SEND_PAGE), IDD_FAX_SEND_PAGE};
    out.Range(page, IDC_REDIAL_ATTEMPTS, s.redialAttempts, 0, 14);
    out.Range(page, IDC_REDIAL_INTERVAL, s.redialInterval, 1, 15);
    out.Range(page, IDC_DIAL_TIMING, s.dialTiming, 0, 1);
    out.Flag(page, IDC_LINE_MONITOR, s.lineMonitor);
    out.Flag(page, IDC_STORE_FOR_RESEND, s.storeForResend);
    out.Range(page, IDC_RESEND_STORE_HOURS, s.resendStoreHours, 1, 24);
    out.Range(page, IDC_LONG_ORIGINAL, s.longOriginal, 0, 1);
    out.Flag(page, IDC_SEND_HEADER, s.sendHeaderEnabled);
    out.Range(page, IDC_SEND_HEADER_POSITION, s.sendHeaderPosition, 0, 1);
    out.Flag(page, IDC_DEFAULT_COVER_PAGE, s.defaultCoverPage);
    out.Flag(page, IDC_ALWAYS_SEND_FROM_MEMORY, s.alwaysSendFromMemory);
    out.Flag(page, IDC_SECURE_SEND, s.secureSend);
}

void CheckFaxReceive(const CFaxReceiveSettings& s, Findings& out)
{
    const Place page{Caption(IDD_FAX_RECEIVE_PAGE), IDD_FAX_RECEIVE_PAGE};
    out.Flag(page, IDC_RECEIVE_TO_MEMORY, s.receiveToMemory);
    out.Flag(page, IDC_SECURE_RECEIVE, s.secureReceive);
    const int days[] = {IDC_SUNDAY, IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY, IDC_THURSDAY, IDC_FRIDAY, IDC_SATURDAY};
    for (int day = 0; day < 7; ++day)
        out.Flag(page, days[day], s.secureAllDay[day]);
    out.Range(page, IDC_RECEIVE_INTERVAL, s.receiveInterval, 0, 14);
    out.Flag(page, IDC_PRINT_RECEIVE_FOOTER, s.printReceiveFooter);
    out.Flag(page, IDC_DIRECTORY_NUMBERS_ONLY, s.directoryNumbersOnly);
    out.Flag(page, IDC_REDUCE_TO_FIT, s.reduceToFit);
    out.Flag(page, IDC_PRINT_OVERFLOW_ON_NEXT_PAGE, s.printOverflowOnNextPage);
    out.Flag(page, IDC_COLLATE_FAXES, s.collateFaxes);
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (s.secureReceive && !fourDigits.match(static_cast<const QString&>(s.secureReceivePassword)).hasMatch())
        out.Add({page.page, IDD_SECURE_FAX_PASSWORD}, IDC_SECURE_PASSWORD, QStringLiteral("il faut 4 chiffres."));
}

void CheckPanels(const CConfig& record, Findings& out)
{
    const CPcFaxSettings& pcFax = record.pcFax;
    const Place pcFaxPanel{ResourceString(IDS_CATEGORY_PC_FAX), IDD_PC_FAX_PANEL};
    out.Range(pcFaxPanel, IDC_PC_RECEIVE_ATTEMPTS, pcFax.pcReceiveAttempts, 0, 15);
    out.Range(pcFaxPanel, IDC_PC_RETRY_INTERVAL, pcFax.pcRetryInterval, 0, 15);
    out.Range(pcFaxPanel, IDC_PC_RECEIVE_MODE, pcFax.pcReceiveMode, 0, 2);
    out.Range(pcFaxPanel, IDC_AFTER_ATTEMPTS, pcFax.afterAttempts, 0, 1);

    const CReportSettings& reports = record.reports;
    const Place reportsPanel{ResourceString(IDS_CATEGORY_REPORTS), IDD_REPORTS_PANEL};
    out.Flag(reportsPanel, IDC_ACTIVITY_REPORT_AUTO, reports.activityReportAuto);
    out.Range(reportsPanel, IDC_POLLING_REPORT, reports.pollingReport, 0, 2);
    out.Range(reportsPanel, IDC_BROADCAST_REPORT, reports.broadcastReport, 0, 2);
    out.Flag(reportsPanel, IDC_BROADCAST_FIRST_PAGE, reports.broadcastReportFirstPage);
    out.Flag(reportsPanel, IDC_MAILBOX_REPORT_LOCAL, reports.mailboxReportLocal);
    out.Flag(reportsPanel, IDC_MAILBOX_REPORT_REMOTE, reports.mailboxReportRemote);
    out.Range(reportsPanel, IDC_CONFIRMATION_REPORT, reports.confirmationReport, 0, 2);
    out.Range(reportsPanel, IDC_MEMORY_SEND_REPORT, reports.memorySendReport, 0, 2);
    out.Flag(reportsPanel, IDC_MEMORY_SEND_FIRST_PAGE, reports.memorySendReportFirstPage);

    const CMailOptionSettings& mail = record.mailOptions;
    const Place mailPanel{ResourceString(IDS_CATEGORY_MAIL_OPTIONS), IDD_MAIL_OPTIONS_PANEL};
    out.Flag(mailPanel, IDC_PRINT_BODY_TEXT, mail.printBodyText);
    out.Range(mailPanel, IDC_BODY_TEXT_LIMIT, mail.bodyTextLimit, 1, 99);
    out.Flag(mailPanel, IDC_SEND_REQUEST, mail.sendRequest);
    out.Flag(mailPanel, IDC_DELIVERY_CONFIRMATION_REQUEST, mail.deliveryConfirmationRequest);
    out.Flag(mailPanel, IDC_PRINT_MAIL_HEADER, mail.printMailHeader);
    out.Flag(mailPanel, IDC_PRINT_ERROR_MESSAGE_BODY, mail.printErrorMessageBody);
    out.Flag(mailPanel, IDC_PRINT_DELIVERY_CONFIRMATION, mail.printDeliveryConfirmation);
    out.Flag(mailPanel, IDC_PRINT_SEND_REQUEST_REPLY, mail.printSendRequestReply);
    out.Range(mailPanel, IDC_CONFIRMATION_TIMER, mail.confirmationTimer, 0, 5);
}

void CheckNetwork(const CConfig& record, Findings& out)
{
    const Place tcpIp{Caption(IDD_TCPIP_PAGE), IDD_TCPIP_PAGE};
    out.Flag(tcpIp, IDC_DHCP, record.tcpIp.dhcpEnabled);
    out.Range(tcpIp, IDC_BROADCAST_INTERVAL, record.tcpIp.broadcastInterval, 1, 180);
    out.Range(tcpIp, IDC_DISCONNECT_AFTER, record.tcpIp.disconnectAfter, 1, 180);

    const CEmailSettings& email = record.email;
    const Place emailPage{Caption(IDD_EMAIL_PAGE), IDD_EMAIL_PAGE};
    out.Length(emailPage, IDC_MACHINE_EMAIL_ADDRESS, email.machineAddress, 256);
    out.Length(emailPage, IDC_ERROR_FORWARD_ADDRESS, email.errorForwardAddress, 256);
    out.Range(emailPage, IDC_RECEIVE_MODE, email.receiveMode, 0, 1);
    out.Range(emailPage, IDC_POP_CHECK_INTERVAL, email.popCheckInterval, 0, 9);
    out.Length(emailPage, IDC_POP_USER_NAME, email.popUserName, 32);
    out.Length(emailPage, IDC_POP_PASSWORD, email.popPassword, 32);
    out.Flag(emailPage, IDC_SMTP_GATEWAY, email.smtpGateway);

    const Place ftp{Caption(IDD_FTP_PAGE), IDD_FTP_PAGE};
    out.Length(ftp, IDC_FTP_USER_NAME, record.ftp.ftpUserName, 32);
    out.Length(ftp, IDC_FTP_PASSWORD, record.ftp.ftpPassword, 32);

    const Place ipxSpx{Caption(IDD_IPX_SPX_PAGE), IDD_IPX_SPX_PAGE};
    out.Range(ipxSpx, IDC_FRAME_TYPE, record.ipxSpx.frameType, 0, 3);

    const CSnmpSettings& snmp = record.snmp;
    const Place snmpPage{Caption(IDD_SNMP_PAGE), IDD_SNMP_PAGE};
    out.Length(snmpPage, IDC_READ_COMMUNITY, snmp.readCommunity, 20);
    out.Length(snmpPage, IDC_READ_WRITE_COMMUNITY, snmp.readWriteCommunity, 20);
    const std::pair<int, int> traps[] = {
        {IDC_TRAP_ONLINE, snmp.trapOnline},
        {IDC_TRAP_OFFLINE, snmp.trapOffline},
        {IDC_TRAP_PRINTING, snmp.trapPrinting},
        {IDC_TRAP_NETWORK_ERROR, snmp.trapNetworkError},
        {IDC_TRAP_SERVICE_REQUEST, snmp.trapServiceRequest},
        {IDC_TRAP_MEDIA_LOW, snmp.trapMediaLow},
        {IDC_TRAP_MEDIA_OUT, snmp.trapMediaOut},
        {IDC_TRAP_INCIDENT, snmp.trapIncident},
        {IDC_TRAP_MEDIA_SIZE_MISMATCH, snmp.trapMediaSizeMismatch},
        {IDC_TRAP_TONER_LOW, snmp.trapTonerLow},
        {IDC_TRAP_TONER_OUT, snmp.trapTonerOut},
        {IDC_TRAP_OUTPUT_TRAY_FULL, snmp.trapOutputTrayFull},
        {IDC_TRAP_COVER_OPEN, snmp.trapCoverOpen},
        {IDC_TRAP_MEMORY_FULL, snmp.trapMemoryFull},
    };
    for (const auto& [control, value] : traps)
        out.Flag(snmpPage, control, value);
}

void CheckDialingData(const CDialingData& d, const Place& entry, Findings& out)
{
    out.Length(entry, IDC_DIAL_NAME, d.name, 20);
    out.Length(entry, IDC_EMAIL_ADDRESS, d.emailAddress, 256);
    out.Range(entry, IDC_RECIPIENT_RESOLUTION, d.resolution, 0, 4);
    out.Range(entry, IDC_RECIPIENT_COMPRESSION, d.compression, 0, 3);
    out.Range(entry, IDC_DIAL_LINE, d.dialLine, 0, 1);   // the device has two lines
    out.Range(entry, IDC_MAX_SPEED, d.maxSpeed, 0, 3);
    out.Flag(entry, IDC_MONITOR_TONE, d.monitorTone);
    out.Flag(entry, IDC_PRINT_CONFIRMATION, d.printConfirmation);
    out.Flag(entry, IDC_DELAYED_DIAL, d.delayedDial);
    out.Range(entry, IDC_DELAY_TIME, d.delayHour, 0, 23);
    out.Range(entry, IDC_DELAY_TIME, d.delayMinute, 0, 59);
    out.Flag(entry, IDC_ITU_MAILBOX, d.ituMailbox);
    out.Length(entry, IDC_SUB_ADDRESS, d.subAddress, 20);
    out.Length(entry, IDC_POLLING_SUB_ADDRESS, d.pollingSubAddress, 20);
    out.Length(entry, IDC_ITU_MAILBOX_PASSWORD, d.mailboxPassword, 20);
}

// The list page of a directory kind: the template's caption names the first, strings the others.
QString DirectoryPage(int kind)
{
    return kind == 1 ? Caption(IDD_DIRECTORY_PAGE) : ResourceString(kind == 2 ? IDS_ONE_TOUCH : IDS_GROUP_DIAL);
}

Place EntryPlace(int kind, const CIdObject& entry, int digits, int templateId)
{
    return {DirectoryPage(kind) + QLatin1Char(' ') + static_cast<const QString&>(FormatId(entry.GetId(), digits)),
            templateId};
}

void CheckDirectory(const CPhoneBook& phoneBook, Findings& out)
{
    for (POSITION at = phoneBook.GetSpeedDials().GetHeadPosition(); at != nullptr;) {
        const auto* entry = static_cast<const CSpeedDial*>(phoneBook.GetSpeedDials().GetNext(at));
        CheckDialingData(*entry->GetDialingData(), EntryPlace(1, *entry, CSpeedDial::digits, IDD_DIAL_ENTRY), out);
    }
    for (POSITION at = phoneBook.GetOneTouches().GetHeadPosition(); at != nullptr;) {
        const auto* key = static_cast<const COneTouch*>(phoneBook.GetOneTouches().GetNext(at));
        const Place place = EntryPlace(2, *key, COneTouch::digits, IDD_DIAL_ENTRY);
        const CObject* ref = key->GetRef();
        if (const CDialingData* record = key->GetDialingData()) {
            CheckDialingData(*record, place, out);
        } else if (const auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, const_cast<CObject*>(ref))) {
            if (phoneBook.GetSpeedDial(speedDial->GetId()) != speedDial)
                out.Missing(place, IDC_ONE_TOUCH_TYPE, FormatId(speedDial->GetId(), CSpeedDial::digits));
        } else if (const auto* group = DYNAMIC_DOWNCAST(CGroupDial, const_cast<CObject*>(ref))) {
            if (phoneBook.GetGroupDial(group->GetId()) != group)
                out.Missing(place, IDC_ONE_TOUCH_TYPE, FormatId(group->GetId(), CGroupDial::digits));
        } else {
            out.Add(place, IDC_ONE_TOUCH_TYPE, QStringLiteral("la touche ne compose rien."));
        }
    }
    for (POSITION at = phoneBook.GetGroupDials().GetHeadPosition(); at != nullptr;) {
        const auto* group = static_cast<const CGroupDial*>(phoneBook.GetGroupDials().GetNext(at));
        const Place place = EntryPlace(3, *group, CGroupDial::digits, IDD_GROUP_ENTRY);
        out.Length(place, IDC_ENTRY_NAME, group->name, 20);
        if (group->members.IsEmpty())
            out.Add(place, IDC_GROUP_MEMBERS, QStringLiteral("le groupe n'a aucun membre."));
        for (POSITION m = group->members.GetHeadPosition(); m != nullptr;) {
            CObject* member = group->members.GetNext(m);
            // Members are speed dials and one-touch keys with a record of their own.
            if (const auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, member)) {
                if (phoneBook.GetSpeedDial(speedDial->GetId()) != speedDial)
                    out.Missing(place, IDC_GROUP_MEMBERS, FormatId(speedDial->GetId(), CSpeedDial::digits));
            } else if (const auto* key = DYNAMIC_DOWNCAST(COneTouch, member)) {
                if (phoneBook.GetOneTouch(key->GetId()) != key || key->GetDialingData() == nullptr)
                    out.Missing(place, IDC_GROUP_MEMBERS, FormatId(key->GetId(), COneTouch::digits));
            }
        }
    }
}

void CheckMailBoxes(const CMailBoxes& mailBoxes, const CPhoneBook& phoneBook, Findings& out)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString pageName = Caption(IDD_MAILBOX_PAGE);
    for (POSITION at = mailBoxes.GetHeadPosition(); at != nullptr;) {
        const auto& box = *static_cast<const CMailBox*>(mailBoxes.GetNext(at));
        const Place place{pageName + QLatin1Char(' ') + static_cast<const QString&>(box.number), IDD_MAILBOX_ENTRY};
        if (!digits.match(static_cast<const QString&>(box.number)).hasMatch())
            out.Add(place, IDC_MAILBOX_NUMBER, QStringLiteral("le numéro n'est pas fait de chiffres."));
        out.Length(place, IDC_MAILBOX_NUMBER, box.number, 20);
        out.Length(place, IDC_MAILBOX_PASSWORD, box.password, 20);
        out.Range(place, IDC_MAILBOX_TYPE, box.type, 0, 2);
        if (box.type == 2 && box.destinations.IsEmpty())
            out.Add(place, IDC_RELAY_DESTINATIONS, QStringLiteral("le relais n'a aucune destination."));
        for (int index = 0; box.type == 2 && index < box.destinations.GetSize(); ++index) {
            if (!phoneBook.Holds(box.destinations[index], 0))
                out.Missing(place, IDC_RELAY_DESTINATIONS, box.destinations[index]);
        }
        out.Range(place, IDC_REPORT_DEST_KIND, box.reportDestKind, -1, 4);
        if (box.reportDestKind == 1)
            out.Length(place, IDC_EMAIL_ADDRESS, box.reportDest, 256);
        // Speed dial, one-touch key, group: as their directory kinds number them.
        const int editOfKind[] = {IDC_REPORT_SPEED_DIAL, IDC_REPORT_ONE_TOUCH, IDC_REPORT_GROUP_DIAL};
        if (box.reportDestKind >= 2 && box.reportDestKind <= 4 && !box.reportDest.IsEmpty()
            && !phoneBook.Holds(box.reportDest, box.reportDestKind - 1))
            out.Missing(place, editOfKind[box.reportDestKind - 2], box.reportDest);
    }
}

void CheckClientCodes(const CDepartmentCodes& codes, Findings& out)
{
    const QString pageName = Caption(IDD_CLIENT_CODE_PAGE);
    for (POSITION at = codes.GetHeadPosition(); at != nullptr;) {
        const auto& code = *static_cast<const CDepartmentCode*>(codes.GetNext(at));
        const Place place{pageName + QLatin1Char(' ')
                              + static_cast<const QString&>(FormatId(code.GetId(), CDepartmentCode::digits)),
                          IDD_CLIENT_CODE_ENTRY};
        out.Range(place, IDC_ENTRY_NUMBER, code.GetId(), 1, CDepartmentCode::max_count);
        out.Range(place, IDC_CLIENT_CODE, code.code, 0, CDepartmentCode::highestCode);
        out.Length(place, IDC_ENTRY_NAME, code.name, 20);
    }
}

} // namespace

int CheckRecord(const CConfig& record, CStringArray& findings)
{
    findings.RemoveAll();
    Findings out(findings);
    CheckMachine(record.machine, out);
    CheckPhoneLine(record.phoneLine, out);
    CheckClientCodes(record.clientCodes, out);
    CheckAdvanced(record.advanced, record.phoneBook, out);
    CheckFaxSend(record.faxSend, out);
    CheckFaxReceive(record.faxReceive, out);
    CheckMailBoxes(record.mailBoxes, record.phoneBook, out);
    CheckDirectory(record.phoneBook, out);
    CheckPanels(record, out);
    CheckNetwork(record, out);
    return int(findings.GetSize());
}
