#include "afx/win/controls.h"

#include "afx/core/resources.h"

#include "afx/win/dlgtemplate.h"
#include "afx/win/hook.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBlock>
#include <functional>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)

using afx::detail::WindowHook;

namespace {

DWORD StyleOf(QWidget* widget)
{
    WindowHook* hook = WindowHook::Of(widget);
    return hook ? hook->style : 0;
}

// Calls a function for each event of the widget; the function returns true to consume it.
class EventWatch : public QObject {
public:
    EventWatch(QWidget* widget, std::function<bool(QEvent*)> onEvent)
        : QObject(widget), onEvent(std::move(onEvent))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return onEvent(event); }

private:
    std::function<bool(QEvent*)> onEvent;
};

// ---- Static ----

QWidget* CreateStatic(const afx::ControlSpec& spec, QWidget* parent)
{
    const DWORD type = spec.style & SS_TYPEMASK;
    if (type == SS_ETCHEDHORZ || type == 0x11 /* SS_ETCHEDVERT */ || type == 0x12 /* SS_ETCHEDFRAME */
        || (type >= 0x4 && type <= 0x9) /* rectangles and frames */) {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(type == SS_ETCHEDHORZ ? QFrame::HLine : type == 0x11 ? QFrame::VLine : QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
        return frame;
    }
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    if (type == SS_ICON || type == SS_BITMAP) {
        bool isNumber = false;
        const UINT id = QString(spec.text).toUInt(&isNumber);
        if (isNumber && type == SS_ICON) {
            if (HICON icon = AfxLoadIcon(id)) {
                label->setPixmap(icon->pixmap(32, 32));
                label->resize(32, 32);
            }
        } else if (isNumber) {
            label->setPixmap(QPixmap(afx::ResourceScript::Instance().BitmapFile(int(id))));
        }
        label->setAlignment(spec.style & SS_CENTERIMAGE ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    label->setText(spec.text);
    const Qt::Alignment horizontal = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(horizontal | (spec.style & SS_CENTERIMAGE ? Qt::AlignVCenter : Qt::AlignTop));
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    if (spec.style & SS_SUNKEN)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

CString StaticText(HWND hWnd)
{
    auto* label = qobject_cast<QLabel*>(hWnd);
    return label ? CString(label->text()) : CString();
}

void SetStaticText(HWND hWnd, const CString& text)
{
    if (auto* label = qobject_cast<QLabel*>(hWnd))
        label->setText(text);
}

// ---- Button ----

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

// Windows' check box and radio button metrics: a 13-pixel box with the text 4 pixels after it.
// The toolkit's wider spacing would clip the short labels laid out for them ("&Ven").
class WindowsButtonStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth: case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth: case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing: case PM_RadioButtonLabelSpacing:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

QStyle* CheckButtonStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new WindowsButtonStyle;
        style->setParent(qApp);   // gone with the application, before its base style
    }
    return style;
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
        button->setStyle(CheckButtonStyle());
    button->setText(spec.text);
    QObject::connect(button, &QAbstractButton::clicked, button, [button] { afx::NotifyParent(button, BN_CLICKED); });
    new EventWatch(button, [button](QEvent* event) {
        if (event->type() == QEvent::MouseButtonDblClick)
            afx::NotifyParent(button, BN_DOUBLECLICKED);
        return false;
    });
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

// ---- Edit ----

constexpr int kDefaultEditLimit = 30000;

// A single-line edit with Windows' text limit (checked when the user types or pastes, never
// when the program sets the text), ES_NUMBER and the case styles.
class EditWidget : public QLineEdit {
public:
    explicit EditWidget(QWidget* parent) : QLineEdit(parent) {}

    int limit = kDefaultEditLimit;

    int Room() const { return limit - int(text().size() - selectedText().size()); }

    QString Converted(QString typed) const
    {
        const DWORD style = StyleOf(const_cast<EditWidget*>(this));
        if (style & ES_UPPERCASE)
            return typed.toUpper();
        if (style & ES_LOWERCASE)
            return typed.toLower();
        return typed;
    }

    // Inserts at the selection as much of the text as the limit leaves room for.
    void InsertLimited(const QString& typed)
    {
        const int room = Room();
        if (room <= 0 && !typed.isEmpty()) {
            QApplication::beep();
            return;
        }
        insert(Converted(typed.left(room)));
    }

    void PasteLimited()
    {
        if (isReadOnly())
            return;
        QString pasted = QGuiApplication::clipboard()->text();
        const qsizetype lineEnd = pasted.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
        if (lineEnd >= 0)
            pasted.truncate(lineEnd);
        if (!pasted.isEmpty())
            InsertLimited(pasted);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Paste)) {
            PasteLimited();
            event->accept();
            return;
        }
        const QString typed = event->text();
        const bool printable = !typed.isEmpty() && typed.at(0).isPrint()
                               && !(event->modifiers() & Qt::ControlModifier);
        if (printable && !isReadOnly()) {
            if ((StyleOf(this) & ES_NUMBER) && !typed.at(0).isDigit())
                QApplication::beep();
            else
                InsertLimited(typed);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};

bool IsSingleLineEdit(HWND hWnd)
{
    return dynamic_cast<EditWidget*>(hWnd) != nullptr;
}

QWidget* CreateEdit(const afx::ControlSpec& spec, QWidget* parent)
{
    QWidget* widget;
    if (spec.style & ES_MULTILINE) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setPlainText(spec.text);
        edit->setReadOnly(spec.style & ES_READONLY);
        edit->setVerticalScrollBarPolicy(spec.style & WS_VSCROLL ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(spec.style & WS_HSCROLL ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(spec.style & (ES_AUTOHSCROLL | WS_HSCROLL) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        if (!(spec.style & WS_BORDER) && !(spec.exStyle & WS_EX_CLIENTEDGE))
            edit->setFrameShape(QFrame::NoFrame);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] { afx::NotifyParent(edit, EN_CHANGE); });
        widget = edit;
    } else {
        auto* edit = new EditWidget(parent);
        edit->setText(spec.text);
        edit->setReadOnly(spec.style & ES_READONLY);
        if (spec.style & ES_PASSWORD)
            edit->setEchoMode(QLineEdit::Password);
        const DWORD align = spec.style & 0x3;
        edit->setAlignment((align == ES_RIGHT ? Qt::AlignRight : align == ES_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        if (!(spec.style & WS_BORDER) && !(spec.exStyle & WS_EX_CLIENTEDGE))
            edit->setFrame(false);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { afx::NotifyParent(edit, EN_CHANGE); });
        widget = edit;
    }
    new EventWatch(widget, [widget](QEvent* event) {
        switch (event->type()) {
        case QEvent::FocusIn:
            afx::NotifyParent(widget, EN_SETFOCUS);
            return false;
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                afx::NotifyParent(widget, EN_KILLFOCUS);
            return false;
        case QEvent::ContextMenu:
            if (!IsSingleLineEdit(widget))
                return false;
            {
                std::unique_ptr<QMenu> menu(afx::EditContextMenu(CWnd::FromHandle(widget)));
                menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            }
            return true;
        default:
            return false;
        }
    });
    return widget;
}

CString EditText(HWND hWnd)
{
    if (auto* edit = qobject_cast<QLineEdit*>(hWnd))
        return edit->text();
    auto* multi = qobject_cast<QPlainTextEdit*>(hWnd);
    return multi ? CString(multi->toPlainText()) : CString();
}

// Setting the text always notifies EN_CHANGE, also when it is the same text.
void SetEditText(HWND hWnd, const CString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(hWnd)) {
        if (edit->text() == QString(text))
            afx::NotifyParent(edit, EN_CHANGE);
        else
            edit->setText(text);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(hWnd)) {
        multi->setPlainText(text);
    }
}

// Selections as Windows gives them: start <= end, the caret at one of them.
void GetEditSelection(HWND hWnd, int& start, int& end)
{
    if (auto* edit = qobject_cast<QLineEdit*>(hWnd)) {
        start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        end = start + int(edit->selectedText().size());
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(hWnd)) {
        const QTextCursor cursor = multi->textCursor();
        start = cursor.selectionStart();
        end = cursor.selectionEnd();
    } else {
        start = end = 0;
    }
}

void SetEditSelection(HWND hWnd, int start, int end)
{
    const int length = EditText(hWnd).GetLength();
    if (start < 0) {   // removes the selection, the caret stays
        int currentStart = 0, currentEnd = 0;
        GetEditSelection(hWnd, currentStart, currentEnd);
        start = end = currentEnd;
    }
    if (end < 0 || end > length)
        end = length;
    start = qMin(start, length);
    if (auto* edit = qobject_cast<QLineEdit*>(hWnd)) {
        if (start == end)
            edit->setCursorPosition(end);
        else
            edit->setSelection(start, end - start);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(hWnd)) {
        QTextCursor cursor = multi->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        multi->setTextCursor(cursor);
    }
}

LRESULT EditProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    auto* edit = dynamic_cast<EditWidget*>(hWnd);
    auto* multi = qobject_cast<QPlainTextEdit*>(hWnd);
    *handled = true;
    switch (message) {
    case WM_CUT:
        if (edit) edit->cut(); else if (multi) multi->cut();
        return 0;
    case WM_COPY:
        if (edit) edit->copy(); else if (multi) multi->copy();
        return 0;
    case WM_PASTE:
        if (edit) edit->PasteLimited(); else if (multi) multi->paste();
        return 0;
    case WM_CLEAR:
        if (edit && edit->hasSelectedText() && !edit->isReadOnly()) edit->del();
        else if (multi && !multi->isReadOnly()) multi->textCursor().removeSelectedText();
        return 0;
    case EM_GETSEL: {
        int start = 0, end = 0;
        GetEditSelection(hWnd, start, end);
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
        return LRESULT(MAKELPARAM(unsigned(start), unsigned(end)));
    }
    case EM_SETSEL:
        SetEditSelection(hWnd, int(wParam), int(lParam));
        return 0;
    case EM_REPLACESEL: {
        const CString& text = *reinterpret_cast<const CString*>(lParam);
        if (edit) edit->InsertLimited(text);
        else if (multi) multi->insertPlainText(text);
        return 0;
    }
    case EM_LIMITTEXT:
        if (edit) edit->limit = wParam ? int(qMin<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
        return 0;
    case EM_GETLIMITTEXT:
        return edit ? edit->limit : 0x7FFFFFFE;
    case EM_SETREADONLY:
        if (edit) edit->setReadOnly(wParam); else if (multi) multi->setReadOnly(wParam);
        return TRUE;
    default:
        *handled = false;
        return 0;
    }
}

// ---- ComboBox ----

QWidget* CreateComboBox(const afx::ControlSpec& spec, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable((spec.style & 0x3) != CBS_DROPDOWNLIST);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentIndex(-1);
    // The template's height includes the drop-down list; the box itself is one line high.
    combo->setFixedHeight(combo->sizeHint().height());
    // Only a user's choice notifies (a click in the list, the arrow keys, a typed letter, the
    // wheel), as on Windows; SetCurSel does not.
    QObject::connect(combo, &QComboBox::activated, combo, [combo] { afx::NotifyParent(combo, CBN_SELCHANGE); });
    return combo;
}

CString ComboText(HWND hWnd)
{
    auto* combo = qobject_cast<QComboBox*>(hWnd);
    return combo ? CString(combo->currentText()) : CString();
}

void SetComboText(HWND hWnd, const CString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(hWnd); combo && combo->isEditable())
        combo->setEditText(text);
}

LRESULT ComboProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM, bool* handled)
{
    auto* combo = qobject_cast<QComboBox*>(hWnd);
    if (!combo)
        return 0;
    *handled = true;
    switch (message) {
    case CB_GETCOUNT:
        return combo->count();
    case CB_GETCURSEL:
        return combo->currentIndex();
    case CB_SETCURSEL: {
        const int index = int(wParam);
        const bool valid = index >= 0 && index < combo->count();
        combo->setCurrentIndex(valid ? index : -1);
        return valid ? index : CB_ERR;
    }
    default:
        *handled = false;
        return 0;
    }
}

// Changes the list without a notification and without Qt's selecting of a first item:
// Windows keeps the selection (and an editable box its text) when items come and go.
template <class Change>
void ChangeItems(QComboBox* combo, Change change)
{
    const QSignalBlocker blocker(combo);
    const bool hadSelection = combo->currentIndex() >= 0;
    const QString editText = combo->isEditable() ? combo->currentText() : QString();
    change();
    if (!hadSelection && combo->currentIndex() >= 0) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(editText);
    }
}

} // namespace

