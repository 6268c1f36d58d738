// A device capacity lowered (or raised) for a test: CapacityGuard guard(CSpeedDial::max_count, 3).
// The programs read the capacities only; a test program that links tests/support/capacities.cpp
// gets writable ones in their place.
#pragma once

class CapacityGuard {
public:
    // `capacity` is one of the entry classes' max_count.
    CapacityGuard(const int& capacity, int value);
    ~CapacityGuard();
    CapacityGuard(const CapacityGuard&) = delete;
    CapacityGuard& operator=(const CapacityGuard&) = delete;

private:
    int& capacity;
    const int saved;
};
