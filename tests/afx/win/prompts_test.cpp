// The prompt gateway: scripted answers, a callback working the live dialog, what is recorded,
// and the failures on a prompt nobody expected and on an answer left unused.
#include "scripts.h"

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QTreeView>

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
    EXPECT_EQ(prompts.Pending(), 0);
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
    EXPECT_EQ(save.GetFileName(), CString("essai.tms"));
    EXPECT_EQ(prompts.Shown()[0].filter, CString("Paramètres (*.tms)|*.tms||"));
    EXPECT_EQ(prompts.Shown()[0].type, UINT(FALSE));

    CFileDialog open(TRUE, "bfw", "", OFN_HIDEREADONLY, "Fichiers micrologiciel (*.bfw)|*.bfw||");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
}

// The file dialog is Qt's own, set up as the prompt says, in French with headings that fit;
// a callback works it as a user does.
TEST_F(PromptTest, FileDialogIsQtsOwnInFrenchAndWorkedLive)
{
    const std::unique_ptr<QTranslator> texts = afx::LoadQtFrenchTexts();
    ASSERT_NE(texts, nullptr);
    QTemporaryDir folder;
    QFile(folder.filePath("atelier.tms")).open(QIODevice::WriteOnly);
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
