// The resource script's compiled form: every table in key order through a QDataStream, behind
// a tag that names the form, so that an older or foreign blob is refused instead of misread.
#include "afx/core/resources.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <map>

namespace afx {

namespace {

constexpr quint32 kTag = 0x54524331;   // "TRC1": change it with the form
constexpr auto kVersion = QDataStream::Qt_6_0;

// Reads what the writer's QDataStream wrote (big-endian values; a string as its length in bytes,
// all ones for a null one, then UTF-16), straight from the bytes: every start reads the whole
// form, and a stream device costs a call per value. Reading past the end clears Ok().
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes) : at(bytes.constData()), end(at + bytes.size()) {}

    bool Ok() const { return ok; }
    bool AtEnd() const { return at == end; }

    ByteReader& operator>>(quint32& value)
    {
        value = Take(4) ? qFromBigEndian<quint32>(at - 4) : 0;
        return *this;
    }
    ByteReader& operator>>(int& value)
    {
        value = Take(4) ? qFromBigEndian<qint32>(at - 4) : 0;
        return *this;
    }
    ByteReader& operator>>(bool& value)
    {
        value = Take(1) && at[-1] != 0;
        return *this;
    }
    ByteReader& operator>>(QString& value)
    {
        quint32 bytes = 0;
        *this >> bytes;
        value = QString();
        if (!ok || bytes == 0xFFFFFFFF)
            return *this;
        if (bytes % 2 != 0 || !Take(bytes)) {
            ok = false;
            return *this;
        }
        value = QString(QLatin1StringView(""));   // empty, not null, as the stream reads it
        value.resize(bytes / 2);
        qFromBigEndian<char16_t>(at - bytes, bytes / 2, value.data());
        return *this;
    }
    ByteReader& operator>>(QStringList& list)
    {
        quint32 count = 0;
        *this >> count;
        list.clear();
        for (quint32 n = 0; n < count && ok; ++n)
            *this >> list.emplace_back();
        return *this;
    }
    template <typename A, typename B>
    ByteReader& operator>>(std::pair<A, B>& pair)
    {
        return *this >> pair.first >> pair.second;
    }

private:
    bool Take(qsizetype count)
    {
        if (!ok || end - at < count) {
            ok = false;
            return false;
        }
        at += count;
        return true;
    }

    const char* at;
    const char* end;
    bool ok = true;
};

// Declared ahead so that every operator below finds them.
template <typename T>
QDataStream& operator<<(QDataStream& out, const std::vector<T>& items);
template <typename T>
ByteReader& operator>>(ByteReader& in, std::vector<T>& items);
// In key order, unlike QHash's own.
template <typename T>
QDataStream& operator<<(QDataStream& out, const QHash<int, T>& table);
template <typename T>
ByteReader& operator>>(ByteReader& in, QHash<int, T>& table);

QDataStream& operator<<(QDataStream& out, const DialogItem& item)
{
    return out << item.id << item.className << item.text << item.style << item.exStyle << item.x << item.y
               << item.cx << item.cy;
}

ByteReader& operator>>(ByteReader& in, DialogItem& item)
{
    return in >> item.id >> item.className >> item.text >> item.style >> item.exStyle >> item.x >> item.y
           >> item.cx >> item.cy;
}

template <typename T>
QDataStream& WriteVector(QDataStream& out, const std::vector<T>& items);
template <typename T>
ByteReader& ReadVector(ByteReader& in, std::vector<T>& items);

QDataStream& operator<<(QDataStream& out, const MenuItem& item)
{
    out << item.text << item.id << item.flags;
    return WriteVector(out, item.children);
}

ByteReader& operator>>(ByteReader& in, MenuItem& item)
{
    in >> item.text >> item.id >> item.flags;
    return ReadVector(in, item.children);
}

QDataStream& operator<<(QDataStream& out, const Accelerator& accelerator)
{
    return out << accelerator.flags << accelerator.key << accelerator.command;
}

ByteReader& operator>>(ByteReader& in, Accelerator& accelerator)
{
    return in >> accelerator.flags >> accelerator.key >> accelerator.command;
}

QDataStream& operator<<(QDataStream& out, const DialogTemplate& dialog)
{
    out << dialog.id << dialog.x << dialog.y << dialog.cx << dialog.cy << dialog.style << dialog.exStyle
        << dialog.caption << dialog.fontSize << dialog.fontFace << dialog.fontWeight << dialog.fontItalic;
    WriteVector(out, dialog.items);
    return WriteVector(out, dialog.initData);
}

