// The settings sections of the record that hold plain fields, one class per page that edits
// them. A new object holds the values of a device fresh from the factory.
//
// Types: int (list indices, check states 0/1, numbers), CString, CInterval, and IPv4
// addresses as four octets in dotted order (octet 0 is the leftmost number).
#pragma once

#include "device/lib/fields.h"
#include "device/lib/interval.h"

class CMachineSettings : public CFieldObject<CMachineSettings> {
    DECLARE_SERIAL(CMachineSettings)
public:
    CString companyName;
    int resolution = 2;            // 0 very high, 1 high, 2 standard
    int contrast = 0;              // 0 normal, 1 darker, 2 lighter
    int activityReportKey = 0;     // 0 sent and received, 1 sent, 2 received
    int ringerVolume = 4;          // 0 to 7
    int alarmVolume = 4;
    int keyVolume = 2;
    int lineVolume = 2;
    int superSaverMode = 0;        // 0 automatic, 1 manual, 2 off
    int superSaverMinutes = 15;    // 1 to 60
    int powerSaverEnabled = 1;
    int askAccountCode = 0;
    int faxSeparatorSheet = 0;
    int tray1PaperSize = 0;        // 0 A4, 1 letter, 2 legal
    int tray2PaperSize = 0;        // 0 A4, 1 letter
    int collateCopies = 1;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CMachineSettings;
        using namespace fields;
        visit("companyName", &C::companyName, Text(40));
        visit("resolution", &C::resolution, Choice(3));
        visit("contrast", &C::contrast, Choice(3));
        visit("activityReportKey", &C::activityReportKey, Choice(3));
        visit("ringerVolume", &C::ringerVolume, Choice(8));
        visit("alarmVolume", &C::alarmVolume, Choice(8));
        visit("keyVolume", &C::keyVolume, Choice(8));
        visit("lineVolume", &C::lineVolume, Choice(8));
        visit("superSaverMode", &C::superSaverMode, Choice(3));
        visit("superSaverMinutes", &C::superSaverMinutes, Number(1, 60));
        visit("powerSaverEnabled", &C::powerSaverEnabled, Flag());
        visit("askAccountCode", &C::askAccountCode, Flag());
        visit("faxSeparatorSheet", &C::faxSeparatorSheet, Flag());
        visit("tray1PaperSize", &C::tray1PaperSize, Choice(3));
        visit("tray2PaperSize", &C::tray2PaperSize, Choice(2));
        visit("collateCopies", &C::collateCopies, Flag());
    }
};

class CPhoneLineSettings : public CFieldObject<CPhoneLineSettings> {
    DECLARE_SERIAL(CPhoneLineSettings)
public:
    CString line1Number;
    static constexpr int answerTelFax = 2;
    int answerMode = 0;            // 0 auto, 1 manual, 2 tel/fax, 3 fax/answering machine
    int line1DialMode = 0;         // 0 tone, 1 pulse
    int ringsBeforeAnswer = 2;     // 1 to 10 (1 to 15 in tel/fax mode)
    int tadTimer = 30;             // 0 to 99
    int ecmEnabled = 1;
    // The second line: kept for the device, not shown by the console.
    CString line2Number;
    int line2Use = 0;              // 0 send and receive, 1 receive, 2 receive within a window
    int line2DialMode = 0;
    CInterval line2ReceiveWindow{20 * 60, 8 * 60};

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CPhoneLineSettings;
        using namespace fields;
        visit("line1Number", &C::line1Number, Text(20));
        visit("answerMode", &C::answerMode, Choice(4));
        visit("line1DialMode", &C::line1DialMode, Choice(2));
        visit("ringsBeforeAnswer", &C::ringsBeforeAnswer, +[](const C& s) { return Number(1, s.answerMode == answerTelFax ? 15 : 10); });
        visit("tadTimer", &C::tadTimer, Number(0, 99));
        visit("ecmEnabled", &C::ecmEnabled, Flag());
        visit("line2Number", &C::line2Number, Any());
        visit("line2Use", &C::line2Use, Choice(3));
        visit("line2DialMode", &C::line2DialMode, Any());
        visit("line2ReceiveWindow", &C::line2ReceiveWindow, Any());
    }
};

