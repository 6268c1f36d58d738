#include "afx/win/ipaddress.h"

#include "afx/win/commctrl.h"
#include "afx/win/dlgtemplate.h"

#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>
#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)

namespace {

constexpr int kFields = 4;

class IpAddressWidget;

// What a field takes: up to three digits.
class OctetValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override
    {
        const bool digits = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        return digits && text.size() <= 3 ? Acceptable : Invalid;
    }
};

// One field: up to three digits; it hands the keys that move between fields to its control.
class FieldEdit : public QLineEdit {
public:
    FieldEdit(IpAddressWidget* control, int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    IpAddressWidget* control;
    int index;
};

class IpAddressWidget : public QFrame {
public:
    explicit IpAddressWidget(QWidget* parent) : QFrame(parent)
    {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        setFocusPolicy(Qt::StrongFocus);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(2, 1, 2, 1);
        layout->setSpacing(0);
        for (int i = 0; i < kFields; ++i) {
            if (i > 0)
                layout->addWidget(new QLabel(QStringLiteral("."), this));
            fields[i] = new FieldEdit(this, i);
            layout->addWidget(fields[i], 1);
            QObject::connect(fields[i], &QLineEdit::textChanged, this, [this] { afx::NotifyParent(this, EN_CHANGE); });
            QObject::connect(fields[i], &QLineEdit::textEdited, this, [this, i] { Edited(i); });
        }
        setFocusProxy(fields[0]);
    }

    int Value(int field) const
    {
        const QString text = fields[field]->text();
        return text.isEmpty() ? -1 : text.toInt();
    }

    // By the program: no IPN_FIELDCHANGED.
    void SetValue(int field, int value)
    {
        const QString text = value < 0 ? QString() : QString::number(value);
        if (fields[field]->text() != text)
            fields[field]->setText(text);
        committed[field] = value;
    }

    DWORD Address() const
    {
        DWORD address = 0;
        for (int i = 0; i < kFields; ++i)
            address = (address << 8) | DWORD(std::max(0, Value(i)) & 0xFF);
        return address;
    }

    void SetAddress(DWORD address)
    {
        for (int i = 0; i < kFields; ++i)
            SetValue(i, int((address >> (8 * (kFields - 1 - i))) & 0xFF));
    }

    int Filled() const
    {
        int count = 0;
        for (int i = 0; i < kFields; ++i)
            count += Value(i) >= 0;
        return count;
    }

    bool SetRange(int field, int low, int high)
    {
        if (field < 0 || field >= kFields || low > high)
            return false;
        lower[field] = low;
        upper[field] = high;
        return true;
    }

    enum class Caret { SelectAll, Start, End };

    // A field past the last gives the first blank one.
    void FocusField(int field, Caret caret = Caret::SelectAll)
    {
        if (field < 0 || field >= kFields) {
            field = 0;
            while (field < kFields - 1 && Value(field) >= 0)
                ++field;
        }
        fields[field]->setFocus(Qt::OtherFocusReason);
        if (caret == Caret::SelectAll)
            fields[field]->selectAll();
        else
            fields[field]->setCursorPosition(caret == Caret::Start ? 0 : int(fields[field]->text().size()));
    }

    void MoveTo(int field, Caret caret)
    {
        if (field >= 0 && field < kFields)
            FocusField(field, caret);
    }

    // Whether the field was entered by a full field's move and no key has come since: a dot
    // or a space then only confirms that move. Asking forgets it.
    bool TakeAdvance(int field) { return std::exchange(advancedTo, -1) == field; }
    void ForgetAdvance() { advancedTo = -1; }

    // The user left a field: its value comes into range, and a changed value is reported.
    void Leave(int field)
    {
        int value = Value(field);
        if (value >= 0)
            value = std::clamp(value, lower[field], upper[field]);
        if (value == committed[field]) {
            SetValue(field, value);
            return;
        }
        SetValue(field, value);
        NMIPADDRESS change;
        change.hdr.code = IPN_FIELDCHANGED;
        change.iField = field;
        change.iValue = value;
        QPointer<IpAddressWidget> self = this;
        afx::NotifyParent(this, change.hdr);
        if (self && change.iValue != value)
            SetValue(field, change.iValue < 0 ? -1 : std::clamp(change.iValue, lower[field], upper[field]));
    }

private:
    FieldEdit* fields[kFields] = {};
    int lower[kFields] = {0, 0, 0, 0};
    int upper[kFields] = {255, 255, 255, 255};
    int committed[kFields] = {-1, -1, -1, -1};   // the value last reported or set
    int advancedTo = -1;                         // the field a full field moved on to

