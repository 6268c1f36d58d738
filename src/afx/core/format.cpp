// The printf engine behind CString::Format and TRACE. Numbers go through snprintf with a
// conversion rebuilt here for the argument's real type, so no argument is ever read as
// another type.
#include "afx/core/cstring.h"

#include <QDebug>
#include <algorithm>
#include <cstdio>
#include <string>

namespace afx {

FormatArg::FormatArg(const char* utf8) : kind(Kind::Text), text(QString::fromUtf8(utf8 ? utf8 : "(null)")) {}

FormatArg::FormatArg(const char16_t* text)
    : kind(Kind::Text), text(text ? QString::fromUtf16(text) : QStringLiteral("(null)")) {}

FormatArg::FormatArg(const wchar_t* text)
    : kind(Kind::Text), text(text ? QString::fromWCharArray(text) : QStringLiteral("(null)")) {}

namespace {

// Widths and precisions beyond this are taken as this: no format of the program needs more.
constexpr int maxField = 4096;

struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    int narrowTo = 0;   // bytes, for h and hh
    char conversion = 0;

    bool LeftAligned() const { return flags.find('-') != std::string::npos; }
};

class ArgList {
public:
    ArgList(const FormatArg* first, const FormatArg* end) : next(first), end(end) {}
    const FormatArg* Next() { return next == end ? nullptr : next++; }

private:
    const FormatArg* next;
    const FormatArg* end;
};

bool IsInteger(const FormatArg& arg)
{
    return arg.kind == FormatArg::Kind::Signed || arg.kind == FormatArg::Kind::Unsigned;
}

std::uint64_t UnsignedValue(const FormatArg& arg, int narrowTo)
{
    int size = narrowTo > 0 ? std::min(arg.size, narrowTo) : arg.size;
    return size >= 8 ? arg.bits : arg.bits & ((std::uint64_t(1) << (size * 8)) - 1);
}

std::int64_t SignedValue(const FormatArg& arg, int narrowTo)
{
    int size = narrowTo > 0 ? std::min(arg.size, narrowTo) : arg.size;
    std::uint64_t value = UnsignedValue(arg, narrowTo);
    if (size < 8 && (value >> (size * 8 - 1)) & 1)
        value |= ~std::uint64_t(0) << (size * 8);
    return static_cast<std::int64_t>(value);
}

template <class T>
QString CFormat(const std::string& conversion, T value)
{
    int length = std::snprintf(nullptr, 0, conversion.c_str(), value);
    if (length < 0)
        return QString();
    std::string out(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(out.data(), out.size(), conversion.c_str(), value);
    out.pop_back();
    return QString::fromLatin1(out);
}

std::string Conversion(const Directive& directive, const std::string& flags, const char* length, char conversion)
{
    std::string out = "%" + flags;
    if (directive.width >= 0)
        out += std::to_string(directive.width);
    if (directive.precision >= 0)
        out += "." + std::to_string(directive.precision);
    return out + length + conversion;
}

QString Pad(QString text, const Directive& directive)
{
    if (directive.width > text.size()) {
        QString fill(directive.width - text.size(), QLatin1Char(' '));
        text = directive.LeftAligned() ? text + fill : fill + text;
    }
    return text;
}

QString Character(std::uint64_t code)
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    char32_t ch = static_cast<char32_t>(code);
    return QString::fromUcs4(&ch, 1);
}

QString Pointer(std::uint64_t bits)
{
    return CFormat("%0" + std::to_string(2 * sizeof(void*)) + "llX", static_cast<unsigned long long>(bits));
}

// An argument that does not suit its conversion: its own plain form.
QString Plain(const FormatArg& arg)
{
    switch (arg.kind) {
    case FormatArg::Kind::Signed:
        return QString::number(SignedValue(arg, 0));
    case FormatArg::Kind::Unsigned:
        return QString::number(UnsignedValue(arg, 0));
    case FormatArg::Kind::Floating:
        return QString::number(arg.real);
    case FormatArg::Kind::Text:
        return arg.text;
    case FormatArg::Kind::Pointer:
        return Pointer(arg.bits);
    }
    return QString();
}

QString FormatInteger(const Directive& directive, const FormatArg& arg)
{
    if (!IsInteger(arg))
        return Pad(Plain(arg), directive);
    char c = directive.conversion;
    if (c == 'd' || c == 'i') {
        std::string flags = directive.flags;
        std::erase(flags, '#');
        return CFormat(Conversion(directive, flags, "ll", 'd'), static_cast<long long>(SignedValue(arg, directive.narrowTo)));
    }
    std::string flags = directive.flags;
    if (c == 'u')
        std::erase(flags, '#');
    return CFormat(Conversion(directive, flags, "ll", c), static_cast<unsigned long long>(UnsignedValue(arg, directive.narrowTo)));
}

QString FormatFloating(const Directive& directive, const FormatArg& arg)
{
    double value;
    if (arg.kind == FormatArg::Kind::Floating)
        value = arg.real;
    else if (arg.kind == FormatArg::Kind::Signed)
        value = static_cast<double>(SignedValue(arg, 0));
    else if (arg.kind == FormatArg::Kind::Unsigned)
        value = static_cast<double>(UnsignedValue(arg, 0));
    else
        return Pad(Plain(arg), directive);
    return CFormat(Conversion(directive, directive.flags, "", directive.conversion), value);
}

QString FormatText(const Directive& directive, const FormatArg& arg)
{
    QString text = Plain(arg);
    if (directive.precision >= 0 && directive.precision < text.size())
        text.truncate(directive.precision);
    return Pad(text, directive);
}

QString FormatOne(const Directive& directive, const FormatArg& arg)
{
    switch (directive.conversion) {
    case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
        return FormatInteger(directive, arg);
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
        return FormatFloating(directive, arg);
    case 'c': case 'C':
        return Pad(IsInteger(arg) ? Character(UnsignedValue(arg, 0)) : Plain(arg), directive);
    case 'p':
        return Pad(arg.kind == FormatArg::Kind::Text ? arg.text : Pointer(arg.bits), directive);
    default:   // s, S
        return FormatText(directive, arg);
    }
}

// A width or precision: digits, or '*' taken from the arguments. -1 when absent.
int ReadField(const QString& format, qsizetype& i, ArgList& args)
{
    if (i < format.size() && format[i] == QLatin1Char('*')) {
        ++i;
        const FormatArg* arg = args.Next();
        if (!arg || !IsInteger(*arg))
            return -1;
        return static_cast<int>(std::clamp<std::int64_t>(SignedValue(*arg, 0), -maxField, maxField));
    }
    int value = -1;
    for (; i < format.size() && format[i] >= QLatin1Char('0') && format[i] <= QLatin1Char('9'); ++i)
        value = std::min(std::max(value, 0) * 10 + (format[i].unicode() - '0'), maxField);
    return value;
}

// Length modifiers: only h and hh change anything, as the argument's own size is known.
void ReadLength(const QString& format, qsizetype& i, Directive& directive)
{
    struct Modifier {
        QLatin1StringView text;
        int narrowTo;
    };
    static const Modifier modifiers[] = {{QLatin1StringView("I64"), 0}, {QLatin1StringView("I32"), 0},
                                         {QLatin1StringView("hh"), 1},  {QLatin1StringView("ll"), 0},
                                         {QLatin1StringView("h"), 2},   {QLatin1StringView("l"), 0},
                                         {QLatin1StringView("L"), 0},   {QLatin1StringView("z"), 0},
                                         {QLatin1StringView("j"), 0},   {QLatin1StringView("t"), 0}};
    QStringView rest = QStringView(format).mid(i);
    for (const Modifier& modifier : modifiers) {
        if (rest.startsWith(modifier.text)) {
            i += modifier.text.size();
            directive.narrowTo = modifier.narrowTo;
            return;
        }
    }
}

} // namespace