// What the device reports about itself; empty until it is read from a device.
class CMachineInfo : public CFieldObject<CMachineInfo> {
    DECLARE_SERIAL(CMachineInfo)
public:
    CString modelName;
    CString firmwareVersion;
    CString memorySize;            // with its unit, as the device words it
    CString trayOptions;
    CString languageCode;
    int scanCount = 0;
    int printCount = 0;
    int drumCount = 0;
    int documentJams = 0;
    int printJams = 0;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CMachineInfo;
        using namespace fields;
        visit("modelName", &C::modelName, Any());
        visit("firmwareVersion", &C::firmwareVersion, Any());
        visit("memorySize", &C::memorySize, Any());
        visit("trayOptions", &C::trayOptions, Any());
        visit("languageCode", &C::languageCode, Any());
        visit("scanCount", &C::scanCount, Any());
        visit("printCount", &C::printCount, Any());
        visit("drumCount", &C::drumCount, Any());
        visit("documentJams", &C::documentJams, Any());
        visit("printJams", &C::printJams, Any());
    }
};

class CAdvancedSettings : public CFieldObject<CAdvancedSettings> {
    DECLARE_SERIAL(CAdvancedSettings)
public:
    int remoteAccess = 0;
    int downloadMode = 1;          // 0 always, 1 only when no job is stored
    CString remoteAccessPassword;
    int autoSupplyOrder = 0;
    static constexpr int orderByEmail = 1;
    int orderDestinationType = 0;  // 0 fax, 1 e-mail, 2 speed dial, 3 one-touch key; -1 none
    CString orderDestination;
    int orderToner = 1;
    CString tonerPartNumber;
    int tonerQuantity = 1;         // 1 to 99
    int orderDrum = 1;
    CString drumPartNumber;
    int drumQuantity = 1;          // 1 to 99
    CString customerNumber;
    CString contactName;
    CString contactPhone;
    CString recipient;
    CString address;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CAdvancedSettings;
        using namespace fields;
        visit("remoteAccess", &C::remoteAccess, Flag());
        visit("downloadMode", &C::downloadMode, Choice(2));
        visit("remoteAccessPassword", &C::remoteAccessPassword, Text(20));
        visit("autoSupplyOrder", &C::autoSupplyOrder, Flag());
        visit("orderDestinationType", &C::orderDestinationType, Choice(4));
        visit("orderDestination", &C::orderDestination, +[](const C& s) { return s.orderDestinationType == orderByEmail ? Text(256) : Any(); });
        visit("orderToner", &C::orderToner, Flag());
        visit("tonerPartNumber", &C::tonerPartNumber, Text(20));
        visit("tonerQuantity", &C::tonerQuantity, Number(1, 99));
        visit("orderDrum", &C::orderDrum, Flag());
        visit("drumPartNumber", &C::drumPartNumber, Text(20));
        visit("drumQuantity", &C::drumQuantity, Number(1, 99));
        visit("customerNumber", &C::customerNumber, Text(20));
        visit("contactName", &C::contactName, Text(40));
        visit("contactPhone", &C::contactPhone, Text(32, Chars::digits));
        visit("recipient", &C::recipient, Text(40));
        visit("address", &C::address, Text(64));
    }
};

