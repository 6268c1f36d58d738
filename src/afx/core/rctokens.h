// The resource script's tokens: names, numbers, strings and punctuation, with the line each
// stands on. Internal to the script reader.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace afx::rc {

struct Token {
    enum Kind { End, Name, Number, String, Comma, Bar, Open, Close, Hash, EndOfLine };
    Kind kind = End;
    int line = 0;
    QByteArray name;     // Name
    int64_t number = 0;  // Number
    QString text;        // String
};

// Throws the ResourceError "file:line: what".
[[noreturn]] void Fail(const QString& file, int line, const QString& what);

// The tokens of a script or header, ending in one End token; throws ResourceError on a
// malformed token.
std::vector<Token> Tokenize(const QByteArray& source, const QString& file);

} // namespace afx::rc
