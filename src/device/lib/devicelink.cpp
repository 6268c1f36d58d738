#include "device/lib/devicelink.h"

#include "device/lib/devices.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/networklink.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <memory>
#include <mutex>

namespace {

struct OpenDevice {
    std::unique_ptr<EmulatedDevice> device;   // none for a network device...
    ULONGLONG networkStatus = 0;              // ...whose status word is read as it is opened
    DVLCALLBACK callback = nullptr;
    DWORD context = 0;
};

struct Handles {
    std::mutex lock;
    std::map<DWORD, OpenDevice> open;
    DWORD last = 0;
};

Handles& AllHandles()
{
    static Handles handles;
    return handles;
}

} // namespace

DWORD DvlOpenMFP(LPCTSTR deviceName)
{
    if (deviceName == nullptr)
        return 0;
    std::unique_ptr<EmulatedDevice> device;
    ULONGLONG networkStatus = 0;
    try {
        if (IsNetworkDevice(deviceName)) {
            network::Call call;
            call.path = "/device";
            const network::Reply reply = network::Send(deviceName, call);
            bool valid = false;
            networkStatus = QJsonDocument::fromJson(reply.body).object().value("status").toString().toULongLong(&valid);
            if (reply.status != 200 || !valid)
                return 0;
        } else {
            device = std::make_unique<EmulatedDevice>(CString(deviceName));
        }
    } catch (const DeviceError& error) {
        TRACE("DvlOpenMFP: %s", error.detail);
        return 0;
    }
    Handles& handles = AllHandles();
    std::lock_guard guard(handles.lock);
    do
        ++handles.last;
    while (handles.last == 0 || handles.open.contains(handles.last));
    handles.open[handles.last].device = std::move(device);
    handles.open[handles.last].networkStatus = networkStatus;
    return handles.last;
}

DWORD DvlRegisterCallback(DWORD handle, DVLCALLBACK callback, DWORD context)
{
    Handles& handles = AllHandles();
    std::lock_guard guard(handles.lock);
    auto found = handles.open.find(handle);
    if (found == handles.open.end())
        return 0;
    found->second.callback = callback;
    found->second.context = context;
    return 1;
}

ULONGLONG DvlGetPrinterStatus(DWORD handle, DWORD* result)
{
    DVLCALLBACK callback = nullptr;
    DWORD context = 0;
    ULONGLONG status = 0;
    {
        Handles& handles = AllHandles();
        std::lock_guard guard(handles.lock);
        auto found = handles.open.find(handle);
        if (found == handles.open.end()) {
            if (result != nullptr)
                *result = DVL_RESULT_BAD_HANDLE;
            return 0;
        }
        status = found->second.device != nullptr ? found->second.device->Status() : found->second.networkStatus;
        callback = found->second.callback;
        context = found->second.context;
    }
    if (result != nullptr)
        *result = DVL_RESULT_OK;
    // Outside the lock, so that the callback may use the link.
    if (callback != nullptr)
        callback(context, status);
    return status;
}

DWORD DvlUnregisterCallback(DWORD handle)
{
    return DvlRegisterCallback(handle, nullptr, 0);
}

BOOL secondTrayShown = TRUE;

DWORD DvlCloseMFP(DWORD handle)
{
    std::unique_ptr<EmulatedDevice> device;
    Handles& handles = AllHandles();
    std::lock_guard guard(handles.lock);
    auto found = handles.open.find(handle);
    if (found == handles.open.end())
        return 0;
    device = std::move(found->second.device);
    handles.open.erase(found);
    return 1;
}
