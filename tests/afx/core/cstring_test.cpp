#include "afx/core/cstring.h"
#include "support/helpers.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <stdexcept>

namespace {

// Test output reads better as UTF-8.
std::string U8(const CString& s) { return static_cast<const QString&>(s).toStdString(); }

TEST(CStringTest, EveryConstructorGivesTheSameText)
{
    const CString expected(QStringLiteral("Numéro"));
    EXPECT_EQ(expected, CString("Numéro"));
    EXPECT_EQ(expected, CString(_T("Numéro")));
    EXPECT_EQ(expected, CString(L"Numéro"));
    EXPECT_EQ(CString("---"), CString('-', 3));
    EXPECT_EQ(CString("ééé"), CString(_T('é'), 3));
    EXPECT_TRUE(CString(_T('x'), 0).IsEmpty());
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(CStringTest, HandsOutItsTextAsNullTerminatedUtf16)
{
    const CString s = "Fax é";
    LPCTSTR p = s.GetString();
    EXPECT_EQ(std::u16string(u"Fax é"), std::u16string(p));
    EXPECT_EQ(p, static_cast<LPCTSTR>(s));
    EXPECT_EQ(u'\0', CString().GetString()[0]);
}

TEST(CStringTest, IndexOutsideTheStringThrows)
{
    CString s = "ab";
    EXPECT_EQ(u'b', s[1]);
    EXPECT_THROW(s.GetAt(2), std::out_of_range);
    EXPECT_THROW(s.GetAt(-1), std::out_of_range);
}

struct ExtractCase {
    const char* name;
    int first;
    int count;   // -1: Mid without a count
    const char* mid;
    const char* left;   // Left(first)
};

class CStringExtractTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(CStringExtractTest, ClampsToTheString)
{
    const ExtractCase& c = GetParam();
    const CString s = "abcdef";
    EXPECT_EQ(c.mid, U8(c.count < 0 ? s.Mid(c.first) : s.Mid(c.first, c.count)));
    EXPECT_EQ(c.left, U8(s.Left(c.first)));
}

INSTANTIATE_TEST_SUITE_P(Cases, CStringExtractTest, ::testing::Values(
    ExtractCase{"from_start_to_end", 0, -1, "abcdef", ""},
    ExtractCase{"from_2_to_end", 2, -1, "cdef", "ab"},
    ExtractCase{"from_2_three", 2, 3, "cde", "ab"},
    ExtractCase{"from_4_past_end", 4, 10, "ef", "abcd"},
    ExtractCase{"from_end", 6, 1, "", "abcdef"},
    ExtractCase{"past_end", 9, 1, "", "abcdef"},
    ExtractCase{"from_before_start", -3, 2, "ab", ""},
    ExtractCase{"none", 1, 0, "", "a"},
    ExtractCase{"most", 1, INT_MAX, "bcdef", "a"}), RowName);

struct FindCase {
    const char* name;
    const char* text;
    const char* sub;
    int start;
    int expected;
};

class CStringFindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(CStringFindTest, FindsFromTheStartIncluded)
{
    const FindCase& c = GetParam();
    const CString text(c.text);
    EXPECT_EQ(c.expected, text.Find(CString(c.sub), c.start));
    if (std::strlen(c.sub) == 1) {
        EXPECT_EQ(c.expected, text.Find(static_cast<TCHAR>(c.sub[0]), c.start));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CStringFindTest, ::testing::Values(
    FindCase{"from_start", "a;b;;c", ";", 0, 1},
    FindCase{"on_a_match", "a;b;;c", ";", 1, 1},
    FindCase{"after_a_match", "a;b;;c", ";", 2, 3},
    FindCase{"past_last_match", "a;b;;c", ";", 5, -1},
    FindCase{"from_end", "a;b;;c", ";", 6, -1},
    FindCase{"past_end", "a;b;;c", ";", 99, -1},
    FindCase{"from_before_start", "a;b;;c", ";", -4, 1},
    FindCase{"two_characters", "a;b;;c", ";;", 0, 3},
    FindCase{"absent", "a;b;;c", "x", 0, -1},
    FindCase{"empty_needle", "abc", "", 1, 1},
    FindCase{"empty_text", "", "a", 0, -1}), RowName);

TEST(CStringTest, SearchesByCharacterSets)
{
    const CString s = "  12-34#";
    EXPECT_EQ(2, s.FindOneOf("0123456789"));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
}

TEST(CStringTest, ReplaceAndRemoveCountWhatTheyChanged)
{
    CString s = "aaaa";
    EXPECT_EQ(2, s.Replace("aa", "b"));
    EXPECT_EQ("bb", U8(s));

    s = "aaa";
    EXPECT_EQ(1, s.Replace("aa", "aaa"));   // no overlaps, no rescanning of the new text
    EXPECT_EQ("aaaa", U8(s));

    s = "1-2-3";
    EXPECT_EQ(2, s.Replace(u'-', u'.'));
    EXPECT_EQ("1.2.3", U8(s));
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(2, s.Remove(u'.'));
    EXPECT_EQ("123", U8(s));
}

struct TrimCase {
    const char* name;
    const char* text;
    const char* target;   // nullptr: white space
    const char* both;     // nullptr: only TrimRight takes a target
    const char* left;
    const char* right;
};

class CStringTrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(CStringTrimTest, TrimsEachSide)
{
    const TrimCase& c = GetParam();
    CString both(c.text), left(c.text), right(c.text);
    if (!c.target) {
        both.Trim();
        left.TrimLeft();
        right.TrimRight();
        EXPECT_EQ(c.both, U8(both));
        EXPECT_EQ(c.left, U8(left));
    } else {
        right.TrimRight(static_cast<TCHAR>(c.target[0]));
    }
    EXPECT_EQ(c.right, U8(right));
}

INSTANTIATE_TEST_SUITE_P(Cases, CStringTrimTest, ::testing::Values(
    TrimCase{"white_space_around", " \t\r\n Nom \n", nullptr, "Nom", "Nom \n", " \t\r\n Nom"},
    TrimCase{"only_spaces", "   ", nullptr, "", "", ""},
    TrimCase{"empty", "", nullptr, "", "", ""},
    TrimCase{"inner_space_kept", "a b", nullptr, "a b", "a b", "a b"},
    TrimCase{"no_break_spaces", "\xC2\xA0x\xC2\xA0", nullptr, "x", "x\xC2\xA0", "\xC2\xA0x"},
    TrimCase{"target_character", "--a-b--", "-", nullptr, nullptr, "--a-b"},
    TrimCase{"only_the_target", "xx", "x", nullptr, nullptr, ""}), RowName);

TEST(CStringTest, ComparesWithEveryKindOfText)
{
    const CString s = "Berne";
    const QString q = QStringLiteral("Berne");
    EXPECT_TRUE(s == "Berne" && "Berne" == s && s == _T("Berne") && s == q && q == s);
    EXPECT_TRUE(s != "berne" && q != CString("berne"));
    EXPECT_TRUE(s < "Genève" && "Genève" > s && s < QStringLiteral("C") && QStringLiteral("A") < s);
    EXPECT_LT(CString("B").Compare("a"), 0);           // ordinal: upper case first
    EXPECT_GT(CString("b").CompareNoCase("A"), 0);
    EXPECT_EQ(0, CString("Élevée").CompareNoCase("éLEVÉE"));
}

TEST(CStringTest, ConcatenatesWithEveryKindOfText)
{
    const CString s = "a";
    const QString q = QStringLiteral("q");
    EXPECT_EQ("ab", U8(s + "b"));
    EXPECT_EQ("ba", U8("b" + s));
    EXPECT_EQ("aé", U8(s + _T("é")));
    EXPECT_EQ("éa", U8(_T("é") + s));
    EXPECT_EQ("aq", U8(s + q));
    EXPECT_EQ("qa", U8(q + s));
    EXPECT_EQ("a;", U8(s + ';'));
    EXPECT_EQ(";a", U8(';' + s));
    EXPECT_EQ("aé", U8(s + _T('é')));
    CString t = s;
    t += "b";
    t += u'c';
    t += 'd';
    t += q;
    EXPECT_EQ("abcdq", U8(t));
    EXPECT_EQ("a", U8(s));
    QStringList list;
    list << t;
    EXPECT_EQ(QStringLiteral("abcdq"), list.front());
}

struct FormatCase {
    const char* name;
    const char* expected;
    CString result;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.expected; }

class CStringFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CStringFormatTest, FormatsLikePrintf)
{
    EXPECT_EQ(GetParam().expected, U8(GetParam().result));
}

template <class... Args>
CString Formatted(const CString& format, const Args&... args)
{
    CString s = "old text";
    s.Format(format, args...);
    return s;
}

const CString name = "Dupré";
const QString qname = QStringLiteral("Qt");
enum Kind { speedDial = 1, oneTouch = 2 };

INSTANTIATE_TEST_SUITE_P(Cases, CStringFormatTest, ::testing::Values(
    FormatCase{"string", "Dupré", Formatted("%s", name)},
    FormatCase{"left_aligned", "[Dupré     ]", Formatted("[%-10s]", name)},
    FormatCase{"right_aligned", "[     Dupré]", Formatted("[%10s]", name)},
    FormatCase{"precision_cuts", "Dup", Formatted("%.3s", name)},
    FormatCase{"every_string_kind", "Dupré Qt wide utf16",
               Formatted("%s %s %S %s", name, qname, L"wide", _T("utf16"))},
    FormatCase{"null_string", "(null)", Formatted("%s", static_cast<const char*>(nullptr))},
    FormatCase{"integers", "007 -7 7 4294967289", Formatted("%03d %d %u %u", 7, -7, 7u, -7)},
    FormatCase{"hex_and_octal", "ffffffff FF 0x1f 17", Formatted("%x %X %#x %o", -1, 255, 31, 15)},
    FormatCase{"long_long", "18446744073709551615 -1", Formatted("%llu %I64d", ~0ULL, -1LL)},
    FormatCase{"short_and_char_sizes", "-1 255 -1", Formatted("%hd %hhu %hhd", 65535, 255, 255)},
    FormatCase{"flags_and_star_width", "+5 [   42] [42   ]", Formatted("%+d [%*d] [%-*d]", 5, 5, 42, 5, 42)},
    FormatCase{"negative_star_width", "[42   ]", Formatted("[%*d]", -5, 42)},
    FormatCase{"floating_point", "3.14 3.1416e+00 0.5 2", Formatted("%.2f %.4e %g %.0f", 3.14159, 3.14159, 0.5, 1.5f)},
    FormatCase{"characters", "x é ; é", Formatted("%c %c %c %c", 'x', _T('é'), 59, QChar(0xE9))},
    FormatCase{"enum_and_bool", "2 1", Formatted("%d %d", oneTouch, true)},
    FormatCase{"percent", "100% done", Formatted("%d%% done", 100)},
    FormatCase{"string_for_integer", "Dupré 42", Formatted("%d %s", name, 42)},            // mismatches print plainly
    FormatCase{"float_for_integer", "2.5 2", Formatted("%d %.0f", 2.5, 2)},
    FormatCase{"missing_arguments", "a= b=", Formatted("a=%d b=%s")},                     // missing arguments
    FormatCase{"extra_arguments", "1", Formatted("%d", 1, 2, 3)},
    FormatCase{"not_conversions", "%y %5", Formatted("%y %5", 1)},                     // not conversions
    FormatCase{"n_conversion_ignored", "n=", Formatted("n=%n", 1)},
    FormatCase{"null_pointer", "0000000000000000", Formatted("%p", nullptr)},
    FormatCase{"wide_format", "Numéro 12: «Dupré»", Formatted(_T("Numéro %02d: «%s»"), 12, name)}), RowName);

TEST(CStringTest, HugeWidthsAreBounded)
{
    CString s;
    s.Format("%99999999999d|%.99999999999s", 1, name);
    EXPECT_LE(s.GetLength(), 2 * 4096 + 1);
    EXPECT_TRUE(s.Find("1|") > 0);
}

} // namespace