namespace afx::detail {

void RegisterCoreControls()
{
    RegisterWindowClass({QStringLiteral("Static"), CreateStatic, nullptr,
                         [] { return static_cast<CWnd*>(new CStatic); }, StaticText, SetStaticText});
    RegisterWindowClass({QStringLiteral("Button"), CreateButton, ButtonProc,
                         [] { return static_cast<CWnd*>(new CButton); }, ButtonText, SetButtonText});
    RegisterWindowClass({QStringLiteral("Edit"), CreateEdit, EditProc,
                         [] { return static_cast<CWnd*>(new CEdit); }, EditText, SetEditText});
    RegisterWindowClass({QStringLiteral("ComboBox"), CreateComboBox, ComboProc,
                         [] { return static_cast<CWnd*>(new CComboBox); }, ComboText, SetComboText});
}

} // namespace afx::detail

QMenu* afx::EditContextMenu(CWnd* edit)
{
    auto* menu = new QMenu;
    auto* line = qobject_cast<QLineEdit*>(edit->m_hWnd);
    if (!line)
        return menu;
    const QPointer<QLineEdit> target = line;
    const bool writable = !line->isReadOnly();
    const bool readable = line->echoMode() == QLineEdit::Normal && line->hasSelectedText();
    // Windows' French edit menu; the clipboard entries go through the edit's messages.
    auto add = [&](const char* name, const char* text, bool enabled, std::function<void()> run) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, menu, [target, run = std::move(run)] {
            if (target)
                run();
        });
    };
    auto send = [target](UINT message) { return [target, message] { CWnd::FromHandle(target)->SendMessage(message); }; };
    add("edit-undo", "&Annuler", writable && line->isUndoAvailable(), [target] { target->undo(); });
    menu->addSeparator();
    add("edit-cut", "Co&uper", writable && readable, send(WM_CUT));
    add("edit-copy", "&Copier", readable, send(WM_COPY));
    add("edit-paste", "C&oller", writable && !QGuiApplication::clipboard()->text().isEmpty(), send(WM_PASTE));
    add("edit-delete", "&Supprimer", writable && line->hasSelectedText(), send(WM_CLEAR));
    menu->addSeparator();
    add("select-all", "Sélectionner &tout", !line->text().isEmpty(),
        [target] { CWnd::FromHandle(target)->SendMessage(EM_SETSEL, 0, -1); });
    return menu;
}

