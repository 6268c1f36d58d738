// The property every contact reader must keep, whatever the bytes: it returns (no crash, no
// exception), and planning the import leaves the directory it was planned on as it was and
// gives a directory that writes and reads back as itself.
#pragma once

#include "device/lib/contacts.h"
#include "device/lib/phonebook.h"
#include "device/lib/serialformat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline int CheckContactReader(contacts::Format format, const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CPhoneBook book;
    auto* speedDial = new CSpeedDial(1);
    speedDial->GetDialingData()->faxNumber = "0140";
    book.Add(speedDial);
    book.Add(new COneTouch(1, speedDial));
    auto* group = new CGroupDial(1, "Ventes");
    group->members.AddTail(speedDial);
    book.Add(group);
    const QByteArray before = serialformat::StoreToBytes(book);
    contacts::ImportPlan plan = contacts::PlanImport(book, contacts::Read(format, input));
    if (serialformat::StoreToBytes(book) != before)
        std::abort();
    if (!plan.result)
        return 0;
    const QByteArray written = serialformat::StoreToBytes(*plan.result);
    CPhoneBook reloaded;
    serialformat::LoadFromBytes(reloaded, written);
    if (serialformat::StoreToBytes(reloaded) != written)
        std::abort();
    return 0;
}
