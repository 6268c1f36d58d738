#include "afx/win/wnd.h"

#include "afx/win/ddx.h"
#include "afx/win/gdi.h"
#include "afx/win/hook.h"
#include "afx/win/lockkeys.h"
#include "afx/win/prompts.h"
#include "afx/win/winids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimerEvent>
#include <QWidget>
#include <vector>

using afx::detail::WindowHook;

namespace {

QHash<QWidget*, WindowHook*>& Hooks()
{
    static QHash<QWidget*, WindowHook*> hooks;
    return hooks;
}

// The messages being handled, innermost last: what Default() and GetCurrentMessage see.
struct CurrentMessage {
    MSG msg;
    QEvent* event;
    bool defaulted;
};
std::vector<CurrentMessage*>& MessageStack()
{
    static std::vector<CurrentMessage*> stack;
    return stack;
}

// Runs the widget's own handling of an event, past every filter.
void RunStandardHandling(QWidget* widget, QEvent* event)
{
    static_cast<QObject*>(widget)->event(event);
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
    info.iCtrlId = widget->property(afx::detail::kCtrlId).toInt();
    info.hItemHandle = widget;
    const QPoint cursor = QCursor::pos();
    info.MousePos.x = cursor.x();
    info.MousePos.y = cursor.y();
    return CWnd::FromHandle(widget)->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool IsSiblingWindow(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && !widget->isWindow();
}

} // namespace

namespace afx::detail {

Qt::WindowFlags TitleBarFlags(DWORD style)
{
    Qt::WindowFlags flags = Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

void CenterOnOwner(QWidget* window, QWidget* owner)
{
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen* screen = owner ? owner->screen() : window->screen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QSize size = window->frameGeometry().size();
    // A window never shown has no frame yet: take the owner's for its size.
    if (owner && size == window->size())
        size += owner->frameGeometry().size() - owner->size();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void SetWindowSize(QWidget* window, QSize size)
{
    WindowHook* hook = WindowHook::Of(window);
    if (window->isWindow() && hook && !(hook->style & WS_THICKFRAME))
        window->setFixedSize(size);
    else
        window->resize(size);
}

HWND& LockoutNotifyWindow()
{
    static HWND window = nullptr;
    return window;
}

UINT VirtualKeyOf(const QKeyEvent* event)
{
    return VirtualKey(event);
}

LRESULT Dispatch(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event, bool* defaulted)
{
    CurrentMessage current{{target->m_hWnd, message, wParam, lParam}, event, false};
    MessageStack().push_back(&current);
    struct Pop { ~Pop() { MessageStack().pop_back(); } } pop;
    const LRESULT result = target->WindowProc(message, wParam, lParam);
    if (defaulted)
        *defaulted = current.defaulted;
    return result;
}

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
    case QEvent::Resize:
        if (HasHandler(WM_SIZE)) {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            Dispatch(permanent, WM_SIZE, 0, MAKELPARAM(size.width(), size.height()), event);
            return true;
        }
        return false;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        UINT message = WM_MOUSEMOVE;
        if (event->type() != QEvent::MouseMove) {
            if (mouse->button() != Qt::LeftButton)
                return false;
            message = event->type() == QEvent::MouseButtonPress ? WM_LBUTTONDOWN
                      : event->type() == QEvent::MouseButtonRelease ? WM_LBUTTONUP
                                                                     : WM_LBUTTONDBLCLK;
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

// ---- CWnd ----

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    if (m_ownsWidget)
        DestroyWindow();
    else
        Detach();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return hWnd ? WindowHook::Ensure(hWnd)->Target() : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    WindowHook* hook = hWnd ? WindowHook::Of(hWnd) : nullptr;
    return hook ? hook->permanent : nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    WindowHook* hook = WindowHook::Ensure(hWnd);
    if (hook->permanent) {
        qWarning("afx: a window is already attached to this widget");
        return FALSE;
    }
    hook->permanent = this;
    m_hWnd = hWnd;
    if (FindMessageEntry(WM_MOUSEMOVE, 0, 0))
        hWnd->setMouseTracking(true);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (WindowHook* hook = hWnd ? WindowHook::Of(hWnd) : nullptr; hook && hook->permanent == this)
        hook->permanent = nullptr;
    m_hWnd = nullptr;
    m_ownsWidget = false;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    return Attach(hWnd);
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    CWnd* item = pParent ? pParent->GetDlgItem(int(nID)) : nullptr;
    return item && SubclassWindow(item->m_hWnd);
}

BOOL CWnd::Create(const CString& lpszClassName, const CString& lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const CString& lpszClassName, const CString& lpszWindowName,
                    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    CREATESTRUCT cs;
    cs.lpCreateParams = lpParam;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = nID;
    cs.x = int(rect.left);
    cs.y = int(rect.top);
    cs.cx = int(rect.right - rect.left);
    cs.cy = int(rect.bottom - rect.top);
    cs.style = dwStyle;
    cs.dwExStyle = dwExStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    if (!PreCreateWindow(cs))
        return FALSE;
    afx::ControlSpec spec{cs.lpszClass, cs.lpszName, cs.style, cs.dwExStyle, int(nID),
                          CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy)};
    QWidget* widget = afx::CreateControl(spec, cs.hwndParent);
    if (!widget)
        widget = new QWidget(cs.hwndParent);
    return CreateWithWidget(widget, cs);
}

BOOL CWnd::CreateWithWidget(HWND widget, CREATESTRUCT& cs)
{
    if (!Attach(widget)) {
        delete widget;
        return FALSE;
    }
    m_ownsWidget = true;
    WindowHook* hook = WindowHook::Of(widget);
    hook->style = cs.style;
    hook->exStyle = cs.dwExStyle;
    widget->setProperty(afx::detail::kCtrlId, int(cs.hMenu));
    if (!cs.lpszName.IsEmpty())
        SetWindowText(cs.lpszName);
    if (cs.cx > 0 || cs.cy > 0)
        MoveWindow(cs.x, cs.y, cs.cx, cs.cy, FALSE);
    widget->setEnabled(!(cs.style & WS_DISABLED));
    if (afx::detail::Dispatch(this, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (cs.style & WS_VISIBLE)
        widget->show();
    return TRUE;
}

namespace {
// WM_DESTROY to a window, then to its attached descendants, as Windows orders it.
void SendDestroy(QWidget* widget)
{
    QPointer<QWidget> guard(widget);
    if (CWnd* wnd = CWnd::FromHandlePermanent(widget))
        wnd->SendMessage(WM_DESTROY);
    if (!guard)
        return;
    for (QObject* child : widget->children()) {
        if (auto* childWidget = qobject_cast<QWidget*>(child))
            SendDestroy(childWidget);
    }
}
} // namespace

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    QPointer<QWidget> widget = m_hWnd;
    SendDestroy(widget);
    delete widget.data();   // the hooks detach the objects and call PostNcDestroy
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* target = FromHandle(m_hWnd);
    return target ? afx::detail::Dispatch(target, message, wParam, lParam) : 0;
}

namespace {
// Calls `call` once the event being handled has returned, and never when the widget is gone by
// then: the hook, its context, goes with the widget.
void PostToWindow(HWND widget, std::function<void()> call)
{
    QMetaObject::invokeMethod(WindowHook::Ensure(widget), std::move(call), Qt::QueuedConnection);
}
} // namespace

void CWnd::DestroyWindowLater(std::function<void()> destroy)
{
    if (!m_hWnd)
        return;
    HWND widget = m_hWnd;
    PostToWindow(widget, destroy ? std::move(destroy) : [widget] { CWnd::FromHandle(widget)->DestroyWindow(); });
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return FALSE;
    HWND widget = m_hWnd;
    PostToWindow(widget, [widget, message, wParam, lParam] {
        CWnd::FromHandle(widget)->SendMessage(message, wParam, lParam);
    });
    return TRUE;
}

const MSG* CWnd::GetCurrentMessage()
{
    return MessageStack().empty() ? nullptr : &MessageStack().back()->msg;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (!entry)
        return FALSE;
    *pResult = entry->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const int code = int(HIWORD(wParam));
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control) {
        if (afx::detail::LockoutNotifyWindow() == m_hWnd)
            return TRUE;   // an exchange of this window is running
        LRESULT result = 0;
        if (CWnd* child = FromHandlePermanent(control); child && child->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
            return TRUE;
    }
    return OnCmdMsg(id, control ? code : int(CN_COMMAND), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (afx::detail::LockoutNotifyWindow() == m_hWnd)
        return TRUE;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_NOTIFY, header->code, UINT(header->idFrom));
    if (!entry)
        return FALSE;
    *pResult = entry->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const UINT code = message == WM_COMMAND ? HIWORD(wParam) : reinterpret_cast<const NMHDR*>(lParam)->code;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_REFLECT_BASE + message, code, 0);
    if (!entry)
        return FALSE;
    *pResult = entry->pfn(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    WindowHook* hook = WindowHook::Ensure(m_hWnd);
    if (hook->windowClass && hook->windowClass->defWindowProc) {
        bool handled = false;
        const LRESULT result = hook->windowClass->defWindowProc(m_hWnd, message, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    switch (message) {
    case WM_SETTEXT:
        SetWindowText(*reinterpret_cast<const CString*>(lParam));
        return TRUE;
    case WM_SETFONT:
        hook->font = reinterpret_cast<CFont*>(wParam);
        if (hook->font && hook->font->IsCreated())
            m_hWnd->setFont(hook->font->GetQFont());
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(hook->font);
    case WM_HELP:
        if (!m_hWnd->isWindow() && m_hWnd->parentWidget())
            return FromHandle(m_hWnd->parentWidget())->SendMessage(WM_HELP, wParam, lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindowLater();
        return 0;
    default:
        return 0;
    }
}

LRESULT CWnd::Default()
{
    if (MessageStack().empty())
        return 0;
    CurrentMessage* current = MessageStack().back();
    if (current->event && !current->defaulted) {
        current->defaulted = true;
        if (m_hWnd)
            RunStandardHandling(m_hWnd, current->event);
        return 0;
    }
    current->defaulted = true;
    return DefWindowProc(current->msg.message, current->msg.wParam, current->msg.lParam);
}

int CWnd::GetDlgCtrlID() const
{
    return m_hWnd ? m_hWnd->property(afx::detail::kCtrlId).toInt() : 0;
}

int CWnd::SetDlgCtrlID(int nID)
{
    const int previous = GetDlgCtrlID();
    if (m_hWnd)
        m_hWnd->setProperty(afx::detail::kCtrlId, nID);
    return previous;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    if (!m_hWnd)
        return nullptr;
    for (QObject* child : m_hWnd->children()) {
        if (IsSiblingWindow(child) && child->property(afx::detail::kCtrlId).toInt() == nID
            && child->property(afx::detail::kCtrlId).isValid())
            return FromHandle(static_cast<QWidget*>(child));
    }
    return nullptr;
}

CWnd* CWnd::GetParent() const
{
    return m_hWnd ? FromHandle(m_hWnd->parentWidget()) : nullptr;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    if (!m_hWnd)
        return nullptr;
    auto windowsOf = [](QWidget* parent) {
        QList<QWidget*> windows;
        if (parent) {
            for (QObject* child : parent->children()) {
                if (IsSiblingWindow(child))
                    windows.append(static_cast<QWidget*>(child));
            }
        }
        return windows;
    };
    if (nCmd == GW_CHILD) {
        const QList<QWidget*> children = windowsOf(m_hWnd);
        return children.isEmpty() ? nullptr : FromHandle(children.first());
    }
    if (nCmd == GW_OWNER)
        return m_hWnd->isWindow() ? FromHandle(m_hWnd->parentWidget()) : nullptr;
    if (m_hWnd->isWindow())
        return nullptr;
    const QList<QWidget*> siblings = windowsOf(m_hWnd->parentWidget());
    const qsizetype index = siblings.indexOf(m_hWnd);
    switch (nCmd) {
    case GW_HWNDFIRST: return FromHandle(siblings.first());
    case GW_HWNDLAST: return FromHandle(siblings.last());
    case GW_HWNDNEXT: return index + 1 < siblings.size() ? FromHandle(siblings.at(index + 1)) : nullptr;
    case GW_HWNDPREV: return index > 0 ? FromHandle(siblings.at(index - 1)) : nullptr;
    default: return nullptr;
    }
}

CWnd* CWnd::GetTopLevelParent() const
{
    return m_hWnd ? FromHandle(m_hWnd->window()) : nullptr;
}

int GetClassName(HWND hWnd, LPTSTR lpszClassName, int nMaxCount)
{
    if (!hWnd || nMaxCount <= 0)
        return 0;
    const afx::WindowClass* windowClass = afx::WindowClassOf(hWnd);
    const QString name = windowClass ? windowClass->name : QString();
    const int count = int(qMin<qsizetype>(name.size(), nMaxCount - 1));
    std::copy_n(reinterpret_cast<const TCHAR*>(name.utf16()), count, lpszClassName);
    lpszClassName[count] = 0;
    return count;
}

int CWnd::GetClassName(LPTSTR lpszClassName, int nMaxCount) const
{
    return ::GetClassName(m_hWnd, lpszClassName, nMaxCount);
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    return m_hWnd && pWnd && pWnd->m_hWnd && pWnd->m_hWnd != m_hWnd && m_hWnd->isAncestorOf(pWnd->m_hWnd);
}

void CWnd::SetWindowText(const CString& lpszString)
{
    if (!m_hWnd)
        return;
    const afx::WindowClass* windowClass = afx::WindowClassOf(m_hWnd);
    if (windowClass && windowClass->setText)
        windowClass->setText(m_hWnd, lpszString);
    else
        m_hWnd->setWindowTitle(lpszString);
}

void CWnd::GetWindowText(CString& rString) const
{
    if (!m_hWnd) {
        rString.Empty();
        return;
    }
    const afx::WindowClass* windowClass = afx::WindowClassOf(m_hWnd);
    rString = windowClass && windowClass->getText ? windowClass->getText(m_hWnd)
                                                   : CString(m_hWnd->windowTitle());
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    if (nMaxCount <= 0)
        return 0;
    CString text;
    GetWindowText(text);
    const int count = qMin(text.GetLength(), nMaxCount - 1);
    std::copy_n(text.GetString(), count, lpszStringBuf);
    lpszStringBuf[count] = 0;
    return count;
}

int CWnd::GetWindowTextLength() const
{
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemText(int nID, const CString& lpszString)
{
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* item = GetDlgItem(nID))
        item->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    SetDlgItemText(nID, bSigned ? CString(QString::number(int(nValue))) : CString(QString::number(nValue)));
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    CString text;
    GetDlgItemText(nID, text);
    bool ok = false;
    const QString trimmed = QString(text).trimmed();
    UINT value = 0;
    if (bSigned)
        value = UINT(trimmed.toInt(&ok));
    else if (!trimmed.startsWith(u'-'))
        value = trimmed.toUInt(&ok);
    if (lpTrans)
        *lpTrans = ok;
    return ok ? value : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (CWnd* item = GetDlgItem(nIDButton))
        item->SendMessage(BM_SETCHECK, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    CWnd* item = GetDlgItem(nIDButton);
    return item ? UINT(item->SendMessage(BM_GETCHECK)) : 0;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (!m_hWnd)
        return FALSE;
    const BOOL wasDisabled = m_hWnd->testAttribute(Qt::WA_Disabled);
    m_hWnd->setEnabled(bEnable);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && !m_hWnd->testAttribute(Qt::WA_Disabled);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_hWnd)
        return FALSE;
    const BOOL wasVisible = !m_hWnd->isHidden();
    m_hWnd->setVisible(nCmdShow != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd && m_hWnd->isVisible();
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    if (m_hWnd)
        m_hWnd->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(QApplication::focusWidget());
}

DWORD CWnd::GetStyle() const
{
    if (!m_hWnd)
        return 0;
    DWORD style = WindowHook::Ensure(m_hWnd)->style & ~(WS_VISIBLE | WS_DISABLED);
    if (!m_hWnd->isHidden())
        style |= WS_VISIBLE;
    if (m_hWnd->testAttribute(Qt::WA_Disabled))
        style |= WS_DISABLED;
    return style;
}

DWORD CWnd::GetExStyle() const
{
    return m_hWnd ? WindowHook::Ensure(m_hWnd)->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    if (!m_hWnd)
        return FALSE;
    const DWORD before = GetStyle();
    const DWORD after = (before & ~dwRemove) | dwAdd;
    if (after == before)
        return FALSE;
    WindowHook::Ensure(m_hWnd)->style = after;
    m_hWnd->setVisible(after & WS_VISIBLE);
    m_hWnd->setEnabled(!(after & WS_DISABLED));
    return TRUE;
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    *lpRect = m_hWnd ? CRect(m_hWnd->rect()) : CRect();
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!m_hWnd) {
        *lpRect = CRect();
        return;
    }
    *lpRect = m_hWnd->isWindow() ? CRect(m_hWnd->frameGeometry())
                                 : CRect(QRect(m_hWnd->mapToGlobal(QPoint(0, 0)), m_hWnd->size()));
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    if (!m_hWnd)
        return;
    if (m_hWnd->isWindow()) {
        const QSize frameExtra = m_hWnd->frameGeometry().size() - m_hWnd->size();
        m_hWnd->move(x, y);
        afx::detail::SetWindowSize(m_hWnd, QSize(qMax(0, nWidth - frameExtra.width()), qMax(0, nHeight - frameExtra.height())));
    } else {
        m_hWnd->setGeometry(x, y, nWidth, nHeight);
    }
    if (bRepaint)
        m_hWnd->update();
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(int(lpRect->left), int(lpRect->top), int(lpRect->right - lpRect->left),
               int(lpRect->bottom - lpRect->top), bRepaint);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    if (!m_hWnd || !m_hWnd->isWindow())
        return;
    QWidget* owner = pAlternateOwner ? pAlternateOwner->m_hWnd : m_hWnd->parentWidget();
    afx::detail::CenterOnOwner(m_hWnd, owner ? owner->window() : nullptr);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    // The stacking order is the dialog's control order: it never changes here.
    if (!m_hWnd)
        return FALSE;
    CRect rect;
    GetWindowRect(rect);
    if (!m_hWnd->isWindow() && m_hWnd->parentWidget())
        rect = CRect(m_hWnd->geometry());
    if (nFlags & SWP_NOMOVE) {
        x = int(rect.left);
        y = int(rect.top);
    }
    if (nFlags & SWP_NOSIZE) {
        cx = rect.Width();
        cy = rect.Height();
    }
    if ((nFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        MoveWindow(x, y, cx, cy, !(nFlags & SWP_NOREDRAW));
    if (nFlags & SWP_SHOWWINDOW)
        m_hWnd->show();
    if (nFlags & SWP_HIDEWINDOW)
        m_hWnd->hide();
    return TRUE;
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    *lpPoint = CPoint(m_hWnd->mapFromGlobal(QPoint(int(lpPoint->x), int(lpPoint->y))));
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    const QPoint offset = m_hWnd->mapFromGlobal(QPoint(0, 0));
    CRect moved(*lpRect);
    moved.OffsetRect(offset.x(), offset.y());
    *lpRect = moved;
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    *lpPoint = CPoint(m_hWnd->mapToGlobal(QPoint(int(lpPoint->x), int(lpPoint->y))));
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    const QPoint offset = m_hWnd->mapToGlobal(QPoint(0, 0));
    CRect moved(*lpRect);
    moved.OffsetRect(offset.x(), offset.y());
    *lpRect = moved;
}

void CWnd::Invalidate(BOOL bErase)
{
    if (m_hWnd)
        m_hWnd->update();
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    if (!m_hWnd)
        return;
    if (lpRect)
        m_hWnd->update(QRect(CRect(*lpRect)));
    else
        m_hWnd->update();
}

void CWnd::UpdateWindow()
{
    if (m_hWnd)
        m_hWnd->repaint();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont), bRedraw);
}

CFont* CWnd::GetFont() const
{
    return m_hWnd ? reinterpret_cast<CFont*>(FromHandle(m_hWnd)->SendMessage(WM_GETFONT)) : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer)
{
    if (!m_hWnd)
        return 0;
    WindowHook* hook = WindowHook::Ensure(m_hWnd);
    if (const int existing = hook->timers.value(nIDEvent, 0))
        hook->killTimer(existing);
    hook->timers.insert(nIDEvent, hook->startTimer(int(nElapse)));
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    WindowHook* hook = m_hWnd ? WindowHook::Of(m_hWnd) : nullptr;
    if (!hook || !hook->timers.contains(nIDEvent))
        return FALSE;
    hook->killTimer(hook->timers.take(nIDEvent));
    return TRUE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange exchange(this, bSaveAndValidate);
    HWND& lockout = afx::detail::LockoutNotifyWindow();
    struct Restore {
        HWND& lockout;
        HWND previous;
        ~Restore() { lockout = previous; }
    } restore{lockout, lockout};
    lockout = m_hWnd;
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl || !pWndCtrl->m_hWnd)
        return;
    pWndCtrl->m_hWnd->setFocus(Qt::TabFocusReason);
    if (afx::WindowClassOf(pWndCtrl->m_hWnd) == afx::FindWindowClass(QStringLiteral("Edit")))
        pWndCtrl->SendMessage(EM_SETSEL, 0, -1);
}

int CWnd::MessageBox(const CString& lpszText, const CString& lpszCaption, UINT nType)
{
    afx::Prompt prompt;
    prompt.kind = afx::PromptKind::MessageBox;
    prompt.text = lpszText;
    prompt.caption = lpszCaption.IsEmpty() ? afx::AppTitle() : lpszCaption;
    prompt.type = nType;
    return afx::ShowPrompt(prompt);
}
