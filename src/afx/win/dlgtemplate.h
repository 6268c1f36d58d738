// Building widgets from dialog templates, and the registry of window classes ("Edit",
// "Button", ...) that makes each control's widget. Other control classes register here.
#pragma once

#include "afx/win/wnd.h"

#include <QFont>
#include <QString>

namespace afx {

struct DialogItem;
struct DialogTemplate;
class ResourceScript;

// The template of a dialog: from the script a test put in front, else the console's own.
const DialogTemplate* FindDialogTemplate(UINT id);
// Puts a script in front of the console's for dialog templates (tests build their dialogs from
// small scripts); nullptr removes it. Returns the previous one.
const ResourceScript* SetDialogResources(const ResourceScript* script);

// What a window class needs to make a control; the rectangle is in pixels.
struct ControlSpec {
    QString className;
    CString text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    CRect rect;
};

struct WindowClass {
    QString name;   // canonical Windows class name, compared without regard to case
    // Makes the control's widget (a child of parent) and connects its notifications
    // (NotifyParent). The builder then applies id, rectangle, font, WS_VISIBLE, WS_DISABLED.
    QWidget* (*create)(const ControlSpec& spec, QWidget* parent) = nullptr;
    // The class's standard handling of messages (SendMessage, Default()); nullptr: none beyond
    // the common one. Returns TRUE in *handled when it knew the message. CreateControl also
    // sends it WM_CREATE (lParam 0) once the control has its id, style and rectangle.
    LRESULT (*defWindowProc)(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) = nullptr;
    // The MFC object FromHandle wraps an unattached control of this class in.
    CWnd* (*newWrapper)() = nullptr;
    // Text of the control: nullptr means the widget's window title.
    CString (*getText)(HWND hWnd) = nullptr;
    void (*setText)(HWND hWnd, const CString& text) = nullptr;
};

// Registers (or replaces) a window class. The core classes register themselves on first use
// of the registry; others register before they build a dialog that holds their controls.
void RegisterWindowClass(const WindowClass& windowClass);
const WindowClass* FindWindowClass(const QString& name);
const WindowClass* WindowClassOf(HWND hWnd);

// Makes a control of a registered class; nullptr for an unknown class.
QWidget* CreateControl(const ControlSpec& spec, QWidget* parent);

// Sends a control notification to the control's parent: WM_COMMAND (id, code) with the
// control in lParam. The parent's map or the control's reflection entry handles it.
void NotifyParent(QWidget* control, UINT code);
// Sends WM_NOTIFY with the given header (hwndFrom, idFrom filled here); returns its result.
LRESULT NotifyParent(QWidget* control, NMHDR& header);

// Dialog base units of a font, as Windows computes them: the average width of "A".."Z" and
// "a".."z" rounded, and the font's height.
CSize DialogBaseUnits(const QFont& font);
// The font a template names: faces missing here map as CFont::FromFace does, at the point
// size in pixels at 96 dots per inch.
QFont TemplateFont(const DialogTemplate& tmpl);
// Dialog units to pixels, rounded as MulDiv does: x * baseX / 4, y * baseY / 8. A control's
// position and size are converted separately, as the dialog manager does.
int DialogUnitsToPixelsX(int x, CSize baseUnits);
int DialogUnitsToPixelsY(int y, CSize baseUnits);
CRect ItemRectInPixels(int x, int y, int cx, int cy, CSize baseUnits);

// Makes the children of a template in template order inside a dialog widget that has the
// template's font; sizes the widget from the template; adds DLGINIT items to their combo
// boxes. Every child carries its id (property "ctrlId"), the dialog its "templateId".
void BuildDialog(QWidget* dialog, const DialogTemplate& tmpl);

} // namespace afx
