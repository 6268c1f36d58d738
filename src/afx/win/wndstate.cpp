// CWnd's children, text, state, geometry, fonts, timers and data exchange.
#include "afx/win/wnd.h"

#include "afx/win/ddx.h"
#include "afx/win/gdi.h"
#include "afx/win/hook.h"
#include "afx/win/prompts.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

using afx::detail::WindowHook;

namespace {

// Sizes a top-level window by its outer size, its frame included.
void SetOuterSize(QWidget* window, int width, int height)
{
    const QSize frameExtra = window->frameGeometry().size() - window->size();
    afx::detail::SetWindowSize(window, QSize(qMax(0, width - frameExtra.width()), qMax(0, height - frameExtra.height())));
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

} // namespace afx::detail

int CWnd::GetDlgCtrlID() const
{
    return m_hWnd ? afx::detail::CtrlIdOf(m_hWnd).value_or(0) : 0;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    if (!m_hWnd)
        return nullptr;
    for (QObject* child : m_hWnd->children()) {
        if (!IsSiblingWindow(child))
            continue;
        if (afx::detail::CtrlIdOf(static_cast<QWidget*>(child)) == nID)
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
        m_hWnd->move(x, y);
        SetOuterSize(m_hWnd, nWidth, nHeight);
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
    if (!(nFlags & SWP_NOMOVE)) {
        MoveWindow(x, y, cx, cy, !(nFlags & SWP_NOREDRAW));
    } else if (!(nFlags & SWP_NOSIZE)) {
        // A size alone leaves the position where it is: a window never placed stays for the
        // window manager to place, as Windows' default position.
        if (m_hWnd->isWindow())
            SetOuterSize(m_hWnd, cx, cy);
        else
            m_hWnd->resize(cx, cy);
        if (!(nFlags & SWP_NOREDRAW))
            m_hWnd->update();
    }
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
