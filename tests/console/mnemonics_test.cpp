// Every mnemonic of every page, panel and dialog, pressed as a user presses it (Alt and the
// letter) in the windows as the console shows them: the snapshot tool's table of windows (each
// category and tab in both modes, each dialog run modally), each one active. A button is clicked, a check box toggled, a radio button chosen; a label or a group
// box hands the focus to the next tab stop after it; a letter that no control of the page
// holds opens the main window's menu that has it, and only such a letter does. Two controls of
// one window holding one letter take the focus in turn, and neither is clicked.
#include "startup_fixture.h"

#include "snapshot.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QDialog>
#include <map>

namespace {

// The letter a text marks with "&" ("&&" is an ampersand), upper case; null for none.
QChar MnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&' && text[i + 1] != u'&')
            return text[i + 1].toUpper();
        if (text[i] == u'&')
            ++i;
    }
    return {};
}

QString TextOf(QWidget* control)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        return CWnd::FromHandle(control)->GetStyle() & SS_NOPREFIX ? QString() : label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    return {};
}

bool TakesFocus(QWidget* control)
{
    return (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

bool Holds(QWidget* focus, QWidget* control)
{
    return focus && (focus == control || control->isAncestorOf(focus));
}

// One page, panel or dialog: its controls in control order, those a user reaches now.
class Scope {
public:
    explicit Scope(QWidget* window) : window(window)
    {
        for (QObject* child : window->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (control && !control->isWindow() && control->isVisibleTo(window) && control->isEnabledTo(window))
                controls.push_back(control);
        }
    }

    QString Name() const { return QStringLiteral("template %1").arg(window->property("templateId").toInt()); }

    // The controls that hold each letter, in control order.
    std::map<QChar, std::vector<QWidget*>> Letters() const
    {
        std::map<QChar, std::vector<QWidget*>> letters;
        for (QWidget* control : controls) {
            if (const QChar letter = MnemonicOf(TextOf(control)); !letter.isNull())
                letters[letter].push_back(control);
        }
        return letters;
    }

    // Where the mnemonic of a control leaves the focus: the button itself, or for a label or a
    // group box the next tab stop after it, round to the first.
    QWidget* Target(QWidget* holder) const
    {
        if (qobject_cast<QAbstractButton*>(holder))
            return holder;
        const auto at = std::find(controls.begin(), controls.end(), holder) - controls.begin();
        const auto count = qsizetype(controls.size());
        for (qsizetype step = 1; step < count; ++step) {
            if (QWidget* next = controls[size_t((at + step) % count)]; TakesFocus(next))
                return next;
        }
        return nullptr;
    }

    // A tab stop to press from that is none of the controls given; null when there is none.
    QWidget* Elsewhere(const std::vector<QWidget*>& avoid) const
    {
        for (QWidget* control : controls) {
            if (TakesFocus(control) && std::none_of(avoid.begin(), avoid.end(), [control](QWidget* w) { return Holds(control, w) || control == w; }))
                return control;
        }
        return nullptr;
    }

    // The holders in the order the presses reach them from the control `from` on.
    std::vector<QWidget*> FromOn(QWidget* from, std::vector<QWidget*> holders) const
    {
        const auto index = [this](QWidget* w) { return std::find(controls.begin(), controls.end(), w) - controls.begin(); };
        const auto start = index(from);
        const auto count = qsizetype(controls.size());
        std::sort(holders.begin(), holders.end(), [&](QWidget* a, QWidget* b) {
            return (index(a) - start + count) % count < (index(b) - start + count) % count;
        });
        return holders;
    }

    QPointer<QWidget> window;
    std::vector<QWidget*> controls;
};

void Press(QChar letter)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key(letter.unicode()), Qt::AltModifier);
}

// The focus on the control, its window the active one (a window hidden before it may hand the
// activation back to the main window late).
bool Focus(QWidget* control)
{
    if (QWidget* window = control->window(); !window->isActiveWindow()) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            return false;
    }
    control->setFocus(Qt::TabFocusReason);
    return Holds(QApplication::focusWidget(), control);
}

