// The prompt gateway: scripted answers, a callback working the live dialog, what is recorded,
// and the failures on a prompt nobody expected and on an answer left unused.
#include "scripts.h"
#include "support/helpers.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

using namespace testwin;

namespace {

class CNameDlg : public CDialog {
public:
    CNameDlg() : CDialog(IDD_FORM) {}
    CString name = "Dupont";
    int count = 5;
    bool initialisedBeforeShown = false;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, name);
        DDX_Text(pDX, IDC_COUNT, count);
        DDV_MinMaxInt(pDX, count, 1, 9);
    }
};

using PromptTest = ScriptedDialogs;

// Shows a message box for real, past the test's answerer; `work` runs on the live box and
// must end it.
int RealMessageBox(UINT type, std::function<void(QMessageBox&)> work)
{
    afx::PromptAnswerer* previous = afx::SetPromptAnswerer(nullptr);
    QTimer::singleShot(0, [&work] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box up";
            return;
        }
        // Shortcuts reach the active window only; the offscreen platform does not move the
        // activation to a new modal window by itself.
        QApplication::setActiveWindow(box);
        // Nothing waits forever for a box the keys did not end.
        QTimer::singleShot(30000, box, [box] {
            ADD_FAILURE() << "the message box stayed open";
            box->done(0);
        });
        work(*box);
    });
    const int result = AfxMessageBox("Continuer ?", type);
    afx::SetPromptAnswerer(previous);
    return result;
}

// The buttons' texts, left to right.
QStringList ButtonTexts(const QMessageBox& box)
{
    QList<QAbstractButton*> buttons = box.buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList texts;
    for (QAbstractButton* button : buttons)
        texts.append(button->text());
    return texts;
}

// A window to own prompts, shown and active at a known place.
class OwnerWindow {
public:
    OwnerWindow()
    {
        EXPECT_TRUE(dialog.Create(IDD_FORM));
        dialog.m_hWnd->move(40, 60);
        dialog.m_hWnd->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.m_hWnd));
        Activate();
    }
    void Activate() { QApplication::setActiveWindow(dialog.m_hWnd); }
    QPoint Centre() const { return dialog.m_hWnd->frameGeometry().center(); }
    CDialog dialog{IDD_FORM};
};

bool CentredOn(const QWidget* window, QPoint centre)
{
    return (window->frameGeometry().center() - centre).manhattanLength() <= 2;
}

TEST_F(PromptTest, MessageBoxesHaveWindowsFrenchButtonsAndKeys)
{
    struct Key { Qt::Key key; Qt::KeyboardModifiers modifiers = Qt::NoModifier; };
    const struct {
        const char* name;
        UINT type;
        QStringList buttons;
        std::vector<Key> keys;   // only the last one ends the box
        int result;
        bool closable;           // Escape and the close box answer it
    } cases[] = {
        {"OK: Escape", MB_OK, {"OK"}, {{Qt::Key_Escape}}, IDOK, true},
        {"OK/Cancel: Escape", MB_OKCANCEL, {"OK", "Annuler"}, {{Qt::Key_Escape}}, IDCANCEL, true},
        {"OK/Cancel: Return", MB_OKCANCEL, {"OK", "Annuler"}, {{Qt::Key_Return}}, IDOK, true},
        {"Yes/No: Alt+O", MB_YESNO, {"&Oui", "&Non"}, {{Qt::Key_O, Qt::AltModifier}}, IDYES, false},
        {"Yes/No: N", MB_YESNO, {"&Oui", "&Non"}, {{Qt::Key_N}}, IDNO, false},
        {"Yes/No: no escape, then Alt+N", MB_YESNO, {"&Oui", "&Non"},
         {{Qt::Key_Escape}, {Qt::Key_N, Qt::AltModifier}}, IDNO, false},
        {"Yes/No/Cancel: Escape", MB_YESNOCANCEL, {"&Oui", "&Non", "Annuler"}, {{Qt::Key_Escape}}, IDCANCEL, true},
        {"Yes/No/Cancel, second default: Return", MB_YESNOCANCEL | MB_DEFBUTTON2, {"&Oui", "&Non", "Annuler"},
         {{Qt::Key_Return}}, IDNO, true},
        {"Abort/Retry/Ignore: no escape, then Alt+R", MB_ABORTRETRYIGNORE,
         {"&Abandonner", "&Recommencer", "&Ignorer"}, {{Qt::Key_Escape}, {Qt::Key_R, Qt::AltModifier}}, IDRETRY, false},
        {"Abort/Retry/Ignore: I", MB_ABORTRETRYIGNORE, {"&Abandonner", "&Recommencer", "&Ignorer"},
         {{Qt::Key_I}}, IDIGNORE, false},
        {"Retry/Cancel: Escape", MB_RETRYCANCEL, {"&Recommencer", "Annuler"}, {{Qt::Key_Escape}}, IDCANCEL, true},
    };
    OwnerWindow owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        owner.Activate();
        const int result = RealMessageBox(c.type, [&](QMessageBox& box) {
            EXPECT_EQ(ButtonTexts(box), c.buttons);
            EXPECT_TRUE(CentredOn(&box, owner.Centre()));
            EXPECT_EQ(bool(box.windowFlags() & Qt::WindowCloseButtonHint), c.closable);
            for (const Key& key : c.keys)
                QTest::keyClick(&box, key.key, key.modifiers);
        });
        EXPECT_EQ(result, c.result);
    }
}

