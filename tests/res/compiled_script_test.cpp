// The compiled form of the console's script, which the program reads at start-up: it holds
// everything the script says (a field the form forgot, or a stale build of it, shows here), and
// damaged bytes are refused.
#include "afx/core/resources.h"

#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

using afx::ResourceError;
using afx::ResourceScript;

namespace {

QByteArray Embedded(const QString& name)
{
    QFile file(QStringLiteral(":/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const ResourceScript& Parsed()
{
    static const ResourceScript parsed =
        ResourceScript::Parse(Embedded(QStringLiteral("console.rc")), Embedded(QStringLiteral("resource.h")));
    return parsed;
}

template <typename T>
bool SameEntry(const T* compiled, const T* parsed)
{
    return compiled && parsed ? *compiled == *parsed : compiled == parsed;
}

TEST(CompiledScript, HoldsEveryResourceOfTheScript)
{
    const ResourceScript& compiled = ResourceScript::Instance();
    const ResourceScript& parsed = Parsed();
    EXPECT_EQ(compiled.Summary(), parsed.Summary());
    for (int id = 0; id <= 0xFFFF; ++id) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(SameEntry(compiled.String(id), parsed.String(id)));
        ASSERT_TRUE(SameEntry(compiled.Dialog(id), parsed.Dialog(id)));
        ASSERT_TRUE(SameEntry(compiled.Menu(id), parsed.Menu(id)));
        ASSERT_TRUE(SameEntry(compiled.Accelerators(id), parsed.Accelerators(id)));
        ASSERT_TRUE(SameEntry(compiled.Toolbar(id), parsed.Toolbar(id)));
        ASSERT_EQ(compiled.IconFiles(id), parsed.IconFiles(id));
        ASSERT_EQ(compiled.BitmapFile(id), parsed.BitmapFile(id));
        ASSERT_EQ(compiled.Custom(QStringLiteral("COUNTRIES"), id), parsed.Custom(QStringLiteral("COUNTRIES"), id));
    }
    const QRegularExpression define(QStringLiteral("^#define\\s+(\\w+)"), QRegularExpression::MultilineOption);
    int names = 0;
    for (const auto& match : define.globalMatch(QString::fromUtf8(Embedded(QStringLiteral("resource.h"))))) {
        EXPECT_EQ(compiled.Symbol(match.captured(1)), parsed.Symbol(match.captured(1))) << match.captured(1).toStdString();
        ++names;
    }
    EXPECT_GT(names, 0);
    // The same script gives the same bytes, whatever order its tables hash in.
    EXPECT_EQ(compiled.Compiled(), parsed.Compiled());
}

TEST(CompiledScript, DamagedFormsAreRefused)
{
    const QByteArray whole = Parsed().Compiled();
    QByteArray otherTag = whole;
    otherTag[0] = char(otherTag[0] ^ 0x40);
    // The script's name follows the tag: its length in bytes, then UTF-16.
    const auto withNameLength = [&whole](quint32 length) {
        QByteArray bytes = whole;
        qToBigEndian(length, bytes.data() + 4);
        return bytes;
    };
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"another form's tag", otherTag},
        {"a text running past the end", withNameLength(0x7FFFFFFE)},
        {"a text of an odd length", withNameLength(3)},
        {"cut short", whole.left(whole.size() / 2)},
        {"a byte too many", whole + '\0'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(ResourceScript::FromCompiled(c.bytes), ResourceError);
    }
    EXPECT_EQ(ResourceScript::FromCompiled(whole).Compiled(), whole);
}

} // namespace
