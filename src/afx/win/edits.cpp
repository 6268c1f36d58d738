// The edit control ("Edit"), single-line and multi-line, and its context menu.
#include "afx/win/controls.h"

#include "afx/win/clipboard.h"
#include "afx/win/corecontrols.h"
#include "afx/win/dlgtemplate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <type_traits>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

using afx::detail::StyleOf;

namespace {

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

constexpr int kDefaultEditLimit = 30000;

// What enters an edit other than by key or by the clipboard keys takes their way too: the
// X11 middle click pastes the selection through WM_PASTE, and an input method's committed
// text arrives as typed characters through WM_CHAR, so that the field's handlers and the
// edit's own checks see every insertion. Drops are refused altogether (no drop target).
template <class Base>
class CheckedInput : public Base {
public:
    using Base::Base;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection()) {
            Base::mouseReleaseEvent(event);
            return;
        }
        event->accept();
        if (this->isReadOnly())
            return;
        // The press put the caret under the pointer; the text goes there.
        if constexpr (std::is_base_of_v<QLineEdit, Base>)
            this->deselect();
        else
            this->setTextCursor(this->cursorForPosition(event->position().toPoint()));
        CWnd::FromHandle(this)->SendMessage(WM_PASTE, afx::kPasteSelection);
    }

    void inputMethodEvent(QInputMethodEvent* event) override
    {
        const QString committed = event->commitString();
        // The text being composed is shown as the input method asks; only a commit, or a
        // replacement of text around the caret, enters the field, and that one key by key.
        QInputMethodEvent composing(event->preeditString(), event->attributes());
        Base::inputMethodEvent(&composing);
        event->accept();
        const QPointer<QWidget> self = this;
        for (const QChar c : committed) {
            if (!self)
                return;
            CWnd::FromHandle(this)->SendMessage(WM_CHAR, c.unicode(), 1);
        }
    }
};

// A single-line edit with Windows' text limit (checked when the user types or pastes, never
// when the program sets the text), ES_NUMBER and the case styles.
class EditWidget : public CheckedInput<QLineEdit> {
public:
    explicit EditWidget(QWidget* parent) : CheckedInput<QLineEdit>(parent) {}

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

    // ES_NUMBER takes digits only, typed or pasted: a text with anything else goes in whole
    // or not at all.
    bool IsRefusedByNumberStyle(const QString& text) const
    {
        return (StyleOf(const_cast<EditWidget*>(this)) & ES_NUMBER)
               && std::any_of(text.begin(), text.end(), [](QChar c) { return c < u'0' || c > u'9'; });
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

    // A typed text: refused whole by ES_NUMBER, else cut to the limit.
    void TypeLimited(const QString& typed)
    {
        if (isReadOnly())
            return;
        if (IsRefusedByNumberStyle(typed))
            QApplication::beep();
        else
            InsertLimited(typed);
    }

    void PasteLimited(WPARAM pasteSource)
    {
        if (isReadOnly())
            return;
        QString pasted = afx::ClipboardText(pasteSource);
        const qsizetype lineEnd = pasted.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
        if (lineEnd >= 0)
            pasted.truncate(lineEnd);
        if (IsRefusedByNumberStyle(pasted)) {
            QApplication::beep();
            return;
        }
        if (!pasted.isEmpty())
            InsertLimited(pasted);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Paste)) {
            PasteLimited(afx::kPasteClipboard);
            event->accept();
            return;
        }
        const QString typed = event->text();
        const bool printable = !typed.isEmpty() && typed.at(0).isPrint()
                               && !(event->modifiers() & Qt::ControlModifier);
        if (printable && !isReadOnly()) {
            TypeLimited(typed);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};

class MultiLineEditWidget : public CheckedInput<QPlainTextEdit> {
public:
    using CheckedInput<QPlainTextEdit>::CheckedInput;
};

bool IsSingleLineEdit(HWND hWnd)
{
    return dynamic_cast<EditWidget*>(hWnd) != nullptr;
}

QWidget* CreateEdit(const afx::ControlSpec& spec, QWidget* parent)
{
    QWidget* widget;
    if (spec.style & ES_MULTILINE) {
        auto* edit = new MultiLineEditWidget(parent);
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
    // As Windows' edit control, no drop target: a drop would get past the checks that a
    // field's own handlers make of typed and pasted text.
    widget->setAcceptDrops(false);
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
        if (edit) edit->PasteLimited(wParam);
        else if (multi && !multi->isReadOnly()) multi->insertPlainText(afx::ClipboardText(wParam));
        return 0;
    case WM_CHAR:
        // A character sent, not typed (an input method's, or a handler's Default()): the
        // standard handling of a typed one.
        if ((edit && edit->isReadOnly()) || (multi && multi->isReadOnly()))
            return 0;
        if (wParam == VK_BACK) {
            if (edit) edit->backspace(); else if (multi) multi->textCursor().deletePreviousChar();
        } else if (wParam >= 32 && wParam != 127 && wParam < 0x10000) {
            const QString typed{QChar(char16_t(wParam))};
            if (edit) edit->TypeLimited(typed); else if (multi) multi->insertPlainText(typed);
        }
        return 0;
    case WM_UNDO:
        if (edit) edit->undo(); else if (multi) multi->undo();
        return 0;
    case EM_CANUNDO:
        return edit ? edit->isUndoAvailable() : multi && multi->document()->isUndoAvailable();
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
    default:
        *handled = false;
        return 0;
    }
}

} // namespace

void afx::detail::RegisterEdit()
{
    RegisterWindowClass({QStringLiteral("Edit"), CreateEdit, EditProc,
                         [] { return static_cast<CWnd*>(new CEdit); }, EditText, SetEditText});
}

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
    add("edit-undo", "&Annuler", writable && edit->SendMessage(EM_CANUNDO), send(WM_UNDO));
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
