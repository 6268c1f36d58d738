#include "device/lib/config.h"

#include "device/lib/serialformat.h"

#include <cstring>
#include <functional>
#include <memory>
#include <utility>

IMPLEMENT_SERIAL(CConfig, CObject, 1)

namespace {

constexpr DWORD configMagic = 0x434D5354;   // "TSMC"
// The layout of the record's serialised form. Settings files of every schema ever written keep
// loading (tests/device/golden holds one of each): a change of layout raises the number, and
// Serialize reads each older layout by the schema that ExpectHeader returns.
constexpr DWORD configSchema = 1;

// Moving a loaded section into the record: the containers hand over their entries, the
// plain sections are copied.
void Assign(CDepartmentCodes& section, CDepartmentCodes& loaded) { section.TakeContents(loaded); }
void Assign(CMailBoxes& section, CMailBoxes& loaded) { section.TakeContents(loaded); }
void Assign(CPhoneBook& section, CPhoneBook& loaded) { section.TakeContents(loaded); }
template <class Section>
void Assign(Section& section, Section& loaded)
{
    section = loaded;
}

void Reset(CDepartmentCodes& section) { section.DeleteContents(); }
void Reset(CMailBoxes& section) { section.DeleteContents(); }
void Reset(CPhoneBook& section) { section.DeleteContents(4); }
template <class Section>
void Reset(Section& section)
{
    section = Section();
}

// While it lives, the phone book tells no one of removals: a record being loaded keeps its
// references as stored. The callback is put back however the load ends.
class QuietRemovals {
public:
    explicit QuietRemovals(CPhoneBook& phoneBook)
        : slot(phoneBook.afterRemoval), saved(std::exchange(phoneBook.afterRemoval, nullptr))
    {
    }
    ~QuietRemovals() { slot = std::move(saved); }
    QuietRemovals(const QuietRemovals&) = delete;
    QuietRemovals& operator=(const QuietRemovals&) = delete;

private:
    std::function<void()>& slot;
    std::function<void()> saved;
};

} // namespace

CConfig::CConfig()
{
    phoneBook.afterRemoval = [this] { DropDanglingReferences(); };
}

void CConfig::DropDanglingReferences()
{
    // Supplies-order types 2 and 3 name a speed dial and a one-touch key.
    const int orderKind = advanced.orderDestinationType == 2 ? 1 : advanced.orderDestinationType == 3 ? 2 : 0;
    if (orderKind != 0 && !advanced.orderDestination.IsEmpty() && !phoneBook.Holds(advanced.orderDestination, orderKind))
        advanced.orderDestination.Empty();

    for (POSITION at = mailBoxes.GetHeadPosition(); at != nullptr;) {
        auto* box = static_cast<CMailBox*>(mailBoxes.GetNext(at));
        for (INT_PTR index = box->destinations.GetSize() - 1; index >= 0; --index) {
            if (!phoneBook.Holds(box->destinations[index], 0))
                box->destinations.RemoveAt(index);
        }
        // Report kinds 2, 3 and 4 name a speed dial, a one-touch key and a group.
        if (box->reportDestKind >= 2 && box->reportDestKind <= 4 && !box->reportDest.IsEmpty()
            && !phoneBook.Holds(box->reportDest, box->reportDestKind - 1))
            box->reportDest.Empty();
    }
}

void CConfig::DeleteContents()
{
    Sections([this](const char*, auto section) { Reset(this->*section); });
}

void CConfig::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        serialformat::WriteHeader(ar, configMagic, configSchema);
        Sections([&](const char*, auto section) { (this->*section).Serialize(ar); });
        return;
    }
    serialformat::ExpectHeader(ar, configMagic, configSchema);
    // A record keeps the references it was stored with, found or not (the check before a
    // device write names those that are not); only removals let go of them.
    auto loaded = std::make_unique<CConfig>();
    const QuietRemovals quietLoaded(loaded->phoneBook);
    Sections([&](const char*, auto section) { (loaded.get()->*section).Serialize(ar); });
    const QuietRemovals quiet(phoneBook);
    Sections([&](const char*, auto section) { Assign(this->*section, loaded.get()->*section); });
}

void CConfig::SerializeLeadingSections(CArchive& ar, const char* last)
{
    if (ar.IsStoring())
        serialformat::WriteHeader(ar, configMagic, configSchema);
    else
        serialformat::ExpectHeader(ar, configMagic, configSchema);
    // References stay as stored, as in Serialize, even when this record's phone book is read.
    const QuietRemovals quiet(phoneBook);
    bool done = false;
    Sections([&](const char* name, auto section) {
        if (done)
            return;
        (this->*section).Serialize(ar);
        done = std::strcmp(name, last) == 0;
    });
}
