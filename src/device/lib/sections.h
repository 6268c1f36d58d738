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
        visit("companyName", &C::companyName);
        visit("resolution", &C::resolution);
        visit("contrast", &C::contrast);
        visit("activityReportKey", &C::activityReportKey);
        visit("ringerVolume", &C::ringerVolume);
        visit("alarmVolume", &C::alarmVolume);
        visit("keyVolume", &C::keyVolume);
        visit("lineVolume", &C::lineVolume);
        visit("superSaverMode", &C::superSaverMode);
        visit("superSaverMinutes", &C::superSaverMinutes);
        visit("powerSaverEnabled", &C::powerSaverEnabled);
        visit("askAccountCode", &C::askAccountCode);
        visit("faxSeparatorSheet", &C::faxSeparatorSheet);
        visit("tray1PaperSize", &C::tray1PaperSize);
        visit("tray2PaperSize", &C::tray2PaperSize);
        visit("collateCopies", &C::collateCopies);
    }
};

class CPhoneLineSettings : public CFieldObject<CPhoneLineSettings> {
    DECLARE_SERIAL(CPhoneLineSettings)
public:
    CString line1Number;
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
        visit("line1Number", &C::line1Number);
        visit("answerMode", &C::answerMode);
        visit("line1DialMode", &C::line1DialMode);
        visit("ringsBeforeAnswer", &C::ringsBeforeAnswer);
        visit("tadTimer", &C::tadTimer);
        visit("ecmEnabled", &C::ecmEnabled);
        visit("line2Number", &C::line2Number);
        visit("line2Use", &C::line2Use);
        visit("line2DialMode", &C::line2DialMode);
        visit("line2ReceiveWindow", &C::line2ReceiveWindow);
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
        visit("modelName", &C::modelName);
        visit("firmwareVersion", &C::firmwareVersion);
        visit("memorySize", &C::memorySize);
        visit("trayOptions", &C::trayOptions);
        visit("languageCode", &C::languageCode);
        visit("scanCount", &C::scanCount);
        visit("printCount", &C::printCount);
        visit("drumCount", &C::drumCount);
        visit("documentJams", &C::documentJams);
        visit("printJams", &C::printJams);
    }
};

class CAdvancedSettings : public CFieldObject<CAdvancedSettings> {
    DECLARE_SERIAL(CAdvancedSettings)
public:
    int remoteAccess = 0;
    int downloadMode = 1;          // 0 always, 1 only when no job is stored
    CString remoteAccessPassword;
    int autoSupplyOrder = 0;
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
        visit("remoteAccess", &C::remoteAccess);
        visit("downloadMode", &C::downloadMode);
        visit("remoteAccessPassword", &C::remoteAccessPassword);
        visit("autoSupplyOrder", &C::autoSupplyOrder);
        visit("orderDestinationType", &C::orderDestinationType);
        visit("orderDestination", &C::orderDestination);
        visit("orderToner", &C::orderToner);
        visit("tonerPartNumber", &C::tonerPartNumber);
        visit("tonerQuantity", &C::tonerQuantity);
        visit("orderDrum", &C::orderDrum);
        visit("drumPartNumber", &C::drumPartNumber);
        visit("drumQuantity", &C::drumQuantity);
        visit("customerNumber", &C::customerNumber);
        visit("contactName", &C::contactName);
        visit("contactPhone", &C::contactPhone);
        visit("recipient", &C::recipient);
        visit("address", &C::address);
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
        visit("redialAttempts", &C::redialAttempts);
        visit("redialInterval", &C::redialInterval);
        visit("dialTiming", &C::dialTiming);
        visit("lineMonitor", &C::lineMonitor);
        visit("storeForResend", &C::storeForResend);
        visit("resendStoreHours", &C::resendStoreHours);
        visit("longOriginal", &C::longOriginal);
        visit("sendHeaderEnabled", &C::sendHeaderEnabled);
        visit("sendHeaderPosition", &C::sendHeaderPosition);
        visit("defaultCoverPage", &C::defaultCoverPage);
        visit("alwaysSendFromMemory", &C::alwaysSendFromMemory);
        visit("secureSend", &C::secureSend);
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
        visit("receiveToMemory", &C::receiveToMemory);
        visit("secureReceive", &C::secureReceive);
        visit("secureReceiveWindow", &C::secureReceiveWindow);
        visit("secureAllDay", &C::secureAllDay);
        visit("receiveInterval", &C::receiveInterval);
        visit("printReceiveFooter", &C::printReceiveFooter);
        visit("directoryNumbersOnly", &C::directoryNumbersOnly);
        visit("reduceToFit", &C::reduceToFit);
        visit("printOverflowOnNextPage", &C::printOverflowOnNextPage);
        visit("collateFaxes", &C::collateFaxes);
        visit("secureReceivePassword", &C::secureReceivePassword);
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
        visit("pcReceiveAttempts", &C::pcReceiveAttempts);
        visit("pcRetryInterval", &C::pcRetryInterval);
        visit("pcReceiveMode", &C::pcReceiveMode);
        visit("afterAttempts", &C::afterAttempts);
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
        visit("dhcpEnabled", &C::dhcpEnabled);
        visit("ipAddress", &C::ipAddress);
        visit("subnetMask", &C::subnetMask);
        visit("defaultGateway", &C::defaultGateway);
        visit("broadcastInterval", &C::broadcastInterval);
        visit("disconnectAfter", &C::disconnectAfter);
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
        visit("machineAddress", &C::machineAddress);
        visit("errorForwardAddress", &C::errorForwardAddress);
        visit("receiveMode", &C::receiveMode);
        visit("popServerAddress", &C::popServerAddress);
        visit("popCheckInterval", &C::popCheckInterval);
        visit("popUserName", &C::popUserName);
        visit("popPassword", &C::popPassword);
        visit("smtpServerAddress", &C::smtpServerAddress);
        visit("smtpGateway", &C::smtpGateway);
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
        visit("ftpUserName", &C::ftpUserName);
        visit("ftpPassword", &C::ftpPassword);
    }
};