std::string Describe(const Scope& scope, QWidget* control)
{
    return QStringLiteral("%1, control %2 \"%3\"")
        .arg(scope.Name())
        .arg(control->property("ctrlId").toInt())
        .arg(TextOf(control))
        .toStdString();
}

// What the buttons bring up is cancelled; a check box whose click asks a question the cancel
// answers may keep its state.
class CancelledPrompts : public afx::testing::QuietPrompts {
public:
    int Answer(afx::Prompt& prompt) override
    {
        ++answered;
        return QuietPrompts::Answer(prompt);
    }
    int answered = 0;
};

// The one holder of a letter acts at the first press.
void PressTheOnlyHolder(const Scope& scope, QChar letter, QWidget* holder, const CancelledPrompts& prompts)
{
    SCOPED_TRACE(Describe(scope, holder));
    QWidget* target = scope.Target(holder);
    ASSERT_NE(target, nullptr) << "nothing after it takes the focus";
    QWidget* from = scope.Elsewhere({holder, target});
    if (!from)
        from = target;
    ASSERT_TRUE(Focus(from)) << "the window does not take the focus";
    auto* button = qobject_cast<QAbstractButton*>(holder);
    const bool wasChecked = button && button->isChecked();
    std::unique_ptr<QSignalSpy> clicked(button ? new QSignalSpy(button, &QAbstractButton::clicked) : nullptr);
    const QPointer<QWidget> alive(holder);
    const int answered = prompts.answered;
    Press(letter);
    if (!alive)
        return;   // the click closed its window
    if (button) {
        EXPECT_EQ(clicked->count(), 1) << "not clicked";
        if (qobject_cast<QCheckBox*>(button) && prompts.answered == answered) {
            EXPECT_NE(button->isChecked(), wasChecked) << "not toggled";
        }
        if (qobject_cast<QRadioButton*>(button) && prompts.answered == answered) {
            EXPECT_TRUE(button->isChecked()) << "not chosen";
        }
    } else {
        EXPECT_TRUE(Holds(QApplication::focusWidget(), target)) << "the focus is not on control "
                                                                << target->property("ctrlId").toInt();
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened";
    if (auto* popup = QApplication::activePopupWidget())
        popup->close();
}

// Holders of one letter: each press moves the focus to the next, clicking none.
void PressSharedLetter(const Scope& scope, QChar letter, const std::vector<QWidget*>& holders)
{
    QWidget* from = scope.Elsewhere(holders);
    if (!from)
        from = scope.Target(holders.back());
    ASSERT_NE(from, nullptr);
    ASSERT_TRUE(Focus(from));
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (QWidget* holder : holders) {
        if (auto* button = qobject_cast<QAbstractButton*>(holder))
            clicks.push_back(std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
    }
    for (QWidget* holder : scope.FromOn(from, holders)) {
        SCOPED_TRACE(Describe(scope, holder));
        Press(letter);
        EXPECT_TRUE(Holds(QApplication::focusWidget(), scope.Target(holder)));
    }
    for (const auto& spy : clicks)
        EXPECT_EQ(spy->count(), 0) << "a control sharing its letter was clicked";
}

// Each menu of the menu bar opens by its letter unless the page holds that letter.
void PressMenuLetters(const Scope& scope, QMenuBar* menuBar, const std::map<QChar, std::vector<QWidget*>>& letters)
{
    QWidget* from = scope.Elsewhere({});
    if (!from)
        return;
    for (QAction* menu : menuBar->actions()) {
        const QChar letter = MnemonicOf(menu->text());
        if (letter.isNull() || !menu->isVisible() || letters.count(letter))
            continue;
        SCOPED_TRACE((scope.Name() + u' ' + menu->text()).toStdString());
        ASSERT_TRUE(Focus(from));
        Press(letter);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr) << "no menu opened";
        EXPECT_EQ(popup->title(), menu->text());
        // Left as a user leaves it: Escape closes the menu, a second leaves the menu bar,
        // which would otherwise keep the keyboard from the windows that follow.
        QTest::keyClick(popup, Qt::Key_Escape);
        if (menuBar->activeAction())
            QTest::keyClick(menuBar, Qt::Key_Escape);
        EXPECT_EQ(menuBar->activeAction(), nullptr);
    }
}

// The pages and dialogs on show in a window.
std::vector<QWidget*> ScopesOf(QWidget* window)
{
    std::vector<QWidget*> scopes;
    if (window->property("templateId").isValid())
        scopes.push_back(window);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->property("templateId").isValid() && widget->isVisible())
            scopes.push_back(widget);
    }
    return scopes;
}

