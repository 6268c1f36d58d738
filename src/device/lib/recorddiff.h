// What differs between two settings records, field by field, as data: what an apply of one
// record would change on a device holding the other. The console's wording of a difference
// is not the device library's (recordwording names pages and labels).
#pragma once

#include "device/lib/config.h"

#include <vector>

struct RecordDifference {
    // kept: the record changes an entry the device keeps as it is (a mailbox that holds
    // documents), so an apply will not change it.
    enum Change { changed, added, removed, kept };

    // The section as CConfig::Sections names it; for the directory's entries "speedDials",
    // "oneTouches" or "groupDials". The device's own report (machineInfo) is never compared:
    // an apply does not change it.
    const char* section = "";
    // The field as its Fields table names it, "target" (what a one-touch key dials) or
    // "members" (a group's); empty for an entry added or removed as a whole.
    const char* field = "";
    // The entry's number as lists show it ("005", "20"); empty outside lists.
    CString entry;
    // The element of an array field (secureAllDay: 0 is Sunday); -1 for a single value.
    int index = -1;
    Change change = changed;
    // A password: its values are never given, only that it changed.
    bool secret = false;
    // The values as text (a text in « »), empty for a secret; for an entry added or removed,
    // its name.
    CString before;
    CString after;

    friend bool operator==(const RecordDifference&, const RecordDifference&);
};

// Every difference from `before` to `after`, in section order, the entries of a list by
// number.
std::vector<RecordDifference> DiffRecords(const CConfig& before, const CConfig& after);
