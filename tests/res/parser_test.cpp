// The resource script reader on small scripts: what good statements parse to, the default
// styles of the control statements, and where malformed scripts are reported.
#include "afx/core/resources.h"
#include "support/helpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using afx::Accelerator;
using afx::DialogItem;
using afx::MenuItem;
using afx::ResourceError;
using afx::ResourceScript;

namespace {

constexpr uint32_t WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_POPUP = 0x80000000,
                   WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000, WS_CAPTION = 0x00C00000,
                   WS_VSCROLL = 0x00200000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
                   WS_DISABLED = 0x08000000, WS_EX_CLIENTEDGE = 0x200, WS_EX_STATICEDGE = 0x20000,
                   DS_SETFONT = 0x40, DS_MODALFRAME = 0x80, SS_RIGHT = 0x2, SS_CENTER = 0x1,
                   SS_ICON = 0x3, SS_BITMAP = 0xE, SS_NOPREFIX = 0x80, BS_DEFPUSHBUTTON = 0x1,
                   BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3, BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5,
                   BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7, BS_AUTORADIOBUTTON = 0x9,
                   ES_PASSWORD = 0x20, ES_AUTOHSCROLL = 0x80, CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2,
                   LBS_NOTIFY = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4;
constexpr uint32_t CV = WS_CHILD | WS_VISIBLE;

const QByteArray header = R"(// test ids
#pragma once
#define IDD_PAGE        130
#define IDC_NAME        1056
#define IDC_COMPANY     1056    /* a second name for the same number */
#define IDC_LIST        1150
#define IDC_VOLUME      1155
#define IDR_MAINFRAME   128
#define IDB_ABOUT       300
#define ID_CONNECT      32785
#define ID_EDIT_COPY    0xE122
#define IDS_TITLE       57344
)";

ResourceScript Parse(const QByteArray& script)
{
    return ResourceScript::Parse(script, header);
}

std::string Text(const QString& s)
{
    return s.toStdString();
}

std::string Dump(const std::vector<MenuItem>& items)
{
    std::string out;
    for (const MenuItem& item : items) {
        out += "[" + Text(item.text) + "|" + std::to_string(item.id) + "|" + std::to_string(item.flags);
        if (!item.children.empty())
            out += Dump(item.children);
        out += "]";
    }
    return out;
}

std::string Dump(const std::vector<Accelerator>& table)
{
    std::string out;
    for (const Accelerator& a : table)
        out += std::to_string(a.key) + ":" + std::to_string(a.flags) + ":" + std::to_string(a.command) + " ";
    return out;
}

// A script, what to look at in its result, and what that must be.
struct GoodCase {
    const char* name;
    const char* script;
    std::function<std::string(const ResourceScript&)> probe;
    std::string expected;
};

std::string StringOf(const ResourceScript& r, int id)
{
    const QString* s = r.String(id);
    return s ? Text(*s) : "<absent>";
}

