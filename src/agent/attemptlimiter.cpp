#include "agent/attemptlimiter.h"

#include <algorithm>
#include <vector>

std::chrono::milliseconds AttemptLimiter::DelayAfter(int failures)
{
    if (failures <= 0)
        return std::chrono::milliseconds(0);
    // Doubling stops before it could overflow: 500 ms << 7 already passes the bound.
    const int doublings = std::min(failures - 1, 16);
    return std::min<std::chrono::milliseconds>(maxDelay, firstDelay * (1LL << doublings));
}

std::chrono::milliseconds AttemptLimiter::Wait(const QString& address, Clock::time_point now)
{
    std::lock_guard guard(lock);
    const auto found = records.constFind(address);
    if (found == records.constEnd() || found->until <= now)
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(found->until - now);
}

int AttemptLimiter::Failed(const QString& address, Clock::time_point now)
{
    std::lock_guard guard(lock);
    if (!records.contains(address) && records.size() >= maxAddresses)
        Forget(now);
    Record& record = records[address];
    ++record.failures;
    record.until = now + DelayAfter(record.failures);
    return record.failures;
}

void AttemptLimiter::Succeeded(const QString& address)
{
    std::lock_guard guard(lock);
    records.remove(address);
}

void AttemptLimiter::Forget(Clock::time_point now)
{
    // First those whose wait is over long ago, then, if the table is still full, the half that
    // is free soonest.
    const auto quietSince = now - maxDelay;
    for (auto it = records.begin(); it != records.end();)
        it = it->until < quietSince ? records.erase(it) : std::next(it);
    if (records.size() < maxAddresses)
        return;
    std::vector<Clock::time_point> ends;
    ends.reserve(records.size());
    for (const Record& record : records)
        ends.push_back(record.until);
    auto middle = ends.begin() + ends.size() / 2;
    std::nth_element(ends.begin(), middle, ends.end());
    for (auto it = records.begin(); it != records.end();)
        it = it->until <= *middle ? records.erase(it) : std::next(it);
}