    void Edited(int field)
    {
        FieldEdit* edit = fields[field];
        if (Value(field) > upper[field])
            edit->setText(QString::number(upper[field]));
        if (edit->text().size() == 3 && edit->cursorPosition() == 3 && field + 1 < kFields) {
            MoveTo(field + 1, Caret::SelectAll);
            advancedTo = field + 1;
        }
    }
};

FieldEdit::FieldEdit(IpAddressWidget* control, int index) : QLineEdit(control), control(control), index(index)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setMaxLength(3);
    setValidator(new OctetValidator(this));
    setFocusPolicy(Qt::ClickFocus);
}

void FieldEdit::keyPressEvent(QKeyEvent* event)
{
    const bool noSelection = !hasSelectedText();
    const bool advanced = control->TakeAdvance(index);
    switch (event->key()) {
    case Qt::Key_Period: case Qt::Key_Space:
        if (!advanced && !text().isEmpty())
            control->MoveTo(index + 1, IpAddressWidget::Caret::SelectAll);
        return;
    case Qt::Key_Backspace: case Qt::Key_Left:
        if (noSelection && cursorPosition() == 0 && index > 0) {
            control->MoveTo(index - 1, IpAddressWidget::Caret::End);
            return;
        }
        break;
    case Qt::Key_Right:
        if (noSelection && cursorPosition() == text().size() && index + 1 < kFields) {
            control->MoveTo(index + 1, IpAddressWidget::Caret::Start);
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) {
        control->ForgetAdvance();
        control->Leave(index);
    }
}

IpAddressWidget* Control(HWND hWnd)
{
    return dynamic_cast<IpAddressWidget*>(hWnd);
}

QWidget* CreateIpAddress(const afx::ControlSpec&, QWidget* parent)
{
    return new IpAddressWidget(parent);
}

LRESULT IpAddressProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    IpAddressWidget* control = Control(hWnd);
    if (!control)
        return 0;
    *handled = true;
    switch (message) {
    case IPM_SETADDRESS:
        control->SetAddress(DWORD(lParam));
        return TRUE;
    case IPM_GETADDRESS:
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = control->Address();
        return control->Filled();
    case IPM_SETRANGE:
        return control->SetRange(int(wParam), int(lParam & 0xFF), int((lParam >> 8) & 0xFF));
    case IPM_SETFOCUS:
        control->FocusField(int(wParam));
        return 0;
    default:
        *handled = false;
        return 0;
    }
}

} // namespace

void afx::detail::RegisterIPAddressCtrl()
{
    RegisterWindowClass({QStringLiteral("SysIPAddress32"), CreateIpAddress, IpAddressProc, NewWrapper<CIPAddressCtrl>,
                         nullptr, nullptr});
}

int CIPAddressCtrl::GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const
{
    DWORD address = 0;
    const int filled = GetAddress(address);
    nField0 = FIRST_IPADDRESS(address);
    nField1 = SECOND_IPADDRESS(address);
    nField2 = THIRD_IPADDRESS(address);
    nField3 = FOURTH_IPADDRESS(address);
    return filled;
}

int CIPAddressCtrl::GetAddress(DWORD& dwAddress) const
{
    dwAddress = 0;
    return int(const_cast<CIPAddressCtrl*>(this)->SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
}

void CIPAddressCtrl::SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3)
{
    SetAddress(MAKEIPADDRESS(nField0, nField1, nField2, nField3));
}

void CIPAddressCtrl::SetAddress(DWORD dwAddress)
{
    SendMessage(IPM_SETADDRESS, 0, LPARAM(dwAddress));
}

void CIPAddressCtrl::SetFieldFocus(WORD nField)
{
    SendMessage(IPM_SETFOCUS, nField);
}

void CIPAddressCtrl::SetFieldRange(int nField, BYTE nLower, BYTE nUpper)
{
    SendMessage(IPM_SETRANGE, WPARAM(nField), MAKEIPRANGE(nLower, nUpper));
}
