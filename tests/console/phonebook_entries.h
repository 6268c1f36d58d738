// Entries put straight into a phone book, as the directory tests set up their cases.
#pragma once

#include "device/lib/idobject.h"
#include "device/lib/phonebook.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace phonebooktest {

// Named, with a fax number made of its number.
inline CSpeedDial* AddSpeedDial(CPhoneBook& book, int number, const CString& name)
{
    auto* entry = new CSpeedDial(number);
    entry->GetDialingData()->name = name;
    entry->GetDialingData()->faxNumber = CString("0140") + FormatId(number, 6);
    EXPECT_TRUE(book.Add(entry));
    return entry;
}

inline COneTouch* AddKey(CPhoneBook& book, int number, CObject* ref)
{
    auto* entry = new COneTouch(number, ref);
    EXPECT_TRUE(book.Add(entry));
    return entry;
}

// A key dialing a record of its own.
inline COneTouch* AddOwnKey(CPhoneBook& book, int number, const CString& name)
{
    CDialingData* record = book.NewDialingData();
    record->name = name;
    record->faxNumber = "0299887766";
    return AddKey(book, number, record);
}

inline CGroupDial* AddGroup(CPhoneBook& book, int number, const CString& name, std::initializer_list<CObject*> members)
{
    auto* group = new CGroupDial(number, name);
    for (CObject* member : members)
        group->members.AddTail(member);
    EXPECT_TRUE(book.Add(group));
    return group;
}

} // namespace phonebooktest
