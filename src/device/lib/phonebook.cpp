#include "device/lib/phonebook.h"

#include "device/lib/dialstring.h"
#include "device/lib/phonebookformat.h"
#include "device/lib/serialformat.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CDialingData, CObject, 1)
IMPLEMENT_SERIAL(CSpeedDial, CIdObject, 1)
IMPLEMENT_SERIAL(COneTouch, CIdObject, 1)
IMPLEMENT_SERIAL(CGroupDial, CIdObject, 1)
IMPLEMENT_SERIAL(CPhoneBook, CObject, 1)

namespace {

using namespace phonebookformat;

CString ShownFaxNumber(const CDialingData& data)
{
    CString billingCode;
    return FaxWithDollarSigns(data.faxNumber, billingCode);
}

template <class Entry>
Entry* FindNumber(const CObList& list, int number)
{
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        auto* entry = static_cast<Entry*>(list.GetNext(pos));
        if (entry->GetId() == number)
            return entry;
    }
    return nullptr;
}

// Keeps the list in ascending number order; equal numbers go after the ones already there.
// Appending is the common case (loading reads entries in order), so the tail is tried first.
void InsertInOrder(CObList& list, CIdObject* entry)
{
    if (list.IsEmpty() || static_cast<CIdObject*>(list.GetTail())->GetId() <= entry->GetId()) {
        list.AddTail(entry);
        return;
    }
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        if (static_cast<CIdObject*>(list.GetNext(pos))->GetId() > entry->GetId()) {
            list.InsertBefore(at, entry);
            return;
        }
    }
}

BOOL AddEntry(CObList& list, CIdObject* entry, int highest, int capacity)
{
    if (entry == nullptr || entry->GetId() < 1 || entry->GetId() > highest)
        return FALSE;
    POSITION held = nullptr;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        auto* other = static_cast<CIdObject*>(list.GetNext(pos));
        if (other == entry)
            held = at;
        else if (other->GetId() == entry->GetId())
            return FALSE;
    }
    if (held != nullptr)
        list.RemoveAt(held);
    else if (list.GetCount() >= capacity)
        return FALSE;
    InsertInOrder(list, entry);
    return TRUE;
}

template <class Predicate>
void RemoveIf(CObList& list, Predicate remove)
{
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        if (remove(list.GetNext(pos)))
            list.RemoveAt(at);
    }
}

void DestroyAll(CObList& list)
{
    while (!list.IsEmpty())
        delete list.RemoveHead();
}

// The entries of a list, to tell whether a pointer names one of them without following it:
// an open-addressed table of the pointers, at most half full.
class Entries {
public:
    explicit Entries(const CObList& list)
    {
        while ((size_t{1} << bits) < 2 * static_cast<size_t>(list.GetCount()))
            ++bits;
        table.assign(size_t{1} << bits, nullptr);
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
            const CObject* entry = list.GetNext(pos);
            size_t at = Slot(entry);
            while (table[at] != nullptr && table[at] != entry)
                at = Next(at);
            table[at] = entry;
        }
    }
    bool Holds(const CObject* object) const
    {
        if (object == nullptr)
            return false;
        for (size_t at = Slot(object);; at = Next(at)) {
            if (table[at] == object)
                return true;
            if (table[at] == nullptr)
                return false;
        }
    }

private:
    size_t Slot(const CObject* object) const
    {
        return static_cast<size_t>((reinterpret_cast<std::uintptr_t>(object) * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
    }
    size_t Next(size_t at) const { return (at + 1) & (table.size() - 1); }

    int bits = 4;
    std::vector<const CObject*> table;
};

} // namespace

CString COneTouch::GetName() const
{
    if (auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, ref))
        return speedDial->GetName();
    if (auto* group = DYNAMIC_DOWNCAST(CGroupDial, ref))
        return group->GetName();
    if (auto* record = GetDialingData())
        return record->GetName();
    return CString();
}

void CSpeedDial::GetText(CStringArray& texts) const
{
    texts.RemoveAll();
    texts.Add(FormatId(GetId(), digits));
    texts.Add(dialingData.name);
    texts.Add(ShownFaxNumber(dialingData));
}

