// Arbitrary bytes as a CSV contact file, imported into a directory that already holds entries.
#include "contactfuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return CheckContactReader(contacts::Format::csv, data, size);
}
