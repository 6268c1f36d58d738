// The property both readers must keep, whatever the bytes: a stream that loads writes and
// reads back as itself; a stream that is refused throws CArchiveException (anything else
// escapes to the fuzzer as a crash) and leaves the object it was loaded into as it was.
#pragma once

#include "device/lib/serialformat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

template <class Object, class Prepare>
int CheckReader(const std::uint8_t* data, std::size_t size, Prepare prepare)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Object target;
    prepare(target);
    const QByteArray before = serialformat::StoreToBytes(target);
    try {
        serialformat::LoadFromBytes(target, input);
    } catch (const CArchiveException&) {
        if (serialformat::StoreToBytes(target) != before)
            std::abort();
        return 0;
    }
    const QByteArray written = serialformat::StoreToBytes(target);
    Object reloaded;
    serialformat::LoadFromBytes(reloaded, written);
    if (serialformat::StoreToBytes(reloaded) != written)
        std::abort();
    return 0;
}
