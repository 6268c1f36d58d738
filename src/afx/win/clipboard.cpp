#include "afx/win/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QString MimeType(const CString& format)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QString(format));
}

QClipboard::Mode Mode(WPARAM pasteSource)
{
    return pasteSource == afx::kPasteSelection ? QClipboard::Selection : QClipboard::Clipboard;
}

} // namespace

BOOL afx::SetClipboardFormatData(const CString& format, const QByteArray& data)
{
    auto* item = new QMimeData;
    item->setData(MimeType(format), data);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(item);
    const QMimeData* held = clipboard->mimeData();
    return held && held->data(MimeType(format)) == data;
}

std::optional<QByteArray> afx::ClipboardFormatData(const CString& format, WPARAM pasteSource)
{
    const QMimeData* held = QGuiApplication::clipboard()->mimeData(Mode(pasteSource));
    if (!held || !held->hasFormat(MimeType(format)))
        return std::nullopt;
    return held->data(MimeType(format));
}

CString afx::ClipboardText(WPARAM pasteSource)
{
    return QGuiApplication::clipboard()->text(Mode(pasteSource));
}