const GoodCase goodCases[] = {
    {"strings_by_name_and_number_comma_optional",
     "STRINGTABLE\nBEGIN\n  IDS_TITLE \"Brevia\"\n  61228, \"Tamsel s'exécute déjà.\"\nEND\n",
     [](const ResourceScript& r) { return StringOf(r, 57344) + "|" + StringOf(r, 61228); },
     "Brevia|Tamsel s'exécute déjà."},
    {"escapes_and_doubled_quotes",
     R"(STRINGTABLE BEGIN 1 "a\nb\tc\\d\"e""f" END)",
     [](const ResourceScript& r) { return StringOf(r, 1); }, "a\nb\tc\\d\"e\"f"},
    {"empty_string_braces_several_tables",
     "STRINGTABLE { 1 \"\" }\nSTRINGTABLE BEGIN 2 \"x\" END",
     [](const ResourceScript& r) { return StringOf(r, 1) + "|" + StringOf(r, 2) + "|" + StringOf(r, 3); },
     "|x|<absent>"},
    {"byte_order_mark_CRLF_lines_comments",
     "\xEF\xBB\xBF// head\r\n/* a\r\n block */ STRINGTABLE\r\nBEGIN // open\r\n 5 \"z\" /* c */\r\nEND\r\n",
     [](const ResourceScript& r) { return StringOf(r, 5); }, "z"},
    {"include_line",
     "#include \"resource.h\"\nSTRINGTABLE BEGIN 1 \"a\" END",
     [](const ResourceScript& r) { return StringOf(r, 1); }, "a"},
    {"dialog_without_STYLE_a_popup_CAPTION_and_FONT_add_their_bits",
     "IDD_PAGE DIALOGEX 1, 2, 330, 175\nCAPTION \"Paramètres machine\"\nFONT 8, \"MS Sans Serif\"\nBEGIN\nEND",
     [](const ResourceScript& r) {
         const auto* d = r.Dialog(130);
         return std::to_string(d->x) + "," + std::to_string(d->y) + "," + std::to_string(d->cx) + ","
             + std::to_string(d->cy) + " " + Text(d->caption) + " "
             + std::to_string(d->style == (WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT))
             + " " + std::to_string(d->fontSize) + Text(d->fontFace);
     },
     "1,2,330,175 Paramètres machine 1 8MS Sans Serif"},
    {"dialog_header_lines_in_any_order_STYLE_with_NOT_EXSTYLE_full_FONT",
     "130 DIALOGEX 0, 0, 10, 20\nFONT 9, \"Tahoma\", 700, 1, 0x1\nEXSTYLE WS_EX_CLIENTEDGE\n"
     "STYLE WS_CHILD | WS_DISABLED | NOT WS_DISABLED | DS_MODALFRAME\nBEGIN\nEND",
     [](const ResourceScript& r) {
         const auto* d = r.Dialog(130);
         return std::to_string(d->style == (WS_CHILD | DS_MODALFRAME | DS_SETFONT)) + " "
             + std::to_string(d->exStyle == WS_EX_CLIENTEDGE) + " " + std::to_string(d->fontSize)
             + Text(d->fontFace) + std::to_string(d->fontWeight) + std::to_string(d->fontItalic);
     },
     "1 1 9Tahoma7001"},
    {"controls_stand_in_template_order",
     "IDD_PAGE DIALOGEX 0,0,100,50\nBEGIN\n LTEXT \"No&m :\",IDC_STATIC,7,3,169,8\n"
     " EDITTEXT IDC_NAME,7,11,188,12\n PUSHBUTTON \"Ok\",1,0x10,-2,50,14\n"
     " COMBOBOX IDC_LIST,17,41,171,45\nEND",
     [](const ResourceScript& r) {
         std::string out;
         for (const DialogItem& i : r.Dialog(130)->items)
             out += std::to_string(i.id) + ":" + Text(i.className) + ":" + Text(i.text) + "@"
                 + std::to_string(i.x) + "," + std::to_string(i.y) + "," + std::to_string(i.cx) + ","
                 + std::to_string(i.cy) + " ";
         return out;
     },
     "-1:Static:No&m :@7,3,169,8 1056:Edit:@7,11,188,12 1:Button:Ok@16,-2,50,14 1150:ComboBox:@17,41,171,45 "},
    {"DLGINIT_keeps_its_order_across_controls_before_or_after_its_dialog",
     "IDD_PAGE DLGINIT\nBEGIN\n IDC_VOLUME, \"0\"\n IDC_LIST, \"b\"\n IDC_VOLUME, \"1\"\n 1155, \"a;b\"\nEND\n"
     "IDD_PAGE DIALOGEX 0,0,10,10\nBEGIN\n COMBOBOX IDC_VOLUME,1,1,1,1\n LISTBOX IDC_LIST,1,1,1,1\nEND",
     [](const ResourceScript& r) {
         std::string out;
         for (const auto& [id, text] : r.Dialog(130)->initData)
             out += std::to_string(id) + "=" + Text(text) + " ";
         return out;
     },
     "1155=0 1150=b 1155=1 1155=a;b "},
    {"menu_with_nested_popups_separators_and_options",
     "IDR_MAINFRAME MENU\nBEGIN\n POPUP \"&Fichier\"\n BEGIN\n  MENUITEM \"&Connecter...\", ID_CONNECT\n"
     "  MENUITEM SEPARATOR\n  POPUP \"Plus\", GRAYED\n  BEGIN\n   MENUITEM \"a\\tCtrl+C\", 57634, CHECKED, HELP\n  END\n"
     "  MENUITEM \"Fichier récent\", 57616, GRAYED\n END\n POPUP \"&Aide\" { }\nEND",
     [](const ResourceScript& r) { return Dump(*r.Menu(128)); },
     "[&Fichier|0|16[&Connecter...|32785|0][|0|8][Plus|0|17[a\tCtrl+C|57634|132]][Fichier récent|57616|1]][&Aide|0|16]"},
    {"accelerators_characters_virtual_keys_numbers",
     "IDR_MAINFRAME ACCELERATORS\nBEGIN\n \"C\", ID_EDIT_COPY, VIRTKEY, CONTROL, NOINVERT\n"
     " VK_INSERT, ID_EDIT_COPY, VIRTKEY, CONTROL\n VK_BACK, 57643, VIRTKEY, ALT\n"
     " VK_F1, 57669, VIRTKEY, SHIFT\n \"a\", 1, ASCII\n \"5\", 2\n 0x7B, 3, VIRTKEY\nEND",
     [](const ResourceScript& r) { return Dump(*r.Accelerators(128)); },
     "67:11:57634 45:9:57634 8:17:57643 112:5:57669 97:0:1 53:0:2 123:1:3 "},
    {"toolbar_with_a_separator",
     "IDR_MAINFRAME TOOLBAR 22, 23\nBEGIN\n BUTTON ID_CONNECT\n SEPARATOR\n BUTTON 57670\nEND",
     [](const ResourceScript& r) {
         const auto* t = r.Toolbar(128);
         std::string out = std::to_string(t->width) + "x" + std::to_string(t->height);
         for (int b : t->buttons)
             out += " " + std::to_string(b);
         return out;
     },
     "22x23 32785 0 57670"},
    {"icons_with_several_files_bitmaps",
     "IDR_MAINFRAME ICON \"pictures/app-32.png\", \"pictures/app-16.png\"\nIDB_ABOUT BITMAP \"pictures/about.png\"",
     [](const ResourceScript& r) {
         return Text(r.IconFiles(128).join(u' ')) + " " + Text(r.BitmapFile(300)) + " ["
             + Text(r.BitmapFile(301)) + "]";
     },
     ":/pictures/app-32.png :/pictures/app-16.png :/pictures/about.png []"},
    {"names_of_the_header_IDC_STATIC_built_in",
     "",
     [](const ResourceScript& r) {
         return std::to_string(r.Symbol("IDC_COMPANY").value_or(0)) + " "
             + std::to_string(r.Symbol("IDC_STATIC").value_or(0)) + " "
             + std::to_string(r.Symbol("ID_EDIT_COPY").value_or(0)) + " "
             + std::to_string(r.Symbol("IDC_NONE").has_value());
     },
     "1056 -1 57634 0"},
};

