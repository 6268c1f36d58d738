// Reader of the resource script: a recursive-descent parser for the subset described in
// src/res/README.md. Every malformed input ends in a ResourceError naming the file and line;
// nothing in here may crash, loop or allocate without bound on bad input.
#include "afx/core/resources.h"

#include "afx/core/rctokens.h"
#include "afx/core/styles.h"

#include <limits>

namespace afx {

using rc::Fail;
using rc::Token;

namespace {

struct Constant {
    const char* name;
    uint32_t value;
};

constexpr Constant styleConstants[] = {
#define AFX_NAME_STYLE(name, value) {#name, name},
    AFX_WINDOW_STYLES(AFX_NAME_STYLE)
#undef AFX_NAME_STYLE
};

constexpr Constant virtualKeys[] = {
    {"VK_BACK", 0x08}, {"VK_TAB", 0x09}, {"VK_RETURN", 0x0D}, {"VK_ESCAPE", 0x1B},
    {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21}, {"VK_NEXT", 0x22}, {"VK_END", 0x23},
    {"VK_HOME", 0x24}, {"VK_LEFT", 0x25}, {"VK_UP", 0x26}, {"VK_RIGHT", 0x27},
    {"VK_DOWN", 0x28}, {"VK_INSERT", 0x2D}, {"VK_DELETE", 0x2E},
    {"VK_F1", 0x70}, {"VK_F2", 0x71}, {"VK_F3", 0x72}, {"VK_F4", 0x73}, {"VK_F5", 0x74},
    {"VK_F6", 0x75}, {"VK_F7", 0x76}, {"VK_F8", 0x77}, {"VK_F9", 0x78}, {"VK_F10", 0x79},
    {"VK_F11", 0x7A}, {"VK_F12", 0x7B},
};

constexpr Constant acceleratorOptions[] = {
    {"VIRTKEY", Accelerator::VirtKey}, {"ASCII", 0}, {"SHIFT", Accelerator::Shift},
    {"CONTROL", Accelerator::Control}, {"ALT", Accelerator::Alt},
    {"NOINVERT", Accelerator::NoInvert},
};

constexpr Constant menuOptions[] = {
    {"GRAYED", MenuItem::Grayed}, {"INACTIVE", MenuItem::Inactive},
    {"CHECKED", MenuItem::Checked}, {"MENUBARBREAK", MenuItem::MenuBarBreak},
    {"MENUBREAK", MenuItem::MenuBreak}, {"HELP", MenuItem::Help},
};

template <size_t N>
std::optional<uint32_t> Lookup(const Constant (&table)[N], const QByteArray& name)
{
    for (const Constant& c : table)
        if (name == c.name)
            return c.value;
    return std::nullopt;
}

constexpr const char* controlClasses[] = {
    "Button", "Edit", "Static", "ComboBox", "ListBox", "SysListView32", "SysTreeView32",
    "SysDateTimePick32", "SysIPAddress32", "msctls_updown32", "SysTabControl32",
};

// How a control statement is written, and what it means.
struct ControlStatement {
    enum Form { Text, NoText, IconForm, Generic };
    const char* keyword;
    Form form;
    const char* className;
    uint32_t defaultStyle;   // besides WS_CHILD | WS_VISIBLE
};

constexpr ControlStatement controlStatements[] = {
    {"LTEXT", ControlStatement::Text, "Static", 0x0 | WS_GROUP},
    {"RTEXT", ControlStatement::Text, "Static", 0x2 | WS_GROUP},
    {"CTEXT", ControlStatement::Text, "Static", 0x1 | WS_GROUP},
    {"GROUPBOX", ControlStatement::Text, "Button", 0x7 | WS_GROUP},
    {"PUSHBUTTON", ControlStatement::Text, "Button", 0x0 | WS_TABSTOP},
    {"DEFPUSHBUTTON", ControlStatement::Text, "Button", 0x1 | WS_TABSTOP},
    {"CHECKBOX", ControlStatement::Text, "Button", 0x2 | WS_TABSTOP},
    {"AUTOCHECKBOX", ControlStatement::Text, "Button", 0x3 | WS_TABSTOP},
    {"RADIOBUTTON", ControlStatement::Text, "Button", 0x4 | WS_TABSTOP},
    {"AUTORADIOBUTTON", ControlStatement::Text, "Button", 0x9 | WS_TABSTOP},
    {"STATE3", ControlStatement::Text, "Button", 0x5 | WS_TABSTOP},
    {"AUTO3STATE", ControlStatement::Text, "Button", 0x6 | WS_TABSTOP},
    {"EDITTEXT", ControlStatement::NoText, "Edit", WS_BORDER | WS_TABSTOP},
    // CBS_SIMPLE only when the statement names no other kind of combo box (see ParseControl).
    {"COMBOBOX", ControlStatement::NoText, "ComboBox", WS_TABSTOP},
    {"LISTBOX", ControlStatement::NoText, "ListBox", 0x1 | WS_BORDER | WS_TABSTOP},
    {"ICON", ControlStatement::IconForm, "Static", 0x3},
    {"CONTROL", ControlStatement::Generic, nullptr, 0},
};

// Words of the language that can never name a custom resource type.
constexpr const char* keywords[] = {
    "BEGIN", "END", "NOT", "STRINGTABLE", "DIALOGEX", "DLGINIT", "MENU", "ACCELERATORS",
    "TOOLBAR", "ICON", "BITMAP", "STYLE", "EXSTYLE", "CAPTION", "FONT", "MENUITEM", "POPUP",
    "SEPARATOR", "BUTTON",
};

constexpr int maxMenuDepth = 16;

struct SymbolTable {
    QHash<QString, int> values;
    QHash<QString, QString> definedAt;   // "file:line", for the message on a conflict
};

void ReadHeader(const ResourceScript::SourceText& header, SymbolTable& symbols)
{
    const std::vector<Token> tokens = rc::Tokenize(header.text, header.fileName);
    size_t i = 0;
    auto fail = [&](const Token& t, const QString& what) { Fail(header.fileName, t.line, what); };
    while (tokens[i].kind != Token::End) {
        if (tokens[i].kind != Token::Hash)
            fail(tokens[i], QStringLiteral("only #define lines, comments and #pragma once belong here"));
        const Token& directive = tokens[++i];
        if (directive.kind == Token::Name && directive.name == "pragma") {
            if (tokens[i + 1].kind != Token::Name || tokens[i + 1].name != "once"
                || tokens[i + 2].kind != Token::EndOfLine)
                fail(directive, QStringLiteral("only #pragma once is allowed"));
            i += 3;
            continue;
        }
        if (directive.kind != Token::Name || directive.name != "define")
            fail(directive, QStringLiteral("only #define lines, comments and #pragma once belong here"));
        const Token& name = tokens[i + 1];
        if (name.kind != Token::Name)
            fail(directive, QStringLiteral("#define needs a name"));
        const Token& value = tokens[i + 2];
        if (value.kind != Token::Number)
            fail(directive, QStringLiteral("#define %1 needs a number").arg(QString::fromLatin1(name.name)));
        if (tokens[i + 3].kind != Token::EndOfLine)
            fail(directive, QStringLiteral("unexpected text after #define %1").arg(QString::fromLatin1(name.name)));
        if (value.number < std::numeric_limits<int>::min() || value.number > std::numeric_limits<int>::max())
            fail(directive, QStringLiteral("value of %1 out of range").arg(QString::fromLatin1(name.name)));
        const QString key = QString::fromLatin1(name.name);
        const int v = int(value.number);
        const auto known = symbols.values.constFind(key);
        if (known != symbols.values.cend() && *known != v)
            fail(directive, QStringLiteral("%1 defined again with another value (first %2 at %3)")
                                .arg(key).arg(*known).arg(symbols.definedAt.value(key)));
        if (known == symbols.values.cend()) {
            symbols.values.insert(key, v);
            symbols.definedAt.insert(key, QStringLiteral("%1:%2").arg(header.fileName).arg(directive.line));
        }
        i += 4;
    }
}

} // namespace

class ResourceScriptParser {
public:
    ResourceScriptParser(ResourceScript& out, const ResourceScript::SourceText& script,
                         const SymbolTable& symbols)
        : out(out), file(script.fileName), symbols(symbols),
          tokens(rc::Tokenize(script.text, script.fileName))
    {
    }

