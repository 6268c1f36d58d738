// The single-instance rule: the first console holds an exclusive lock on the file MyTestMap in
// the user's runtime folder for as long as it runs. The kernel releases the lock when the
// process ends, however it ends, so a crashed console never blocks the next start.
#pragma once

#include <QString>

class CInstanceLock {
public:
    enum Result { acquired, heldElsewhere, unavailable };

    CInstanceLock() = default;
    ~CInstanceLock();   // releases the lock
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // Takes the lock on the file at `path` (created when missing) without waiting.
    // `unavailable`: the file could not be opened or locked for another reason.
    Result Acquire(const QString& path);

    // MyTestMap in the user's runtime folder; "" when there is no such folder.
    static QString DefaultPath();

private:
    int descriptor = -1;
};
