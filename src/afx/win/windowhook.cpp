// The window hook: Qt events turned into messages, key codes, dispatch to the map, GetKeyState.
#include "afx/win/hook.h"

#include "afx/win/gdi.h"
#include "afx/win/lockkeys.h"
#include "afx/win/winids.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWidget>

using afx::detail::WindowHook;

namespace {

QHash<QWidget*, WindowHook*>& Hooks()
{
    static QHash<QWidget*, WindowHook*> hooks;
    return hooks;
}

UINT VirtualKey(const QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return UINT('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return UINT('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return VK_F1 + UINT(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

// The WM_CHAR code a key produces, 0 for none: its text, Ctrl+letter as the control
// character, Backspace as 8 (Delete and the movement keys produce none).
UINT CharCode(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return UINT(1 + (key - Qt::Key_A));
    if (key == Qt::Key_Backspace)
        return VK_BACK;
    if (key == Qt::Key_Delete)
        return 0;
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    return text.at(0).unicode();
}

LPARAM KeyParam(const QKeyEvent* event)
{
    return MAKELPARAM(1, event->isAutoRepeat() ? 0x4000 : 0);
}

UINT MouseFlags(const QMouseEvent* event)
{
    UINT flags = 0;
    if (event->buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
    if (event->buttons() & Qt::RightButton) flags |= MK_RBUTTON;
    if (event->modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

// Keys of the dialog manager (focus moves, default and cancel buttons): they never reach a
// control's map, except Return for a multi-line edit that wants it.
bool IsDialogKey(const QKeyEvent* event, DWORD style)
{
    switch (event->key()) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
        return true;
    case Qt::Key_Return: case Qt::Key_Enter:
        return (style & (ES_MULTILINE | ES_WANTRETURN)) != (ES_MULTILINE | ES_WANTRETURN);
    default:
        return false;
    }
}

// F1: WM_HELP to the window, which passes it up to its parents until one handles it.
bool SendHelp(QWidget* widget)
{
    HELPINFO info;
    info.iCtrlId = afx::detail::CtrlIdOf(widget).value_or(0);
    info.hItemHandle = widget;
    const QPoint cursor = QCursor::pos();
    info.MousePos.x = cursor.x();
    info.MousePos.y = cursor.y();
    return CWnd::FromHandle(widget)->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

} // namespace

namespace afx::detail {

WindowHook::WindowHook(QWidget* widget) : QObject(widget), widget(widget)
{
    Hooks().insert(widget, this);
    widget->installEventFilter(this);
}

WindowHook::~WindowHook()
{
    Hooks().remove(widget);
    if (wrapper)
        wrapper->m_hWnd = nullptr;
    if (CWnd* attached = permanent) {
        permanent = nullptr;
        attached->m_hWnd = nullptr;
        attached->PostNcDestroy();
    }
}

WindowHook* WindowHook::Of(HWND widget)
{
    return Hooks().value(widget, nullptr);
}

WindowHook* WindowHook::Ensure(HWND widget)
{
    if (WindowHook* hook = Of(widget))
        return hook;
    return new WindowHook(widget);
}

void SetCtrlId(QWidget* widget, int id)
{
    WindowHook::Ensure(widget)->ctrlId = id;
    widget->setProperty(kCtrlId, id);
}

std::optional<int> CtrlIdOf(QWidget* widget)
{
    if (const WindowHook* hook = WindowHook::Of(widget); hook && hook->ctrlId)
        return hook->ctrlId;
    // A widget the layer did not make a window of, such as a status bar's pane, may carry
    // the property alone.
    const QVariant id = widget->property(kCtrlId);
    return id.isValid() ? std::optional<int>(id.toInt()) : std::nullopt;
}

CWnd* WindowHook::Target()
{
    if (permanent)
        return permanent;
    if (!wrapper) {
        wrapper.reset(windowClass && windowClass->newWrapper ? windowClass->newWrapper() : new CWnd);
        wrapper->m_hWnd = widget;
    }
    return wrapper.get();
}

bool WindowHook::HasHandler(UINT message)
{
    return permanent && permanent->FindMessageEntry(message, 0, 0);
}

bool WindowHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return KeyPress(event);
    case QEvent::Paint:
        return Paint(event);
    case QEvent::Show:
        // Before the window is mapped: the window manager reads the hints then.
        if (widget->isWindow())
            TellWindowManager(widget);
        return false;
    case QEvent::Resize:
        if (HasHandler(WM_SIZE)) {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            Dispatch(permanent, WM_SIZE, 0, MAKELPARAM(size.width(), size.height()), event);
            return true;
        }
        return false;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        UINT message = WM_MOUSEMOVE;
        if (event->type() != QEvent::MouseMove) {
            if (mouse->button() != Qt::LeftButton)
                return false;
            message = event->type() == QEvent::MouseButtonPress ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        }
        if (!HasHandler(message))
            return false;
        const QPoint p = mouse->position().toPoint();
        Dispatch(permanent, message, MouseFlags(mouse), MAKELPARAM(unsigned(p.x()), unsigned(p.y())), event);
        return true;
    }
    case QEvent::Close:
        if (HasHandler(WM_CLOSE)) {
            bool defaulted = false;
            Dispatch(permanent, WM_CLOSE, 0, 0, event, &defaulted);
            if (!defaulted)
                event->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool WindowHook::KeyPress(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1 && !HasHandler(WM_KEYDOWN))
        return SendHelp(widget);
    if (!permanent || IsDialogKey(key, style))
        return false;
    if (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Paste)) {
        const UINT message = key->matches(QKeySequence::Cut) ? WM_CUT : WM_PASTE;
        if (!HasHandler(message))
            return false;
        Dispatch(permanent, message, 0, 0, event);
        return true;
    }
    const UINT vk = VirtualKey(key);
    const UINT ch = CharCode(key);
    const bool keyDownMapped = vk && HasHandler(WM_KEYDOWN);
    const bool charMapped = ch && HasHandler(WM_CHAR);
    if (!keyDownMapped && !charMapped)
        return false;
    // The standard handling of a key that types a character belongs to WM_CHAR; of any other
    // key, to WM_KEYDOWN.
    bool keyDownDefaulted = false;
    if (keyDownMapped)
        Dispatch(permanent, WM_KEYDOWN, vk, KeyParam(key), ch ? nullptr : event, &keyDownDefaulted);
    if (charMapped)
        Dispatch(permanent, WM_CHAR, ch, KeyParam(key), event);
    else if (ch && widget)
        RunStandardHandling(widget, event);
    if (vk == VK_F1 && keyDownDefaulted)
        SendHelp(widget);
    return true;
}

bool WindowHook::Paint(QEvent* event)
{
    if (HasHandler(WM_ERASEBKGND)) {
        QPainter painter(widget);
        CDC dc(&painter);
        Dispatch(permanent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
    }
    if (!HasHandler(WM_PAINT))
        return false;
    Dispatch(permanent, WM_PAINT, 0, 0, event);
    return true;
}

void WindowHook::timerEvent(QTimerEvent* event)
{
    for (auto it = timers.cbegin(); it != timers.cend(); ++it) {
        if (it.value() == event->timerId()) {
            Dispatch(Target(), WM_TIMER, it.key(), 0);
            return;
        }
    }
}

} // namespace afx::detail

SHORT GetKeyState(int virtKey)
{
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    bool down = false;
    switch (virtKey) {
    case VK_SHIFT: down = mods & Qt::ShiftModifier; break;
    case VK_CONTROL: down = mods & Qt::ControlModifier; break;
    case VK_MENU: down = mods & Qt::AltModifier; break;
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL: return afx::detail::LockKeyOn(virtKey) ? SHORT(1) : SHORT(0);
    default: break;
    }
    return down ? SHORT(0x8000) : SHORT(0);
}
