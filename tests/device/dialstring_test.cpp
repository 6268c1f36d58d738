// Billing codes inside dial strings: the shown form and the stored form are exact inverses.
#include "records.h"

#include "device/lib/dialstring.h"

#include <QRandomGenerator>

namespace {

struct DialCase {
    const char* stored;
    const char* shown;
    const char* billingCode;
};

const DialCase dialCases[] = {
    {"", "", ""},
    {"0140506070", "0140506070", ""},
    {"0140506070$1234", "0140506070$$$$$", "1234"},
    {"01 40,50*#$9", "01 40,50*#$$", "9"},
    {"$#*7", "$$$$", "#*7"},              // a code without a number
    {"0140$", "0140$", ""},               // a "$" with nothing after it carries no code
    {"0140$1$2", "0140$$$$", "1$2"},     // only the first "$" starts the code
};

TEST(DialString, SplitsAndJoinsTheCasesOfTheTable)
{
    for (const DialCase& c : dialCases) {
        CString billingCode = "stale";
        EXPECT_EQ(CString(c.shown), FaxWithDollarSigns(c.stored, billingCode)) << c.stored;
        EXPECT_EQ(CString(c.billingCode), billingCode) << c.stored;
        EXPECT_EQ(CString(c.stored), FaxWithChargeCode(c.shown, c.billingCode)) << c.stored;
    }
}

TEST(DialString, JoiningReplacesAMaskOfAnyLength)
{
    // The field still shows the mask of its previous code when a new one is joined.
    EXPECT_EQ(CString("0140$55"), FaxWithChargeCode("0140$$$$$$", "55"));
    EXPECT_EQ(CString("0140"), FaxWithChargeCode("0140", ""));
    EXPECT_EQ(CString("$12"), FaxWithChargeCode("", "12"));
}

CString RandomText(QRandomGenerator& random, const char* alphabet, int maxLength)
{
    const int alphabetSize = static_cast<int>(strlen(alphabet));
    QString text;
    for (int i = random.bounded(maxLength + 1); i > 0; --i)
        text += QChar(alphabet[random.bounded(alphabetSize)]);
    return text;
}

TEST(DialString, SplitThenJoinGivesBackAnyString)
{
    QRandomGenerator random(3);
    for (int i = 0; i < 5000; ++i) {
        const CString stored = RandomText(random, "$0123456789 #*,+a", 24);
        CString billingCode;
        const CString shown = FaxWithDollarSigns(stored, billingCode);
        ASSERT_EQ(stored, FaxWithChargeCode(shown, billingCode)) << Text(stored);
        ASSERT_EQ(stored.GetLength(), shown.GetLength()) << Text(stored);
    }
}

TEST(DialString, JoinThenSplitGivesBackTheNumberAndTheCode)
{
    QRandomGenerator random(5);
    for (int i = 0; i < 5000; ++i) {
        const CString dialled = RandomText(random, " #*,0123456789", 20);
        const CString code = RandomText(random, "#*0123456789", 8);
        const CString shown = code.IsEmpty() ? dialled : dialled + CString(u'$', code.GetLength() + 1);
        CString billingCode;
        ASSERT_EQ(shown, FaxWithDollarSigns(FaxWithChargeCode(shown, code), billingCode)) << Text(dialled);
        ASSERT_EQ(code, billingCode) << Text(dialled);
    }
}

} // namespace
