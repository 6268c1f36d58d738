#include "device/lib/recorddiff.h"

#include <QStringList>

#include <cstring>
#include <map>
#include <type_traits>

bool operator==(const RecordDifference& a, const RecordDifference& b)
{
    return std::strcmp(a.section, b.section) == 0 && std::strcmp(a.field, b.field) == 0 && a.entry == b.entry
           && a.index == b.index && a.change == b.change && a.secret == b.secret && a.before == b.before
           && a.after == b.after;
}

namespace {

using Differences = std::vector<RecordDifference>;

// Where the values sit: a section, and an entry's number as lists show it.
struct Place {
    const char* section;
    CString entry;
};

// Passwords, and the SNMP communities that serve as ones.
bool IsSecret(const char* field)
{
    return std::strstr(field, "assword") != nullptr || std::strstr(field, "Community") != nullptr;
}

CString Shown(int value)
{
    return QString::number(value);
}

CString Shown(const CString& value)
{
    return CString("« ") + value + " »";
}

CString Shown(const CInterval& value)
{
    auto time = [](int minute) { return QString::asprintf("%02d:%02d", minute / 60, minute % 60); };
    return time(value.GetStartMinute()) + QStringLiteral("–") + time(value.GetStopMinute());
}

CString Shown(const BYTE (&address)[4])
{
    return QStringLiteral("%1.%2.%3.%4").arg(address[0]).arg(address[1]).arg(address[2]).arg(address[3]);
}

CString Shown(const CStringArray& texts)
{
    QStringList list;
    for (INT_PTR i = 0; i < texts.GetSize(); ++i)
        list << static_cast<const QString&>(texts[i]);
    return list.join(QStringLiteral(", "));
}

void Add(const Place& place, const char* field, int index, const CString& before, const CString& after, Differences& out)
{
    RecordDifference difference;
    difference.section = place.section;
    difference.field = field;
    difference.entry = place.entry;
    difference.index = index;
    difference.secret = IsSecret(field);
    if (!difference.secret) {
        difference.before = before;
        difference.after = after;
    }
    out.push_back(std::move(difference));
}

bool Same(const BYTE (&a)[4], const BYTE (&b)[4])
{
    return std::memcmp(a, b, 4) == 0;
}

bool Same(const CStringArray& a, const CStringArray& b)
{
    if (a.GetSize() != b.GetSize())
        return false;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

template <class T>
bool Same(const T& a, const T& b)
{
    return a == b;
}

template <class T>
void DiffValue(const T& a, const T& b, const Place& place, const char* field, int index, Differences& out)
{
    if (!Same(a, b))
        Add(place, field, index, Shown(a), Shown(b), out);
}

// An array field, element by element; addresses are one value.
template <class T, std::size_t N>
void DiffValue(const T (&a)[N], const T (&b)[N], const Place& place, const char* field, int, Differences& out)
{
    if constexpr (std::is_same_v<T, BYTE>) {
        if (!Same(a, b))
            Add(place, field, -1, Shown(a), Shown(b), out);
    } else {
        for (std::size_t i = 0; i < N; ++i)
            DiffValue(a[i], b[i], place, field, int(i), out);
    }
}

template <class Object>
void DiffFields(const Object& a, const Object& b, const Place& place, Differences& out)
{
    Object::Fields([&](const char* name, auto field, const auto&) { DiffValue(a.*field, b.*field, place, name, -1, out); });
}

void Whole(const Place& place, RecordDifference::Change change, const CString& name, Differences& out)
{
    RecordDifference difference;
    difference.section = place.section;
    difference.entry = place.entry;
    difference.change = change;
    (change == RecordDifference::added ? difference.after : difference.before) = name.IsEmpty() ? CString() : Shown(name);
    out.push_back(std::move(difference));
}

// Entries of two lists matched by key, in key order: removed, added, or `changed` for those in
// both. `text` words an entry's number, `name` its name.
template <class Map, class Text, class Name, class Changed>
void DiffLists(const Map& a, const Map& b, const char* section, Text text, Name name, Changed changed, Differences& out)
{
    const auto less = a.key_comp();
    auto ia = a.begin();
    auto ib = b.begin();
    while (ia != a.end() || ib != b.end()) {
        if (ib == b.end() || (ia != a.end() && less(ia->first, ib->first))) {
            Whole({section, text(*ia->second)}, RecordDifference::removed, name(*ia->second), out);
            ++ia;
        } else if (ia == a.end() || less(ib->first, ia->first)) {
            Whole({section, text(*ib->second)}, RecordDifference::added, name(*ib->second), out);
            ++ib;
        } else {
            changed(*ia->second, *ib->second, Place{section, text(*ib->second)});
            ++ia;
            ++ib;
        }
    }
}

template <class Entry>
std::map<int, const Entry*> ById(const CObList& list)
{
    std::map<int, const Entry*> entries;
    for (POSITION at = list.GetHeadPosition(); at != nullptr;) {
        const auto* entry = static_cast<const Entry*>(list.GetNext(at));
        entries.emplace(entry->GetId(), entry);
    }
    return entries;
}

template <class Entry>
CString Number(const Entry& entry)
{
    return FormatId(entry.GetId(), Entry::digits);
}

template <class Entry>
CString NameOf(const Entry& entry)
{
    return entry.GetName();
}

// What a one-touch key dials, as text.
CString Target(const COneTouch& key)
{
    if (const auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, key.GetRef()))
        return CString("composition abrégée ") + Number(*speedDial);
    if (const auto* group = DYNAMIC_DOWNCAST(CGroupDial, key.GetRef()))
        return CString("composition de groupe ") + Number(*group);
    return key.GetDialingData() != nullptr ? CString("individuelle") : CString("rien");
}

CString Members(const CGroupDial& group)
{
    QStringList numbers;
    for (POSITION at = group.members.GetHeadPosition(); at != nullptr;) {
        CObject* member = group.members.GetNext(at);
        if (const auto* speedDial = DYNAMIC_DOWNCAST(CSpeedDial, member))
            numbers << static_cast<const QString&>(Number(*speedDial));
        else if (const auto* key = DYNAMIC_DOWNCAST(COneTouch, member))
            numbers << static_cast<const QString&>(Number(*key));
    }
    return numbers.join(QStringLiteral(", "));
}

void DiffSection(const CPhoneBook& a, const CPhoneBook& b, const char*, Differences& out)
{
    DiffLists(ById<CSpeedDial>(a.GetSpeedDials()), ById<CSpeedDial>(b.GetSpeedDials()), "speedDials", Number<CSpeedDial>,
              NameOf<CSpeedDial>,
              [&](const CSpeedDial& x, const CSpeedDial& y, const Place& place) {
                  DiffFields(*x.GetDialingData(), *y.GetDialingData(), place, out);
              },
              out);
    DiffLists(ById<COneTouch>(a.GetOneTouches()), ById<COneTouch>(b.GetOneTouches()), "oneTouches", Number<COneTouch>,
              NameOf<COneTouch>,
              [&](const COneTouch& x, const COneTouch& y, const Place& place) {
                  if (Target(x) != Target(y))
                      Add(place, "target", -1, Target(x), Target(y), out);
                  if (x.GetDialingData() != nullptr && y.GetDialingData() != nullptr)
                      DiffFields(*x.GetDialingData(), *y.GetDialingData(), place, out);
              },
              out);
    DiffLists(ById<CGroupDial>(a.GetGroupDials()), ById<CGroupDial>(b.GetGroupDials()), "groupDials", Number<CGroupDial>,
              NameOf<CGroupDial>,
              [&](const CGroupDial& x, const CGroupDial& y, const Place& place) {
                  DiffFields(x, y, place, out);
                  if (Members(x) != Members(y))
                      Add(place, "members", -1, Members(x), Members(y), out);
              },
              out);
}

// Mailboxes by number: the shorter number first, as numbers sort.
struct MailBoxOrder {
    bool operator()(const CString& a, const CString& b) const
    {
        return a.GetLength() != b.GetLength() ? a.GetLength() < b.GetLength() : a < b;
    }
};

void DiffSection(const CMailBoxes& a, const CMailBoxes& b, const char* section, Differences& out)
{
    const auto byNumber = [](const CMailBoxes& boxes) {
        std::map<CString, const CMailBox*, MailBoxOrder> entries;
        for (POSITION at = boxes.GetHeadPosition(); at != nullptr;) {
            const auto* box = static_cast<const CMailBox*>(boxes.GetNext(at));
            entries.emplace(box->number, box);
        }
        return entries;
    };
    Differences found;
    DiffLists(byNumber(a), byNumber(b), section, [](const CMailBox& box) { return box.number; },
              [](const CMailBox&) { return CString(); },
              [&](const CMailBox& x, const CMailBox& y, const Place& place) { DiffFields(x, y, place, found); }, found);
    // A device keeps a mailbox that holds documents as it is, whatever the record says.
    CString lastKept;
    for (RecordDifference& difference : found) {
        if (!a.IsBusy(difference.entry)) {
            out.push_back(std::move(difference));
        } else if (difference.entry != lastKept) {
            lastKept = difference.entry;
            Whole({section, difference.entry}, RecordDifference::kept, CString(), out);
        }
    }
}

void DiffSection(const CDepartmentCodes& a, const CDepartmentCodes& b, const char* section, Differences& out)
{
    DiffLists(ById<CDepartmentCode>(a), ById<CDepartmentCode>(b), section, Number<CDepartmentCode>,
              [](const CDepartmentCode& code) { return code.name; },
              [&](const CDepartmentCode& x, const CDepartmentCode& y, const Place& place) { DiffFields(x, y, place, out); },
              out);
}

void DiffSection(const CMachineInfo&, const CMachineInfo&, const char*, Differences&)
{
}

template <class Section>
void DiffSection(const Section& a, const Section& b, const char* section, Differences& out)
{
    DiffFields(a, b, Place{section, {}}, out);
}

} // namespace

std::vector<RecordDifference> DiffRecords(const CConfig& before, const CConfig& after)
{
    Differences out;
    CConfig::Sections([&](const char* name, auto section) { DiffSection(before.*section, after.*section, name, out); });
    return out;
}
