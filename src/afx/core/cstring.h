// CString: the console's string type, a QString with the familiar interface.
#pragma once

#include "afx/core/types.h"

#include <QString>
#include <compare>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

class CString;

namespace afx {

template <class T>
concept CharType = std::same_as<T, char> || std::same_as<T, char8_t> || std::same_as<T, char16_t>
                   || std::same_as<T, char32_t> || std::same_as<T, wchar_t>;

// One argument of a printf-style format, captured with its own type, so that a format never
// reads an argument as something it is not: a conversion that does not match its argument
// prints the argument as well as it can instead of reading garbage.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Floating, Text, Pointer };

    template <std::integral T>
    FormatArg(T value)
        : kind(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned), size(sizeof(T)),
          bits(static_cast<std::uint64_t>(value)) {}
    template <class T> requires std::is_enum_v<T>
    FormatArg(T value) : FormatArg(static_cast<std::underlying_type_t<T>>(value)) {}
    FormatArg(QChar value) : FormatArg(value.unicode()) {}
    FormatArg(double value) : kind(Kind::Floating), real(value) {}
    FormatArg(const char* utf8);
    FormatArg(const char16_t* text);
    FormatArg(const wchar_t* text);
    FormatArg(const QString& text) : kind(Kind::Text), text(text) {}
    FormatArg(const CString& text);
    template <class T> requires (!CharType<std::remove_cv_t<T>>)
    FormatArg(T* pointer) : kind(Kind::Pointer), size(sizeof(void*)), bits(reinterpret_cast<std::uintptr_t>(pointer)) {}
    FormatArg(std::nullptr_t) : kind(Kind::Pointer), size(sizeof(void*)) {}

    Kind kind;
    int size = 0;            // bytes of an integer argument, as C's promotions saw them
    std::uint64_t bits = 0;  // an integer's two's complement bits (or a pointer)
    double real = 0;
    QString text;
};

// printf semantics for %d %i %u %x %X %o %c %s %S %f %e %g %p %% with flags, width (also *),
// precision and the length modifiers h, hh, l, ll, I64 (which only narrow integers as C does).
// Missing arguments print nothing; %n prints nothing and writes nothing.
QString FormatString(const QString& format, std::initializer_list<FormatArg> args);

void TraceLine(QString text);

} // namespace afx

class CString {
public:
    CString() = default;
    CString(const char* utf8);
    CString(LPCTSTR text);
    CString(const wchar_t* text);
    CString(const QString& text) : text(text) {}
    CString(QString&& text) : text(std::move(text)) {}
    explicit CString(char ch, int repeat = 1);    // a Latin-1 character
    explicit CString(TCHAR ch, int repeat = 1);

    CString& operator=(char ch) { return *this = CString(ch); }
    CString& operator=(TCHAR ch) { return *this = CString(ch); }

    operator const QString&() const { return text; }
    // Explicit, so that a CString never silently turns into a pointer or a bool; valid until
    // the string is next changed.
    explicit operator LPCTSTR() const { return GetString(); }
    LPCTSTR GetString() const { return reinterpret_cast<LPCTSTR>(text.utf16()); }

    int GetLength() const { return static_cast<int>(text.size()); }
    BOOL IsEmpty() const { return text.isEmpty(); }
    void Empty() { text.clear(); }

    // An index outside the string throws std::out_of_range.
    TCHAR GetAt(int index) const;
    TCHAR operator[](int index) const { return GetAt(index); }

    // Counts and positions outside the string are clamped to it.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // -1 when absent; the search begins at `start` (included).
    int Find(TCHAR ch, int start = 0) const;
    int Find(const CString& sub, int start = 0) const;
    int FindOneOf(const CString& charSet) const;

    // Each returns the number of replacements or removals.
    int Replace(TCHAR oldChar, TCHAR newChar);
    int Replace(const CString& oldText, const CString& newText);
    int Remove(TCHAR ch);

    // Without an argument these remove white space.
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& TrimRight(TCHAR target);

    // Ordinal comparisons: < 0, 0 or > 0.
    int Compare(const CString& other) const;
    int CompareNoCase(const CString& other) const;

    template <class... Args>
    void Format(const CString& format, const Args&... args)
    {
        text = afx::FormatString(format, {afx::FormatArg(args)...});
    }
    template <class... Args>
    void Format(UINT formatId, const Args&... args)
    {
        CString format;
        format.LoadString(formatId);
        Format(format, args...);
    }

    // Loads a string resource; FALSE, and an empty string, when there is none. Defined with
    // the resource script reader (resources.cpp).
    BOOL LoadString(UINT id);

    CString& operator+=(const CString& other) { text += other.text; return *this; }
    CString& operator+=(TCHAR ch) { text += QChar(ch); return *this; }
    CString& operator+=(char ch) { text += QChar::fromLatin1(ch); return *this; }

    // Mixed operands get their own overloads, so that they never compete with QString's own.
    friend CString operator+(const CString& a, const CString& b) { return CString(a.text + b.text); }
    friend CString operator+(const CString& a, const QString& b) { return CString(a.text + b); }
    friend CString operator+(const QString& a, const CString& b) { return CString(a + b.text); }
    friend CString operator+(const CString& a, const char* b) { return a + CString(b); }
    friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }
    friend CString operator+(const CString& a, LPCTSTR b) { return a + CString(b); }
    friend CString operator+(LPCTSTR a, const CString& b) { return CString(a) + b; }
    friend CString operator+(const CString& a, TCHAR b) { return CString(a.text + QChar(b)); }
    friend CString operator+(TCHAR a, const CString& b) { return CString(QChar(a) + b.text); }
    friend CString operator+(const CString& a, char b) { return CString(a.text + QChar::fromLatin1(b)); }
    friend CString operator+(char a, const CString& b) { return CString(QChar::fromLatin1(a) + b.text); }

    friend bool operator==(const CString& a, const CString& b) { return a.text == b.text; }
    friend bool operator==(const CString& a, const QString& b) { return a.text == b; }
    friend bool operator==(const CString& a, const char* b) { return a == CString(b); }
    friend bool operator==(const CString& a, LPCTSTR b) { return a == CString(b); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.Compare(b) <=> 0; }
    friend std::strong_ordering operator<=>(const CString& a, const QString& b) { return a <=> CString(b); }
    friend std::strong_ordering operator<=>(const CString& a, const char* b) { return a <=> CString(b); }
    friend std::strong_ordering operator<=>(const CString& a, LPCTSTR b) { return a <=> CString(b); }

private:
    QString text;
};

inline afx::FormatArg::FormatArg(const CString& text) : kind(Kind::Text), text(text) {}

// TRACE("format", args...): a formatted line on the debug output (standard error).
template <class... Args>
void AfxTrace(const CString& format, const Args&... args)
{
    afx::TraceLine(afx::FormatString(format, {afx::FormatArg(args)...}));
}
#define TRACE(...) AfxTrace(__VA_ARGS__)