// ---- CStatic ----

HICON CStatic::SetIcon(HICON hIcon)
{
    auto* label = qobject_cast<QLabel*>(m_hWnd);
    if (!label)
        return nullptr;
    const HICON previous = GetIcon();
    label->setProperty("afxIcon", QVariant::fromValue(static_cast<const void*>(hIcon)));
    label->setPixmap(hIcon ? hIcon->pixmap(label->size()) : QPixmap());
    return previous;
}

HICON CStatic::GetIcon() const
{
    return m_hWnd ? static_cast<HICON>(m_hWnd->property("afxIcon").value<const void*>()) : nullptr;
}

// ---- CButton ----

int CButton::GetCheck() const
{
    return int(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int nCheck)
{
    SendMessage(BM_SETCHECK, WPARAM(nCheck));
}

UINT CButton::GetButtonStyle() const
{
    return GetStyle() & BS_TYPEMASK;
}

void CButton::Click()
{
    SendMessage(BM_CLICK);
}

// ---- CEdit ----

void CEdit::SetLimitText(UINT nMax)
{
    SendMessage(EM_LIMITTEXT, nMax);
}

UINT CEdit::GetLimitText() const
{
    return UINT(const_cast<CEdit*>(this)->SendMessage(EM_GETLIMITTEXT));
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD start = 0, end = 0;
    const_cast<CEdit*>(this)->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = int(start);
    nEndChar = int(end);
}

DWORD CEdit::GetSel() const
{
    return DWORD(const_cast<CEdit*>(this)->SendMessage(EM_GETSEL));
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, WPARAM(nStartChar), LPARAM(nEndChar));
}

