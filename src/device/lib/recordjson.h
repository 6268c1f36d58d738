// A settings record as JSON text: every section under its name, every field under its own
// (tamselctl dump and load). The directory's entries, the mailboxes and the client codes are
// arrays of objects; a one-touch key or a group member names the entry it stands for by kind
// and number ({"speedDial": 5}). The JSON Schema of the text is made from the same field
// tables, so that it follows every field added to them.
#pragma once

#include "device/lib/config.h"
#include "device/lib/recordcheck.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QString>

#include <utility>
#include <vector>

QJsonObject RecordToJson(const CConfig& config);

// The JSON Schema (draft 2020-12) of what RecordToJson writes and RecordJsonReader reads.
QJsonObject RecordJsonSchema();

namespace recordjson {
// The largest text read. The largest record (every group holding every speed dial and key,
// about 11 MB as a settings file) is about 190 MB as dump indents it; anything beyond is no
// record of ours.
constexpr qint64 maxTextBytes = 256 * 1024 * 1024;
} // namespace recordjson

// Reads the JSON text back into a record. A section or field left out keeps its factory value;
// an unknown key, a value of the wrong type or an entry the record cannot hold is an error
// naming its place in the text as a JSON path ("machine.ringerVolume",
// "phoneBook.speedDials[3].dialingData.name").
class RecordJsonReader {
public:
    // Fills `record` (a new one) from the text; false, with `error` ("path : problème"), for a
    // text that is not a record. A record read is not yet checked against the field rules:
    // PathOf places the record check's findings in the text.
    bool Read(const QByteArray& text, CConfig& record);
    QString error;

    // Values the record's lists could not take because they break their rule (a client
    // code's ID or code), as the record check would find them, with their paths.
    std::vector<std::pair<QString, RecordFinding>> refused;

    // The JSON path of a finding of CheckRecord on the record read.
    QString PathOf(const RecordFinding& finding) const;

private:
    friend class RecordJsonParser;
    // The path of each numbered entry read: "speedDials\n005" -> "phoneBook.speedDials[3]".
    QHash<QString, QString> entryPaths;
};