    void Run()
    {
        while (Peek().kind != Token::End)
            TopLevel();
        CheckReferences();
    }

private:
    ResourceScript& out;
    const QString& file;
    const SymbolTable& symbols;
    std::vector<Token> tokens;
    size_t pos = 0;

    // DLGINIT blocks, checked against their dialog once the whole script is read.
    struct PendingInit {
        int dialog;
        int line;
        std::vector<std::pair<int, QString>> data;
        std::vector<int> lines;   // of each entry
    };
    std::vector<PendingInit> pendingInits;
    // Pictures named by dialog items, checked once the whole script is read.
    struct PictureUse {
        int id;
        int line;
        bool bitmap;   // else an icon
    };
    std::vector<PictureUse> pictureUses;

    static bool IsBitmapStatic(const DialogItem& item)
    {
        return item.className == QLatin1String("Static") && (item.style & SS_TYPEMASK) == SS_BITMAP;
    }

    // --- token helpers ---
    const Token& Peek() const { return tokens[pos]; }
    const Token& Take()   // never beyond the final End token
    {
        const Token& t = tokens[pos];
        if (pos + 1 < tokens.size())
            ++pos;
        return t;
    }
    [[noreturn]] void Error(const Token& at, const QString& what) const { Fail(file, at.line, what); }
    [[noreturn]] void Error(const QString& what) const { Error(Peek(), what); }

