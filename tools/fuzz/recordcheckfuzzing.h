// The property of the device's check of a record in its serialised form (CheckRecordBytes),
// whatever the bytes: it refuses the streams that decoding refuses, and finds what CheckRecord
// finds in the decoded record (the directory's findings in stored order, so compared as a
// set), wherever the leading sections end.
#pragma once

#include "device/lib/config.h"
#include "device/lib/recordcheck.h"
#include "device/lib/serialformat.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// Empty when both checks agree on `record`; otherwise how they differ.
inline std::string InPlaceCheckDisagreement(const QByteArray& record)
{
    std::optional<std::vector<RecordFinding>> decoded;
    try {
        CConfig sent;
        serialformat::LoadFromBytes(sent, record);
        decoded = CheckRecord(sent);
    } catch (const CException&) {
    }
    for (const char* lastLeading : {"machine", "mailBoxes"}) {
        std::optional<std::vector<RecordFinding>> inPlace;
        try {
            CConfig sections;
            qsizetype restAt = 0;
            inPlace = CheckRecordBytes(record, lastLeading, sections, restAt);
        } catch (const CException&) {
        }
        const std::string split = std::string(" (leading sections up to ") + lastLeading + ")";
        if (decoded.has_value() != inPlace.has_value())
            return (decoded ? "refused in place only" : "refused decoded only") + split;
        if (decoded
            && (decoded->size() != inPlace->size() || !std::is_permutation(decoded->begin(), decoded->end(), inPlace->begin())))
            return "different findings: " + std::to_string(decoded->size()) + " decoded, " + std::to_string(inPlace->size())
                   + " in place" + split;
    }
    return {};
}
