#include "device/lib/recordcheck.h"

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
// own lookups walk its lists.
class DirectoryIndex {
public:
    explicit DirectoryIndex(const CPhoneBook& phoneBook)
    {
        Index(phoneBook.GetSpeedDials(), byKind[0]);
        Index(phoneBook.GetOneTouches(), byKind[1]);
        Index(phoneBook.GetGroupDials(), byKind[2]);
    }

    // The entry of that kind (1 speed dial, 2 one-touch key, 3 group) and number held by the
    // directory, nullptr when there is none.
    const CIdObject* Get(int kind, int number) const
    {
        const std::vector<const CIdObject*>& entries = byKind[kind - 1];
        return number >= 0 && number < int(entries.size()) ? entries[number] : nullptr;
    }
    // As CPhoneBook::Holds.
    bool Holds(const CString& text, int kind) const
    {
        int found = 0;
        int number = 0;
        return CPhoneBook::ParseNumber(text, found, number) && Get(found, number) != nullptr
               && (kind == 0 || found == kind);
    }
    // Whether `entry` is the directory's own entry of its number.
    bool Holds(const CIdObject* entry, int kind) const { return Get(kind, entry->GetId()) == entry; }

private:
    static void Index(const CObList& list, std::vector<const CIdObject*>& entries)
    {
        for (POSITION at = list.GetHeadPosition(); at != nullptr;) {
            // The directory holds only numbers within its kinds' ranges (CPhoneBook::Add).
            const auto* entry = static_cast<const CIdObject*>(list.GetNext(at));
            if (entry->GetId() < 0)
                continue;
            if (entry->GetId() >= int(entries.size()))
                entries.resize(entry->GetId() + 1);
            entries[entry->GetId()] = entry;
        }
    }

    std::vector<const CIdObject*> byKind[3];
};

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

void CheckSection(const CAdvancedSettings& s, const DirectoryIndex& directory, Findings& out)
{
    const Place place{"advanced", {}};
    CheckFields(s, place, out);
    // Types 2 and 3 name a speed dial and a one-touch key.
    const int kind = s.orderDestinationType == 2 ? 1 : s.orderDestinationType == 3 ? 2 : 0;
    if (kind != 0 && !s.orderDestination.IsEmpty() && !directory.Holds(s.orderDestination, kind))
        Missing(place, "orderDestination", s.orderDestination, kind, out);
}

void CheckSection(const CDepartmentCodes& codes, const DirectoryIndex&, Findings& out)
{
    for (POSITION at = codes.GetHeadPosition(); at != nullptr;) {
        const auto& code = *static_cast<const CDepartmentCode*>(codes.GetNext(at));
        const Place place{"clientCodes", {}, code.GetId(), CDepartmentCode::digits};
        CheckValue(code.GetId(), CDepartmentCode::idRule, Where{place, "id"}, out);
        CheckFields(code, place, out);
    }
}

void CheckSection(const CMailBoxes& mailBoxes, const DirectoryIndex& directory, Findings& out)
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

void CheckSection(const CPhoneBook& phoneBook, const DirectoryIndex& directory, Findings& out)
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
            if (!directory.Holds(speedDial, 1))
                Missing(place, "target", FormatId(speedDial->GetId(), CSpeedDial::digits), 1, out);
        } else if (const auto* group = DYNAMIC_DOWNCAST(CGroupDial, ref)) {
            if (!directory.Holds(group, 3))
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
                if (!directory.Holds(speedDial, 1))
                    Missing(place, "members", FormatId(speedDial->GetId(), CSpeedDial::digits), 1, out);
            } else if (const auto* key = DYNAMIC_DOWNCAST(COneTouch, member)) {
                if (!directory.Holds(key, 2) || key->GetDialingData() == nullptr)
                    Missing(place, "members", FormatId(key->GetId(), COneTouch::digits), 2, out);
            }
        }
    }
}

template <class Section>
void CheckSection(const Section& section, const DirectoryIndex&, Findings& out, const char* name)
{
    CheckFields(section, {name, {}}, out);
}

} // namespace

std::vector<RecordFinding> CheckRecord(const CConfig& record)
{
    Findings out;
    const DirectoryIndex directory(record.phoneBook);
    CConfig::Sections([&](const char* name, auto member) {
        const auto& section = record.*member;
        if constexpr (requires { CheckSection(section, directory, out); })
            CheckSection(section, directory, out);
        else
            CheckSection(section, directory, out, name);
    });
    return out;
}
