// Disk faults for the tests of whole-file writes. This test program links its own write,
// fsync and rename in front of the C library's; they pass every call on until a
// test arms them, and then count the calls and fail or end the process at the chosen one.
#pragma once

namespace faultyio {

// The process kills itself (SIGKILL) at call number `step` (from 1) of write,
// fsync and rename counted from now; a write stores half its bytes first.
// For a forked child: nothing disarms it.
void KillAt(int step);

// While it lives, a write stores half its bytes, and the next one fails with `error`.
class FailingWrites {
public:
    explicit FailingWrites(int error);
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;
};

} // namespace faultyio
