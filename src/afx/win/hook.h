// Internal to the layer: the object every window's widget carries. It is the widget's event
// filter (Qt events to messages), owns its timers and the wrapper FromHandle hands out, and
// holds the Windows state Qt has no place for (style bits, font object, window class).
#pragma once

#include "afx/win/dlgtemplate.h"
#include "afx/win/wnd.h"

#include <QHash>
#include <QObject>
#include <QWidget>
#include <memory>
#include <optional>

class QEvent;
class QTimerEvent;

namespace afx::detail {

inline constexpr char kCtrlId[] = "ctrlId";
inline constexpr char kTemplateId[] = "templateId";

class WindowHook : public QObject {
public:
    static WindowHook* Of(HWND widget);       // nullptr when the widget has none
    static WindowHook* Ensure(HWND widget);

    ~WindowHook() override;

    // The object messages go to: the attached one, else the wrapper (made on first use).
    CWnd* Target();
    bool HasHandler(UINT message);

    QWidget* const widget;
    CWnd* permanent = nullptr;
    std::unique_ptr<CWnd> wrapper;
    const WindowClass* windowClass = nullptr;
    DWORD style = 0;
    CFont* font = nullptr;
    std::unique_ptr<CFont> ownFont;   // the template font of a dialog
    std::optional<int> ctrlId;        // as in the "ctrlId" property; set only through SetCtrlId
    QHash<UINT_PTR, int> timers;      // event id -> Qt timer id

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit WindowHook(QWidget* widget);
    bool KeyPress(QEvent* event);
    bool Paint(QEvent* event);
};

// A control's id: kept in its hook, where finding a control by id reads it without a property
// look-up by name, and in its "ctrlId" property, where tests and tools find it.
void SetCtrlId(QWidget* widget, int id);
// The id given to the widget, if any.
std::optional<int> CtrlIdOf(QWidget* widget);

// Sends a message to the window's object with the Qt event it came from (nullptr for none),
// so Default() can hand that event to the widget. *defaulted tells whether Default() ran.
LRESULT Dispatch(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event = nullptr,
                 bool* defaulted = nullptr);

// The title bar a top-level window's style asks for: a caption (WS_CAPTION), the close box
// with the system menu (WS_SYSMENU), the minimise and maximise boxes.
Qt::WindowFlags TitleBarFlags(DWORD style);
// Tells an X11 window manager, as the window is about to be shown, which of moving, sizing,
// minimising, maximising and closing its title bar offers (as the flags above say): only
// those. Nothing elsewhere.
void TellWindowManager(QWidget* window);
// Moves a top-level window so that it stands centred on its owner's window, or on the screen
// when the owner is missing or hidden.
void CenterOnOwner(QWidget* window, QWidget* owner);
// Sizes a top-level window; one whose style has no sizing border (WS_THICKFRAME) keeps that
// size: the user cannot resize it, the program still can.
void SetWindowSize(QWidget* window, QSize size);
// The window whose control notifications UpdateData is locking out (nullptr for none).
HWND& LockoutNotifyWindow();

// Runs the widget's own handling of an event, past every filter.
inline void RunStandardHandling(QWidget* widget, QEvent* event)
{
    static_cast<QObject*>(widget)->event(event);
}

} // namespace afx::detail
