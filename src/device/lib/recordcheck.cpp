#include "device/lib/recordcheck.h"

#include "device/lib/phonebookformat.h"
#include "device/lib/serialformat.h"

#include <algorithm>
#include <cstring>

bool operator==(const RecordFinding& a, const RecordFinding& b)
{
    return std::strcmp(a.section, b.section) == 0 && std::strcmp(a.field, b.field) == 0 && a.entry == b.entry
           && a.index == b.index && a.problem == b.problem && a.rule == b.rule && a.value == b.value
           && a.reference == b.reference && a.referenceKind == b.referenceKind;
}

namespace {

using Findings = std::vector<RecordFinding>;

// The directory's entries by kind and number, made once for a check: a record names entries
// many times over (every group's members, every relay's destinations) and the directory's
// own lookups walk its lists. `Entry` is what is known of an entry: the entry itself for a
// directory of objects, whether it is there for one walked in its serialised form.
template <class Entry>
class DirectoryIndex {
public:
    // The entry of that kind (1 speed dial, 2 one-touch key, 3 group) and number, or Entry().
    Entry Get(int kind, int number) const
    {
        const std::vector<Entry>& entries = byKind[kind - 1];
        return number >= 0 && number < int(entries.size()) ? entries[number] : Entry();
    }
    void Hold(int kind, int number, Entry entry)
    {
        std::vector<Entry>& entries = byKind[kind - 1];
        if (number >= int(entries.size()))
            entries.resize(number + 1);
        entries[number] = entry;
    }
    // As CPhoneBook::Holds.
    bool Holds(const CString& text, int kind) const
    {
        int found = 0;
        int number = 0;
        return CPhoneBook::ParseNumber(text, found, number) && Get(found, number) && (kind == 0 || found == kind);
    }

private:
    std::vector<Entry> byKind[3];
};

using ObjectIndex = DirectoryIndex<const CIdObject*>;

ObjectIndex IndexOf(const CPhoneBook& phoneBook)
{
    ObjectIndex index;
    int kind = 0;
    for (const CObList* list : {&phoneBook.GetSpeedDials(), &phoneBook.GetOneTouches(), &phoneBook.GetGroupDials()}) {
        ++kind;
        for (POSITION at = list->GetHeadPosition(); at != nullptr;) {
            // The directory holds only numbers within its kinds' ranges (CPhoneBook::Add).
            const auto* entry = static_cast<const CIdObject*>(list->GetNext(at));
            if (entry->GetId() >= 0)
                index.Hold(kind, entry->GetId(), entry);
        }
    }
    return index;
}

// Whether `entry` is the directory's own entry of its number.
bool Holds(const ObjectIndex& directory, const CIdObject* entry, int kind)
{
    return directory.Get(kind, entry->GetId()) == entry;
}

// Where a value sits: its section, and its entry's number as lists show it (a mailbox's
// text, or a numbered entry's number and digits), worded only for a finding: most entries
// have none.
struct Place {
    const char* section;
    CString text;
    int id = -1;
    int digits = 0;
};

RecordFinding At(const Place& place, const char* field, RecordFinding::Problem problem)
{
    RecordFinding finding;
    finding.section = place.section;
    finding.field = field;
    finding.entry = place.id >= 0 ? FormatId(place.id, place.digits) : place.text;
    finding.problem = problem;
    return finding;
}

// A value against its rule; a finding is made only for a value the rule does not allow.
struct Where {
    const Place& place;
    const char* field;
    int index = -1;
};

void CheckValue(int value, const fields::Rule& rule, const Where& where, Findings& out)
{
    if (rule.Allows(value))
        return;
    RecordFinding finding = At(where.place, where.field, RecordFinding::outOfRange);
    finding.index = where.index;
    finding.rule = rule;
    finding.value = value;
    out.push_back(std::move(finding));
}

void CheckValue(const CString& value, const fields::Rule& rule, const Where& where, Findings& out)
{
    if (rule.Allows(value))
        return;
    // A text of a fixed count of digits is wrong whatever its length.
    const bool fixed = rule.minLength == rule.maxLength;
    const bool tooLong = rule.HasChars(value) && value.GetLength() > rule.maxLength && !fixed;
    RecordFinding finding = At(where.place, where.field, tooLong ? RecordFinding::tooLong : RecordFinding::wrongCharacters);
    finding.index = where.index;
    finding.rule = rule;
    out.push_back(std::move(finding));
}

template <class T, std::size_t N>
void CheckValue(const T (&values)[N], const fields::Rule& rule, const Where& where, Findings& out)
{
    for (std::size_t i = 0; i < N; ++i)
        CheckValue(values[i], rule, Where{where.place, where.field, int(i)}, out);
}

// Addresses, time windows and lists carry no rule of their own.
template <class T>
void CheckValue(const T&, const fields::Rule&, const Where&, Findings&)
{
}

template <class Object>
void CheckFields(const Object& object, const Place& place, Findings& out)
{
    Object::Fields([&](const char* name, auto field, const auto& tableRule) {
        const fields::Rule rule = fields::Evaluate(tableRule, object);
        if (rule.kind != fields::Rule::any)
            CheckValue(object.*field, rule, Where{place, name}, out);
    });
}

void Missing(const Place& place, const char* field, const CString& number, int kind, Findings& out)
{
    RecordFinding finding = At(place, field, RecordFinding::missingEntry);
    finding.reference = number;
    finding.referenceKind = kind;
    out.push_back(std::move(finding));
}

template <class Directory>
void CheckSection(const CAdvancedSettings& s, const Directory& directory, Findings& out)
{
    const Place place{"advanced", {}};
    CheckFields(s, place, out);
    // Types 2 and 3 name a speed dial and a one-touch key.
    const int kind = s.orderDestinationType == 2 ? 1 : s.orderDestinationType == 3 ? 2 : 0;
    if (kind != 0 && !s.orderDestination.IsEmpty() && !directory.Holds(s.orderDestination, kind))
        Missing(place, "orderDestination", s.orderDestination, kind, out);
}

template <class Directory>
void CheckSection(const CDepartmentCodes& codes, const Directory&, Findings& out)
{
    for (POSITION at = codes.GetHeadPosition(); at != nullptr;) {
        const auto& code = *static_cast<const CDepartmentCode*>(codes.GetNext(at));
        const Place place{"clientCodes", {}, code.GetId(), CDepartmentCode::digits};
        CheckValue(code.GetId(), CDepartmentCode::idRule, Where{place, "id"}, out);
        CheckFields(code, place, out);
    }
}

template <class Directory>
void CheckSection(const CMailBoxes& mailBoxes, const Directory& directory, Findings& out)
{
    for (POSITION at = mailBoxes.GetHeadPosition(); at != nullptr;) {
        const auto& box = *static_cast<const CMailBox*>(mailBoxes.GetNext(at));
        const Place place{"mailBoxes", box.number};
        CheckFields(box, place, out);
        if (box.type == CMailBox::relayType) {
            if (box.destinations.IsEmpty())
                out.push_back(At(place, "destinations", RecordFinding::noDestinations));
            for (INT_PTR index = 0; index < box.destinations.GetSize(); ++index) {
                if (!directory.Holds(box.destinations[index], 0))
                    Missing(place, "destinations", box.destinations[index], 0, out);
            }
        }
        // Report kinds 2, 3 and 4 name a speed dial, a one-touch key and a group.
        if (box.reportDestKind >= 2 && box.reportDestKind <= 4 && !box.reportDest.IsEmpty()
            && !directory.Holds(box.reportDest, box.reportDestKind - 1))
            Missing(place, "reportDest", box.reportDest, box.reportDestKind - 1, out);
    }
}

void CheckSection(const CPhoneBook& phoneBook, const ObjectIndex& directory, Findings& out)
{
    for (POSITION at = phoneBook.GetSpeedDials().GetHeadPosition(); at != nullptr;) {
        const auto* entry = static_cast<const CSpeedDial*>(phoneBook.GetSpeedDials().GetNext(at));
        CheckFields(*entry->GetDialingData(), {"speedDials", {}, entry->GetId(), CSpeedDial::digits}, out);
    }
    for (POSITION at = phoneBook.GetOneTouches().GetHeadPosition(); at != nullptr;) {
        const auto* key = static_cast<const COneTouch*>(phoneBook.GetOneTouches().GetNext(at));
        const Place place{"oneTouches", {}, key->GetId(), COneTouch::digits};
        CObject* ref = key->GetRef();
        if (const CDialingData* own = key->GetDialingData()) {
            CheckFields(*own, place, out);
        } else if (const auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, ref)) {
            if (!Holds(directory, speedDial, 1))
                Missing(place, "target", FormatId(speedDial->GetId(), CSpeedDial::digits), 1, out);
        } else if (const auto* group = DYNAMIC_DOWNCAST(CGroupDial, ref)) {
            if (!Holds(directory, group, 3))
                Missing(place, "target", FormatId(group->GetId(), CGroupDial::digits), 3, out);
        } else {
            out.push_back(At(place, "target", RecordFinding::dialsNothing));
        }
    }
    for (POSITION at = phoneBook.GetGroupDials().GetHeadPosition(); at != nullptr;) {
        const auto* group = static_cast<const CGroupDial*>(phoneBook.GetGroupDials().GetNext(at));
        const Place place{"groupDials", {}, group->GetId(), CGroupDial::digits};
        CheckFields(*group, place, out);
        if (group->members.IsEmpty())
            out.push_back(At(place, "members", RecordFinding::noMembers));
        for (POSITION m = group->members.GetHeadPosition(); m != nullptr;) {
            CObject* member = group->members.GetNext(m);
            // Members are speed dials and one-touch keys with a record of their own.
            if (const auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, member)) {
                if (!Holds(directory, speedDial, 1))
                    Missing(place, "members", FormatId(speedDial->GetId(), CSpeedDial::digits), 1, out);
            } else if (const auto* key = DYNAMIC_DOWNCAST(COneTouch, member)) {
                if (!Holds(directory, key, 2) || key->GetDialingData() == nullptr)
                    Missing(place, "members", FormatId(key->GetId(), COneTouch::digits), 2, out);
            }
        }
    }
}

