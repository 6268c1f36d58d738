// Dialog mnemonics as Windows' dialog manager has them, in every window of the program.
#pragma once

namespace afx {

// Alt and a letter (or the letter alone while a button has the focus) acts on the control of
// the focused dialog, page or dialog bar whose text marks that letter with "&": a button is
// clicked (a check box toggled, a radio button chosen), a label or a group box moves the focus
// to the next tab stop after it. When two controls of that window share the letter, the focus
// only moves to the next of them. Hidden and disabled controls take no part. A letter no
// control of the window holds opens the menu of the top-level window's menu bar that has it.
// Installed once, on the application, while it runs (AfxWinMain does it).
void InstallDialogMnemonics();

} // namespace afx
