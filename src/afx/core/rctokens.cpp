// Tokenizer of the resource script. Every malformed input ends in a ResourceError naming the
// file and line; nothing in here may crash, loop or allocate without bound on bad input.
#include "afx/core/rctokens.h"

#include "afx/core/resources.h"

#include <QStringDecoder>
#include <limits>

namespace afx::rc {

[[noreturn]] void Fail(const QString& file, int line, const QString& what)
{
    throw ResourceError(QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(what));
}

namespace {

class Tokenizer {
public:
    Tokenizer(const QByteArray& source, const QString& file) : s(source), file(file)
    {
        if (s.startsWith("\xEF\xBB\xBF"))
            pos = 3;
    }

    std::vector<Token> Run()
    {
        std::vector<Token> tokens;
        for (;;) {
            Token t = Next();
            tokens.push_back(t);
            if (t.kind == Token::End)
                return tokens;
        }
    }

private:
    const QByteArray& s;
    const QString& file;
    qsizetype pos = 0;
    int line = 1;
    bool atLineStart = true;
    bool inDirective = false;

    [[noreturn]] void Error(const QString& what) const { Fail(file, line, what); }
    Token Make(Token::Kind kind) const
    {
        Token t;
        t.kind = kind;
        t.line = line;
        return t;
    }
    char At(qsizetype i) const { return i < s.size() ? s[i] : '\0'; }
    bool More() const { return pos < s.size(); }

    void SkipBlockComment()
    {
        const int startLine = line;
        pos += 2;
        while (More()) {
            if (s[pos] == '*' && At(pos + 1) == '/') {
                pos += 2;
                return;
            }
            if (s[pos] == '\n')
                ++line;
            ++pos;
        }
        Fail(file, startLine, QStringLiteral("unterminated comment"));
    }

    Token Next()
    {
        for (;;) {
            if (!More()) {
                if (inDirective) {
                    inDirective = false;
                    return Make(Token::EndOfLine);
                }
                return Make(Token::End);
            }
            const char c = s[pos];
            if (c == '\n') {
                const Token eol = Make(Token::EndOfLine);
                ++pos;
                ++line;
                atLineStart = true;
                if (inDirective) {
                    inDirective = false;
                    return eol;
                }
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos;
                continue;
            }
            if (c == '/' && At(pos + 1) == '/') {
                while (More() && s[pos] != '\n')
                    ++pos;
                continue;
            }
            if (c == '/' && At(pos + 1) == '*') {
                SkipBlockComment();
                continue;
            }
            break;
        }
        const bool lineStart = atLineStart;
        atLineStart = false;
        const char c = s[pos];
        Token t = Make(Token::End);
        if (c == '#') {
            if (!lineStart)
                Error(QStringLiteral("'#' must begin a line"));
            ++pos;
            inDirective = true;
            t.kind = Token::Hash;
        } else if (c == ',') {
            ++pos;
            t.kind = Token::Comma;
        } else if (c == '|') {
            ++pos;
            t.kind = Token::Bar;
        } else if (c == '{') {
            ++pos;
            t.kind = Token::Open;
        } else if (c == '}') {
            ++pos;
            t.kind = Token::Close;
        } else if (c == '"') {
            t.kind = Token::String;
            t.text = ReadString();
        } else if (IsDigit(c) || (c == '-' && IsDigit(At(pos + 1)))) {
            t.kind = Token::Number;
            t.number = ReadNumber();
        } else if (IsNameStart(c)) {
            const qsizetype start = pos;
            while (More() && (IsNameStart(s[pos]) || IsDigit(s[pos])))
                ++pos;
            t.kind = Token::Name;
            t.name = s.mid(start, pos - start);
        } else {
            Error(IsPrintable(c) ? QStringLiteral("unexpected character '%1'").arg(QChar(c))
                                 : QStringLiteral("unexpected byte 0x%1")
                                       .arg(uint(uchar(c)), 2, 16, QLatin1Char('0')));
        }
        return t;
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsNameStart(char c)
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    }
    static bool IsPrintable(char c) { return c > ' ' && c < 0x7F; }

    int64_t ReadNumber()
    {
        const bool negative = s[pos] == '-';
        if (negative)
            ++pos;
        int base = 10;
        if (s[pos] == '0' && (At(pos + 1) == 'x' || At(pos + 1) == 'X')) {
            base = 16;
            pos += 2;
        }
        int64_t value = 0;
        int digits = 0;
        for (; More(); ++pos, ++digits) {
            const char c = s[pos];
            int d;
            if (IsDigit(c))
                d = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            value = value * base + d;
            if (value > std::numeric_limits<uint32_t>::max())
                Error(QStringLiteral("number too large"));
        }
        if (digits == 0 || (More() && (IsNameStart(s[pos]) || IsDigit(s[pos]))))
            Error(QStringLiteral("malformed number"));
        return negative ? -value : value;
    }

    QString ReadString()
    {
        const int startLine = line;
        ++pos;
        QByteArray bytes;
        for (;;) {
            if (!More() || s[pos] == '\n' || s[pos] == '\r')
                Fail(file, startLine, QStringLiteral("unterminated string"));
            const char c = s[pos++];
            if (c == '"') {
                if (At(pos) != '"')
                    break;
                bytes += '"';
                ++pos;
            } else if (c == '\\') {
                const char e = At(pos++);
                switch (e) {
                case 'n': bytes += '\n'; break;
                case 't': bytes += '\t'; break;
                case '\\': bytes += '\\'; break;
                case '"': bytes += '"'; break;
                default:
                    if (e == '\n' || e == '\r' || e == '\0')
                        Fail(file, startLine, QStringLiteral("unterminated string"));
                    Error(QStringLiteral("unknown escape sequence in string"));
                }
            } else if (uchar(c) < 0x20 && c != '\t') {
                Error(QStringLiteral("control character in string"));
            } else {
                bytes += c;
            }
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(bytes);
        if (utf8.hasError())
            Error(QStringLiteral("string is not UTF-8 text"));
        return text;
    }
};

} // namespace

std::vector<Token> Tokenize(const QByteArray& source, const QString& file)
{
    return Tokenizer(source, file).Run();
}

} // namespace afx::rc
