// Failed password attempts, per client address: each failure closes the address for a
// while, twice as long as the one before, up to a bound; a success opens it again.
#pragma once

#include <QHash>
#include <QString>

#include <chrono>
#include <mutex>

class AttemptLimiter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds firstDelay{500};
    static constexpr std::chrono::milliseconds maxDelay{60000};
    // Addresses remembered at most; past that the longest quiet ones are forgotten.
    static constexpr int maxAddresses = 4096;

    // How long the address must still wait; zero when it may try.
    std::chrono::milliseconds Wait(const QString& address, Clock::time_point now);
    // Records a failure; returns how many the address has made in a row.
    int Failed(const QString& address, Clock::time_point now);
    void Succeeded(const QString& address);

    // The delay after that many failures in a row.
    static std::chrono::milliseconds DelayAfter(int failures);

private:
    struct Record {
        int failures = 0;
        Clock::time_point until;
    };
    void Forget(Clock::time_point now);

    std::mutex lock;
    QHash<QString, Record> records;
};
