// Test helpers: records filled away from their defaults, serialisation through memory, and
// one field-by-field comparison of whole records.
#pragma once

#include "device/lib/config.h"
#include "support/capacities.h"
#include "support/helpers.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

inline std::string Text(const CString& text)
{
    return static_cast<const QString&>(text).toStdString();
}

// A file kept with these tests (corpus/, golden/), wherever the tests run from.
inline QString TestFilePath(const QString& relative)
{
    return QStringLiteral(TAMSEL_TESTS_DIR "/device/") + relative;
}

// The object's serialised bytes.
QByteArray Save(CObject& object);
// Loads the object from the bytes; throws what Serialize throws.
void Load(CObject& object, const QByteArray& bytes);

// Gives every field of a field-table object a value away from its default, depending on `seed`.
template <class Object>
void FillEveryField(Object& object, int seed);

// Every section away from its factory values; directory, mailboxes and client codes at
// their capacities.
void FillFullRecord(CConfig& config);
// A few entries of every kind, every one of them cross-referenced: small enough to cut
// and damage at every byte.
void FillSmallRecord(CConfig& config);

// Brings every field of the record within its rule (a number to its nearest bound, a text cut
// to its length and made of its characters) and lets go of references to entries that are not
// there, so that a device takes a filled record.
void KeepWithinRules(CConfig& config);

// Field by field, naming the first differences.
void ExpectSameRecord(const CConfig& expected, const CConfig& actual);
void ExpectSamePhoneBook(const CPhoneBook& expected, const CPhoneBook& actual);

namespace detail {
inline void Change(int& value, int seed) { value += 1 + seed; }
inline void Change(BYTE& value, int seed) { value = static_cast<BYTE>(value + 1 + seed % 255); }
inline void Change(CString& value, int seed) { value += QString("é%1→").arg(seed); }
inline void Change(CInterval& value, int seed)
{
    value = CInterval((value.GetStartMinute() + 1 + seed % 1000) % CInterval::minutesPerDay,
                      (value.GetStopMinute() + 7 + seed % 1000) % CInterval::minutesPerDay);
}
template <class T, std::size_t N>
void Change(T (&values)[N], int seed)
{
    for (std::size_t i = 0; i < N; ++i)
        Change(values[i], seed + static_cast<int>(i));
}
} // namespace detail

template <class Object>
void FillEveryField(Object& object, int seed)
{
    Object::Fields([&](const char*, auto field, const auto&) { detail::Change(object.*field, seed); });
}