class GoodScripts : public testing::TestWithParam<GoodCase> {};

TEST_P(GoodScripts, ParseTo)
{
    const GoodCase& c = GetParam();
    try {
        EXPECT_EQ(c.probe(Parse(c.script)), c.expected);
    } catch (const ResourceError& e) {
        FAIL() << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Parser, GoodScripts, testing::ValuesIn(goodCases), RowName);

// One control statement inside a dialog, and the item it must give.
struct ControlCase {
    const char* name;
    const char* statement;
    const char* className;
    uint32_t style;
    uint32_t exStyle;
};

const ControlCase controlCases[] = {
    {"LTEXT", "LTEXT \"a\",-1,1,2,3,4", "Static", CV | WS_GROUP, 0},
    {"RTEXT", "RTEXT \"a\",-1,1,2,3,4", "Static", CV | WS_GROUP | SS_RIGHT, 0},
    {"CTEXT_without_prefix",
     "CTEXT \"a\",-1,1,2,3,4,SS_NOPREFIX", "Static", CV | WS_GROUP | SS_CENTER | SS_NOPREFIX, 0},
    {"LTEXT_without_WS_GROUP", "LTEXT \"a\",-1,1,2,3,4,NOT WS_GROUP", "Static", CV, 0},
    {"GROUPBOX", "GROUPBOX \"g\",-1,1,2,3,4", "Button", CV | WS_GROUP | BS_GROUPBOX, 0},
    {"PUSHBUTTON", "PUSHBUTTON \"p\",1,1,2,3,4", "Button", CV | WS_TABSTOP, 0},
    {"DEFPUSHBUTTON", "DEFPUSHBUTTON \"p\",1,1,2,3,4", "Button", CV | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {"CHECKBOX", "CHECKBOX \"c\",1,1,2,3,4", "Button", CV | WS_TABSTOP | BS_CHECKBOX, 0},
    {"AUTOCHECKBOX_without_WS_TABSTOP",
     "AUTOCHECKBOX \"c\",1,1,2,3,4,NOT WS_TABSTOP", "Button", CV | BS_AUTOCHECKBOX, 0},
    {"RADIOBUTTON", "RADIOBUTTON \"r\",1,1,2,3,4", "Button", CV | WS_TABSTOP | BS_RADIOBUTTON, 0},
    {"AUTORADIOBUTTON_with_WS_GROUP",
     "AUTORADIOBUTTON \"r\",1,1,2,3,4,WS_GROUP", "Button", CV | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0},
    {"STATE3", "STATE3 \"s\",1,1,2,3,4", "Button", CV | WS_TABSTOP | BS_3STATE, 0},
    {"AUTO3STATE", "AUTO3STATE \"s\",1,1,2,3,4", "Button", CV | WS_TABSTOP | BS_AUTO3STATE, 0},
    {"EDITTEXT", "EDITTEXT 1,1,2,3,4", "Edit", CV | WS_TABSTOP | WS_BORDER, 0},
    {"EDITTEXT_without_WS_BORDER",
     "EDITTEXT 1,1,2,3,4,ES_AUTOHSCROLL | NOT WS_BORDER", "Edit", CV | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {"EDITTEXT_with_extended_style",
     "EDITTEXT 1,1,2,3,4,ES_PASSWORD,WS_EX_CLIENTEDGE", "Edit", CV | WS_TABSTOP | WS_BORDER | ES_PASSWORD, WS_EX_CLIENTEDGE},
    {"COMBOBOX", "COMBOBOX 1,1,2,3,4", "ComboBox", CV | WS_TABSTOP | CBS_SIMPLE, 0},
    // A drop-down must not pick up the simple kind: 2 | 1 would make it a drop-down list.
    {"COMBOBOX_drop_down",
     "COMBOBOX 1,1,2,3,4,CBS_DROPDOWN | WS_VSCROLL", "ComboBox", CV | WS_TABSTOP | CBS_DROPDOWN | WS_VSCROLL, 0},
    {"LISTBOX", "LISTBOX 1,1,2,3,4", "ListBox", CV | WS_TABSTOP | WS_BORDER | LBS_NOTIFY, 0},
    {"ICON", "ICON IDR_MAINFRAME,-1,1,2", "Static", CV | SS_ICON, 0},
    {"CONTROL_up_down",
     "CONTROL \"\",1,\"msctls_updown32\",UDS_SETBUDDYINT | UDS_ALIGNRIGHT,1,2,3,4", "msctls_updown32",
     CV | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 0},
    {"CONTROL_hidden_button",
     "CONTROL \"x\",1,\"button\",BS_AUTOCHECKBOX | NOT WS_VISIBLE | 0x100,1,2,3,4,WS_EX_STATICEDGE", "Button",
     WS_CHILD | BS_AUTOCHECKBOX | 0x100, WS_EX_STATICEDGE},
    {"CONTROL_bitmap", "CONTROL IDB_ABOUT,-1,\"Static\",SS_BITMAP,1,2,3,4", "Static", CV | SS_BITMAP, 0},
};

class ControlStatements : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlStatements, ApplyTheirDefaultStyle)
{
    const ControlCase& c = GetParam();
    const QByteArray script = QByteArray("IDR_MAINFRAME ICON \"a.png\"\nIDB_ABOUT BITMAP \"b.png\"\n"
                                         "1 DIALOGEX 0,0,10,10\nBEGIN\n ")
        + c.statement + "\nEND\n";
    try {
        const ResourceScript r = Parse(script);
        ASSERT_EQ(r.Dialog(1)->items.size(), 1u);
        const DialogItem& item = r.Dialog(1)->items[0];
        EXPECT_EQ(Text(item.className), c.className);
        EXPECT_EQ(item.style, c.style) << std::hex << "0x" << item.style << " instead of 0x" << c.style;
        EXPECT_EQ(item.exStyle, c.exStyle);
    } catch (const ResourceError& e) {
        FAIL() << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Parser, ControlStatements, testing::ValuesIn(controlCases), RowName);

TEST(Parser, PictureControlsCarryThePictureIdAndIconSizeIsOptional)
{
    const ResourceScript r = Parse("IDR_MAINFRAME ICON \"a.png\"\nIDB_ABOUT BITMAP \"b.png\"\n"
                                   "1 DIALOGEX 0,0,10,10\nBEGIN\n ICON IDR_MAINFRAME,-1,14,9\n"
                                   " ICON 128,7,1,2,20,21,WS_DISABLED\n"
                                   " CONTROL IDB_ABOUT,-1,\"Static\",SS_BITMAP,7,7,243,205\nEND\n");
    const auto& items = r.Dialog(1)->items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Text(items[0].text), "128");
    EXPECT_EQ(items[0].cx, 0);
    EXPECT_EQ(items[1].cx, 20);
    EXPECT_EQ(items[1].cy, 21);
    EXPECT_EQ(items[1].style, CV | SS_ICON | WS_DISABLED);
    EXPECT_EQ(Text(items[2].text), "300");
}

// A malformed script, and the start of the message it must raise.
struct BadCase {
    const char* script;
    const char* where;     // "file:line:"
    const char* what;      // a part of the message
    const char* header = nullptr;   // instead of the usual one
};

const BadCase badCases[] = {
    {"STRINGTABLE\nBEGIN\n IDS_NOPE \"a\"\nEND", "console.rc:3:", "unknown name IDS_NOPE"},
    {"STRINGTABLE\nBEGIN\n 1 \"a\n\"\nEND", "console.rc:3:", "unterminated string"},
    {"STRINGTABLE BEGIN 1 \"a", "console.rc:1:", "unterminated string"},
    {"STRINGTABLE BEGIN\n 1 \"a\\q\"\nEND", "console.rc:2:", "escape"},
    {"STRINGTABLE BEGIN\n 1 \"\xC3\x28\"\nEND", "console.rc:2:", "UTF-8"},
    {"STRINGTABLE BEGIN\n 1 \"a\x01\"\nEND", "console.rc:2:", "control character"},
    {"STRINGTABLE BEGIN 1 \"a\" END\n\nSTRINGTABLE BEGIN\n IDS_TITLE \"b\"\n 1 \"c\"\nEND", "console.rc:5:",
     "string 1 defined twice"},
    {"STRINGTABLE BEGIN 1 \"a\"\n", "console.rc:2:", "end of file"},
    {"STRINGTABLE BEGIN 1 \"a\" END\n/* never closed\n", "console.rc:2:", "unterminated comment"},
    {"STRINGTABLE BEGIN 0x100000000 \"a\" END", "console.rc:1:", "too large"},
    {"STRINGTABLE BEGIN 70000 \"a\" END", "console.rc:1:", "out of range"},
    {"STRINGTABLE BEGIN 12ab \"a\" END", "console.rc:1:", "malformed number"},
    {"STRINGTABLE BEGIN 1 \"a\" @ END", "console.rc:1:", "unexpected character '@'"},
    {"STRINGTABLE BEGIN 1 \"a\" END #include \"resource.h\"", "console.rc:1:", "'#'"},
    {"#include \"afxres.h\"", "console.rc:1:", "#include \"resource.h\""},
    {"#define X 1", "console.rc:1:", "#include \"resource.h\""},
    {"\n\n1 DIALOGEX 0,0,10,10\nBEGIN\n LTEXT \"a\" -1,1,2,3,4\nEND", "console.rc:5:", "missing comma after text"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n EDITTEXT 1,1,2,3\nEND", "console.rc:3:", "missing comma after width"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n EDITTEXT 1,1,2,3,4,ES_NOPE\nEND", "console.rc:3:", "unknown style ES_NOPE"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n EDITTEXT 1,1,2,3,4,\nEND", "console.rc:4:", "unknown style END"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n SLIDER 1,1,2,3,4\nEND", "console.rc:3:", "unknown control statement"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n CONTROL \"\",1,\"Slider\",0,1,2,3,4\nEND", "console.rc:3:", "window class"},
    {"1 DIALOGEX 0,0,10,10\nSTYLE WS_CHILD\nSTYLE WS_POPUP\nBEGIN\nEND", "console.rc:3:", "STYLE given twice"},
    {"1 DIALOGEX 0,0,10,10\nCAPTION 5\nBEGIN\nEND", "console.rc:2:", "caption"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\nEND\n1 DIALOGEX 0,0,10,10\nBEGIN\nEND", "console.rc:4:", "dialog 1 defined twice"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n ICON 128,-1,1,2\nEND", "console.rc:3:", "icon 128 does not exist"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n CONTROL 300,-1,\"Static\",SS_BITMAP,1,2,3,4\nEND", "console.rc:3:",
     "bitmap 300 does not exist"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n COMBOBOX 5,1,2,3,4\nEND\n1 DLGINIT\nBEGIN\n 5, \"a\"\n 6, \"b\"\nEND",
     "console.rc:8:", "control 6 is not in dialog 1"},
    {"1 DIALOGEX 0,0,10,10\nBEGIN\n EDITTEXT 5,1,2,3,4\nEND\n1 DLGINIT\nBEGIN\n 5, \"a\"\nEND", "console.rc:7:",
     "not a combo or list box"},
    {"\n2 DLGINIT\nBEGIN\n 5, \"a\"\nEND", "console.rc:2:", "dialog 2, which does not exist"},
    {"1 MENU\nBEGIN\n MENUITEM \"a\" 5\nEND", "console.rc:3:", "missing comma after menu text"},
    {"1 MENU\nBEGIN\n MENUITEM \"a\", 5, DISABLED\nEND", "console.rc:3:", "unknown menu option"},
    {"1 MENU\nBEGIN\n POPUP \"a\"\n MENUITEM \"b\", 5\nEND", "console.rc:4:", "expected BEGIN"},
    {"1 MENU\nBEGIN\n POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN"
     " POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN"
     " POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN POPUP \"a\" BEGIN",
     "console.rc:3:", "nested too deep"},
    {"1 ACCELERATORS\nBEGIN\n \"c\", 5, VIRTKEY, CONTROL\nEND", "console.rc:3:", "upper-case letter or a digit"},
    {"1 ACCELERATORS\nBEGIN\n VK_F1, 5\nEND", "console.rc:3:", "needs VIRTKEY"},
    {"1 ACCELERATORS\nBEGIN\n \"C\", 5, CONTROL\nEND", "console.rc:3:", "need VIRTKEY"},
    {"1 ACCELERATORS\nBEGIN\n \"C\", 5, VIRTKEY, ASCII\nEND", "console.rc:3:", "both VIRTKEY and ASCII"},
    {"1 ACCELERATORS\nBEGIN\n \"^C\", 5\nEND", "console.rc:3:", "one character"},
    {"1 ACCELERATORS\nBEGIN\n VK_F13, 5, VIRTKEY\nEND", "console.rc:3:", "unknown key VK_F13"},
    {"1 TOOLBAR 22 23\nBEGIN\nEND", "console.rc:1:", "missing comma after button width"},
    {"1 TOOLBAR 22, 23\nBEGIN\n BUTTON 0\nEND", "console.rc:3:", "out of range"},
    {"1 ICON \"a.png\"\n1 ICON \"b.png\"", "console.rc:2:", "icon 1 defined twice"},
    {"1 ICON \"../secret.png\"", "console.rc:1:", "below the resource folder"},
    {"1 BITMAP \"/etc/passwd\"", "console.rc:1:", "below the resource folder"},
    {"243 COUNTRIES \"COUNTRIES\"\n243 COUNTRIES \"OTHER\"", "console.rc:2:", "COUNTRIES 243 defined twice"},
    {"1 RCDATA 5", "console.rc:1:", "unknown resource type RCDATA"},
    {"1 BEGIN \"x\"", "console.rc:1:", "not a resource type"},
    {"0 ICON \"a.png\"", "console.rc:1:", "resource id 0"},
    {"\"x\" ICON \"a.png\"", "console.rc:1:", "expected a resource id"},
    {"", "resource.h:3:", "IDC_A defined again with another value", "#pragma once\n#define IDC_A 5\n#define IDC_A 6\n"},
    {"", "resource.h:1:", "IDC_STATIC defined again", "#define IDC_STATIC 0\n"},
    {"", "resource.h:2:", "only #define", "#pragma once\nint x\n"},
    {"", "resource.h:1:", "needs a number", "#define IDC_A IDC_B\n"},
    {"", "resource.h:1:", "unexpected text", "#define IDC_A 5 6\n"},
};

TEST(Parser, ReportsMalformedScriptsWithFileAndLine)
{
    for (const BadCase& c : badCases) {
        SCOPED_TRACE(c.script);
        try {
            ResourceScript::Parse(c.script, c.header ? QByteArray(c.header) : header);
            ADD_FAILURE() << "accepted";
        } catch (const ResourceError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(c.where, 0), 0u) << message;
            EXPECT_NE(message.find(c.what), std::string::npos) << message;
        }
    }
}

TEST(Parser, NamesAConflictAcrossHeadersWithBothPlaces)
{
    try {
        ResourceScript::Parse({"draft.rc", ""}, {{"a.h", "#define IDC_A 5\n"}, {"b.h", "\n#define IDC_A 5\n#define IDC_A 7\n"}});
        ADD_FAILURE() << "accepted";
    } catch (const ResourceError& e) {
        EXPECT_STREQ(e.what(), "b.h:3: IDC_A defined again with another value (first 5 at a.h:1)");
    }
}

TEST(Parser, ChecksThatNamedFilesExistOnlyWhenAsked)
{
    const ResourceScript r = Parse("1 ICON \"pictures/a.png\", \"pictures/b.png\"\n\n243 COUNTRIES \"COUNTRIES\"\n");
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("pictures"));
    for (const char* name : {"pictures/a.png", "COUNTRIES"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    try {
        r.CheckFiles(dir.path());
        ADD_FAILURE() << "missing file not reported";
    } catch (const ResourceError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("console.rc:1: file \"pictures/b.png\" not found", 0), 0u) << e.what();
    }
    QFile b(dir.filePath("pictures/b.png"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.close();
    EXPECT_NO_THROW(r.CheckFiles(dir.path()));
}

TEST(Parser, CustomResourcesReadTheirEmbeddedFile)
{
    const ResourceScript r = Parse("243 COUNTRIES \"COUNTRIES\"\n244 COUNTRIES \"not-embedded\"\n");
    QFile embedded(":/COUNTRIES");
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    EXPECT_EQ(r.Custom("COUNTRIES", 243), std::optional<QByteArray>(embedded.readAll()));
    EXPECT_EQ(r.Custom("COUNTRIES", 244), std::nullopt);
    EXPECT_EQ(r.Custom("COUNTRIES", 245), std::nullopt);
    EXPECT_EQ(r.Custom("OTHER", 243), std::nullopt);
}

} // namespace