    bool IsWord(const Token& t, const char* word) const { return t.kind == Token::Name && t.name == word; }
    bool IsOpen(const Token& t) const { return t.kind == Token::Open || IsWord(t, "BEGIN"); }
    bool IsClose(const Token& t) const { return t.kind == Token::Close || IsWord(t, "END"); }

    QString Describe(const Token& t) const
    {
        switch (t.kind) {
        case Token::End: return QStringLiteral("end of file");
        case Token::Name: return QString::fromLatin1(t.name);
        case Token::Number: return QString::number(t.number);
        case Token::String: return QStringLiteral("\"%1\"").arg(t.text.left(40));
        case Token::Comma: return QStringLiteral("','");
        case Token::Bar: return QStringLiteral("'|'");
        case Token::Open: return QStringLiteral("'{'");
        case Token::Close: return QStringLiteral("'}'");
        case Token::Hash: return QStringLiteral("'#'");
        case Token::EndOfLine: return QStringLiteral("end of line");
        }
        return {};
    }

    void ExpectOpen()
    {
        if (!IsOpen(Peek()))
            Error(QStringLiteral("expected BEGIN, found %1").arg(Describe(Peek())));
        Take();
    }
    void Comma(const char* after)
    {
        if (Peek().kind != Token::Comma)
            Fail(file, tokens[pos ? pos - 1 : 0].line, QStringLiteral("missing comma after %1").arg(QLatin1String(after)));
        Take();
    }
    bool OptionalComma()
    {
        if (Peek().kind != Token::Comma)
            return false;
        Take();
        return true;
    }
    QString String(const char* what)
    {
        if (Peek().kind != Token::String)
            Error(QStringLiteral("expected %1 in quotes, found %2").arg(QLatin1String(what), Describe(Peek())));
        return Take().text;
    }
    int Number(const char* what, int64_t min = std::numeric_limits<int>::min(),
               int64_t max = std::numeric_limits<int>::max())
    {
        const Token& t = Peek();
        if (t.kind != Token::Number)
            Error(QStringLiteral("expected %1, found %2").arg(QLatin1String(what), Describe(t)));
        if (t.number < min || t.number > max)
            Error(QStringLiteral("%1 %2 out of range").arg(QLatin1String(what)).arg(t.number));
        Take();
        return int(t.number);
    }
    // A number or a name of the header; `min` is -1 where IDC_STATIC is allowed.
    int Id(const char* what, int min = 0)
    {
        const Token& t = Peek();
        int64_t value;
        if (t.kind == Token::Number) {
            value = t.number;
        } else if (t.kind == Token::Name) {
            const QString name = QString::fromLatin1(t.name);
            const auto found = symbols.values.constFind(name);
            if (found == symbols.values.cend())
                Error(QStringLiteral("unknown name %1").arg(name));
            value = *found;
        } else {
            Error(QStringLiteral("expected %1, found %2").arg(QLatin1String(what), Describe(t)));
        }
        if (value < min || value > 0xFFFF)
            Error(QStringLiteral("%1 %2 out of range").arg(QLatin1String(what)).arg(value));
        Take();
        return int(value);
    }

