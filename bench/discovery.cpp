// Listing the devices when the device list names network addresses, as wall time: nothing but
// the local devices; one address that never answers (one probe's bound, the floor of any
// listing that probes); and a whole /22 range of addresses that never answer, which the
// bounded number of probes in flight must get through in about two probe bounds.
#include "device/lib/devicelist.h"
#include "device/lib/devices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Takes connections on every loopback address at its port and never answers.
struct SilentListener {
    SilentListener()
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd, 4096);
        socklen_t size = sizeof address;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(fd); }
    int fd = -1;
    int port = 0;
};

void List(benchmark::State& state, const QByteArray& network)
{
    QTemporaryDir folder;
    SetDeviceDataFolder(folder.path());
    QDir().mkpath(DeviceDataFolder());
    QFile list(DeviceDataFolder() + "/devices.json");
    list.open(QIODevice::WriteOnly);
    list.write(R"({"network": [)" + network + "]}");
    list.close();
    for (auto _ : state) {
        CStringList devices;
        CString detail;
        if (!GetDevices(devices, detail))
            state.SkipWithError("the device list was refused");
    }
    SetDeviceDataFolder(QString());
}

SilentListener& Silent()
{
    static SilentListener listener;
    return listener;
}

void BM_LocalDevicesOnly(benchmark::State& state)
{
    List(state, "");
}

void BM_OneSilentAddress(benchmark::State& state)
{
    List(state, "\"127.0.0.1:" + QByteArray::number(Silent().port) + "\"");
}

void BM_SilentRange22(benchmark::State& state)
{
    List(state, "\"127.0.4.0/22:" + QByteArray::number(Silent().port) + "\"");
}

} // namespace

BENCHMARK(BM_LocalDevicesOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneSilentAddress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SilentRange22)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
