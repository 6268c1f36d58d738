// Arbitrary bytes as a phone-book file, loaded into a directory that already holds entries.
#include "fuzzing.h"

#include "device/lib/phonebook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return CheckReader<CPhoneBook>(data, size, [](CPhoneBook& phoneBook) {
        auto* speedDial = new CSpeedDial(42);
        phoneBook.Add(speedDial);
        phoneBook.Add(new COneTouch(1, speedDial));
    });
}