TEST_F(PromptTest, DialogsOpenCentredOnTheirOwnerUnlessTheyPlacedThemselves)
{
    class CPlacingDlg : public CDialog {
    public:
        CPlacingDlg(CWnd* owner, UINT flags, QPoint place) : CDialog(IDD_FORM, owner), flags(flags), place(place) {}
        BOOL OnInitDialog() override
        {
            CDialog::OnInitDialog();
            CRect rect;
            GetWindowRect(rect);
            SetWindowPos(nullptr, place.x(), place.y(), rect.Width(), rect.Height() + 40, flags | SWP_NOZORDER);
            return TRUE;
        }
        UINT flags;
        QPoint place;
    };
    OwnerWindow owner;
    const struct {
        const char* name;
        CWnd* parent;
        UINT flags;
        bool centred;
    } cases[] = {
        {"grown in place, owner given", &owner.dialog, SWP_NOMOVE, true},
        {"grown in place, owner the active window", nullptr, SWP_NOMOVE, true},
        {"moved by itself", &owner.dialog, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        owner.Activate();
        CPlacingDlg dialog(c.parent, c.flags, QPoint(700, 500));
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_FORM, [&](CDialog& live) {
            EXPECT_EQ(CentredOn(live.m_hWnd, owner.Centre()), c.centred);
            if (!c.centred) {
                EXPECT_EQ(live.m_hWnd->pos(), QPoint(700, 500));
            }
            live.EndDialog(IDCANCEL);
        });
        dialog.DoModal();
    }
}

TEST_F(PromptTest, TitleBarAndSizingFollowTheTemplatesStyle)
{
    const struct {
        const char* name;
        int templateId;
        bool sizable;
        Qt::WindowFlags buttons;
    } cases[] = {
        {"modal frame with system menu", IDD_FORM, false, Qt::WindowCloseButtonHint},
        {"sizing border, all boxes", IDD_SIZABLE, true,
         Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint},
        {"caption without system menu", IDD_BUSY, false, {}},
    };
    const Qt::WindowFlags allButtons = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDialog dialog(c.templateId);
        ASSERT_TRUE(dialog.Create(c.templateId));
        const QWidget* window = dialog.m_hWnd;
        EXPECT_EQ(window->windowFlags() & allButtons, c.buttons);
        EXPECT_TRUE(window->windowFlags() & Qt::WindowTitleHint);
        EXPECT_EQ(window->minimumSize() == window->maximumSize(), !c.sizable);
        // The program still sizes it.
        CRect rect;
        dialog.GetWindowRect(rect);
        dialog.SetWindowPos(nullptr, 0, 0, rect.Width() + 30, rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(window->width(), int(rect.Width()) + 30);
        EXPECT_EQ(window->minimumSize() == window->maximumSize(), !c.sizable);
    }
}

TEST_F(PromptTest, MessageBoxesTakeTheScriptedAnswerAndAreRecorded)
{
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDYES, "Supprimer ?").MessageBox(IDOK);
    EXPECT_EQ(AfxMessageBox("Supprimer ?", MB_YESNO | MB_ICONQUESTION), IDYES);
    CDialog owner(IDD_FORM);
    ASSERT_TRUE(owner.Create(IDD_FORM));
    EXPECT_EQ(owner.MessageBox("Fait.", "Titre", MB_ICONINFORMATION), IDOK);

    ASSERT_EQ(prompts.Shown().size(), 2u);
    const afx::Prompt& first = prompts.Shown()[0];
    EXPECT_EQ(first.kind, afx::PromptKind::MessageBox);
    EXPECT_EQ(first.type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(first.caption, CString("Brevia Pro 40/45 Tamsel de CORVANE"));
    EXPECT_EQ(prompts.Shown()[1].caption, CString("Titre"));
}

