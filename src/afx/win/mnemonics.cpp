#include "afx/win/mnemonics.h"

#include "afx/core/styles.h"
#include "afx/win/hook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <vector>

namespace afx {

namespace {

// The letter a text marks with "&" ("&&" is an ampersand); null for none.
QChar MnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1];
        ++i;
    }
    return {};
}

bool SameLetter(QChar mnemonic, QChar letter)
{
    return !mnemonic.isNull() && mnemonic.toCaseFolded() == letter.toCaseFolded();
}

QChar ControlMnemonic(QWidget* control)
{
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const detail::WindowHook* hook = detail::WindowHook::Of(label);
        return hook && (hook->style & SS_NOPREFIX) ? QChar() : MnemonicOf(label->text());
    }
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return MnemonicOf(group->title());
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return MnemonicOf(button->text());
    return {};
}

// The dialog, page or dialog bar a widget belongs to: the nearest window made from a template.
QWidget* ScopeOf(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (w->property(detail::kTemplateId).isValid())
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

// What a mnemonic does: focus a control (and click it), or open a menu of the menu bar.
struct Action {
    QWidget* control = nullptr;
    bool click = false;
    QMenuBar* menuBar = nullptr;
    QAction* menu = nullptr;
    explicit operator bool() const { return control || menu; }
};

Action ControlAction(QWidget* focus, QChar letter)
{
    QWidget* scope = ScopeOf(focus);
    if (!scope)
        return {};
    std::vector<QWidget*> controls;
    for (QObject* child : scope->children()) {
        if (auto* control = qobject_cast<QWidget*>(child); control && !control->isWindow())
            controls.push_back(control);
    }
    const auto active = [scope](QWidget* control) {
        return control->isVisibleTo(scope) && control->isEnabledTo(scope);
    };
    // Windows looks from the control after the focus on, round to the focus.
    qsizetype focused = -1;
    for (qsizetype i = 0; i < qsizetype(controls.size()); ++i) {
        if (controls[size_t(i)]->isAncestorOf(focus) || controls[size_t(i)] == focus)
            focused = i;
    }
    const qsizetype count = qsizetype(controls.size());
    std::vector<qsizetype> matching;
    for (qsizetype step = 1; step <= count; ++step) {
        const qsizetype i = (focused + step + count) % count;
        QWidget* control = controls[size_t(i)];
        if (active(control) && SameLetter(ControlMnemonic(control), letter))
            matching.push_back(i);
    }
    if (matching.empty())
        return {};
    QWidget* found = controls[size_t(matching.front())];
    if (qobject_cast<QAbstractButton*>(found))
        return {found, matching.size() == 1};
    // A label or a group box hands the focus to the next tab stop after it.
    for (qsizetype step = 1; step < count; ++step) {
        QWidget* next = controls[size_t((matching.front() + step) % count)];
        if (active(next) && (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return {next, false};
    }
    return {};
}

Action MenuAction(QWidget* focus, QChar letter)
{
    auto* menuBar = focus->window()->findChild<QMenuBar*>();
    if (!menuBar || !menuBar->isVisible())
        return {};
    for (QAction* menu : menuBar->actions()) {
        if (menu->isVisible() && menu->isEnabled() && SameLetter(MnemonicOf(menu->text()), letter))
            return {nullptr, false, menuBar, menu};
    }
    return {};
}

QChar KeyLetter(const QKeyEvent& key)
{
    if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return QChar(u'A' + (key.key() - Qt::Key_A));
    if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
        return QChar(u'0' + (key.key() - Qt::Key_0));
    const QString text = key.text();
    return text.size() == 1 && text[0].isLetter() ? text[0] : QChar();
}

// Sees the key before the toolkit's shortcuts do (its override question, then the key).
class MnemonicFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        auto* focus = qobject_cast<QWidget*>(watched);
        if (!focus || focus != QApplication::focusWidget() || !detail::WindowHook::Of(focus->window()))
            return false;
        const auto& key = *static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const bool alt = modifiers == Qt::AltModifier;
        // Without Alt only where the focus takes no characters: on a button.
        const bool bare = modifiers == Qt::NoModifier && qobject_cast<QAbstractButton*>(focus);
        const QChar letter = KeyLetter(key);
        if ((!alt && !bare) || letter.isNull())
            return false;
        Action action = ControlAction(focus, letter);
        if (!action && alt)
            action = MenuAction(focus, letter);
        if (!action)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (action.menu) {
            action.menuBar->setActiveAction(action.menu);
            return true;
        }
        action.control->setFocus(Qt::ShortcutFocusReason);
        if (action.click)
            CWnd::FromHandle(action.control)->SendMessage(BM_CLICK);
        return true;
    }
};

} // namespace

void InstallDialogMnemonics()
{
    static constexpr char kInstalled[] = "afxDialogMnemonics";
    if (!qApp || qApp->property(kInstalled).toBool())
        return;
    qApp->installEventFilter(new MnemonicFilter(qApp));
    qApp->setProperty(kInstalled, true);
}

} // namespace afx
