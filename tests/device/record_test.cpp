// The record as a whole: its factory values, emptying it, and the field tables it is
// serialised from.
#include "records.h"

#include <algorithm>
#include <vector>

namespace {

// Every data member of the class must be in its field table, or it would be neither saved
// nor compared: the listed members must tile the object after its CObject part, with no
// more than alignment padding between them.
template <class Object>
void ExpectTableCoversTheClass(const char* name)
{
    struct Span {
        std::size_t offset, size, alignment;
    };
    std::vector<Span> spans;
    const Object object;
    const auto* base = reinterpret_cast<const char*>(&object);
    Object::Fields([&](const char*, auto field, const auto&) {
        using Field = std::remove_cvref_t<decltype(object.*field)>;
        spans.push_back({static_cast<std::size_t>(reinterpret_cast<const char*>(&(object.*field)) - base),
                         sizeof(Field), alignof(Field)});
    });
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.offset < b.offset; });
    std::size_t end = sizeof(CObject);
    for (const Span& span : spans) {
        EXPECT_LT(span.offset - end, span.alignment) << name << ": a member before offset " << span.offset;
        end = span.offset + span.size;
    }
    const std::size_t padded = (end + alignof(Object) - 1) / alignof(Object) * alignof(Object);
    EXPECT_EQ(padded, sizeof(Object)) << name << ": a member after the last listed one";
}

TEST(FieldTables, ListEveryMemberOfTheirClass)
{
    CConfig::Sections([](const char* name, auto section) {
        using Section = std::remove_cvref_t<decltype(std::declval<CConfig>().*section)>;
        if constexpr (std::is_base_of_v<CFieldObject<Section>, Section>)
            ExpectTableCoversTheClass<Section>(name);
    });
    ExpectTableCoversTheClass<CDialingData>("CDialingData");
}

TEST(Record, DeleteContentsGivesBackAFreshRecordInTheSameSections)
{
    CConfig config;
    FillFullRecord(config);
    config.unchangedMailBoxes.Add("3");
    CMachineSettings* const machine = &config.machine;
    CPhoneBook* const phoneBook = &config.phoneBook;

    config.DeleteContents();

    const CConfig fresh;
    ExpectSameRecord(fresh, config);
    EXPECT_EQ(0, config.phoneBook.GetCount(4));
    EXPECT_EQ(0, config.mailBoxes.GetCount());
    EXPECT_EQ(0, config.clientCodes.GetCount());
    EXPECT_EQ(machine, &config.machine);
    EXPECT_EQ(phoneBook, &config.phoneBook);
    EXPECT_EQ(1, config.unchangedMailBoxes.GetSize());
}

// The factory values stay inside the ranges and lists that the pages offer.
TEST(Record, FactoryValuesLieWithinThePagesRanges)
{
    const CConfig config;
    struct Range {
        const char* field;
        int value, low, high;
    };
    const Range ranges[] = {
        {"machine.superSaverMinutes", config.machine.superSaverMinutes, 1, 60},
        {"machine.ringerVolume", config.machine.ringerVolume, 0, 7},
        {"machine.tray2PaperSize", config.machine.tray2PaperSize, 0, 1},
        {"phoneLine.ringsBeforeAnswer", config.phoneLine.ringsBeforeAnswer, 1, 10},
        {"phoneLine.tadTimer", config.phoneLine.tadTimer, 0, 99},
        {"advanced.tonerQuantity", config.advanced.tonerQuantity, 1, 99},
        {"advanced.drumQuantity", config.advanced.drumQuantity, 1, 99},
        {"faxSend.redialAttempts", config.faxSend.redialAttempts, 0, 14},
        {"faxSend.redialInterval", config.faxSend.redialInterval, 1, 15},
        {"faxSend.resendStoreHours", config.faxSend.resendStoreHours, 1, 24},
        {"faxReceive.receiveInterval", config.faxReceive.receiveInterval, 0, 14},
        {"pcFax.pcReceiveAttempts", config.pcFax.pcReceiveAttempts, 0, 15},
        {"pcFax.pcRetryInterval", config.pcFax.pcRetryInterval, 0, 15},
        {"tcpIp.broadcastInterval", config.tcpIp.broadcastInterval, 1, 180},
        {"tcpIp.disconnectAfter", config.tcpIp.disconnectAfter, 1, 180},
        {"email.popCheckInterval", config.email.popCheckInterval, 0, 9},
        {"ipxSpx.frameType", config.ipxSpx.frameType, 0, 3},
        {"mailOptions.bodyTextLimit", config.mailOptions.bodyTextLimit, 1, 99},
        {"mailOptions.confirmationTimer", config.mailOptions.confirmationTimer, 0, 5},
    };
    for (const Range& r : ranges) {
        EXPECT_GE(r.value, r.low) << r.field;
        EXPECT_LE(r.value, r.high) << r.field;
    }
    // Secure reception is off, so it has no password; the supplies order is off, so it
    // needs no destination.
    EXPECT_TRUE(config.faxReceive.secureReceivePassword.IsEmpty());
    EXPECT_EQ(0, config.advanced.autoSupplyOrder);
}

TEST(Interval, KeepsOnlyTheHourAndMinuteOfEachTime)
{
    CInterval interval;
    interval.Set(CTime(2024, 6, 30, 22, 45, 59), CTime(1999, 1, 1, 6, 5, 0));
    CTime start, stop;
    interval.Get(start, stop);
    EXPECT_EQ(22, start.GetHour());
    EXPECT_EQ(45, start.GetMinute());
    EXPECT_EQ(0, start.GetSecond());
    EXPECT_EQ(6, stop.GetHour());
    EXPECT_EQ(5, stop.GetMinute());
    EXPECT_EQ(CInterval(22 * 60 + 45, 6 * 60 + 5), interval);
}

} // namespace
