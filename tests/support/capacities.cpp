// The capacities of test programs: the same values as the device's, writable through
// CapacityGuard. These definitions take the place of src/device/lib/capacities.cpp at link
// time; the shipped programs link that one only.
#include "support/capacities.h"

#include "device/lib/capacities.h"
#include "device/lib/departmentcodes.h"
#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"

#include <QtGlobal>

#include <cstdlib>

namespace {
int speedDials = capacities::speedDials;
int oneTouches = capacities::oneTouches;
int groupDials = capacities::groupDials;
int mailBoxes = capacities::mailBoxes;
int relayDestinations = capacities::relayDestinations;
int clientCodes = capacities::clientCodes;

// The writable capacity that a max_count names.
int& Writable(const int& capacity)
{
    for (int* writable : {&speedDials, &oneTouches, &groupDials, &mailBoxes, &relayDestinations, &clientCodes}) {
        if (writable == &capacity)
            return *writable;
    }
    qFatal("CapacityGuard: not a capacity of the device");
    std::abort();
}
} // namespace

const int& CSpeedDial::max_count = speedDials;
const int& COneTouch::max_count = oneTouches;
const int& CGroupDial::max_count = groupDials;
const int& CMailBox::max_count = mailBoxes;
const int& CMailBox::max_relay_dest_count = relayDestinations;
const int& CDepartmentCode::max_count = clientCodes;

CapacityGuard::CapacityGuard(const int& capacity, int value) : capacity(Writable(capacity)), saved(capacity)
{
    this->capacity = value;
}

CapacityGuard::~CapacityGuard()
{
    capacity = saved;
}
