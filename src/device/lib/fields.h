// Objects of the record whose data is a plain table of fields.
//
// Each such class lists its fields once, in a static `Fields(visit)` that calls
// visit("fieldName", &Class::fieldName) for every field in stored order. Writing, reading,
// comparing and dumping the object all walk that table, so a field added to it is
// serialised and compared without another edit.
#pragma once

#include "afx/afx.h"
#include "device/lib/interval.h"

#include <algorithm>
#include <cstddef>

namespace fields {

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
    Object::Fields([&](const char*, auto field) { WriteValue(ar, object.*field); });
}

template <class Object>
void ReadFields(CArchive& ar, Object& object)
{
    Object::Fields([&](const char*, auto field) { ReadValue(ar, object.*field); });
}

template <class Object>
bool SameFields(const Object& a, const Object& b)
{
    bool same = true;
    Object::Fields([&](const char*, auto field) { same = same && SameValue(a.*field, b.*field); });
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