    // Constants and numbers joined by '|', each optionally preceded by NOT, applied in turn to
    // `base`.
    uint32_t Style(uint32_t base)
    {
        uint32_t value = base;
        for (;;) {
            const bool clear = IsWord(Peek(), "NOT");
            if (clear)
                Take();
            const Token& t = Peek();
            uint32_t bits;
            if (t.kind == Token::Number) {
                if (t.number < 0)
                    Error(QStringLiteral("negative style value"));
                bits = uint32_t(t.number);
            } else if (t.kind == Token::Name) {
                const std::optional<uint32_t> c = Lookup(styleConstants, t.name);
                if (!c)
                    Error(QStringLiteral("unknown style %1").arg(QString::fromLatin1(t.name)));
                bits = *c;
            } else {
                Error(QStringLiteral("expected a style, found %1").arg(Describe(t)));
            }
            Take();
            value = clear ? value & ~bits : value | bits;
            if (Peek().kind != Token::Bar)
                return value;
            Take();
        }
    }

    // A path relative to the resource folder, without a way out of it.
    QString FilePath(int line)
    {
        const QString path = String("file name");
        if (path.isEmpty() || path.startsWith(u'/') || path.contains(u'\\') || path.contains(u':')
            || path.split(u'/').contains(QStringLiteral("..")))
            Error(QStringLiteral("file \"%1\" must be a path below the resource folder").arg(path));
        out.fileReferences.push_back({path, line});
        return QStringLiteral(":/") + path;
    }

    template <typename Map>
    void CheckUnique(const Map& map, int id, const Token& at, const char* kind)
    {
        if (map.contains(id))
            Error(at, QStringLiteral("%1 %2 defined twice").arg(QLatin1String(kind)).arg(id));
    }

    // --- statements ---
    void TopLevel()
    {
        const Token& first = Peek();
        if (first.kind == Token::Hash) {
            Take();
            if (!IsWord(Take(), "include") || Peek().kind != Token::String
                || Take().text != QLatin1String("resource.h") || Take().kind != Token::EndOfLine)
                Error(first, QStringLiteral("the only preprocessor line allowed is #include \"resource.h\""));
            return;
        }
        if (IsWord(first, "STRINGTABLE")) {
            Take();
            StringTable();
            return;
        }
        if (first.kind != Token::Name && first.kind != Token::Number)
            Error(QStringLiteral("expected a resource id, found %1").arg(Describe(first)));
        const Token idToken = first;
        const int id = Id("resource id");
        if (id == 0)
            Error(idToken, QStringLiteral("resource id 0 is not allowed"));
        const Token& type = Peek();
        if (type.kind != Token::Name)
            Error(QStringLiteral("expected a resource type, found %1").arg(Describe(type)));
        const QByteArray typeName = Take().name;
        if (typeName == "DIALOGEX")
            Dialog(id, idToken);
        else if (typeName == "DLGINIT")
            DialogInit(id, idToken);
        else if (typeName == "MENU")
            Menu(id, idToken);
        else if (typeName == "ACCELERATORS")
            Accelerators(id, idToken);
        else if (typeName == "TOOLBAR")
            Toolbar(id, idToken);
        else if (typeName == "ICON")
            Icon(id, idToken);
        else if (typeName == "BITMAP") {
            CheckUnique(out.bitmaps, id, idToken, "bitmap");
            out.bitmaps.insert(id, FilePath(idToken.line));
        } else
            Custom(typeName, id, idToken);
    }

    void StringTable()
    {
        ExpectOpen();
        while (!IsClose(Peek())) {
            const Token at = Peek();
            const int id = Id("string id");
            OptionalComma();
            CheckUnique(out.strings, id, at, "string");
            out.strings.insert(id, String("string"));
        }
        Take();
    }

