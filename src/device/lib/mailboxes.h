// The device's mailboxes.
#pragma once

#include "device/lib/fields.h"
#include "device/lib/owninglist.h"

class CMailBox : public CObject {
    DECLARE_SERIAL(CMailBox)
public:
    static const int& max_count;             // capacities.h
    static const int& max_relay_dest_count;  // capacities.h

    // A relay mailbox's destinations are copied from `destinations` when one is given.
    explicit CMailBox(const CString& number = CString(), const CString& password = CString(), int type = 0,
                      const CStringArray* destinations = nullptr, int reportDestKind = -1,
                      const CString& reportDest = CString());

    CString GetNumber() const { return number; }
    // Number, type ("Confidentiel", "Babillard", "Relais"; empty for any other value).
    void GetText(CStringArray& texts) const;

    // Writes the mailbox's data; loading reads into a fresh mailbox and assigns it only once
    // all of it was read.
    void Serialize(CArchive& ar) override;

    friend bool operator==(const CMailBox& a, const CMailBox& b);

    CString number;                     // digits, unique among the mailboxes
    int type;                           // 0 confidential, 1 bulletin board, 2 relay
    CString password;
    CStringArray destinations;          // relay destinations: number texts of directory entries
    int reportDestKind;                 // 0 fax, 1 e-mail, 2 speed dial, 3 one-touch key, 4 group; -1 none
    CString reportDest;

    static constexpr int relayType = 2;
    static constexpr int reportByEmail = 1;

    // The mailbox's fields and their rules (fields.h); serialised by Serialize, whose stored
    // order this is.
    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CMailBox;
        using namespace fields;
        visit("number", &C::number, Text(20, Chars::digits, 1));
        visit("type", &C::type, Choice(3));
        visit("password", &C::password, Text(20));
        visit("destinations", &C::destinations, Any());
        visit("reportDestKind", &C::reportDestKind, Number(-1, 4));
        visit("reportDest", &C::reportDest, +[](const C& m) { return m.reportDestKind == reportByEmail ? Text(256) : Any(); });
    }
};

// The mailboxes, in no particular order; the list owns them.
class CMailBoxes : public COwningList<CMailBoxes, CMailBox> {
    DECLARE_SERIAL(CMailBoxes)
public:
    // Takes the mailbox into the list (or keeps it there when it is already in). 0, and the
    // mailbox stays the caller's, when another mailbox has its number or the list is full.
    BOOL Add(CMailBox* mailBox);
    // The mailbox with that number, nullptr when there is none.
    CMailBox* Get(const CString& number) const;

    // Non-zero while the device's mailbox of that number holds documents. The device tells
    // this when it is read; it belongs to the device, so it is kept when the mailboxes are
    // emptied, loaded or replaced.
    BOOL IsBusy(const CString& number) const;
    void SetBusyNumbers(const CStringArray& numbers) { busyNumbers = numbers; }

private:
    CStringArray busyNumbers;
};
