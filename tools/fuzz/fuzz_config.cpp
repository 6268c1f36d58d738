// Arbitrary bytes as a settings file, loaded into a record that already holds entries.
#include "fuzzing.h"

#include "device/lib/config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return CheckReader<CConfig>(data, size, [](CConfig& config) {
        config.machine.companyName = "Témoin";
        config.phoneBook.Add(new CSpeedDial(42));
        config.mailBoxes.Add(new CMailBox("7"));
        config.clientCodes.Add(new CDepartmentCode(1, 12345, "Principal"));
    });
}
