#include "afx/win/spin.h"

#include "afx/win/commctrl.h"
#include "afx/win/dlgtemplate.h"

#include <QKeyEvent>
#include <QPointer>
#include <QToolButton>
#include <algorithm>

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

namespace {

class SpinWidget : public QWidget {
public:
    SpinWidget(DWORD style, QWidget* parent) : QWidget(parent), style(style)
    {
        setFocusPolicy(Qt::NoFocus);
        up = Arrow(Qt::UpArrow, QStringLiteral("up"), +1);
        down = Arrow(Qt::DownArrow, QStringLiteral("down"), -1);
    }

    int lower = 100;   // Windows' defaults: the up arrow counts down from 100 to 0
    int upper = 0;
    int pos = 0;
    int base = 10;
    QPointer<QWidget> buddy;

    void SetBuddy(QWidget* widget)
    {
        if (buddy)
            buddy->removeEventFilter(this);
        buddy = widget;
        if (!widget)
            return;
        if (style & UDS_ARROWKEYS)
            widget->installEventFilter(this);
        if (style & UDS_ALIGNRIGHT) {
            const QRect place = widget->geometry();
            const int spinWidth = std::min(width(), place.width());
            widget->setGeometry(place.x(), place.y(), place.width() - spinWidth, place.height());
            setGeometry(place.right() + 1 - spinWidth, place.y(), spinWidth, place.height());
        }
    }

    // The position from the buddy's text; false when the text is no position in the range.
    bool ReadBuddy()
    {
        if (!(style & UDS_SETBUDDYINT) || !buddy)
            return true;
        CString text;
        CWnd::FromHandle(buddy)->GetWindowText(text);
        QString digits = QString(text).trimmed();
        if (base == 16 && digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            digits = digits.mid(2);
        bool ok = false;
        const int value = digits.toInt(&ok, base);
        if (!ok || value < Lowest() || value > Highest())
            return false;
        pos = value;
        return true;
    }

    void WriteBuddy()
    {
        if (!(style & UDS_SETBUDDYINT) || !buddy)
            return;
        QString text = QString::number(pos);
        if (base == 16)
            text = QStringLiteral("0x") + QString::number(uint(pos), 16).toUpper().rightJustified(4, u'0');
        CWnd* wnd = CWnd::FromHandle(buddy);
        CString current;
        wnd->GetWindowText(current);
        if (QString(current).compare(text, Qt::CaseInsensitive) != 0)
            wnd->SetWindowText(text);
    }

    int SetPos(int value)
    {
        const int previous = pos;
        pos = std::clamp(value, Lowest(), Highest());
        WriteBuddy();
        return previous;
    }

    int Lowest() const { return std::min(lower, upper); }
    int Highest() const { return std::max(lower, upper); }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        const int half = height() / 2;
        up->setGeometry(0, 0, width(), half);
        down->setGeometry(0, half, width(), height() - half);
    }

    // UDS_ARROWKEYS: Up and Down in the buddy step as the arrows do.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != buddy || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
        Step(key == Qt::Key_Up ? +1 : -1);
        return true;
    }

private:
    DWORD style;
    QToolButton* up;
    QToolButton* down;

    QToolButton* Arrow(Qt::ArrowType type, const QString& name, int direction)
    {
        auto* button = new QToolButton(this);
        button->setArrowType(type);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setMinimumSize(1, 1);
        QObject::connect(button, &QToolButton::clicked, this, [this, direction] { Step(direction); });
        return button;
    }

    // One step toward the upper limit (+1) or the lower one (-1), if the parent agrees.
    void Step(int direction)
    {
        if (!isEnabled())
            return;
        ReadBuddy();
        NMUPDOWN step;
        step.hdr.code = UDN_DELTAPOS;
        step.iPos = pos;
        step.iDelta = upper < lower ? -direction : direction;
        QPointer<SpinWidget> self = this;
        if (afx::NotifyParent(this, step.hdr) != 0 || !self)
            return;
        long long next = (long long)pos + step.iDelta;
        if (next < Lowest() || next > Highest()) {
            if (style & UDS_WRAP)
                next = next > Highest() ? Lowest() : Highest();
            else
                next = std::clamp<long long>(next, Lowest(), Highest());
        }
        if (next == pos)
            return;
        pos = int(next);
        WriteBuddy();
    }
};

