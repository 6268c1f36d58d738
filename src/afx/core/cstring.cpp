#include "afx/core/cstring.h"

#include <QStringView>
#include <algorithm>
#include <stdexcept>

namespace {

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

bool IsSpace(QChar ch) { return ch.isSpace(); }

template <class Predicate>
int LeadingRun(const QString& text, Predicate inRun)
{
    int n = 0;
    while (n < text.size() && inRun(text[n]))
        ++n;
    return n;
}

template <class Predicate>
int TrailingRun(const QString& text, Predicate inRun)
{
    int n = 0;
    while (n < text.size() && inRun(text[text.size() - 1 - n]))
        ++n;
    return n;
}

} // namespace

CString::CString(const char* utf8) : text(utf8 ? QString::fromUtf8(utf8) : QString()) {}

CString::CString(LPCTSTR text) : text(text ? QString::fromUtf16(text) : QString()) {}

CString::CString(const wchar_t* text) : text(text ? QString::fromWCharArray(text) : QString()) {}

CString::CString(char ch, int repeat) : text(std::max(repeat, 0), QChar::fromLatin1(ch)) {}

CString::CString(TCHAR ch, int repeat) : text(std::max(repeat, 0), QChar(ch)) {}

TCHAR CString::GetAt(int index) const
{
    if (index < 0 || index >= text.size())
        throw std::out_of_range("CString index");
    return text[index].unicode();
}

CString CString::Left(int count) const
{
    return CString(text.left(Clamp(count, 0, GetLength())));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(text.mid(first, count));
}

int CString::Find(TCHAR ch, int start) const
{
    if (start >= GetLength())
        return -1;
    return static_cast<int>(text.indexOf(QChar(ch), std::max(start, 0)));
}

int CString::Find(const CString& sub, int start) const
{
    if (start > GetLength())
        return -1;
    return static_cast<int>(text.indexOf(sub.text, std::max(start, 0)));
}

int CString::FindOneOf(const CString& charSet) const
{
    int n = LeadingRun(text, [&](QChar c) { return !charSet.text.contains(c); });
    return n < GetLength() ? n : -1;
}

int CString::Replace(TCHAR oldChar, TCHAR newChar)
{
    int count = static_cast<int>(text.count(QChar(oldChar)));
    text.replace(QChar(oldChar), QChar(newChar));
    return count;
}

int CString::Replace(const CString& oldText, const CString& newText)
{
    if (oldText.IsEmpty())
        return 0;
    // Counted as replace() works: left to right, without overlaps.
    int count = 0;
    for (qsizetype at = text.indexOf(oldText.text); at >= 0; at = text.indexOf(oldText.text, at + oldText.text.size()))
        ++count;
    text.replace(oldText.text, newText.text);
    return count;
}

int CString::Remove(TCHAR ch)
{
    int count = static_cast<int>(text.count(QChar(ch)));
    text.remove(QChar(ch));
    return count;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft()
{
    text.remove(0, LeadingRun(text, IsSpace));
    return *this;
}

CString& CString::TrimRight()
{
    text.chop(TrailingRun(text, IsSpace));
    return *this;
}

CString& CString::TrimRight(TCHAR target)
{
    text.chop(TrailingRun(text, [=](QChar c) { return c == QChar(target); }));
    return *this;
}

int CString::Compare(const CString& other) const
{
    return text.compare(other.text, Qt::CaseSensitive);
}

int CString::CompareNoCase(const CString& other) const
{
    return text.compare(other.text, Qt::CaseInsensitive);
}