void COneTouch::GetText(CStringArray& texts) const
{
    texts.RemoveAll();
    texts.Add(FormatId(GetId(), digits));
    if (auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, ref)) {
        texts.Add(CString("Composition abrégée"));
        texts.Add(speedDial->GetName());
        texts.Add(FormatId(speedDial->GetId(), CSpeedDial::digits));
    } else if (auto* group = DYNAMIC_DOWNCAST(CGroupDial, ref)) {
        texts.Add(CString("Composition de groupe"));
        texts.Add(group->name);
        texts.Add(FormatId(group->GetId(), CGroupDial::digits));
    } else {
        const CDialingData* record = GetDialingData();
        texts.Add(CString("Individuel"));
        texts.Add(record != nullptr ? record->name : CString());
        texts.Add(record != nullptr ? ShownFaxNumber(*record) : CString());
    }
}

void CGroupDial::GetText(CStringArray& texts) const
{
    texts.RemoveAll();
    texts.Add(FormatId(GetId(), digits));
    texts.Add(name);
}

CPhoneBook::~CPhoneBook()
{
    // Not told to the owner: it is going too, and what it holds may be gone already.
    DestroyContents(4);
}

CSpeedDial* CPhoneBook::GetSpeedDial(int number) const
{
    return FindNumber<CSpeedDial>(speedDials, number);
}

COneTouch* CPhoneBook::GetOneTouch(int number) const
{
    return FindNumber<COneTouch>(oneTouches, number);
}

CGroupDial* CPhoneBook::GetGroupDial(int number) const
{
    return FindNumber<CGroupDial>(groupDials, number);
}

int CPhoneBook::GetCount(int kind) const
{
    switch (kind) {
    case 1: return static_cast<int>(speedDials.GetCount());
    case 2: return static_cast<int>(oneTouches.GetCount());
    case 3: return static_cast<int>(groupDials.GetCount());
    case 4: return GetCount(1) + GetCount(2) + GetCount(3);
    default: return 0;
    }
}

BOOL CPhoneBook::Add(CSpeedDial* entry)
{
    return AddEntry(speedDials, entry, highestSpeedDial, CSpeedDial::max_count);
}

BOOL CPhoneBook::Add(COneTouch* entry)
{
    return AddEntry(oneTouches, entry, COneTouch::max_count, COneTouch::max_count);
}

BOOL CPhoneBook::Add(CGroupDial* entry)
{
    return AddEntry(groupDials, entry, highestGroupDial, CGroupDial::max_count);
}

void CPhoneBook::Delete(CSpeedDial* entry)
{
    if (speedDials.Find(entry) != nullptr) {
        Destroy({entry});
        AfterRemoval();
    }
}

void CPhoneBook::Delete(COneTouch* entry)
{
    if (oneTouches.Find(entry) != nullptr) {
        Destroy({entry});
        AfterRemoval();
    }
}

void CPhoneBook::Delete(CGroupDial* entry)
{
    if (groupDials.Find(entry) != nullptr) {
        Destroy({entry});
        AfterRemoval();
    }
}

void CPhoneBook::Delete(CDialingData* record)
{
    const POSITION held = dialingRecords.Find(record);
    if (held == nullptr)
        return;
    dialingRecords.RemoveAt(held);
    for (POSITION pos = oneTouches.GetHeadPosition(); pos != nullptr;) {
        auto* key = static_cast<COneTouch*>(oneTouches.GetNext(pos));
        if (key->GetRef() == record)
            key->SetRef(nullptr);
    }
    delete record;
}

void CPhoneBook::DeleteContents(int kind)
{
    DestroyContents(kind);
    AfterRemoval();
}

void CPhoneBook::AfterRemoval() const
{
    if (afterRemoval)
        afterRemoval();
}

void CPhoneBook::DestroyContents(int kind)
{
    if (kind == 4) {
        // Nothing stays behind to keep pointing at what goes.
        DestroyAll(groupDials);
        DestroyAll(oneTouches);
        DestroyAll(speedDials);
        DestroyAll(dialingRecords);
        return;
    }
    std::unordered_set<CObject*> doomed;
    const auto take = [&](const CObList& list) {
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
            doomed.insert(list.GetNext(pos));
    };
    if (kind == 1)
        take(speedDials);
    if (kind == 2)
        take(oneTouches);
    if (kind == 3)
        take(groupDials);
    Destroy(std::move(doomed));
}