void CEdit::ReplaceSel(const CString& lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(&lpszNewText));
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly)
{
    return BOOL(SendMessage(EM_SETREADONLY, bReadOnly));
}

int CEdit::GetLineCount() const
{
    auto* multi = qobject_cast<QPlainTextEdit*>(m_hWnd);
    return multi ? multi->document()->blockCount() : 1;
}

CString CEdit::GetLine(int nIndex) const
{
    if (auto* multi = qobject_cast<QPlainTextEdit*>(m_hWnd))
        return multi->document()->findBlockByNumber(nIndex).text();
    CString text;
    GetWindowText(text);
    return nIndex == 0 ? text : CString();
}

// ---- CComboBox ----

namespace {
QComboBox* Combo(const CWnd* wnd)
{
    return qobject_cast<QComboBox*>(wnd->m_hWnd);
}

bool InRange(const QComboBox* combo, int index)
{
    return combo && index >= 0 && index < combo->count();
}
} // namespace

int CComboBox::AddString(const CString& lpszString)
{
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    int index = combo->count();
    if (GetStyle() & CBS_SORT) {
        index = 0;
        while (index < combo->count() && combo->itemText(index).compare(lpszString, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    ChangeItems(combo, [&] { combo->insertItem(index, lpszString); });
    return index;
}

int CComboBox::InsertString(int nIndex, const CString& lpszString)
{
    QComboBox* combo = Combo(this);
    if (!combo || nIndex > combo->count())
        return CB_ERR;
    const int index = nIndex < 0 ? combo->count() : nIndex;
    ChangeItems(combo, [&] { combo->insertItem(index, lpszString); });
    return index;
}

int CComboBox::DeleteString(UINT nIndex)
{
    QComboBox* combo = Combo(this);
    if (!InRange(combo, int(nIndex)))
        return CB_ERR;
    const bool wasSelected = combo->currentIndex() == int(nIndex);
    ChangeItems(combo, [&] {
        combo->removeItem(int(nIndex));
        if (wasSelected)
            combo->setCurrentIndex(-1);
    });
    return combo->count();
}

void CComboBox::ResetContent()
{
    if (QComboBox* combo = Combo(this))
        ChangeItems(combo, [&] { combo->clear(); });
}

int CComboBox::GetCount() const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETCOUNT));
}

