// Inside the layer: what the core controls' files (statics.cpp, buttons.cpp, edits.cpp,
// comboboxes.cpp) share, and their registrations with the template builder.
#pragma once

#include "afx/win/hook.h"

namespace afx::detail {
// The control's window style as its template gave it.
inline DWORD StyleOf(QWidget* widget)
{
    WindowHook* hook = WindowHook::Of(widget);
    return hook ? hook->style : 0;
}

void RegisterStatic();
void RegisterButton();
void RegisterEdit();
void RegisterComboBox();
} // namespace afx::detail
