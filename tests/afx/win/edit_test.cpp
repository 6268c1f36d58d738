// Edits subclassed by the console's field classes: characters, keys, cut and paste reach the
// class before the standard handling, and Default() runs that handling at once.
#include "scripts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace testwin;

namespace {

// Accepts digits and control characters; notes the text right after the standard handling.
// Delete is swallowed; cut is refused; paste goes through.
class CDigitsEdit : public CEdit {
public:
    std::vector<CString> textAfterChar;
    std::vector<UINT> refused;
    std::vector<std::string> clipboardCalls;

    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if (nChar < 32 || (nChar >= '0' && nChar <= '9')) {
            CEdit::OnChar(nChar, nRepCnt, nFlags);
            CString text;
            GetWindowText(text);
            textAfterChar.push_back(text);
        } else {
            refused.push_back(nChar);
        }
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if (nChar != VK_DELETE)
            CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    }
    LRESULT OnCut(WPARAM, LPARAM)
    {
        clipboardCalls.push_back("cut");
        return 0;
    }
    LRESULT OnPaste(WPARAM, LPARAM)
    {
        clipboardCalls.push_back("paste");
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDigitsEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_CUT, &CDigitsEdit::OnCut)
    ON_MESSAGE(WM_PASTE, &CDigitsEdit::OnPaste)
END_MESSAGE_MAP()

class EditTest : public ScriptedDialogs {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_FORM));
        ASSERT_TRUE(digits.SubclassDlgItem(IDC_NAME, &dialog));
        dialog.m_hWnd->show();
        line = qobject_cast<QLineEdit*>(digits.m_hWnd);
    }
    CDialog dialog{IDD_FORM};
    CDigitsEdit digits;
    QLineEdit* line = nullptr;
};

TEST_F(EditTest, CharactersReachTheClassFirstAndDefaultRunsAtOnce)
{
    QTest::keyClicks(line, "1a2b3");
    EXPECT_EQ(line->text(), QStringLiteral("123"));
    EXPECT_EQ(digits.textAfterChar, (std::vector<CString>{"1", "12", "123"}));
    EXPECT_EQ(digits.refused, (std::vector<UINT>{'a', 'b'}));

    QTest::keyClick(line, Qt::Key_Backspace);   // a control character, passed on
    EXPECT_EQ(line->text(), QStringLiteral("12"));
    EXPECT_EQ(digits.textAfterChar.back(), CString("12"));
}

TEST_F(EditTest, KeysWithoutCharactersGoToKeyDown)
{
    line->setText("123");
    line->setCursorPosition(0);
    QTest::keyClick(line, Qt::Key_Delete);   // swallowed
    EXPECT_EQ(line->text(), QStringLiteral("123"));
    QTest::keyClick(line, Qt::Key_Right);    // passed on
    EXPECT_EQ(line->cursorPosition(), 1);
    EXPECT_TRUE(digits.refused.empty());
}

TEST_F(EditTest, ControlCharactersOfShortcutsReachTheCharHandler)
{
    line->setText("45");
    line->selectAll();
    QTest::keyClick(line, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(digits.textAfterChar.size(), 1u);   // Ctrl+C is character 3, passed on: a copy
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("45"));
}

TEST_F(EditTest, CutAndPasteKeysBecomeTheirMessages)
{
    const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; const char* call; const char* textAfter; } cases[] = {
        {Qt::Key_X, Qt::ControlModifier, "cut", "0123"},
        {Qt::Key_Delete, Qt::ShiftModifier, "cut", "0123"},
        {Qt::Key_V, Qt::ControlModifier, "paste", "9"},
        {Qt::Key_Insert, Qt::ShiftModifier, "paste", "9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.call << " by key " << c.key << " with " << c.modifiers.toInt());
        QGuiApplication::clipboard()->setText(QStringLiteral("9"));
        line->setText("0123");
        line->selectAll();
        digits.clipboardCalls.clear();
        QTest::keyClick(line, c.key, c.modifiers);
        EXPECT_EQ(digits.clipboardCalls, std::vector<std::string>{c.call}) << c.call;
        EXPECT_EQ(line->text(), QString::fromLatin1(c.textAfter)) << c.call;
    }
    digits.clipboardCalls.clear();
    digits.Cut();   // the member goes through the message too
    digits.Paste();
    EXPECT_EQ(digits.clipboardCalls, (std::vector<std::string>{"cut", "paste"}));
}

TEST_F(EditTest, ContextMenuClipboardActionsBecomeMessages)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("77"));
    line->setText("12");
    line->selectAll();
    std::unique_ptr<QMenu> menu(afx::EditContextMenu(&digits));
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-cut") || action->objectName() == QLatin1String("edit-paste")) {
            EXPECT_TRUE(action->isEnabled());
            action->trigger();
        }
    }
    EXPECT_EQ(digits.clipboardCalls, (std::vector<std::string>{"cut", "paste"}));
    EXPECT_EQ(line->text(), QStringLiteral("77"));
}

