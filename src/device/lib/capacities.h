// How many entries of each kind the device holds. The programs read them as the entry
// classes' max_count (CSpeedDial::max_count...), which capacities.cpp binds to these values.
// A test program may lower them (tests/support/capacities.h): its own definitions of the
// max_count names are linked in place of capacities.cpp, which defines nothing else.
#pragma once

namespace capacities {
inline constexpr int speedDials = 999;
inline constexpr int oneTouches = 38;          // the device's number of keys, and its highest key
inline constexpr int groupDials = 1999;
inline constexpr int mailBoxes = 100;
inline constexpr int relayDestinations = 50;   // of one relay mailbox
inline constexpr int clientCodes = 99;
} // namespace capacities