void CPhoneBook::Destroy(std::unordered_set<CObject*> doomed)
{
    // Keys that stood for a doomed speed dial or group dial go with it.
    for (POSITION pos = oneTouches.GetHeadPosition(); pos != nullptr;) {
        auto* key = static_cast<COneTouch*>(oneTouches.GetNext(pos));
        if (doomed.count(key->GetRef()) != 0)
            doomed.insert(key);
    }
    const auto isDoomed = [&](CObject* object) { return doomed.count(object) != 0; };
    RemoveIf(speedDials, isDoomed);
    RemoveIf(oneTouches, isDoomed);
    RemoveIf(groupDials, isDoomed);
    for (POSITION pos = groupDials.GetHeadPosition(); pos != nullptr;)
        RemoveIf(static_cast<CGroupDial*>(groupDials.GetNext(pos))->members, isDoomed);

    // A doomed key's own record goes too, unless a remaining key still dials it.
    std::unordered_set<const CObject*> recordsInUse;
    for (POSITION pos = oneTouches.GetHeadPosition(); pos != nullptr;)
        recordsInUse.insert(static_cast<COneTouch*>(oneTouches.GetNext(pos))->GetRef());
    for (CObject* object : doomed) {
        auto* key = DYNAMIC_DOWNCAST(COneTouch, object);
        CDialingData* record = key != nullptr ? key->GetDialingData() : nullptr;
        if (record != nullptr && recordsInUse.count(record) == 0 && dialingRecords.Find(record) != nullptr) {
            dialingRecords.RemoveAt(dialingRecords.Find(record));
            recordsInUse.insert(record);   // several doomed keys may share it: destroy it once
            delete record;
        }
    }
    for (CObject* object : doomed)
        delete object;
}

CDialingData* CPhoneBook::NewDialingData()
{
    auto* record = new CDialingData;
    dialingRecords.AddTail(record);
    return record;
}

void CPhoneBook::RemoveFromGroups(CObject* member)
{
    for (POSITION pos = groupDials.GetHeadPosition(); pos != nullptr;)
        RemoveIf(static_cast<CGroupDial*>(groupDials.GetNext(pos))->members, [member](CObject* object) { return object == member; });
}

bool CPhoneBook::ParseNumber(const CString& number, int& kind, int& n)
{
    const int length = number.GetLength();
    kind = length == COneTouch::digits ? 2 : length == CSpeedDial::digits ? 1 : 3;
    bool isNumber = false;
    n = static_cast<const QString&>(number).toInt(&isNumber);
    return isNumber;
}

const CIdObject* CPhoneBook::Find(const CString& number, int& kind) const
{
    int n = 0;
    if (!ParseNumber(number, kind, n))
        return nullptr;
    if (kind == 1)
        return GetSpeedDial(n);
    if (kind == 2)
        return GetOneTouch(n);
    return GetGroupDial(n);
}

BOOL CPhoneBook::Holds(const CString& number, int kind) const
{
    int found = 0;
    return Find(number, found) != nullptr && (kind == 0 || found == kind);
}

int CPhoneBook::GetName(const CString& number, CString& name) const
{
    int kind = 0;
    const CIdObject* entry = Find(number, kind);
    name.Empty();
    if (entry == nullptr)
        return kind;
    if (kind == 1)
        name = static_cast<const CSpeedDial*>(entry)->GetName();
    else if (kind == 2)
        name = static_cast<const COneTouch*>(entry)->GetName();
    else
        name = static_cast<const CGroupDial*>(entry)->GetName();
    return kind;
}

void CPhoneBook::TakeContents(CPhoneBook& other)
{
    if (&other == this)
        return;
    DestroyContents(4);
    speedDials = std::move(other.speedDials);
    oneTouches = std::move(other.oneTouches);
    groupDials = std::move(other.groupDials);
    dialingRecords = std::move(other.dialingRecords);
    // Told once the new entries are in: a number the new directory holds again stays valid.
    AfterRemoval();
}

void CPhoneBook::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        Store(ar);
    } else {
        CPhoneBook loaded;
        loaded.Load(ar);
        TakeContents(loaded);
    }
}

