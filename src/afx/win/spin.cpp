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
    QPointer<QWidget> buddy;

    void SetBuddy(QWidget* widget)
    {
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

    // The position from the buddy's text, when the text is a position in the range.
    void ReadBuddy()
    {
        if (!(style & UDS_SETBUDDYINT) || !buddy)
            return;
        CString text;
        CWnd::FromHandle(buddy)->GetWindowText(text);
        bool ok = false;
        const int value = QString(text).trimmed().toInt(&ok);
        if (ok && value >= Lowest() && value <= Highest())
            pos = value;
    }

    void WriteBuddy()
    {
        if (!(style & UDS_SETBUDDYINT) || !buddy)
            return;
        const QString text = QString::number(pos);
        CWnd* wnd = CWnd::FromHandle(buddy);
        CString current;
        wnd->GetWindowText(current);
        if (QString(current).compare(text, Qt::CaseInsensitive) != 0)
            wnd->SetWindowText(text);
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

void CSpinButtonCtrl::GetRange(int& nLower, int& nUpper) const
{
    const_cast<CSpinButtonCtrl*>(this)->SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower),
                                                    reinterpret_cast<LPARAM>(&nUpper));
}
