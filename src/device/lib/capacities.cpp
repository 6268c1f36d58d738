// The capacities as the device has them, read-only. Keep anything else out of this file: a
// test program's own definitions of these names stand in for it only while nothing else of
// it is needed.
#include "device/lib/capacities.h"
#include "device/lib/departmentcodes.h"
#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"

const int& CSpeedDial::max_count = capacities::speedDials;
const int& COneTouch::max_count = capacities::oneTouches;
const int& CGroupDial::max_count = capacities::groupDials;
const int& CMailBox::max_count = capacities::mailBoxes;
const int& CMailBox::max_relay_dest_count = capacities::relayDestinations;
const int& CDepartmentCode::max_count = capacities::clientCodes;
