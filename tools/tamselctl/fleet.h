// One operation on many devices at once: at most `jobs` in flight, each device on a thread of
// its own; one device's failure never stops the others.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <vector>

struct FleetOutcome {
    QString device;
    bool ok = false;
    QString text;   // the failure's message; on success, what there is to say, if anything
};

// Runs `operation` on every device (it fills `ok` and `text`) and gives the outcomes in the
// devices' order. While it runs, `progress` (a terminal, or nullptr)
// shows a live line of how many are done, failed and in flight.
std::vector<FleetOutcome> RunOnFleet(const QStringList& devices, int jobs,
                                     const std::function<FleetOutcome(const QString&)>& operation, FILE* progress);
