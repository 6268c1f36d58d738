#include "faultyio.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

enum Mode { passOn, killing, failingWrites };
std::atomic<int> mode{passOn};
std::atomic<int> calls{0};
int killStep = 0;
int writeError = 0;

template <class Function>
Function Real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

ssize_t RealWrite(int fd, const void* buffer, size_t count)
{
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    return real(fd, buffer, count);
}

// True when this call is the one to die at.
bool KillNow()
{
    return mode == killing && ++calls == killStep;
}

} // namespace

namespace faultyio {

void KillAt(int step)
{
    killStep = step;
    calls = 0;
    mode = killing;
}

FailingWrites::FailingWrites(int error)
{
    writeError = error;
    calls = 0;
    mode = failingWrites;
}

FailingWrites::~FailingWrites()
{
    mode = passOn;
}

} // namespace faultyio

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count)
{
    if (mode == failingWrites) {
        if (calls++ > 0) {
            errno = writeError;
            return -1;
        }
        return RealWrite(fd, buffer, count / 2);
    }
    if (KillNow()) {
        RealWrite(fd, buffer, count / 2);
        raise(SIGKILL);
    }
    return RealWrite(fd, buffer, count);
}

int fsync(int fd)
{
    static const auto real = Real<int (*)(int)>("fsync");
    if (KillNow())
        raise(SIGKILL);
    return real(fd);
}

int rename(const char* from, const char* to)
{
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    if (KillNow())
        raise(SIGKILL);
    return real(from, to);
}

} // extern "C"
