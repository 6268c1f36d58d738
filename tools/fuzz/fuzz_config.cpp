// Arbitrary bytes as a settings file, loaded into a record that already holds entries, and
// checked in place as a device checks a record it is sent.
#include "fuzzing.h"
#include "recordcheckfuzzing.h"

#include "device/lib/config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!InPlaceCheckDisagreement(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))).empty())
        std::abort();
    return CheckReader<CConfig>(data, size, [](CConfig& config) {
        config.machine.companyName = "Témoin";
        config.phoneBook.Add(new CSpeedDial(42));
        config.mailBoxes.Add(new CMailBox("7"));
        config.clientCodes.Add(new CDepartmentCode(1, 12345, "Principal"));
    });
}
