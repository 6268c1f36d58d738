// Objects of the record whose data is a plain table of fields.
//
// Each such class lists its fields once, in a static `Fields(visit)` that calls
// visit("fieldName", &Class::fieldName, rule) for every field in stored order. Writing,
// reading, comparing and dumping the object all walk that table, so a field added to it is
// serialised and compared without another edit. The rule is what the device takes in that
// field; the pages' limits and the record check read it from the table (RuleOf).
#pragma once

#include "afx/afx.h"
#include "device/lib/interval.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

namespace fields {

// The characters a text field takes.
enum class Chars : unsigned char { any, digits };

// What the device takes in a field: a number from `low` to `high` (a list's index from 0, a
// check box's 0 or 1), a text of `minLength` to `maxLength` characters of a set, or anything
// of the field's type (counters the device reports, addresses, time windows).
struct Rule {
    enum Kind : unsigned char { any, number, text };
    Kind kind = any;
    Chars chars = Chars::any;
    int low = 0;
    int high = 0;
    int minLength = 0;
    int maxLength = 0;

    bool Allows(int value) const { return kind != number || (value >= low && value <= high); }
    bool Allows(BYTE) const { return true; }
    bool Allows(const CInterval&) const { return true; }
    bool Allows(const CString& value) const { return FitsLength(value) && HasChars(value); }
    bool FitsLength(const CString& value) const;
    bool HasChars(const CString& value) const;
    friend bool operator==(const Rule&, const Rule&) = default;
};

constexpr Rule Any() { return {}; }
constexpr Rule Number(int low, int high) { return {Rule::number, Chars::any, low, high, 0, 0}; }
constexpr Rule Flag() { return Number(0, 1); }
// The index of one of a list's `count` items.
constexpr Rule Choice(int count) { return Number(0, count - 1); }
constexpr Rule Text(int maxLength, Chars chars = Chars::any, int minLength = 0)
{
    return {Rule::text, chars, 0, 0, minLength, maxLength};
}

// A table's rule is a Rule, or a function of the object for a rule that follows another
// field (e.g. a range that widens in one mode).
template <class Object, class TableRule>
Rule Evaluate(const TableRule& rule, const Object& object)
{
    if constexpr (std::is_invocable_v<TableRule, const Object&>)
        return rule(object);
    else
        return rule;
}

// The rule of one field of a table, as it stands for `object`: RuleOf(&CMachineSettings::
// companyName).maxLength is the longest company name the device takes.
template <class Object, class T>
Rule RuleOf(T Object::*member, const Object& object)
{
    Rule found;
    Object::Fields([&](const char*, auto field, const auto& rule) {
        if constexpr (std::is_same_v<decltype(field), T Object::*>) {
            if (field == member)
                found = Evaluate(rule, object);
        }
    });
    return found;
}

// The same for an object fresh from the factory.
template <class Object, class T>
Rule RuleOf(T Object::*member)
{
    return RuleOf(member, Object());
}

inline void WriteValue(CArchive& ar, int value) { ar << value; }
inline void ReadValue(CArchive& ar, int& value) { ar >> value; }
inline void WriteValue(CArchive& ar, BYTE value) { ar << value; }
inline void ReadValue(CArchive& ar, BYTE& value) { ar >> value; }
inline void WriteValue(CArchive& ar, const CString& value) { ar << value; }
inline void ReadValue(CArchive& ar, CString& value) { ar >> value; }
void WriteValue(CArchive& ar, const CInterval& value);
void ReadValue(CArchive& ar, CInterval& value);   // times of day outside a day are a badIndex

template <class T, std::size_t N>
void WriteValue(CArchive& ar, const T (&values)[N])
{
    for (const T& value : values)
        WriteValue(ar, value);
}

template <class T, std::size_t N>
void ReadValue(CArchive& ar, T (&values)[N])
{
    for (T& value : values)
        ReadValue(ar, value);
}

template <class T>
bool SameValue(const T& a, const T& b)
{
    return a == b;
}

template <class T, std::size_t N>
bool SameValue(const T (&a)[N], const T (&b)[N])
{
    return std::equal(a, a + N, b);
}

template <class Object>
void WriteFields(CArchive& ar, const Object& object)
{
    Object::Fields([&](const char*, auto field, const auto&) { WriteValue(ar, object.*field); });
}

template <class Object>
void ReadFields(CArchive& ar, Object& object)
{
    Object::Fields([&](const char*, auto field, const auto&) { ReadValue(ar, object.*field); });
}

template <class Object>
bool SameFields(const Object& a, const Object& b)
{
    bool same = true;
    Object::Fields([&](const char*, auto field, const auto&) { same = same && SameValue(a.*field, b.*field); });
    return same;
}

} // namespace fields

// Base of the field-table classes: serialisation and comparison from the table. Loading reads
// into a fresh object and assigns it only when all of it was read, so a malformed stream
// leaves the object as it was.
template <class Object>
class CFieldObject : public CObject {
public:
    void Serialize(CArchive& ar) override
    {
        auto& self = static_cast<Object&>(*this);
        if (ar.IsStoring()) {
            fields::WriteFields(ar, self);
        } else {
            Object loaded;
            fields::ReadFields(ar, loaded);
            self = loaded;
        }
    }

    friend bool operator==(const Object& a, const Object& b) { return fields::SameFields(a, b); }
};
