// Clipboard items of a format registered by name, as Windows' RegisterClipboardFormat names
// them. On Qt the item is the MIME type application/x-qt-windows-mime;value="<name>", which
// Qt turns into that registered format on Windows. Plain text stays with QClipboard.
//
// What a paste reads: WM_PASTE's wParam names it. 0 (Ctrl+V, Shift+Insert, the context menu,
// CEdit::Paste) is the clipboard; kPasteSelection is the X11 selection a middle click pastes.
// A field's WM_PASTE handler reads through ClipboardText/ClipboardFormatData with that wParam,
// so that both ways meet the same checks.
#pragma once

#include "afx/win/windefs.h"

#include <QByteArray>
#include <optional>

namespace afx {
inline constexpr WPARAM kPasteClipboard = 0;
inline constexpr WPARAM kPasteSelection = 1;

// Empties the clipboard and puts the data there as its only item. TRUE when the clipboard
// holds it afterwards.
BOOL SetClipboardFormatData(const CString& format, const QByteArray& data);
// The data of the item of that format on the clipboard (or the selection); none when it
// holds no such item.
std::optional<QByteArray> ClipboardFormatData(const CString& format, WPARAM pasteSource = kPasteClipboard);
// The plain text of the clipboard (or the selection); empty when it holds none.
CString ClipboardText(WPARAM pasteSource = kPasteClipboard);
} // namespace afx
