// Clipboard items of a format registered by name, as Windows' RegisterClipboardFormat names
// them. On Qt the item is the MIME type application/x-qt-windows-mime;value="<name>", which
// Qt turns into that registered format on Windows. Plain text stays with QClipboard.
#pragma once

#include "afx/core/cstring.h"

#include <QByteArray>
#include <optional>

namespace afx {
// Empties the clipboard and puts the data there as its only item. TRUE when the clipboard
// holds it afterwards.
BOOL SetClipboardFormatData(const CString& format, const QByteArray& data);
// The data of the clipboard's item of that format; none when it holds no such item.
std::optional<QByteArray> ClipboardFormatData(const CString& format);
} // namespace afx