SpinWidget* Spin(HWND hWnd)
{
    return dynamic_cast<SpinWidget*>(hWnd);
}

QWidget* CreateSpin(const afx::ControlSpec& spec, QWidget* parent)
{
    return new SpinWidget(spec.style, parent);
}

LRESULT SpinProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    SpinWidget* spin = Spin(hWnd);
    if (!spin)
        return 0;
    *handled = true;
    switch (message) {
    case WM_CREATE:
        if (CWnd::FromHandle(hWnd)->GetStyle() & UDS_AUTOBUDDY) {
            CWnd* previous = CWnd::FromHandle(hWnd)->GetWindow(GW_HWNDPREV);
            spin->SetBuddy(previous ? previous->m_hWnd : nullptr);
        }
        return 0;
    case UDM_SETRANGE:
        spin->upper = short(LOWORD(lParam));
        spin->lower = short(HIWORD(lParam));
        return 0;
    case UDM_GETRANGE:
        return LRESULT(MAKELPARAM(unsigned(spin->upper), unsigned(spin->lower)));
    case UDM_SETRANGE32:
        spin->lower = int(wParam);
        spin->upper = int(lParam);
        return 0;
    case UDM_GETRANGE32:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = spin->lower;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = spin->upper;
        return 0;
    case UDM_SETPOS:
        return short(spin->SetPos(short(LOWORD(lParam))));
    case UDM_SETPOS32:
        return spin->SetPos(int(lParam));
    case UDM_GETPOS: {
        const bool valid = spin->ReadBuddy();
        return LRESULT(MAKELPARAM(unsigned(spin->pos), valid ? 0 : 1));
    }
    case UDM_GETPOS32: {
        const bool valid = spin->ReadBuddy();
        if (lParam)
            *reinterpret_cast<BOOL*>(lParam) = !valid;
        return spin->pos;
    }
    case UDM_SETBUDDY: {
        QWidget* previous = spin->buddy;
        spin->SetBuddy(reinterpret_cast<HWND>(wParam));
        return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(spin->buddy.data());
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16)
            return 0;
        const int previous = spin->base;
        spin->base = int(wParam);
        return previous;
    }
    case UDM_GETBASE:
        return spin->base;
    default:
        *handled = false;
        return 0;
    }
}

} // namespace

void afx::detail::RegisterSpinButtonCtrl()
{
    RegisterWindowClass({QStringLiteral("msctls_updown32"), CreateSpin, SpinProc, NewWrapper<CSpinButtonCtrl>,
                         nullptr, nullptr});
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(unsigned(nUpper), unsigned(nLower)));
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(UDM_SETRANGE32, WPARAM(nLower), LPARAM(nUpper));
}

void CSpinButtonCtrl::GetRange(int& nLower, int& nUpper) const
{
    const_cast<CSpinButtonCtrl*>(this)->SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower),
                                                    reinterpret_cast<LPARAM>(&nUpper));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    return int(SendMessage(UDM_SETPOS32, 0, LPARAM(nPos)));
}

int CSpinButtonCtrl::GetPos() const
{
    return GetPos32();
}

int CSpinButtonCtrl::GetPos32(BOOL* lpbError) const
{
    BOOL error = FALSE;
    auto* self = const_cast<CSpinButtonCtrl*>(this);
    const int pos = int(self->SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)));
    if (lpbError)
        *lpbError = error;
    return pos;
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(
        SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->m_hWnd : nullptr))));
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(const_cast<CSpinButtonCtrl*>(this)->SendMessage(UDM_GETBUDDY)));
}

int CSpinButtonCtrl::SetBase(int nBase)
{
    return int(SendMessage(UDM_SETBASE, WPARAM(nBase)));
}

int CSpinButtonCtrl::GetBase() const
{
    return int(const_cast<CSpinButtonCtrl*>(this)->SendMessage(UDM_GETBASE));
}