class CFaxSendSettings : public CFieldObject<CFaxSendSettings> {
    DECLARE_SERIAL(CFaxSendSettings)
public:
    int redialAttempts = 3;        // 0 to 14
    int redialInterval = 5;        // minutes, 1 to 15
    int dialTiming = 0;            // 0 while scanning, 1 after scanning
    int lineMonitor = 1;
    int storeForResend = 0;
    int resendStoreHours = 24;     // 1 to 24
    int longOriginal = 0;          // 0 one metre, 1 any length
    int sendHeaderEnabled = 1;
    int sendHeaderPosition = 0;    // 0 outside, 1 inside
    int defaultCoverPage = 0;
    int alwaysSendFromMemory = 0;
    int secureSend = 0;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CFaxSendSettings;
        using namespace fields;
        visit("redialAttempts", &C::redialAttempts, Number(0, 14));
        visit("redialInterval", &C::redialInterval, Number(1, 15));
        visit("dialTiming", &C::dialTiming, Choice(2));
        visit("lineMonitor", &C::lineMonitor, Flag());
        visit("storeForResend", &C::storeForResend, Flag());
        visit("resendStoreHours", &C::resendStoreHours, Number(1, 24));
        visit("longOriginal", &C::longOriginal, Choice(2));
        visit("sendHeaderEnabled", &C::sendHeaderEnabled, Flag());
        visit("sendHeaderPosition", &C::sendHeaderPosition, Choice(2));
        visit("defaultCoverPage", &C::defaultCoverPage, Flag());
        visit("alwaysSendFromMemory", &C::alwaysSendFromMemory, Flag());
        visit("secureSend", &C::secureSend, Flag());
    }
};

class CFaxReceiveSettings : public CFieldObject<CFaxReceiveSettings> {
    DECLARE_SERIAL(CFaxReceiveSettings)
public:
    int receiveToMemory = 1;
    int secureReceive = 0;
    CInterval secureReceiveWindow{18 * 60, 8 * 60};
    int secureAllDay[7] = {0, 0, 0, 0, 0, 0, 0};   // Sunday first
    int receiveInterval = 0;       // minutes, 0 to 14
    int printReceiveFooter = 1;
    int directoryNumbersOnly = 0;
    int reduceToFit = 1;
    int printOverflowOnNextPage = 0;
    int collateFaxes = 1;
    CString secureReceivePassword; // four digits, or empty while secure reception is off

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CFaxReceiveSettings;
        using namespace fields;
        visit("receiveToMemory", &C::receiveToMemory, Flag());
        visit("secureReceive", &C::secureReceive, Flag());
        visit("secureReceiveWindow", &C::secureReceiveWindow, Any());
        visit("secureAllDay", &C::secureAllDay, Flag());
        visit("receiveInterval", &C::receiveInterval, Number(0, 14));
        visit("printReceiveFooter", &C::printReceiveFooter, Flag());
        visit("directoryNumbersOnly", &C::directoryNumbersOnly, Flag());
        visit("reduceToFit", &C::reduceToFit, Flag());
        visit("printOverflowOnNextPage", &C::printOverflowOnNextPage, Flag());
        visit("collateFaxes", &C::collateFaxes, Flag());
        visit("secureReceivePassword", &C::secureReceivePassword, +[](const C& s) { return s.secureReceive ? Text(4, Chars::digits, 4) : Any(); });
    }
};

class CPcFaxSettings : public CFieldObject<CPcFaxSettings> {
    DECLARE_SERIAL(CPcFaxSettings)
public:
    int pcReceiveAttempts = 3;     // 0 to 15
    int pcRetryInterval = 2;       // minutes, 0 to 15
    int pcReceiveMode = 0;         // 0 never, 1 mailboxes only, 2 always
    int afterAttempts = 0;         // 0 print, 1 delete

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CPcFaxSettings;
        using namespace fields;
        visit("pcReceiveAttempts", &C::pcReceiveAttempts, Number(0, 15));
        visit("pcRetryInterval", &C::pcRetryInterval, Number(0, 15));
        visit("pcReceiveMode", &C::pcReceiveMode, Choice(3));
        visit("afterAttempts", &C::afterAttempts, Choice(2));
    }
};