    void Dialog(int id, const Token& at)
    {
        CheckUnique(out.dialogs, id, at, "dialog");
        DialogTemplate d;
        d.id = id;
        d.x = Number("x");
        Comma("x");
        d.y = Number("y");
        Comma("y");
        d.cx = Number("width", 0);
        Comma("width");
        d.cy = Number("height", 0);
        std::optional<uint32_t> style;
        bool exStyle = false, caption = false, font = false;
        auto once = [&](bool& seen, const char* what) {
            if (seen)
                Error(QStringLiteral("%1 given twice").arg(QLatin1String(what)));
            seen = true;
            Take();
        };
        for (bool more = true; more;) {
            const Token& t = Peek();
            if (IsWord(t, "STYLE")) {
                if (style)
                    Error(QStringLiteral("STYLE given twice"));
                Take();
                style = Style(0);
            } else if (IsWord(t, "EXSTYLE")) {
                once(exStyle, "EXSTYLE");
                d.exStyle = Style(0);
            } else if (IsWord(t, "CAPTION")) {
                once(caption, "CAPTION");
                d.caption = String("caption");
            } else if (IsWord(t, "FONT")) {
                once(font, "FONT");
                d.fontSize = Number("font size", 1, 72);
                Comma("font size");
                d.fontFace = String("font face");
                if (OptionalComma()) {
                    d.fontWeight = Number("font weight", 0, 1000);
                    Comma("font weight");
                    d.fontItalic = Number("italic flag", 0, 1) != 0;
                    Comma("italic flag");
                    Number("character set", 0, 255);
                }
            } else {
                more = false;
            }
        }
        // The resource compiler's rule: no STYLE means a plain popup; a caption or a font
        // brings its style bit.
        d.style = style.value_or(WS_POPUP | WS_BORDER | WS_SYSMENU);
        if (caption)
            d.style |= WS_CAPTION;
        if (font)
            d.style |= DS_SETFONT;
        ExpectOpen();
        while (!IsClose(Peek()))
            d.items.push_back(Control());
        Take();
        out.dialogs.insert(id, std::move(d));
    }

    DialogItem Control()
    {
        const Token& keyword = Peek();
        const ControlStatement* statement = nullptr;
        for (const ControlStatement& s : controlStatements)
            if (IsWord(keyword, s.keyword))
                statement = &s;
        if (!statement)
            Error(QStringLiteral("unknown control statement %1").arg(Describe(keyword)));
        const int line = keyword.line;
        Take();
        DialogItem item;
        uint32_t base = WS_CHILD | WS_VISIBLE | statement->defaultStyle;
        auto position = [&](bool sizeOptional) {
            item.x = Number("x");
            Comma("x");
            item.y = Number("y");
            if (sizeOptional && Peek().kind != Token::Comma)
                return;
            Comma("y");
            item.cx = Number("width", 0);
            Comma("width");
            item.cy = Number("height", 0);
        };
        switch (statement->form) {
        case ControlStatement::Text:
            item.text = String("text");
            Comma("text");
            item.id = Id("control id", -1);
            Comma("control id");
            position(false);
            break;
        case ControlStatement::NoText:
            item.id = Id("control id", -1);
            Comma("control id");
            position(false);
            break;
        case ControlStatement::IconForm: {
            const int icon = Id("icon id", 1);
            pictureUses.push_back({icon, line, false});
            item.text = QString::number(icon);
            Comma("icon id");
            item.id = Id("control id", -1);
            Comma("control id");
            position(true);
            break;
        }
        case ControlStatement::Generic: {
            // A picture static names its bitmap or icon by id instead of a text.
            const bool pictureId = Peek().kind == Token::Number || Peek().kind == Token::Name;
            item.text = pictureId ? QString::number(Id("picture id", 1)) : String("text");
            Comma("text");
            item.id = Id("control id", -1);
            Comma("control id");
            const QString name = String("window class");
            for (const char* c : controlClasses)
                if (name.compare(QLatin1String(c), Qt::CaseInsensitive) == 0)
                    item.className = QLatin1String(c);
            if (item.className.isEmpty())
                Error(QStringLiteral("unknown window class \"%1\"").arg(name));
            Comma("window class");
            item.style = Style(base);
            Comma("style");
            position(false);
            if (OptionalComma())
                item.exStyle = Style(0);
            if (pictureId)
                pictureUses.push_back({item.text.toInt(), line, IsBitmapStatic(item)});
            return item;
        }
        }
        item.className = QLatin1String(statement->className);
        item.style = base;
        if (OptionalComma()) {
            item.style = Style(base);
            if (OptionalComma())
                item.exStyle = Style(0);
        }
        if (item.className == QLatin1String("ComboBox") && (item.style & CBS_TYPEMASK) == 0)
            item.style |= CBS_SIMPLE;
        return item;
    }

