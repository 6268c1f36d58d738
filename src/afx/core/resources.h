// The console's resources, read once from the embedded resource script (src/res/README.md).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

namespace afx {

struct DialogItem {
    int id = -1;            // IDC_STATIC is -1
    QString className;      // canonical Windows class name: "Button", "Edit", "Static", "ComboBox",
                            // "ListBox", "SysListView32", "SysTreeView32", "SysDateTimePick32",
                            // "SysIPAddress32", "msctls_updown32", "SysTabControl32"
    QString text;           // caption; for ICON statements the icon id as decimal text
    uint32_t style = 0;     // with the statement's default style applied
    uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;   // dialog units

    bool operator==(const DialogItem&) const = default;
};

struct DialogTemplate {
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;   // dialog units
    uint32_t style = 0;
    uint32_t exStyle = 0;
    QString caption;
    int fontSize = 8;
    QString fontFace = QStringLiteral("MS Sans Serif");
    int fontWeight = 0;
    bool fontItalic = false;
    std::vector<DialogItem> items;                  // template order
    std::vector<std::pair<int, QString>> initData;  // DLGINIT: (control id, item), in order

    bool operator==(const DialogTemplate&) const = default;
};

struct MenuItem {
    enum Flag : uint32_t { Grayed = 1, Inactive = 2, Checked = 4, Separator = 8, Popup = 16,
                           MenuBarBreak = 32, MenuBreak = 64, Help = 128 };
    QString text;
    int id = 0;             // 0 for separators and popups
    uint32_t flags = 0;
    std::vector<MenuItem> children;   // popups only

    bool operator==(const MenuItem&) const = default;
};

struct Accelerator {
    enum Flag : uint32_t { VirtKey = 1, Shift = 4, Control = 8, Alt = 16, NoInvert = 2 };
    uint32_t flags = 0;
    uint32_t key = 0;       // virtual-key code (VK_*) or the character's code
    int command = 0;

    bool operator==(const Accelerator&) const = default;
};

struct ToolbarResource {
    int width = 0, height = 0;
    std::vector<int> buttons;   // command ids; 0 stands for a separator

    bool operator==(const ToolbarResource&) const = default;
};

class ResourceScript {
public:
    struct SourceText {
        QString fileName;   // as error messages name it
        QByteArray text;
    };

    // The console's script (console.rc with resource.h), compiled by the build
    // (":/console.rcbin") and read on first use.
    // Throws ResourceError when it is missing or malformed; the caller reports it at start-up.
    static const ResourceScript& Instance();

    // Parses a script held in memory; `header` is the text of resource.h, `fileName` names
    // the script in error messages. Throws ResourceError with file and line.
    static ResourceScript Parse(const QByteArray& script, const QByteArray& header,
                                const QString& fileName = QStringLiteral("console.rc"));
    // The same with the #defines of several headers (a name may not take two values).
    static ResourceScript Parse(const SourceText& script, const std::vector<SourceText>& headers);

    // The script's compact form, made at build time so that a start reads it without parsing,
    // and back. Compiled() is the same bytes for the same script. FromCompiled throws
    // ResourceError on bytes of another form or cut short.
    QByteArray Compiled() const;
    static ResourceScript FromCompiled(const QByteArray& bytes);

    // Throws ResourceError naming the statement of the first picture or custom file that is
    // missing from `folder` (":" for the embedded resources). Parse itself does not look.
    void CheckFiles(const QString& folder) const;

    const QString* String(int id) const;                    // nullptr when absent
    const DialogTemplate* Dialog(int id) const;
    const std::vector<MenuItem>* Menu(int id) const;         // the top-level items
    const std::vector<Accelerator>* Accelerators(int id) const;
    const ToolbarResource* Toolbar(int id) const;
    QStringList IconFiles(int id) const;                     // resource paths (":/pictures/..."), one per size
    QString BitmapFile(int id) const;                        // "" when absent
    std::optional<QByteArray> Custom(const QString& type, int id) const;   // raw bytes of the file
    std::optional<int> Symbol(const QString& name) const;    // a name of resource.h

    QList<int> StringIds() const;
    QList<int> DialogIds() const;
    QString Summary() const;    // one line: how many resources of each kind, and names

private:
    QHash<int, QString> strings;
    QHash<int, DialogTemplate> dialogs;
    QHash<int, std::vector<MenuItem>> menus;
    QHash<int, std::vector<Accelerator>> accelerators;
    QHash<int, ToolbarResource> toolbars;
    QHash<int, QStringList> icons;
    QHash<int, QString> bitmaps;
    QHash<QString, QHash<int, QString>> customFiles;   // type -> id -> resource path
    QHash<QString, int> symbols;
    QString scriptName;
    std::vector<std::pair<QString, int>> fileReferences;   // path below the resource folder, line

    friend class ResourceScriptParser;
};

// A resource text as it reads on screen: without its mnemonic marks, "&&" being one "&".
QString WithoutMnemonics(const QString& text);

class ResourceError : public std::exception {
public:
    explicit ResourceError(QString message) : message(std::move(message)), utf8(this->message.toUtf8()) {}
    const char* what() const noexcept override { return utf8.constData(); }
    QString message;
private:
    QByteArray utf8;
};

} // namespace afx