template <class Section, class Directory>
void CheckSection(const Section& section, const Directory&, Findings& out, const char* name)
{
    CheckFields(section, {name, {}}, out);
}

// The findings of the record's sections in their order, those of the directory from
// `checkDirectory`.
template <class Directory, class CheckDirectory>
Findings CheckSections(const CConfig& record, const Directory& directory, CheckDirectory checkDirectory)
{
    Findings out;
    CConfig::Sections([&](const char* name, auto member) {
        const auto& section = record.*member;
        if constexpr (std::is_same_v<std::decay_t<decltype(section)>, CPhoneBook>)
            checkDirectory(out);
        else if constexpr (requires { CheckSection(section, directory, out); })
            CheckSection(section, directory, out);
        else
            CheckSection(section, directory, out, name);
    });
    return out;
}

// The directory in its serialised form, walked as CPhoneBook reads it and throwing where that
// reading throws (numbers in range and taken once, references to entries that are there, a
// member once in a group), each entry checked as CheckSection checks it once read: the same
// findings, in stored order, with no entry built. `held` receives the entries' numbers.
void WalkDirectory(CArchive& ar, DirectoryIndex<bool>& held, Findings& out)
{
    using namespace phonebookformat;
    serialformat::ExpectHeader(ar, phoneBookMagic, phoneBookSchema);

    // Whether each number is taken, by kind; a number outside a table is outside its range.
    std::vector<bool> speedDials(highestSpeedDial + 1);
    std::vector<bool> ownKeys(COneTouch::max_count + 1);   // keys with a record of their own
    std::vector<bool> keys(COneTouch::max_count + 1);
    std::vector<bool> groups(highestGroupDial + 1);
    const auto taken = [](const std::vector<bool>& numbers, int number) {
        return number >= 1 && number < int(numbers.size()) && numbers[number];
    };
    const auto adopt = [](std::vector<bool>& numbers, int number) {
        serialformat::Require(number >= 1 && number < int(numbers.size()) && !numbers[number]);
        numbers[number] = true;
    };

    CDialingData data;
    for (DWORD n = ar.ReadCount(CSpeedDial::max_count, minSpeedDialBytes); n > 0; --n) {
        const int number = serialformat::ReadInt(ar);
        fields::ReadFields(ar, data);
        CheckFields(data, {"speedDials", {}, number, CSpeedDial::digits}, out);
        adopt(speedDials, number);
    }

    std::vector<int> groupsOfKeys;
    for (DWORD n = ar.ReadCount(COneTouch::max_count, minOneTouchBytes); n > 0; --n) {
        const int number = serialformat::ReadInt(ar);
        const Place place{"oneTouches", {}, number, COneTouch::digits};
        BYTE refKind = noRef;
        ar >> refKind;
        switch (refKind) {
        case noRef:
            out.push_back(At(place, "target", RecordFinding::dialsNothing));
            break;
        case ownRecord:
            fields::ReadFields(ar, data);
            CheckFields(data, place, out);
            break;
        case speedDialRef:
            serialformat::Require(taken(speedDials, serialformat::ReadInt(ar)));
            break;
        case groupDialRef:
            groupsOfKeys.push_back(serialformat::ReadInt(ar));
            break;
        default:
            serialformat::Require(false);
        }
        adopt(keys, number);
        ownKeys[number] = refKind == ownRecord;
    }

    const DWORD maxMembers = static_cast<DWORD>(CSpeedDial::max_count + COneTouch::max_count);
    GroupMarks speedDialsTaken(highestSpeedDial);
    GroupMarks keysTaken(COneTouch::max_count);
    CGroupDial group;
    for (DWORD n = ar.ReadCount(CGroupDial::max_count, minGroupDialBytes); n > 0; --n) {
        const int number = serialformat::ReadInt(ar);
        ar >> group.name;
        const Place place{"groupDials", {}, number, CGroupDial::digits};
        CheckFields(group, place, out);
        const DWORD members = ar.ReadCount(maxMembers, memberBytes);
        if (members == 0)
            out.push_back(At(place, "members", RecordFinding::noMembers));
        for (DWORD m = members; m > 0; --m) {
            BYTE kind = 0;
            ar >> kind;
            const int member = serialformat::ReadInt(ar);
            if (kind == speedDialMember && taken(speedDials, member)) {
                serialformat::Require(speedDialsTaken.Mark(member, n));
            } else if (kind == oneTouchMember && taken(keys, member)) {
                serialformat::Require(keysTaken.Mark(member, n));
                if (!ownKeys[member])
                    Missing(place, "members", FormatId(member, COneTouch::digits), 2, out);
            } else {
                serialformat::Require(false);
            }
        }
        adopt(groups, number);
    }
    for (int number : groupsOfKeys)
        serialformat::Require(taken(groups, number));

    int kind = 0;
    for (const std::vector<bool>* numbers : {&speedDials, &keys, &groups}) {
        ++kind;
        for (int number = 1; number < int(numbers->size()); ++number) {
            if ((*numbers)[number])
                held.Hold(kind, number, true);
        }
    }
}

} // namespace

