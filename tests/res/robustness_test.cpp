// The reader faces damaged scripts: truncated, mutated, random bytes, random token soup. Each
// must end in a parsed script or a ResourceError, never a crash or another exception.
#include "afx/core/resources.h"

#include <gtest/gtest.h>
#include <random>

using afx::ResourceError;
using afx::ResourceScript;

namespace {

const QByteArray header = "#pragma once\n#define IDD_PAGE 130\n#define IDC_VOLUME 1155\n"
                          "#define IDR_MAINFRAME 128\n#define ID_CONNECT 32785\n";

const QByteArray validScript = R"(#include "resource.h"
// every kind of statement once
STRINGTABLE
BEGIN
    IDR_MAINFRAME   "Brevia\nParamètres\n""Tamsel""\t\\"
    61228           "Tamsel s'exécute déjà."
END

IDD_PAGE DIALOGEX 0, 0, 330, 175
STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION
EXSTYLE 0
CAPTION "Paramètres machine"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    LTEXT           "No&m société :",IDC_STATIC,7,3,169,8
    EDITTEXT        1056,7,11,188,12,ES_AUTOHSCROLL | NOT WS_BORDER
    COMBOBOX        IDC_VOLUME,17,41,171,45,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    ICON            IDR_MAINFRAME,-1,1,2
    CONTROL         "",1318,"msctls_updown32",UDS_SETBUDDYINT | UDS_ALIGNRIGHT,166,128,11,11,WS_EX_CLIENTEDGE
END

IDD_PAGE DLGINIT
BEGIN
    IDC_VOLUME, "0"
    IDC_VOLUME, "1"
END

IDR_MAINFRAME MENU
BEGIN
    POPUP "&Fichier"
    BEGIN
        MENUITEM "&Connecter...",               ID_CONNECT
        MENUITEM SEPARATOR
        POPUP "Plus" { MENUITEM "Fichier récent", 57616, GRAYED }
    END
END

IDR_MAINFRAME ACCELERATORS
BEGIN
    "C",            57634,          VIRTKEY, CONTROL, NOINVERT
    VK_INSERT,      57634,          VIRTKEY, CONTROL, NOINVERT
END

IDR_MAINFRAME TOOLBAR 22, 23
BEGIN
    BUTTON      ID_CONNECT
    SEPARATOR
END

IDR_MAINFRAME ICON   "pictures/app-32.png", "pictures/app-16.png"
300           BITMAP "pictures/about.png"   /* a block
comment */
243           COUNTRIES "COUNTRIES"
)";

// Parses and tells whether the outcome was one of the two allowed.
bool ParsesOrRaises(const QByteArray& script, const QByteArray& headerText = header)
{
    try {
        ResourceScript::Parse(script, headerText);
    } catch (const ResourceError&) {
    } catch (...) {
        return false;
    }
    return true;
}

TEST(Robustness, TheSampleScriptIsValid)
{
    EXPECT_NO_THROW(ResourceScript::Parse(validScript, header));
}

TEST(Robustness, EveryTruncation)
{
    for (qsizetype n = 0; n < validScript.size(); ++n)
        ASSERT_TRUE(ParsesOrRaises(validScript.left(n))) << "prefix of " << n << " bytes";
    for (qsizetype n = 0; n < header.size(); ++n)
        ASSERT_TRUE(ParsesOrRaises(validScript, header.left(n))) << "header prefix of " << n << " bytes";
}

TEST(Robustness, RandomMutations)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray script = validScript;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits && !script.isEmpty(); ++e) {
            const qsizetype at = qsizetype(random() % script.size());
            switch (random() % 3) {
            case 0: script[at] = char(random()); break;
            case 1: script.insert(at, char(random())); break;
            default: script.remove(at, qsizetype(1 + random() % 8)); break;
            }
        }
        ASSERT_TRUE(ParsesOrRaises(script)) << script.toStdString();
    }
}

TEST(Robustness, RandomBytes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(qsizetype(random() % 200), '\0');
        for (char& c : bytes)
            c = char(random());
        ASSERT_TRUE(ParsesOrRaises(bytes));
        ASSERT_TRUE(ParsesOrRaises(validScript, bytes));
    }
}

// Sequences of the language's own words reach deeper into the parser than random bytes.
TEST(Robustness, RandomTokenSoup)
{
    const char* words[] = {
        "STRINGTABLE", "BEGIN", "END", "{", "}", "DIALOGEX", "DLGINIT", "MENU", "POPUP", "MENUITEM",
        "SEPARATOR", "ACCELERATORS", "TOOLBAR", "BUTTON", "ICON", "BITMAP", "COUNTRIES", "STYLE",
        "EXSTYLE", "CAPTION", "FONT", "LTEXT", "EDITTEXT", "COMBOBOX", "LISTBOX", "CONTROL", "NOT",
        "WS_CHILD", "|", ",", ",", ",", "0", "1", "-1", "130", "1155", "0xFFFFFFFF", "IDD_PAGE",
        "IDC_VOLUME", "IDR_MAINFRAME", "IDC_STATIC", "\"a\"", "\"\"", "\"Button\"", "\"pictures/x.png\"",
        "VIRTKEY", "CONTROL", "VK_F1", "\"C\"", "GRAYED", "#include \"resource.h\"\n", "\n", "//x\n",
    };
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        QByteArray script;
        const int length = 1 + int(random() % 60);
        for (int i = 0; i < length; ++i)
            script += QByteArray(words[random() % std::size(words)]) + ' ';
        ASSERT_TRUE(ParsesOrRaises(script)) << script.toStdString();
    }
}

TEST(Robustness, DeepNestingEndsInAnError)
{
    QByteArray script = "1 MENU BEGIN ";
    for (int i = 0; i < 100000; ++i)
        script += "POPUP \"a\" BEGIN ";
    EXPECT_THROW(ResourceScript::Parse(script, header), ResourceError);
}

} // namespace