class CTcpIpSettings : public CFieldObject<CTcpIpSettings> {
    DECLARE_SERIAL(CTcpIpSettings)
public:
    int dhcpEnabled = 1;
    BYTE ipAddress[4] = {0, 0, 0, 0};
    BYTE subnetMask[4] = {255, 255, 255, 0};
    BYTE defaultGateway[4] = {0, 0, 0, 0};
    int broadcastInterval = 60;    // seconds, 1 to 180
    int disconnectAfter = 30;      // seconds, 1 to 180

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CTcpIpSettings;
        using namespace fields;
        visit("dhcpEnabled", &C::dhcpEnabled, Flag());
        visit("ipAddress", &C::ipAddress, Any());
        visit("subnetMask", &C::subnetMask, Any());
        visit("defaultGateway", &C::defaultGateway, Any());
        visit("broadcastInterval", &C::broadcastInterval, Number(1, 180));
        visit("disconnectAfter", &C::disconnectAfter, Number(1, 180));
    }
};

class CEmailSettings : public CFieldObject<CEmailSettings> {
    DECLARE_SERIAL(CEmailSettings)
public:
    CString machineAddress;
    CString errorForwardAddress;
    int receiveMode = 0;           // 0 POP, 1 SMTP
    BYTE popServerAddress[4] = {0, 0, 0, 0};
    int popCheckInterval = 2;      // 0 1 min, 1 2 min, 2 5 min ... 9 24 h
    CString popUserName;
    CString popPassword;
    BYTE smtpServerAddress[4] = {0, 0, 0, 0};
    int smtpGateway = 0;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CEmailSettings;
        using namespace fields;
        visit("machineAddress", &C::machineAddress, Text(256));
        visit("errorForwardAddress", &C::errorForwardAddress, Text(256));
        visit("receiveMode", &C::receiveMode, Choice(2));
        visit("popServerAddress", &C::popServerAddress, Any());
        visit("popCheckInterval", &C::popCheckInterval, Choice(10));
        visit("popUserName", &C::popUserName, Text(32));
        visit("popPassword", &C::popPassword, Text(32));
        visit("smtpServerAddress", &C::smtpServerAddress, Any());
        visit("smtpGateway", &C::smtpGateway, Flag());
    }
};

class CFtpSettings : public CFieldObject<CFtpSettings> {
    DECLARE_SERIAL(CFtpSettings)
public:
    CString ftpUserName;
    CString ftpPassword;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CFtpSettings;
        using namespace fields;
        visit("ftpUserName", &C::ftpUserName, Text(32));
        visit("ftpPassword", &C::ftpPassword, Text(32));
    }
};

class CLanFaxSettings : public CFieldObject<CLanFaxSettings> {
    DECLARE_SERIAL(CLanFaxSettings)
public:
    BYTE lanFaxServerAddress[4] = {0, 0, 0, 0};

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        visit("lanFaxServerAddress", &CLanFaxSettings::lanFaxServerAddress, fields::Any());
    }
};

class CIpxSpxSettings : public CFieldObject<CIpxSpxSettings> {
    DECLARE_SERIAL(CIpxSpxSettings)
public:
    int frameType = 0;             // 0 auto, 1 802.2, 2 802.3, 3 Ethernet II

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        visit("frameType", &CIpxSpxSettings::frameType, fields::Choice(4));
    }
};

