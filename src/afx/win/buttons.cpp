// The button control ("Button"): push buttons, check boxes, radio buttons and group boxes.
#include "afx/win/controls.h"

#include "afx/win/corecontrols.h"
#include "afx/win/dlgtemplate.h"
#include "afx/win/metricsstyle.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

IMPLEMENT_DYNAMIC(CButton, CWnd)

using afx::detail::StyleOf;

namespace {

// A group box as Windows draws it: an etched frame whose top line runs through the middle of
// the caption, the caption at the left in a gap of the line. The box only frames: the
// controls inside are its siblings, placed by the template.
class WindowsGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        constexpr int kCaptionLeft = 8;
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect frame(0, metrics.height() / 2 - 1, width() - 1, height() - metrics.height() / 2);
        QRect caption;
        if (!title().isEmpty()) {
            caption = metrics.boundingRect(QRect(kCaptionLeft, 0, width() - 2 * kCaptionLeft, metrics.height()),
                                           Qt::AlignLeft | Qt::TextShowMnemonic, title());
            caption.adjust(-1, 0, 1, 0);
            painter.setClipRegion(QRegion(rect()).subtracted(caption));
        }
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
        if (!caption.isNull()) {
            painter.setClipping(false);
            style()->drawItemText(&painter, caption.adjusted(1, 0, -1, 0), Qt::AlignLeft | Qt::TextShowMnemonic,
                                  palette(), isEnabled(), title(), QPalette::WindowText);
        }
    }
};

bool IsRadio(QWidget* widget)
{
    const DWORD type = StyleOf(widget) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// The radio buttons of the group the button belongs to: from the WS_GROUP control at or
// before it to the next WS_GROUP control, in control order.
void UncheckOtherRadios(QAbstractButton* button)
{
    CWnd* self = CWnd::FromHandle(button);
    CWnd* first = self;
    while (!(first->GetStyle() & WS_GROUP)) {
        CWnd* previous = first->GetWindow(GW_HWNDPREV);
        if (!previous)
            break;
        first = previous;
    }
    for (CWnd* wnd = first; wnd; wnd = wnd->GetWindow(GW_HWNDNEXT)) {
        if (wnd != first && (wnd->GetStyle() & WS_GROUP))
            break;
        if (wnd != self && IsRadio(wnd->m_hWnd))
            static_cast<QAbstractButton*>(wnd->m_hWnd)->setChecked(false);
    }
}

// A check box or radio button that changes its state on a click as Windows' button of the
// same style does: auto styles only, a radio button never unchecks itself.
template <class Base>
class WindowsButton : public Base {
public:
    WindowsButton(DWORD type, QWidget* parent) : Base(parent), type(type) {}

protected:
    void nextCheckState() override
    {
        if (type == BS_AUTORADIOBUTTON) {
            this->setChecked(true);
            UncheckOtherRadios(this);
        } else if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE) {
            Base::nextCheckState();
        }
    }

private:
    DWORD type;
};

QWidget* CreateButton(const afx::ControlSpec& spec, QWidget* parent)
{
    const DWORD type = spec.style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
        auto* group = new WindowsGroupBox(spec.text, parent);
        group->setFocusPolicy(Qt::NoFocus);
        return group;
    }
    QAbstractButton* button;
    switch (type) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: {
        auto* check = new WindowsButton<QCheckBox>(type, parent);
        check->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        button = check;
        break;
    }
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: {
        auto* radio = new WindowsButton<QRadioButton>(type, parent);
        radio->setAutoExclusive(false);
        button = radio;
        break;
    }
    default: {
        auto* push = new QPushButton(parent);
        push->setDefault(type == BS_DEFPUSHBUTTON);
        button = push;
        break;
    }
    }
    if (!qobject_cast<QPushButton*>(button))
        button->setStyle(afx::detail::WindowsMetricsStyle());
    button->setText(spec.text);
    QObject::connect(button, &QAbstractButton::clicked, button, [button] { afx::NotifyParent(button, BN_CLICKED); });
    return button;
}

CString ButtonText(HWND hWnd)
{
    if (auto* group = qobject_cast<QGroupBox*>(hWnd))
        return group->title();
    auto* button = qobject_cast<QAbstractButton*>(hWnd);
    return button ? CString(button->text()) : CString();
}

void SetButtonText(HWND hWnd, const CString& text)
{
    if (auto* group = qobject_cast<QGroupBox*>(hWnd))
        group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(hWnd))
        button->setText(text);
}

LRESULT ButtonProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM, bool* handled)
{
    auto* button = qobject_cast<QAbstractButton*>(hWnd);
    if (!button)
        return 0;
    *handled = true;
    switch (message) {
    case BM_GETCHECK:
        if (!button->isCheckable())
            return BST_UNCHECKED;
        if (auto* check = qobject_cast<QCheckBox*>(button))
            return check->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                   : check->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (auto* check = qobject_cast<QCheckBox*>(button); check && wParam == BST_INDETERMINATE)
            check->setCheckState(Qt::PartiallyChecked);
        else if (button->isCheckable())
            button->setChecked(wParam == BST_CHECKED);
        return 0;
    case BM_CLICK:
        button->click();
        return 0;
    default:
        *handled = false;
        return 0;
    }
}

} // namespace

void afx::detail::RegisterButton()
{
    RegisterWindowClass({QStringLiteral("Button"), CreateButton, ButtonProc,
                         [] { return static_cast<CWnd*>(new CButton); }, ButtonText, SetButtonText});
}

int CButton::GetCheck() const
{
    return int(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int nCheck)
{
    SendMessage(BM_SETCHECK, WPARAM(nCheck));
}

void CButton::Click()
{
    SendMessage(BM_CLICK);
}