TEST_F(EditTest, TextLimitStopsTypingAndPastingButNotTheProgram)
{
    CEdit* code = static_cast<CEdit*>(dialog.GetDlgItem(IDC_CODE));
    auto* edit = qobject_cast<QLineEdit*>(code->m_hWnd);
    code->SetLimitText(3);
    code->SetWindowText("12345");
    EXPECT_EQ(edit->text(), QStringLiteral("12345"));

    code->SetWindowText("1");
    edit->setCursorPosition(1);
    QTest::keyClicks(edit, "2345");
    EXPECT_EQ(edit->text(), QStringLiteral("123"));

    code->SetSel(1, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("abcd\nignored"));
    code->Paste();
    EXPECT_EQ(edit->text(), QStringLiteral("1a3"));   // as much as the limit leaves room for
    code->SetSel(0, -1);
    code->ReplaceSel("wxyz");
    EXPECT_EQ(edit->text(), QStringLiteral("wxy"));
}

TEST_F(EditTest, NumberStyleRefusesTypedNonDigits)
{
    CEdit* count = static_cast<CEdit*>(dialog.GetDlgItem(IDC_COUNT));
    auto* edit = qobject_cast<QLineEdit*>(count->m_hWnd);
    count->SetWindowText("");
    QTest::keyClicks(edit, "4-x2");
    EXPECT_EQ(edit->text(), QStringLiteral("42"));
    // The program may still set any text.
    count->SetWindowText("-5");
    EXPECT_EQ(edit->text(), QStringLiteral("-5"));
}

// A paste into a digits-only edit goes in whole when it is all digits, else not at all; the
// key, the menu and WM_PASTE take the same way.
struct NumberPasteCase {
    const char* name;
    QString clipboard;
    QString after;   // the edit held "7", all of it selected
};

TEST_F(EditTest, NumberStyleRefusesPastedNonDigitsLikeTypedOnes)
{
    CEdit* count = static_cast<CEdit*>(dialog.GetDlgItem(IDC_COUNT));
    auto* edit = qobject_cast<QLineEdit*>(count->m_hWnd);
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"WM_PASTE", [&] { count->Paste(); }},
        {"Ctrl+V", [&] { QTest::keySequence(edit, QKeySequence::Paste); }},
    };
    for (const NumberPasteCase& c : {NumberPasteCase{"digits", "1234", "1234"},
                                     NumberPasteCase{"letters before digits", "ab12", "7"},
                                     NumberPasteCase{"letter after digits", "12a", "7"},
                                     NumberPasteCase{"a sign", "-5", "7"},
                                     NumberPasteCase{"a blank", "12 34", "7"},
                                     NumberPasteCase{"other script digits", QStringLiteral("\u0661\u0662"), "7"},
                                     NumberPasteCase{"digits then a second line", "56\nab", "56"}}) {
        for (const auto& [way, paste] : ways) {
            SCOPED_TRACE(::testing::Message() << c.name << " by " << way);
            count->SetWindowText("7");
            count->SetSel(0, -1);
            QGuiApplication::clipboard()->setText(c.clipboard);
            paste();
            EXPECT_EQ(edit->text(), c.after);
        }
    }
}

// An input method's committed text is typed, character by character: the field's own handler
// sees each one, and an edit without one keeps its digits-only style and its limit.
TEST_F(EditTest, AnInputMethodsCommitIsTypedCharacterByCharacter)
{
    auto commit = [](QWidget* widget, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(widget, &event);
    };
    line->setText("");
    commit(line, QStringLiteral("1a2"));
    EXPECT_EQ(line->text(), QStringLiteral("12"));
    EXPECT_EQ(digits.refused, std::vector<UINT>{'a'});
    EXPECT_EQ(digits.textAfterChar, (std::vector<CString>{"1", "12"}));

    CEdit* count = static_cast<CEdit*>(dialog.GetDlgItem(IDC_COUNT));
    auto* countLine = qobject_cast<QLineEdit*>(count->m_hWnd);
    count->SetLimitText(3);
    count->SetWindowText("");
    commit(countLine, QStringLiteral("4x2é7"));
    EXPECT_EQ(countLine->text(), QStringLiteral("427"));
    commit(countLine, QStringLiteral("9"));
    EXPECT_EQ(countLine->text(), QStringLiteral("427"));

    // What is being composed shows, and is not yet the field's text to check.
    QInputMethodEvent composing(QStringLiteral("x"), {});
    QCoreApplication::sendEvent(line, &composing);
    EXPECT_EQ(line->text(), QStringLiteral("12"));
    EXPECT_EQ(digits.refused, std::vector<UINT>{'a'});
}

TEST_F(EditTest, SelectionFollowsWindowsConventions)
{
    digits.SetWindowText("abcdef");
    const struct { int start, end; int gotStart, gotEnd; const char* selected; } cases[] = {
        {0, -1, 0, 6, "abcdef"}, {2, 4, 2, 4, "cd"}, {4, 2, 2, 4, "cd"}, {3, 3, 3, 3, ""}, {1, 99, 1, 6, "bcdef"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "SetSel(" << c.start << ", " << c.end << ")");
        digits.SetSel(c.start, c.end);
        int start = -1, end = -1;
        digits.GetSel(start, end);
        EXPECT_EQ(start, c.gotStart) << c.start << "," << c.end;
        EXPECT_EQ(end, c.gotEnd) << c.start << "," << c.end;
        EXPECT_EQ(line->selectedText(), QString::fromLatin1(c.selected));
    }
}

} // namespace