class CLanFaxSettings : public CFieldObject<CLanFaxSettings> {
    DECLARE_SERIAL(CLanFaxSettings)
public:
    BYTE lanFaxServerAddress[4] = {0, 0, 0, 0};

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        visit("lanFaxServerAddress", &CLanFaxSettings::lanFaxServerAddress);
    }
};

class CIpxSpxSettings : public CFieldObject<CIpxSpxSettings> {
    DECLARE_SERIAL(CIpxSpxSettings)
public:
    int frameType = 0;             // 0 auto, 1 802.2, 2 802.3, 3 Ethernet II

    template <class Visit>
    static void Fields(Visit&& visit)
    {
        visit("frameType", &CIpxSpxSettings::frameType);
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
        visit("readCommunity", &C::readCommunity);
        visit("readWriteCommunity", &C::readWriteCommunity);
        visit("trapOnline", &C::trapOnline);
        visit("trapOffline", &C::trapOffline);
        visit("trapPrinting", &C::trapPrinting);
        visit("trapNetworkError", &C::trapNetworkError);
        visit("trapServiceRequest", &C::trapServiceRequest);
        visit("trapMediaLow", &C::trapMediaLow);
        visit("trapMediaOut", &C::trapMediaOut);
        visit("trapIncident", &C::trapIncident);
        visit("trapMediaSizeMismatch", &C::trapMediaSizeMismatch);
        visit("trapTonerLow", &C::trapTonerLow);
        visit("trapTonerOut", &C::trapTonerOut);
        visit("trapOutputTrayFull", &C::trapOutputTrayFull);
        visit("trapCoverOpen", &C::trapCoverOpen);
        visit("trapMemoryFull", &C::trapMemoryFull);
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
        visit("activityReportAuto", &C::activityReportAuto);
        visit("pollingReport", &C::pollingReport);
        visit("broadcastReport", &C::broadcastReport);
        visit("broadcastReportFirstPage", &C::broadcastReportFirstPage);
        visit("mailboxReportLocal", &C::mailboxReportLocal);
        visit("mailboxReportRemote", &C::mailboxReportRemote);
        visit("confirmationReport", &C::confirmationReport);
        visit("memorySendReport", &C::memorySendReport);
        visit("memorySendReportFirstPage", &C::memorySendReportFirstPage);
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
        visit("printBodyText", &C::printBodyText);
        visit("bodyTextLimit", &C::bodyTextLimit);
        visit("sendRequest", &C::sendRequest);
        visit("deliveryConfirmationRequest", &C::deliveryConfirmationRequest);
        visit("printMailHeader", &C::printMailHeader);
        visit("printErrorMessageBody", &C::printErrorMessageBody);
        visit("printDeliveryConfirmation", &C::printDeliveryConfirmation);
        visit("printSendRequestReply", &C::printSendRequestReply);
        visit("confirmationTimer", &C::confirmationTimer);
    }
};
