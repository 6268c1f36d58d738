// Each apply's "before": the device's record as it was just before a record was applied to
// it, kept as a settings file under the user's data folder, so that what a device held can be
// seen and applied back. <data>/Corvane/Tamsel/history/<device>/<device>_<UTC time>.tms, the
// folder its owner's alone (0700), each file 0600; the last `keptPerDevice` per device.
#pragma once

#include "device/lib/config.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace history {

constexpr int keptPerDevice = 20;

struct Entry {
    QString path;
    QDateTime time;   // UTC
};

// The device's kept records, newest first.
std::vector<Entry> List(const CString& device);

} // namespace history

// As CConfig::Write, after keeping the device's current record: read from the device, then
// kept (history), then the record written. A record that cannot be kept stops the apply
// before anything is sent, and `detail` says so.
int WriteKeepingHistory(CConfig& config, const CString& device, CString& detail, int& mailBoxesUnchanged);
