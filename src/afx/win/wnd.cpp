// CWnd's life and messages: attach, create, destroy, send and post, the map, the standard handling.
#include "afx/win/wnd.h"

#include "afx/win/gdi.h"
#include "afx/win/hook.h"

#include <QPointer>
#include <QWidget>
#include <vector>

using afx::detail::WindowHook;

namespace {

// The messages being handled, innermost last: what Default() works on.
struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    QEvent* event;
    bool defaulted;
};
std::vector<CurrentMessage*>& MessageStack()
{
    static std::vector<CurrentMessage*> stack;
    return stack;
}

} // namespace

namespace afx::detail {

HWND& LockoutNotifyWindow()
{
    static HWND window = nullptr;
    return window;
}

LRESULT Dispatch(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event, bool* defaulted)
{
    CurrentMessage current{message, wParam, lParam, event, false};
    MessageStack().push_back(&current);
    struct Pop { ~Pop() { MessageStack().pop_back(); } } pop;
    const LRESULT result = target->WindowProc(message, wParam, lParam);
    if (defaulted)
        *defaulted = current.defaulted;
    return result;
}

} // namespace afx::detail

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
    afx::detail::SetCtrlId(widget, int(cs.hMenu));
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
            afx::detail::RunStandardHandling(m_hWnd, current->event);
        return 0;
    }
    current->defaulted = true;
    return DefWindowProc(current->message, current->wParam, current->lParam);
}