class CSnmpSettings : public CFieldObject<CSnmpSettings> {
    DECLARE_SERIAL(CSnmpSettings)
public:
    CString readCommunity = "public";
    CString readWriteCommunity = "private";
    // Traps: the device reports these events to the SNMP managers.
    int trapOnline = 0;
    int trapOffline = 0;
    int trapPrinting = 0;
    int trapNetworkError = 1;
    int trapServiceRequest = 1;
    int trapMediaLow = 0;
    int trapMediaOut = 1;
    int trapIncident = 1;
    int trapMediaSizeMismatch = 0;
    int trapTonerLow = 0;
    int trapTonerOut = 1;
    int trapOutputTrayFull = 0;
    int trapCoverOpen = 1;
    int trapMemoryFull = 1;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CSnmpSettings;
        using namespace fields;
        visit("readCommunity", &C::readCommunity, Text(20));
        visit("readWriteCommunity", &C::readWriteCommunity, Text(20));
        visit("trapOnline", &C::trapOnline, Flag());
        visit("trapOffline", &C::trapOffline, Flag());
        visit("trapPrinting", &C::trapPrinting, Flag());
        visit("trapNetworkError", &C::trapNetworkError, Flag());
        visit("trapServiceRequest", &C::trapServiceRequest, Flag());
        visit("trapMediaLow", &C::trapMediaLow, Flag());
        visit("trapMediaOut", &C::trapMediaOut, Flag());
        visit("trapIncident", &C::trapIncident, Flag());
        visit("trapMediaSizeMismatch", &C::trapMediaSizeMismatch, Flag());
        visit("trapTonerLow", &C::trapTonerLow, Flag());
        visit("trapTonerOut", &C::trapTonerOut, Flag());
        visit("trapOutputTrayFull", &C::trapOutputTrayFull, Flag());
        visit("trapCoverOpen", &C::trapCoverOpen, Flag());
        visit("trapMemoryFull", &C::trapMemoryFull, Flag());
    }
};

class CReportSettings : public CFieldObject<CReportSettings> {
    DECLARE_SERIAL(CReportSettings)
public:
    // Report policies: 0 always, 1 on error, 2 never.
    int activityReportAuto = 1;
    int pollingReport = 1;
    int broadcastReport = 0;
    int broadcastReportFirstPage = 1;
    int mailboxReportLocal = 0;
    int mailboxReportRemote = 1;
    int confirmationReport = 1;
    int memorySendReport = 1;
    int memorySendReportFirstPage = 1;

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CReportSettings;
        using namespace fields;
        visit("activityReportAuto", &C::activityReportAuto, Flag());
        visit("pollingReport", &C::pollingReport, Choice(3));
        visit("broadcastReport", &C::broadcastReport, Choice(3));
        visit("broadcastReportFirstPage", &C::broadcastReportFirstPage, Flag());
        visit("mailboxReportLocal", &C::mailboxReportLocal, Flag());
        visit("mailboxReportRemote", &C::mailboxReportRemote, Flag());
        visit("confirmationReport", &C::confirmationReport, Choice(3));
        visit("memorySendReport", &C::memorySendReport, Choice(3));
        visit("memorySendReportFirstPage", &C::memorySendReportFirstPage, Flag());
    }
};

class CMailOptionSettings : public CFieldObject<CMailOptionSettings> {
    DECLARE_SERIAL(CMailOptionSettings)
public:
    int printBodyText = 1;
    int bodyTextLimit = 10;        // 1 to 99
    int sendRequest = 0;
    int deliveryConfirmationRequest = 0;
    int printMailHeader = 1;
    int printErrorMessageBody = 1;
    int printDeliveryConfirmation = 0;
    int printSendRequestReply = 0;
    int confirmationTimer = 3;     // 0 off, 1 15 min, 2 30 min, 3 1 h, 4 4 h, 5 24 h

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CMailOptionSettings;
        using namespace fields;
        visit("printBodyText", &C::printBodyText, Flag());
        visit("bodyTextLimit", &C::bodyTextLimit, Number(1, 99));
        visit("sendRequest", &C::sendRequest, Flag());
        visit("deliveryConfirmationRequest", &C::deliveryConfirmationRequest, Flag());
        visit("printMailHeader", &C::printMailHeader, Flag());
        visit("printErrorMessageBody", &C::printErrorMessageBody, Flag());
        visit("printDeliveryConfirmation", &C::printDeliveryConfirmation, Flag());
        visit("printSendRequestReply", &C::printSendRequestReply, Flag());
        visit("confirmationTimer", &C::confirmationTimer, Choice(6));
    }
};
