// Whatever names a directory entry by its number (relay and report destinations of the
// mailboxes, the supplies-order destination) lets go of it when the entry leaves the
// directory, on every path: a deletion, a phone book read, a record loaded.
#include "records.h"

#include "device/lib/config.h"
#include "device/lib/serialformat.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// Speed dials 005 and 007, one-touch key 03 standing for speed dial 005, group 0009. Mailbox
// 10 relays to all four; mailbox 11 reports to key 03; mailbox 12 to group 0009; the supplies
// order goes to speed dial 007.
void FillReferences(CConfig& record)
{
    CPhoneBook& book = record.phoneBook;
    auto* five = new CSpeedDial(5);
    book.Add(five);
    book.Add(new CSpeedDial(7));
    book.Add(new COneTouch(3, five));
    book.Add(new CGroupDial(9, "Agences"));
    CStringArray relayed;
    for (const char* number : {"005", "007", "03", "0009"})
        relayed.Add(number);
    record.mailBoxes.Add(new CMailBox("10", CString(), 2, &relayed));
    record.mailBoxes.Add(new CMailBox("11", CString(), 0, nullptr, 3, "03"));
    record.mailBoxes.Add(new CMailBox("12", CString(), 0, nullptr, 4, "0009"));
    record.advanced.autoSupplyOrder = 1;
    record.advanced.orderDestinationType = 2;
    record.advanced.orderDestination = "007";
}

const CMailBox& Box(const CConfig& record, const char* number)
{
    for (POSITION at = record.mailBoxes.GetHeadPosition(); at != nullptr;) {
        const auto* box = static_cast<const CMailBox*>(record.mailBoxes.GetNext(at));
        if (box->number == number)
            return *box;
    }
    static const CMailBox none;
    ADD_FAILURE() << "no mailbox " << number;
    return none;
}

// The references as one text: relay destinations, the two reports, the supplies order.
std::string References(const CConfig& record)
{
    std::string text;
    const CStringArray& relayed = Box(record, "10").destinations;
    for (INT_PTR i = 0; i < relayed.GetSize(); ++i)
        text += (i == 0 ? "" : " ") + Text(relayed[i]);
    return text + "|" + Text(Box(record, "11").reportDest) + "|" + Text(Box(record, "12").reportDest) + "|"
           + Text(record.advanced.orderDestination);
}

TEST(DirectoryReferences, GoWithTheirEntryOnEveryPath)
{
    struct Case {
        const char* name;
        std::function<void(CConfig&)> change;
        const char* after;
    };
    const Case cases[] = {
        {"nothing removed", [](CConfig&) {}, "005 007 03 0009|03|0009|007"},
        {"a speed dial and the key standing for it",
         [](CConfig& r) { r.phoneBook.Delete(r.phoneBook.GetSpeedDial(5)); }, "007 0009||0009|007"},
        {"the speed dial of the supplies order", [](CConfig& r) { r.phoneBook.Delete(r.phoneBook.GetSpeedDial(7)); },
         "005 03 0009|03|0009|"},
        {"a one-touch key", [](CConfig& r) { r.phoneBook.Delete(r.phoneBook.GetOneTouch(3)); },
         "005 007 0009||0009|007"},
        {"a group", [](CConfig& r) { r.phoneBook.Delete(r.phoneBook.GetGroupDial(9)); }, "005 007 03|03||007"},
        {"every group", [](CConfig& r) { r.phoneBook.DeleteContents(3); }, "005 007 03|03||007"},
        {"the whole directory", [](CConfig& r) { r.phoneBook.DeleteContents(4); }, "|||"},
        {"a phone book read that holds the same numbers",
         [](CConfig& r) {
             CConfig other;
             FillReferences(other);
             serialformat::LoadFromBytes(r.phoneBook, serialformat::StoreToBytes(other.phoneBook));
         },
         "005 007 03 0009|03|0009|007"},
        {"a phone book read without key 03 and group 0009",
         [](CConfig& r) {
             CPhoneBook other;
             other.Add(new CSpeedDial(5));
             other.Add(new CSpeedDial(7));
             serialformat::LoadFromBytes(r.phoneBook, serialformat::StoreToBytes(other));
         },
         "005 007|||007"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CConfig record;
        FillReferences(record);
        c.change(record);
        EXPECT_EQ(References(record), c.after);
        // A number given again later stands for nothing it did not name before.
        record.phoneBook.Add(new CGroupDial(9, "Nouveau"));
        EXPECT_EQ(References(record), c.after);
    }
}

TEST(DirectoryReferences, ARecordLoadsWhatItWasStoredWith)
{
    // A settings file made elsewhere: its mailboxes and supplies order name entries it lacks.
    // They are kept as written (the check before a device write names them) until entries
    // next leave the directory.
    CConfig source;
    FillReferences(source);
    source.phoneBook.afterRemoval = nullptr;
    source.phoneBook.DeleteContents(4);
    CConfig loaded;
    serialformat::LoadFromBytes(loaded, serialformat::StoreToBytes(source));
    EXPECT_EQ(References(loaded), "005 007 03 0009|03|0009|007");

    loaded.phoneBook.Add(new CSpeedDial(7));
    loaded.phoneBook.Add(new CSpeedDial(8));
    loaded.phoneBook.Delete(loaded.phoneBook.GetSpeedDial(8));
    EXPECT_EQ(References(loaded), "007|||007");
    EXPECT_EQ(loaded.advanced.orderDestinationType, 2) << "the choice of type stays";
    EXPECT_EQ(Box(loaded, "11").reportDestKind, 3) << "the report kind stays";
}

} // namespace