ByteReader& operator>>(ByteReader& in, DialogTemplate& dialog)
{
    in >> dialog.id >> dialog.x >> dialog.y >> dialog.cx >> dialog.cy >> dialog.style >> dialog.exStyle
        >> dialog.caption >> dialog.fontSize >> dialog.fontFace >> dialog.fontWeight >> dialog.fontItalic;
    ReadVector(in, dialog.items);
    return ReadVector(in, dialog.initData);
}

QDataStream& operator<<(QDataStream& out, const ToolbarResource& toolbar)
{
    out << toolbar.width << toolbar.height;
    return WriteVector(out, toolbar.buttons);
}

ByteReader& operator>>(ByteReader& in, ToolbarResource& toolbar)
{
    in >> toolbar.width >> toolbar.height;
    return ReadVector(in, toolbar.buttons);
}

template <typename T>
QDataStream& WriteVector(QDataStream& out, const std::vector<T>& items)
{
    out << quint32(items.size());
    for (const T& item : items)
        out << item;
    return out;
}

template <typename T>
ByteReader& ReadVector(ByteReader& in, std::vector<T>& items)
{
    quint32 count = 0;
    in >> count;
    items.clear();
    // Grown as read: a damaged count ends the stream instead of reserving memory.
    for (quint32 n = 0; n < count && in.Ok(); ++n) {
        T item{};
        in >> item;
        items.push_back(std::move(item));
    }
    return in;
}

// A table in key order, so that the same script gives the same bytes.
template <typename K, typename T>
void WriteTable(QDataStream& out, const QHash<K, T>& table)
{
    std::map<K, const T*> sorted;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        sorted.emplace(it.key(), &it.value());
    out << quint32(sorted.size());
    for (const auto& [key, value] : sorted)
        out << key << *value;
}

template <typename K, typename T>
void ReadTable(ByteReader& in, QHash<K, T>& table)
{
    quint32 count = 0;
    in >> count;
    table.clear();
    for (quint32 n = 0; n < count && in.Ok(); ++n) {
        K key{};
        T value{};
        in >> key >> value;
        table.insert(key, std::move(value));
    }
}

template <typename T>
QDataStream& operator<<(QDataStream& out, const std::vector<T>& items)
{
    return WriteVector(out, items);
}

template <typename T>
ByteReader& operator>>(ByteReader& in, std::vector<T>& items)
{
    return ReadVector(in, items);
}

template <typename T>
QDataStream& operator<<(QDataStream& out, const QHash<int, T>& table)
{
    WriteTable(out, table);
    return out;
}

template <typename T>
ByteReader& operator>>(ByteReader& in, QHash<int, T>& table)
{
    ReadTable(in, table);
    return in;
}

} // namespace

QByteArray ResourceScript::Compiled() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kVersion);
    out << kTag << scriptName;
    WriteTable(out, strings);
    WriteTable(out, dialogs);
    WriteTable(out, menus);
    WriteTable(out, accelerators);
    WriteTable(out, toolbars);
    WriteTable(out, icons);
    WriteTable(out, bitmaps);
    WriteTable(out, customFiles);
    WriteTable(out, symbols);
    WriteVector(out, fileReferences);
    return bytes;
}

ResourceScript ResourceScript::FromCompiled(const QByteArray& bytes)
{
    ByteReader in(bytes);
    quint32 tag = 0;
    in >> tag;
    if (tag != kTag)
        throw ResourceError(QStringLiteral("compiled resources: not of this program's form"));
    ResourceScript script;
    in >> script.scriptName;
    ReadTable(in, script.strings);
    ReadTable(in, script.dialogs);
    ReadTable(in, script.menus);
    ReadTable(in, script.accelerators);
    ReadTable(in, script.toolbars);
    ReadTable(in, script.icons);
    ReadTable(in, script.bitmaps);
    ReadTable(in, script.customFiles);
    ReadTable(in, script.symbols);
    ReadVector(in, script.fileReferences);
    if (!in.Ok() || !in.AtEnd())
        throw ResourceError(QStringLiteral("compiled resources: damaged"));
    return script;
}

} // namespace afx