TEST_F(PromptTest, CallbackWorksTheLiveDialogAndEndsIt)
{
    CNameDlg dialog;
    afx::testing::PromptScript prompts;
    prompts.Dialog(IDD_FORM, [](CDialog& live) {
        EXPECT_TRUE(live.m_hWnd->isVisible());
        auto* name = qobject_cast<QLineEdit*>(Widget(&live, IDC_NAME));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Dupont"));   // OnInitDialog has run
        name->selectAll();
        QTest::keyClicks(name, "Martin");
        // A failing check keeps the dialog open; the user corrects and confirms again.
        live.SetDlgItemText(IDC_COUNT, "12");
        live.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
        EXPECT_FALSE(live.IsEnded());
        live.SetDlgItemText(IDC_COUNT, "8");
        QTest::keyClick(Widget(&live, IDC_COUNT), Qt::Key_Return);   // the default button
    });
    prompts.MessageBox(IDOK, "Entrez un entier compris entre 1 et 9.");

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.name, CString("Martin"));
    EXPECT_EQ(dialog.count, 8);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0].templateId, UINT(IDD_FORM));
    EXPECT_EQ(prompts.Shown()[0].caption, CString("Fiche"));
}

TEST_F(PromptTest, ScriptedDialogResultEndsItWithoutExchange)
{
    CNameDlg dialog;
    afx::testing::PromptScript prompts;
    prompts.Dialog(IDD_FORM, IDCANCEL).Dialog(IDD_FORM, [](CDialog& live) {
        QTest::keyClick(live.m_hWnd, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.name, CString("Dupont"));
}

TEST_F(PromptTest, FileDialogRecordsItsFilterAndAddsTheDefaultExtension)
{
    afx::testing::PromptScript prompts;
    prompts.FileDialog(IDOK, "/tmp/essai").FileDialog(IDCANCEL);
    CFileDialog save(FALSE, "tms", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Paramètres (*.tms)|*.tms||");
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), CString("/tmp/essai.tms"));
    EXPECT_EQ(prompts.Shown()[0].filter, CString("Paramètres (*.tms)|*.tms||"));
    EXPECT_EQ(prompts.Shown()[0].type, UINT(FALSE));

    CFileDialog open(TRUE, "bfw", "", OFN_HIDEREADONLY, "Fichiers micrologiciel (*.bfw)|*.bfw||");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
}

// The file dialog is Qt's own, set up as the prompt says, in French with headings that fit;
// a callback works it as a user does.
TEST_F(PromptTest, FileDialogIsQtsOwnInFrenchAndWorkedLive)
{
    QTemporaryDir folder;
    QFile(folder.filePath("atelier.tms")).open(QIODevice::WriteOnly);
    // A folder of a known date: its type and date in French, whatever the system's language.
    ASSERT_TRUE(QDir(folder.path()).mkdir("archives"));
    const timespec date = {QDateTime(QDate(2026, 12, 11), QTime(8, 3)).toSecsSinceEpoch(), 0};
    const timespec times[] = {date, date};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder.filePath("archives")).constData(), times, 0), 0);
    QStringList archivesRow;
    QStringList buttons;
    QStringList labels;
    afx::testing::PromptScript prompts;
    prompts.FileDialog([&](QFileDialog& dialog) {
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog.windowTitle(), "Ouvrir");
        EXPECT_EQ(dialog.directory().absolutePath(), folder.path());
        EXPECT_EQ(dialog.nameFilters(), (QStringList{"Paramètres (*.tms)", "Tous les fichiers (*.*)"}));
        for (auto* button : dialog.findChildren<QPushButton*>())
            buttons.append(button->text());
        for (auto* label : dialog.findChildren<QLabel*>())
            labels.append(label->text());
        auto* details = dialog.findChild<QTreeView*>();
        ASSERT_NE(details, nullptr);
        QHeaderView* header = details->header();
        for (int section = 0; section < header->count(); ++section) {
            const QString heading = details->model()->headerData(section, Qt::Horizontal).toString();
            EXPECT_GT(header->sectionSize(section), header->fontMetrics().horizontalAdvance(heading)) << heading.toStdString();
        }
        EXPECT_GE(details->minimumWidth(), header->length());   // no heading cut off at the right
        EXPECT_EQ(details->model()->headerData(0, Qt::Horizontal).toString(), "Nom");
        const QModelIndex root = details->rootIndex();
        EXPECT_TRUE(QTest::qWaitFor([&] { return details->model()->rowCount(root) == 2; }, 10000));
        for (int row = 0; row < details->model()->rowCount(root); ++row) {
            if (details->model()->index(row, 0, root).data().toString() != "archives")
                continue;
            for (int column = 1; column < details->model()->columnCount(root); ++column)
                archivesRow.append(details->model()->index(row, column, root).data().toString());
        }
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, "atelier.tms");
        QTest::keyClick(name, Qt::Key_Return);
    });
    CFileDialog open(TRUE, "tms", "", OFN_HIDEREADONLY, "Paramètres (*.tms)|*.tms|Tous les fichiers (*.*)|*.*||");
    open.m_ofn.lpstrTitle = "Ouvrir";
    open.m_ofn.lpstrInitialDir = folder.path();
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), CString(folder.filePath("atelier.tms")));
    EXPECT_TRUE(buttons.contains("&Ouvrir")) << buttons.join(", ").toStdString();
    EXPECT_TRUE(buttons.contains("Annuler")) << buttons.join(", ").toStdString();
    EXPECT_TRUE(labels.contains("&Nom de fichier :")) << labels.join(", ").toStdString();
    EXPECT_EQ(archivesRow, (QStringList{"", "Dossier", "11/12/2026 08:03"}));
}

