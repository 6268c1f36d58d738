// The record as a device would take it, looked at before anything is sent and again by the
// device: every field against its rule (fields.h), and every reference by number to a
// directory entry that is not there. Findings are data; the console's wording of them is not
// the device library's (it names pages and labels of the console's windows).
#pragma once

#include "device/lib/config.h"

#include <QByteArray>

#include <vector>

struct RecordFinding {
    enum Problem {
        outOfRange,       // a number outside rule.low to rule.high; `value` holds it
        tooLong,          // a text longer than rule.maxLength
        wrongCharacters,  // a text not of rule.chars, or shorter than rule.minLength
        missingEntry,     // `reference` names no entry of kind `referenceKind`
        dialsNothing,     // a one-touch key with nothing to dial
        noMembers,        // a group without members
        noDestinations,   // a relay mailbox without destinations
    };

    // The section as CConfig::Sections names it; for the directory's entries "speedDials",
    // "oneTouches" or "groupDials".
    const char* section = "";
    // The field as its Fields table names it; besides those, "id" (a client code's ID),
    // "target" (what a one-touch key dials) and "members" (a group's).
    const char* field = "";
    // The entry's number as lists show it ("005", "123"); empty outside lists.
    CString entry;
    // The element of an array field (secureAllDay: 0 is Sunday); -1 for a single value.
    int index = -1;
    Problem problem = outOfRange;
    fields::Rule rule;
    int value = 0;
    CString reference;
    int referenceKind = 0;   // the directory's kinds: 1 speed dial, 2 one-touch key, 3 group; 0 any

    friend bool operator==(const RecordFinding&, const RecordFinding&);
};

// Every finding of the record, in section order; none for a record the device takes.
std::vector<RecordFinding> CheckRecord(const CConfig& record);

// The same check as a device makes it on a record it is sent, in its serialised form: the
// findings CheckRecord gives for the record once decoded (the directory's in their stored
// order), the directory walked where it lies instead of built. Throws CArchiveException where
// decoding the record throws. The sections up to and including `lastLeading`, which comes
// before the directory, are read into `sections` as SerializeLeadingSections reads them, and
// `restAt` receives the offset of the bytes after them; the sections after the directory are
// read into `sections` too, whose directory stays as it was.
std::vector<RecordFinding> CheckRecordBytes(const QByteArray& record, const char* lastLeading, CConfig& sections,
                                            qsizetype& restAt);
