#include "support/devicefaults.h"

#include <QHash>

#include <mutex>

namespace {

// One line of TAMSEL_DEVICE_FAULTS; FALSE when it is not understood.
bool ParseFault(const QString& line, QString& device, DeviceFault& fault)
{
    const int colon = line.indexOf(':');
    if (colon < 0)
        return false;
    device = line.mid(colon + 1);
    const QString kind = line.left(colon).section('=', 0, 0);
    bool valid = true;
    const qint64 number = line.left(colon).section('=', 1).toLongLong(&valid);
    if (kind == "busy" || kind == "unreachable") {
        fault.kind = kind == "busy" ? DeviceFault::busy : DeviceFault::unreachable;
        return true;
    }
    if (!valid || number < 0)
        return false;
    if (kind == "slow")
        fault = {DeviceFault::slow, static_cast<int>(number)};
    else if (kind == "cut-bytes")
        fault = {DeviceFault::cutOff, 0, number};
    else if (kind == "cut-step")
        fault = {DeviceFault::cutOff, 0, -1, static_cast<int>(number)};
    else
        return false;
    return true;
}

class TestFaults : public FaultSource {
public:
    TestFaults()
    {
        for (const QString& line : qEnvironmentVariable("TAMSEL_DEVICE_FAULTS").split('\n', Qt::SkipEmptyParts)) {
            QString device;
            DeviceFault fault;
            if (ParseFault(line, device, fault))
                faults.insert(device, fault);
            else
                qWarning("TAMSEL_DEVICE_FAULTS: ligne ignorée : %s", qPrintable(line));
        }
    }

    DeviceFault FaultOf(const CString& device) override
    {
        std::lock_guard guard(lock);
        return faults.value(device);
    }

    int StepDelayMs() override
    {
        std::lock_guard guard(lock);
        return stepDelayMs;
    }

    std::mutex lock;
    QHash<QString, DeviceFault> faults;
    int stepDelayMs = -1;
};

TestFaults& Faults()
{
    static TestFaults faults;
    return faults;
}

const bool installed = [] {
    EmulatedDevice::SetFaultSource(&Faults());
    return true;
}();

} // namespace

namespace devicefaults {

void Inject(const CString& device, const DeviceFault& fault)
{
    TestFaults& faults = Faults();
    std::lock_guard guard(faults.lock);
    if (fault.kind == DeviceFault::none)
        faults.faults.remove(device);
    else
        faults.faults.insert(device, fault);
}

void Clear()
{
    TestFaults& faults = Faults();
    std::lock_guard guard(faults.lock);
    faults.faults.clear();
}

void SetStepDelay(int milliseconds)
{
    TestFaults& faults = Faults();
    std::lock_guard guard(faults.lock);
    faults.stepDelayMs = milliseconds;
}

} // namespace devicefaults