void CPhoneBook::Store(CArchive& ar) const
{
    serialformat::WriteHeader(ar, phoneBookMagic, phoneBookSchema);

    ar.WriteCount(static_cast<DWORD>(speedDials.GetCount()));
    for (POSITION pos = speedDials.GetHeadPosition(); pos != nullptr;) {
        const auto* entry = static_cast<const CSpeedDial*>(speedDials.GetNext(pos));
        ar << entry->GetId();
        fields::WriteFields(ar, *entry->GetDialingData());
    }

    // References are written as numbers, and only to entries of this phone book.
    const Entries heldSpeedDials(speedDials);
    const Entries heldOneTouches(oneTouches);
    const Entries heldGroupDials(groupDials);

    ar.WriteCount(static_cast<DWORD>(oneTouches.GetCount()));
    for (POSITION pos = oneTouches.GetHeadPosition(); pos != nullptr;) {
        const auto* entry = static_cast<const COneTouch*>(oneTouches.GetNext(pos));
        ar << entry->GetId();
        const CObject* ref = entry->GetRef();
        if (const CDialingData* record = entry->GetDialingData()) {
            ar << BYTE(ownRecord);
            fields::WriteFields(ar, *record);
        } else if (heldSpeedDials.Holds(ref)) {
            ar << BYTE(speedDialRef) << static_cast<const CIdObject*>(ref)->GetId();
        } else if (heldGroupDials.Holds(ref)) {
            ar << BYTE(groupDialRef) << static_cast<const CIdObject*>(ref)->GetId();
        } else {
            ar << BYTE(noRef);
        }
    }

    ar.WriteCount(static_cast<DWORD>(groupDials.GetCount()));
    GroupMarks speedDialsWritten(highestSpeedDial);
    GroupMarks oneTouchesWritten(COneTouch::max_count);
    std::vector<std::pair<BYTE, int>> members;
    DWORD ordinal = 0;
    for (POSITION pos = groupDials.GetHeadPosition(); pos != nullptr;) {
        const auto* group = static_cast<const CGroupDial*>(groupDials.GetNext(pos));
        ar << group->GetId() << group->name;
        ++ordinal;
        members.clear();
        for (POSITION at = group->members.GetHeadPosition(); at != nullptr;) {
            const CObject* member = group->members.GetNext(at);
            if (heldSpeedDials.Holds(member)) {
                const int number = static_cast<const CIdObject*>(member)->GetId();
                if (speedDialsWritten.Mark(number, ordinal))
                    members.emplace_back(speedDialMember, number);
            } else if (heldOneTouches.Holds(member)) {
                const int number = static_cast<const CIdObject*>(member)->GetId();
                if (oneTouchesWritten.Mark(number, ordinal))
                    members.emplace_back(oneTouchMember, number);
            }
        }
        ar.WriteCount(static_cast<DWORD>(members.size()));
        for (const auto& [kind, number] : members)
            ar << kind << number;
    }
}

void CPhoneBook::Load(CArchive& ar)
{
    serialformat::ExpectHeader(ar, phoneBookMagic, phoneBookSchema);

    // Entries by number, for the references; the batch ends (the entries in their lists)
    // whether or not all of the stream was read.
    CPhoneBookBatch batch(*this);
    // Adopts a freshly read entry, whose number must be in range and not yet taken.
    const auto adopt = [&batch](auto entry) {
        serialformat::Require(batch.Add(entry.get()));
        entry.release();
    };

    for (DWORD n = ar.ReadCount(CSpeedDial::max_count, minSpeedDialBytes); n > 0; --n) {
        auto entry = std::make_unique<CSpeedDial>(serialformat::ReadInt(ar));
        fields::ReadFields(ar, *entry->GetDialingData());
        adopt(std::move(entry));
    }

    // Keys may stand for groups, which come after them: those are linked at the end.
    std::vector<std::pair<COneTouch*, int>> keysForGroups;
    for (DWORD n = ar.ReadCount(COneTouch::max_count, minOneTouchBytes); n > 0; --n) {
        auto entry = std::make_unique<COneTouch>(serialformat::ReadInt(ar));
        BYTE refKind = noRef;
        ar >> refKind;
        switch (refKind) {
        case noRef:
            break;
        case ownRecord: {
            auto record = std::make_unique<CDialingData>();
            fields::ReadFields(ar, *record);
            dialingRecords.AddTail(record.get());
            entry->SetRef(record.release());
            break;
        }
        case speedDialRef: {
            CSpeedDial* speedDial = batch.GetSpeedDial(serialformat::ReadInt(ar));
            serialformat::Require(speedDial != nullptr);
            entry->SetRef(speedDial);
            break;
        }
        case groupDialRef:
            keysForGroups.emplace_back(entry.get(), serialformat::ReadInt(ar));
            break;
        default:
            serialformat::Require(false);
        }
        adopt(std::move(entry));
    }

    const DWORD maxMembers = static_cast<DWORD>(CSpeedDial::max_count + COneTouch::max_count);
    GroupMarks speedDialsTaken(highestSpeedDial);
    GroupMarks oneTouchesTaken(COneTouch::max_count);
    for (DWORD n = ar.ReadCount(CGroupDial::max_count, minGroupDialBytes); n > 0; --n) {
        auto group = std::make_unique<CGroupDial>(serialformat::ReadInt(ar));
        ar >> group->name;
        for (DWORD m = ar.ReadCount(maxMembers, memberBytes); m > 0; --m) {
            BYTE kind = 0;
            ar >> kind;
            const int number = serialformat::ReadInt(ar);
            CObject* member = nullptr;
            if (kind == speedDialMember && (member = batch.GetSpeedDial(number)) != nullptr)
                serialformat::Require(speedDialsTaken.Mark(number, n));
            else if (kind == oneTouchMember && (member = batch.GetOneTouch(number)) != nullptr)
                serialformat::Require(oneTouchesTaken.Mark(number, n));
            serialformat::Require(member != nullptr);
            group->members.AddTail(member);
        }
        adopt(std::move(group));
    }

    for (auto [key, number] : keysForGroups) {
        CGroupDial* group = batch.GetGroupDial(number);
        serialformat::Require(group != nullptr);
        key->SetRef(group);
    }
}