// The live dialog asks before replacing a file, and takes only an existing file, only when the
// flags ask it: a name typed and confirmed with Return.
TEST_F(PromptTest, FileDialogAsksAndRefusesOnlyAsItsFlagsSay)
{
    struct Case {
        const char* name;
        BOOL open;
        DWORD flags;
        const char* typed;
        bool accepted;
        bool asked;
    };
    const Case cases[] = {
        {"save over a file, no flag", FALSE, OFN_HIDEREADONLY, "atelier.tms", true, false},
        {"save over a file, overwrite prompt", FALSE, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "atelier.tms", false, true},
        {"save a new file, overwrite prompt", FALSE, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "neuf.tms", true, false},
        {"open a missing file, no flag", TRUE, OFN_HIDEREADONLY, "absent.tms", true, false},
        {"open a missing file, must exist", TRUE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "absent.tms", false, true},
        {"open a file, must exist", TRUE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "atelier.tms", true, false},
    };
    QTemporaryDir folder;
    QFile(folder.filePath("atelier.tms")).open(QIODevice::WriteOnly);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString question;
        afx::testing::PromptScript prompts;
        prompts.FileDialog([&](QFileDialog& dialog) { question = ConfirmFileName(dialog, c.typed); });
        CFileDialog dialog(c.open, "tms", "", c.flags, "Paramètres (*.tms)|*.tms||");
        dialog.m_ofn.lpstrInitialDir = folder.path();
        EXPECT_EQ(dialog.DoModal() == IDOK, c.accepted);
        EXPECT_EQ(!question.isEmpty(), c.asked) << question.toStdString();
        if (c.accepted) {
            EXPECT_EQ(dialog.GetPathName(), CString(folder.filePath(c.typed)));
        }
    }
}

TEST_F(PromptTest, HelpRequestsAreRecorded)
{
    afx::testing::PromptScript prompts;
    prompts.Help(0x20082);
    afx::ShowHelp(0x20082);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].kind, afx::PromptKind::Help);
    EXPECT_EQ(prompts.Shown()[0].helpCommand, UINT(afx::HELP_CONTEXT));
}

TEST_F(PromptTest, UnexpectedPromptFailsAndChangesNothing)
{
    CapturedFailures failures;
    EXPECT_EQ(AfxMessageBox("Quitter ?", MB_YESNO | MB_ICONQUESTION), IDNO);
    CNameDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(failures.messages.size(), 2);
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("Quitter ?")));
    EXPECT_TRUE(failures.messages[1].contains(QStringLiteral("dialog 100")));
}

TEST_F(PromptTest, WrongPromptAndUnusedAnswerFail)
{
    CapturedFailures failures;
    {
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_FORM, IDOK).MessageBox(IDYES).Help(0x20001);
        EXPECT_EQ(AfxMessageBox("Continuer ?", MB_YESNOCANCEL), IDCANCEL);   // a box where a dialog was due
        EXPECT_EQ(AfxMessageBox("Sûr ?", MB_YESNO), IDYES);
    }
    ASSERT_EQ(failures.messages.size(), 2);
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("expected dialog 100")));
    EXPECT_TRUE(failures.messages[1].contains(QStringLiteral("never shown")));
    EXPECT_TRUE(failures.messages[1].contains(QStringLiteral("0x20001")));
}

TEST_F(PromptTest, DialogLeftOpenByItsCallbackFails)
{
    CapturedFailures failures;
    CNameDlg dialog;
    {
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_FORM, [](CDialog&) {});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    ASSERT_EQ(failures.messages.size(), 1);
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("left open")));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

} // namespace