int CComboBox::GetCurSel() const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int nSelect)
{
    return int(SendMessage(CB_SETCURSEL, WPARAM(nSelect)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    QComboBox* combo = Combo(this);
    rString = InRange(combo, nIndex) ? CString(combo->itemText(nIndex)) : CString();
}

int CComboBox::GetLBTextLen(int nIndex) const
{
    QComboBox* combo = Combo(this);
    return InRange(combo, nIndex) ? int(combo->itemText(nIndex).size()) : CB_ERR;
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    QComboBox* combo = Combo(this);
    return InRange(combo, nIndex) ? DWORD_PTR(combo->itemData(nIndex).toULongLong()) : DWORD_PTR(CB_ERR);
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    QComboBox* combo = Combo(this);
    if (!InRange(combo, nIndex))
        return CB_ERR;
    combo->setItemData(nIndex, QVariant::fromValue(qulonglong(dwItemData)));
    return 0;
}

namespace {
// Windows' search: from the item after nStartAfter (-1: from the first), wrapping around.
int FindItem(const QComboBox* combo, int nStartAfter, const std::function<bool(const QString&)>& matches)
{
    if (!combo)
        return CB_ERR;
    const int count = combo->count();
    const int first = nStartAfter < 0 || nStartAfter >= count ? 0 : nStartAfter + 1;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (matches(combo->itemText(index)))
            return index;
    }
    return CB_ERR;
}
} // namespace

int CComboBox::FindStringExact(int nIndexStart, const CString& lpszFind) const
{
    const QString wanted = lpszFind;
    return FindItem(Combo(this), nIndexStart,
                    [&](const QString& item) { return item.compare(wanted, Qt::CaseInsensitive) == 0; });
}

int CComboBox::FindString(int nStartAfter, const CString& lpszPrefix) const
{
    const QString prefix = lpszPrefix;
    return FindItem(Combo(this), nStartAfter,
                    [&](const QString& item) { return item.startsWith(prefix, Qt::CaseInsensitive); });
}

int CComboBox::SelectString(int nStartAfter, const CString& lpszPrefix)
{
    const int index = FindString(nStartAfter, lpszPrefix);
    return index == CB_ERR ? CB_ERR : SetCurSel(index);
}
