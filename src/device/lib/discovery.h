// Network devices found without being named one by one: the address ranges of the device
// list, and the agents that announce themselves through DNS-SD (Avahi) on the local network.
#pragma once

#include "device/lib/networklink.h"

#include <QList>
#include <QString>

namespace discovery {

// The DNS-SD service type every agent announces.
constexpr char serviceType[] = "_tamsel._tcp";
// A range is at most a /22; the device list names at most as many addresses in all, so that
// probing every one of them keeps within about two probe timeouts.
constexpr int shortestPrefix = 22;
constexpr int maxListedAddresses = 1024;
// How long browsing waits for the agents' announcements, and how many it takes.
constexpr int browseTimeoutMs = 1000;
constexpr int maxAnnouncedDevices = 256;

// A "network" entry of the device list: "HOST[:PORT]", "[V6][:PORT]" or an IPv4 range
// "A.B.C.D/N[:PORT]" with N from 22 to 32. Its addresses are appended (a range's without its
// network and broadcast addresses); FALSE, appending nothing, when it is none of these.
bool ParseEntry(const QString& text, QList<network::Address>& addresses);

// The addresses of the agents announced on the local network within browseTimeoutMs; none
// when no Avahi daemon runs.
QList<network::Address> Browse();

} // namespace discovery