QString FormatString(const QString& format, std::initializer_list<FormatArg> list)
{
    static const std::string conversions = "diuxXocCsSpfFeEgGaAn";
    ArgList args(list.begin(), list.end());
    QString out;
    qsizetype i = 0;
    while (i < format.size()) {
        QChar ch = format[i++];
        if (ch != QLatin1Char('%')) {
            out += ch;
            continue;
        }
        if (i < format.size() && format[i] == QLatin1Char('%')) {
            out += ch;
            ++i;
            continue;
        }
        qsizetype start = i - 1;
        Directive directive;
        while (i < format.size() && QStringView(u"-+ #0").contains(format[i]))
            directive.flags += static_cast<char>(format[i++].unicode());
        directive.width = ReadField(format, i, args);
        if (directive.width < -1) {   // a negative * width aligns left
            directive.flags += '-';
            directive.width = -directive.width;
        }
        if (i < format.size() && format[i] == QLatin1Char('.')) {
            ++i;
            bool fromArgs = i < format.size() && format[i] == QLatin1Char('*');
            int precision = ReadField(format, i, args);
            // "." alone means 0; a negative * precision counts as none.
            directive.precision = fromArgs ? std::max(precision, -1) : std::max(precision, 0);
        }
        ReadLength(format, i, directive);
        if (i >= format.size() || format[i].unicode() >= 128
            || conversions.find(static_cast<char>(format[i].unicode())) == std::string::npos) {
            out += QStringView(format).mid(start, i - start);   // not a conversion: kept as written
            continue;
        }
        directive.conversion = static_cast<char>(format[i++].unicode());
        const FormatArg* arg = args.Next();
        if (arg && directive.conversion != 'n')
            out += FormatOne(directive, *arg);
    }
    return out;
}

void TraceLine(QString text)
{
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    qDebug().noquote() << text;
}

} // namespace afx
