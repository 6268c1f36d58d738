// The console's resource script, parsed once from the embedded files, and its look-ups.
#include "afx/core/resources.h"

#include "afx/core/cstring.h"
#include "afx/core/rctokens.h"

#include <QFile>

namespace afx {

namespace {

QByteArray ReadEmbedded(const QString& name)
{
    QFile f(QStringLiteral(":/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw ResourceError(QStringLiteral("%1: not among the embedded resources").arg(name));
    return f.readAll();
}

} // namespace

const ResourceScript& ResourceScript::Instance()
{
    // A failed first use throws and leaves the static uninitialised, so the next call tries
    // (and reports) again.
    static const ResourceScript instance = [] {
        ResourceScript script = FromCompiled(ReadEmbedded(QStringLiteral("console.rcbin")));
        script.CheckFiles(QStringLiteral(":"));
        return script;
    }();
    return instance;
}

QString WithoutMnemonics(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && ++i == text.size())
            break;
        plain += text[i];
    }
    return plain;
}

// Here rather than beside the parser: the program checks its compiled script without parsing.
void ResourceScript::CheckFiles(const QString& folder) const
{
    for (const auto& [path, line] : fileReferences)
        if (!QFile::exists(folder + u'/' + path))
            rc::Fail(scriptName, line, QStringLiteral("file \"%1\" not found in %2").arg(path, folder));
}

namespace {

template <typename T>
const T* Find(const QHash<int, T>& hash, int id)
{
    const auto it = hash.constFind(id);
    return it == hash.cend() ? nullptr : &*it;
}

} // namespace

const QString* ResourceScript::String(int id) const
{
    return Find(strings, id);
}

const DialogTemplate* ResourceScript::Dialog(int id) const
{
    return Find(dialogs, id);
}

const std::vector<MenuItem>* ResourceScript::Menu(int id) const
{
    return Find(menus, id);
}

const std::vector<Accelerator>* ResourceScript::Accelerators(int id) const
{
    return Find(accelerators, id);
}

const ToolbarResource* ResourceScript::Toolbar(int id) const
{
    return Find(toolbars, id);
}

QStringList ResourceScript::IconFiles(int id) const
{
    return icons.value(id);
}

QString ResourceScript::BitmapFile(int id) const
{
    return bitmaps.value(id);
}

std::optional<QByteArray> ResourceScript::Custom(const QString& type, int id) const
{
    const QString path = customFiles.value(type).value(id);
    if (path.isEmpty())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

std::optional<int> ResourceScript::Symbol(const QString& name) const
{
    const auto it = symbols.constFind(name);
    return it == symbols.cend() ? std::nullopt : std::optional<int>(*it);
}

QList<int> ResourceScript::StringIds() const
{
    return strings.keys();
}

QList<int> ResourceScript::DialogIds() const
{
    return dialogs.keys();
}

QString ResourceScript::Summary() const
{
    qsizetype custom = 0;
    for (const auto& ofType : customFiles)
        custom += ofType.size();
    return QStringLiteral("%1 strings, %2 dialogs, %3 menus, %4 accelerator tables, %5 toolbars, "
                          "%6 icons, %7 bitmaps, %8 custom resources, %9 names")
        .arg(strings.size()).arg(dialogs.size()).arg(menus.size()).arg(accelerators.size())
        .arg(toolbars.size()).arg(icons.size()).arg(bitmaps.size()).arg(custom)
        .arg(symbols.size());
}

} // namespace afx

BOOL CString::LoadString(UINT id)
{
    const QString* found = id <= 0xFFFF ? afx::ResourceScript::Instance().String(int(id)) : nullptr;
    *this = found ? CString(*found) : CString();
    return found ? TRUE : FALSE;
}
