// The settings record: everything the console edits, as one object.
#pragma once

#include "device/lib/departmentcodes.h"
#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"
#include "device/lib/sections.h"

class CConfig : public CObject {
    DECLARE_SERIAL(CConfig)
public:
    // A new record holds the factory values; its directory, mailboxes and client codes are empty.
    CConfig();
    CConfig(const CConfig&) = delete;
    CConfig& operator=(const CConfig&) = delete;

    // Back to the state of a new record. The sections keep their addresses, and what the
    // record knows of the device (unchangedMailBoxes, the busy mailboxes) stays.
    void DeleteContents();

    // What names a directory entry by its number lets go of an entry that is gone, so that it
    // never stands for another entry given that number later: relay destinations are removed,
    // a report destination or the supplies-order destination is emptied. Run each time
    // entries leave the directory (deletions, a phone book read).
    void DropDanglingReferences();

    // A magic and a schema number, then the sections in their order. Loading reads a whole
    // fresh record first and then assigns it into the sections, which keep their addresses;
    // a malformed stream throws CArchiveException and leaves the record as it was.
    void Serialize(CArchive& ar) override;
    // The header and the sections in their order up to and including the one named `last`,
    // the rest of the stream left untouched: for a reader or writer that deals only with the
    // leading sections and passes the rest on as bytes. Loading reads straight into this
    // record and throws as Serialize; the sections read so far may then hold part of the
    // stream.
    void SerializeLeadingSections(CArchive& ar, const char* last);

    // The device operations, on a device named as GetDevices lists it. Each returns non-zero
    // on success; on failure `detail` tells the user what went wrong, and the record and the
    // device are as they were.
    // The device's whole configuration into the record, with the numbers of its mailboxes
    // that hold documents (CMailBoxes::IsBusy).
    int Read(const CString& device, CString& detail);
    // The record to the device. The device keeps the mailboxes that hold documents as they
    // are: their numbers go to unchangedMailBoxes, their count to mailBoxesUnchanged.
    int Write(const CString& device, CString& detail, int& mailBoxesUnchanged);
    // Sets the device's clock from this computer's.
    int SetDeviceTime(const CString& device, CString& detail) const;
    // Brings the device's configuration back to its factory values.
    int ResetDevice(const CString& device, CString& detail) const;

    // The sections, in their order; pages hold pointers to them for the record's whole life.
    CMachineSettings machine;
    CPhoneLineSettings phoneLine;
    CDepartmentCodes clientCodes;
    CMachineInfo machineInfo;
    CAdvancedSettings advanced;
    CFaxSendSettings faxSend;
    CFaxReceiveSettings faxReceive;
    CMailBoxes mailBoxes;
    CPhoneBook phoneBook;
    CPcFaxSettings pcFax;
    CTcpIpSettings tcpIp;
    CEmailSettings email;
    CFtpSettings ftp;
    CLanFaxSettings lanFax;
    CIpxSpxSettings ipxSpx;
    CSnmpSettings snmp;
    CReportSettings reports;
    CMailOptionSettings mailOptions;

    // Numbers of the mailboxes that the last write to the device could not change or delete.
    CStringArray unchangedMailBoxes;
    // The network device the record was last read from or written to, and that device's tag
    // of its record then: writing to it again is refused when another client changed it
    // meanwhile. Empty for a record from anywhere else.
    CString readFrom;
    QByteArray readTag;

    // Calls visit("sectionName", &CConfig::section) for every section, in order.
    template <class Visit>
    static void Sections(Visit&& visit)
    {
        using C = CConfig;
        visit("machine", &C::machine);
        visit("phoneLine", &C::phoneLine);
        visit("clientCodes", &C::clientCodes);
        visit("machineInfo", &C::machineInfo);
        visit("advanced", &C::advanced);
        visit("faxSend", &C::faxSend);
        visit("faxReceive", &C::faxReceive);
        visit("mailBoxes", &C::mailBoxes);
        visit("phoneBook", &C::phoneBook);
        visit("pcFax", &C::pcFax);
        visit("tcpIp", &C::tcpIp);
        visit("email", &C::email);
        visit("ftp", &C::ftp);
        visit("lanFax", &C::lanFax);
        visit("ipxSpx", &C::ipxSpx);
        visit("snmp", &C::snmp);
        visit("reports", &C::reports);
        visit("mailOptions", &C::mailOptions);
    }
};