std::vector<RecordFinding> CheckRecord(const CConfig& record)
{
    const ObjectIndex directory = IndexOf(record.phoneBook);
    return CheckSections(record, directory, [&](Findings& out) { CheckSection(record.phoneBook, directory, out); });
}

std::vector<RecordFinding> CheckRecordBytes(const QByteArray& record, const char* lastLeading, CConfig& sections,
                                            qsizetype& restAt)
{
    restAt = serialformat::ReadFromFront(record, [&](CArchive& ar) { sections.SerializeLeadingSections(ar, lastLeading); });
    const QByteArray rest = QByteArray::fromRawData(record.constData() + restAt, record.size() - restAt);
    DirectoryIndex<bool> held;
    Findings directoryFindings;
    serialformat::ReadFromFront(rest, [&](CArchive& ar) {
        bool leading = true;
        CConfig::Sections([&](const char* name, auto member) {
            auto& section = sections.*member;
            if (leading)
                leading = std::strcmp(name, lastLeading) != 0;
            else if constexpr (std::is_same_v<std::decay_t<decltype(section)>, CPhoneBook>)
                WalkDirectory(ar, held, directoryFindings);
            else
                section.Serialize(ar);
        });
    });
    return CheckSections(sections, held, [&](Findings& out) {
        out.insert(out.end(), directoryFindings.begin(), directoryFindings.end());
    });
}