    void DialogInit(int id, const Token& at)
    {
        for (const PendingInit& p : pendingInits)
            if (p.dialog == id)
                Error(at, QStringLiteral("DLGINIT %1 defined twice").arg(id));
        PendingInit pending{id, at.line, {}, {}};
        ExpectOpen();
        while (!IsClose(Peek())) {
            pending.lines.push_back(Peek().line);
            const int control = Id("control id");
            Comma("control id");
            pending.data.emplace_back(control, String("item"));
        }
        Take();
        pendingInits.push_back(std::move(pending));
    }

    void Menu(int id, const Token& at)
    {
        CheckUnique(out.menus, id, at, "menu");
        out.menus.insert(id, MenuItems(1));
    }

    std::vector<MenuItem> MenuItems(int depth)
    {
        if (depth > maxMenuDepth)
            Error(QStringLiteral("menus nested too deep"));
        std::vector<MenuItem> items;
        ExpectOpen();
        while (!IsClose(Peek())) {
            MenuItem item;
            if (IsWord(Peek(), "MENUITEM")) {
                Take();
                if (IsWord(Peek(), "SEPARATOR")) {
                    Take();
                    item.flags = MenuItem::Separator;
                } else {
                    item.text = String("menu text");
                    Comma("menu text");
                    item.id = Id("command id", 1);
                    item.flags = MenuOptions();
                }
            } else if (IsWord(Peek(), "POPUP")) {
                Take();
                item.text = String("menu text");
                item.flags = MenuItem::Popup | MenuOptions();
                item.children = MenuItems(depth + 1);
            } else {
                Error(QStringLiteral("expected MENUITEM or POPUP, found %1").arg(Describe(Peek())));
            }
            items.push_back(std::move(item));
        }
        Take();
        return items;
    }

    uint32_t MenuOptions()
    {
        uint32_t flags = 0;
        while (OptionalComma()) {
            const Token& t = Peek();
            const std::optional<uint32_t> option = t.kind == Token::Name ? Lookup(menuOptions, t.name) : std::nullopt;
            if (!option)
                Error(QStringLiteral("unknown menu option %1").arg(Describe(t)));
            Take();
            flags |= *option;
        }
        return flags;
    }

    void Accelerators(int id, const Token& at)
    {
        CheckUnique(out.accelerators, id, at, "accelerator table");
        std::vector<Accelerator> table;
        ExpectOpen();
        while (!IsClose(Peek()))
            table.push_back(AcceleratorEntry());
        Take();
        out.accelerators.insert(id, std::move(table));
    }

    Accelerator AcceleratorEntry()
    {
        const Token key = Peek();
        Accelerator a;
        bool named = false;
        if (key.kind == Token::String) {
            if (key.text.size() != 1)
                Error(QStringLiteral("accelerator key %1 must be one character").arg(Describe(key)));
            a.key = key.text[0].unicode();
        } else if (key.kind == Token::Name) {
            const std::optional<uint32_t> vk = Lookup(virtualKeys, key.name);
            if (!vk)
                Error(QStringLiteral("unknown key %1").arg(Describe(key)));
            a.key = *vk;
            named = true;
        } else {
            a.key = uint32_t(Number("key", 1, 0xFFFF));
        }
        if (key.kind != Token::Number)
            Take();
        Comma("key");
        a.command = Id("command id", 1);
        bool ascii = false;
        while (OptionalComma()) {
            const Token& t = Peek();
            const std::optional<uint32_t> option = t.kind == Token::Name ? Lookup(acceleratorOptions, t.name) : std::nullopt;
            if (!option)
                Error(QStringLiteral("unknown accelerator option %1").arg(Describe(t)));
            ascii = ascii || t.name == "ASCII";
            Take();
            a.flags |= *option;
        }
        const bool virtKey = a.flags & Accelerator::VirtKey;
        if (virtKey && ascii)
            Error(key, QStringLiteral("accelerator is both VIRTKEY and ASCII"));
        if (!virtKey && (a.flags & (Accelerator::Shift | Accelerator::Control | Accelerator::Alt)))
            Error(key, QStringLiteral("SHIFT, CONTROL and ALT need VIRTKEY"));
        if (named && !virtKey)
            Error(key, QStringLiteral("%1 needs VIRTKEY").arg(Describe(key)));
        // A virtual key written as a character is an upper-case letter or a digit; a lower-case
        // letter would silently stand for a numeric-keypad key.
        if (virtKey && key.kind == Token::String
            && !((a.key >= 'A' && a.key <= 'Z') || (a.key >= '0' && a.key <= '9')))
            Error(key, QStringLiteral("virtual key %1 must be an upper-case letter or a digit").arg(Describe(key)));
        return a;
    }