// The table's windows, worked rather than drawn.
class MnemonicWalk : public snapshot::Album {
public:
    void Capture(const QString& name, QWidget* window, const QJsonObject&) override
    {
        SCOPED_TRACE(name.toStdString());
        auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        if (window == frame->m_hWnd) {
            // The buttons change the record (defaults, entries removed): the table's later rows
            // find it as they left it.
            auto* document = dynamic_cast<CNtsMgr*>(frame->GetActiveDocument());
            CMemFile saved;
            {
                CArchive store(&saved, CArchive::store);
                document->config.Serialize(store);
                store.Close();
            }
            WalkWindow(window);
            saved.SeekToBegin();
            {
                CArchive load(&saved, CArchive::load);
                document->config.Serialize(load);
                load.Close();
            }
            document->UpdateAllViews(nullptr, 0, nullptr);
        } else if (auto* dialog = qobject_cast<QDialog*>(window); dialog && !dialog->isVisible()) {
            // Run as the console runs a dialog: application modal, in its own loop, worked from
            // inside it.
            const QPointer<QDialog> alive(dialog);
            QTimer::singleShot(0, dialog, [this, dialog, alive] {
                WalkWindow(dialog);
                if (alive && alive->isVisible())
                    alive->QDialog::done(QDialog::Rejected);
            });
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->exec();
        }
    }

    CancelledPrompts prompts;
    int pressed = 0;

private:
    void WalkWindow(QWidget* window)
    {
        // A modal dialog comes here through the table's own answerer: what its buttons bring
        // up goes to ours.
        afx::PromptAnswerer* previous = afx::SetPromptAnswerer(&prompts);
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        for (QWidget* widget : ScopesOf(window))
            Walk(widget, window->findChild<QMenuBar*>());
        afx::SetPromptAnswerer(previous);
    }

    void Walk(QWidget* widget, QMenuBar* menuBar)
    {
        const QPointer<QWidget> alive(widget);
        std::vector<QChar> letters;
        for (const auto& held : Scope(widget).Letters())
            letters.push_back(held.first);
        for (const QChar letter : letters) {
            if (!alive)
                return;
            // What earlier presses left: a control they hid or disabled holds nothing now.
            const Scope scope(widget);
            const auto now = scope.Letters();
            const auto holders = now.find(letter);
            if (holders == now.end())
                continue;
            if (holders->second.size() == 1)
                PressTheOnlyHolder(scope, letter, holders->second.front(), prompts);
            else
                PressSharedLetter(scope, letter, holders->second);
            ++pressed;
        }
        if (const Scope scope(widget); alive && menuBar && !scope.controls.empty())
            PressMenuLetters(scope, menuBar, scope.Letters());
    }
};

class Mnemonics : public startup::StartedConsole {};

TEST_F(Mnemonics, EveryPageAndDialogAnswersEachOfItsLetters)
{
    Frame()->m_hWnd->activateWindow();
    MnemonicWalk walk;
    afx::PromptAnswerer* previous = afx::SetPromptAnswerer(&walk.prompts);
    for (const snapshot::Subject& subject : snapshot::AllSubjects()) {
        SCOPED_TRACE(subject.name.toStdString());
        subject.render(walk);
    }
    afx::SetPromptAnswerer(previous);
    EXPECT_GT(walk.pressed, 0);
}

} // namespace
