// A full settings record for the benchmarks: every section at its capacity.
#pragma once

#include "device/lib/config.h"

#include <memory>

// Directory, mailboxes and client codes at their capacities, with names and numbers of
// realistic lengths.
inline std::unique_ptr<CConfig> FullRecord()
{
    auto config = std::make_unique<CConfig>();
    CPhoneBook& book = config->phoneBook;
    for (int n = 1; n <= CSpeedDial::max_count; ++n) {
        auto* entry = new CSpeedDial(n);
        entry->GetDialingData()->name = QString("Correspondant %1").arg(n);
        entry->GetDialingData()->faxNumber = QString("01 40 50 %1$123").arg(n, 4, 10, QChar('0'));
        book.Add(entry);
    }
    for (int n = 1; n <= COneTouch::max_count; ++n)
        book.Add(new COneTouch(n, n % 2 == 0 ? static_cast<CObject*>(book.GetSpeedDial(n)) : book.NewDialingData()));
    for (int n = 1; n <= CGroupDial::max_count; ++n) {
        auto* group = new CGroupDial(n, QString("Groupe %1").arg(n));
        for (int m = 0; m < 4; ++m)
            group->members.AddTail(book.GetSpeedDial((n * 13 + m * 101) % CSpeedDial::max_count + 1));
        book.Add(group);
    }
    for (int n = 1; n <= CMailBox::max_count; ++n) {
        CStringArray destinations;
        for (int d = 1; d <= CMailBox::max_relay_dest_count; ++d)
            destinations.Add(FormatId(d, CSpeedDial::digits));
        config->mailBoxes.Add(new CMailBox(QString::number(1000 + n), "secret", 2, &destinations, 2, "001"));
    }
    for (int id = 1; id <= CDepartmentCode::max_count; ++id)
        config->clientCodes.Add(new CDepartmentCode(id, 500 + id, QString("Service %1").arg(id), id, id, id));
    return config;
}