    void Toolbar(int id, const Token& at)
    {
        CheckUnique(out.toolbars, id, at, "toolbar");
        ToolbarResource bar;
        bar.width = Number("button width", 1, 256);
        Comma("button width");
        bar.height = Number("button height", 1, 256);
        ExpectOpen();
        while (!IsClose(Peek())) {
            if (IsWord(Peek(), "BUTTON")) {
                Take();
                bar.buttons.push_back(Id("command id", 1));
            } else if (IsWord(Peek(), "SEPARATOR")) {
                Take();
                bar.buttons.push_back(0);
            } else {
                Error(QStringLiteral("expected BUTTON or SEPARATOR, found %1").arg(Describe(Peek())));
            }
        }
        Take();
        out.toolbars.insert(id, std::move(bar));
    }

    void Icon(int id, const Token& at)
    {
        CheckUnique(out.icons, id, at, "icon");
        QStringList files{FilePath(at.line)};
        while (OptionalComma())
            files << FilePath(at.line);
        out.icons.insert(id, files);
    }

    void Custom(const QByteArray& type, int id, const Token& at)
    {
        for (const char* k : keywords)
            if (type == k)
                Error(at, QStringLiteral("%1 is not a resource type").arg(QString::fromLatin1(type)));
        if (Peek().kind != Token::String)
            Error(at, QStringLiteral("unknown resource type %1").arg(QString::fromLatin1(type)));
        QHash<int, QString>& ofType = out.customFiles[QString::fromLatin1(type)];
        if (ofType.contains(id))
            Error(at, QStringLiteral("%1 %2 defined twice").arg(QString::fromLatin1(type)).arg(id));
        ofType.insert(id, FilePath(at.line));
    }

    // What can only be checked once the whole script is read.
    void CheckReferences()
    {
        for (PendingInit& p : pendingInits) {
            const auto dialog = out.dialogs.find(p.dialog);
            if (dialog == out.dialogs.end())
                Fail(file, p.line, QStringLiteral("DLGINIT for dialog %1, which does not exist").arg(p.dialog));
            for (size_t i = 0; i < p.data.size(); ++i) {
                const int control = p.data[i].first, line = p.lines[i];
                const auto item = std::find_if(dialog->items.begin(), dialog->items.end(),
                                               [&](const DialogItem& i) { return i.id == control; });
                if (item == dialog->items.end())
                    Fail(file, line, QStringLiteral("control %1 is not in dialog %2").arg(control).arg(p.dialog));
                if (item->className != QLatin1String("ComboBox") && item->className != QLatin1String("ListBox"))
                    Fail(file, line, QStringLiteral("control %1 of dialog %2 is not a combo or list box")
                                         .arg(control).arg(p.dialog));
            }
            dialog->initData = std::move(p.data);
        }
        for (const PictureUse& use : pictureUses)
            if (use.bitmap ? !out.bitmaps.contains(use.id) : !out.icons.contains(use.id))
                Fail(file, use.line, QStringLiteral("%1 %2 does not exist")
                                         .arg(use.bitmap ? QStringLiteral("bitmap") : QStringLiteral("icon"))
                                         .arg(use.id));
    }
};

ResourceScript ResourceScript::Parse(const SourceText& script, const std::vector<SourceText>& headers)
{
    SymbolTable symbols;
    symbols.values.insert(QStringLiteral("IDC_STATIC"), -1);
    symbols.definedAt.insert(QStringLiteral("IDC_STATIC"), QStringLiteral("built in"));
    for (const SourceText& header : headers)
        ReadHeader(header, symbols);
    ResourceScript result;
    result.scriptName = script.fileName;
    result.symbols = symbols.values;
    ResourceScriptParser(result, script, symbols).Run();
    return result;
}

ResourceScript ResourceScript::Parse(const QByteArray& script, const QByteArray& header,
                                     const QString& fileName)
{
    return Parse({fileName, script}, {{QStringLiteral("resource.h"), header}});
}

} // namespace afx
