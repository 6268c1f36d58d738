// Clipboard items of a registered format, and the edit's undo and drops as a field that checks
// its text can refuse them.
#include "scripts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

using namespace testwin;

namespace {

const char* const windowsMime = "application/x-qt-windows-mime;value=\"Sample\"";

TEST(ClipboardFormatTest, AnItemOfTheFormatStandsAloneOnTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("texte"));
    ASSERT_TRUE(afx::SetClipboardFormatData("Sample", QByteArray("0140\0", 5)));
    const QMimeData* held = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->formats(), QStringList{QString::fromLatin1(windowsMime)});
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(afx::ClipboardFormatData("Sample"), std::optional<QByteArray>(QByteArray("0140\0", 5)));
    EXPECT_EQ(afx::ClipboardFormatData("Other"), std::nullopt);
}

TEST(ClipboardFormatTest, ReadsAnItemAnotherProgramPlaced)
{
    struct Case {
        const char* name;
        const char* mime;   // nullptr: plain text only
        std::optional<QByteArray> read;
    };
    const Case cases[] = {
        {"the format's item", windowsMime, QByteArray("12$3")},
        {"another format", "application/x-qt-windows-mime;value=\"Other\"", std::nullopt},
        {"plain text only", nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* item = new QMimeData;
        item->setText(QStringLiteral("texte"));
        if (c.mime)
            item->setData(QString::fromLatin1(c.mime), "12$3");
        QGuiApplication::clipboard()->setMimeData(item);
        EXPECT_EQ(afx::ClipboardFormatData("Sample"), c.read);
    }
}

// Refuses undo, as a field whose history could bring back a text it refused.
class CNoUndoEdit : public CEdit {
public:
    int undoRequests = 0;
    LRESULT OnUndo(WPARAM, LPARAM)
    {
        ++undoRequests;
        return 0;
    }
    LRESULT OnCanUndo(WPARAM, LPARAM) { return FALSE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNoUndoEdit, CEdit)
    ON_MESSAGE(WM_UNDO, &CNoUndoEdit::OnUndo)
    ON_MESSAGE(EM_CANUNDO, &CNoUndoEdit::OnCanUndo)
END_MESSAGE_MAP()

class EditUndoTest : public ScriptedDialogs {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_FORM));
        ASSERT_TRUE(guarded.SubclassDlgItem(IDC_NAME, &dialog));
        dialog.m_hWnd->show();
    }
    // Types into the edit, then triggers its context menu's "&Annuler" when it is enabled.
    static bool UndoFromMenu(CWnd* edit)
    {
        QTest::keyClicks(edit->m_hWnd, "12");
        std::unique_ptr<QMenu> menu(afx::EditContextMenu(edit));
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-undo")) {
                if (action->isEnabled())
                    action->trigger();
                return action->isEnabled();
            }
        }
        return false;
    }
    CDialog dialog{IDD_FORM};
    CNoUndoEdit guarded;
};

TEST_F(EditUndoTest, TheMenusUndoGoesThroughTheEditsMessages)
{
    CWnd* plain = dialog.GetDlgItem(IDC_CODE);
    EXPECT_TRUE(UndoFromMenu(plain));
    EXPECT_EQ(qobject_cast<QLineEdit*>(plain->m_hWnd)->text(), QString());

    EXPECT_FALSE(UndoFromMenu(&guarded));
    EXPECT_EQ(qobject_cast<QLineEdit*>(guarded.m_hWnd)->text(), QStringLiteral("12"));
    guarded.SendMessage(WM_UNDO);
    EXPECT_EQ(guarded.undoRequests, 1);
    EXPECT_EQ(qobject_cast<QLineEdit*>(guarded.m_hWnd)->text(), QStringLiteral("12"));
}

TEST_F(EditUndoTest, EditsAreNoDropTarget)
{
    const QByteArray multiScript = R"(
IDD_FORM DIALOGEX 0, 0, 100, 60
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        IDC_NAME,5,5,90,12,ES_AUTOHSCROLL
    EDITTEXT        IDC_OTHER,5,20,90,30,ES_MULTILINE
END
)";
    afx::ResourceScript edits = afx::ResourceScript::Parse(multiScript, kHeader, QStringLiteral("edits.rc"));
    const afx::ResourceScript* previous = afx::SetDialogResources(&edits);
    CDialog form(IDD_FORM);
    ASSERT_TRUE(form.Create(IDD_FORM));
    for (int id : {IDC_NAME, IDC_OTHER}) {
        SCOPED_TRACE(id);
        QWidget* widget = Widget(&form, id);
        ASSERT_NE(widget, nullptr);
        EXPECT_FALSE(widget->acceptDrops());
        if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
            EXPECT_FALSE(multi->viewport()->acceptDrops());
        }
    }
    form.DestroyWindow();
    afx::SetDialogResources(previous);
}

} // namespace