CPhoneBookBatch::Kind::Kind(CObList& list, int highest) : list(list), highest(highest), byNumber(static_cast<size_t>(highest) + 1)
{
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        auto* entry = static_cast<CIdObject*>(list.GetNext(pos));
        // A held entry may carry a number above today's capacity (lowered after it was added).
        if (entry->GetId() < 1)
            continue;
        const auto at = static_cast<size_t>(entry->GetId());
        if (at >= byNumber.size())
            byNumber.resize(at + 1);
        byNumber[at] = entry;
    }
}

CIdObject* CPhoneBookBatch::Kind::Find(int number) const
{
    return number >= 1 && static_cast<size_t>(number) < byNumber.size() ? byNumber[static_cast<size_t>(number)] : nullptr;
}

BOOL CPhoneBookBatch::Kind::Add(CIdObject* entry, int capacity)
{
    if (entry == nullptr || entry->GetId() < 1 || entry->GetId() > highest || Find(entry->GetId()) != nullptr
        || list.GetCount() + static_cast<INT_PTR>(added.size()) >= capacity)
        return FALSE;
    byNumber[static_cast<size_t>(entry->GetId())] = entry;
    added.push_back(entry);
    return TRUE;
}

void CPhoneBookBatch::Kind::Merge()
{
    const auto byId = [](const CIdObject* a, const CIdObject* b) { return a->GetId() < b->GetId(); };
    if (!std::is_sorted(added.begin(), added.end(), byId))
        std::sort(added.begin(), added.end(), byId);
    POSITION pos = list.GetHeadPosition();
    for (CIdObject* entry : added) {
        while (pos != nullptr && static_cast<CIdObject*>(list.GetAt(pos))->GetId() <= entry->GetId())
            list.GetNext(pos);
        if (pos == nullptr)
            list.AddTail(entry);
        else
            list.InsertBefore(pos, entry);
    }
    added.clear();
}

CPhoneBookBatch::CPhoneBookBatch(CPhoneBook& book)
    : speedDials(book.GetSpeedDials(), highestSpeedDial)
    , oneTouches(book.GetOneTouches(), COneTouch::max_count)
    , groupDials(book.GetGroupDials(), highestGroupDial)
{
}

CPhoneBookBatch::~CPhoneBookBatch()
{
    speedDials.Merge();
    oneTouches.Merge();
    groupDials.Merge();
}

CSpeedDial* CPhoneBookBatch::GetSpeedDial(int number) const
{
    return static_cast<CSpeedDial*>(speedDials.Find(number));
}

COneTouch* CPhoneBookBatch::GetOneTouch(int number) const
{
    return static_cast<COneTouch*>(oneTouches.Find(number));
}

CGroupDial* CPhoneBookBatch::GetGroupDial(int number) const
{
    return static_cast<CGroupDial*>(groupDials.Find(number));
}

int CPhoneBookBatch::GetCount(int kind) const
{
    const auto count = [](const Kind& k) { return static_cast<int>(k.list.GetCount() + static_cast<INT_PTR>(k.added.size())); };
    switch (kind) {
    case 1: return count(speedDials);
    case 2: return count(oneTouches);
    case 3: return count(groupDials);
    case 4: return count(speedDials) + count(oneTouches) + count(groupDials);
    default: return 0;
    }
}

BOOL CPhoneBookBatch::Add(CSpeedDial* entry)
{
    return speedDials.Add(entry, CSpeedDial::max_count);
}

BOOL CPhoneBookBatch::Add(COneTouch* entry)
{
    return oneTouches.Add(entry, COneTouch::max_count);
}

BOOL CPhoneBookBatch::Add(CGroupDial* entry)
{
    return groupDials.Add(entry, CGroupDial::max_count);
}
