// tamsel_testhost: the console as a program of its own, for the tests that start it as a user
// does. TAMSEL_TEST_HOME names a folder of the test's: the machine-wide and per-user settings
// live there, and every prompt is written to standard error and answered as the Enter key
// would answer it, so that nothing waits for a user. With TAMSEL_TEST_DESCRIBE set, a console
// that started describes its "Affichage" menu and its categories, with the network mode
// switched on where the menu offers it, and ends. With TAMSEL_TEST_SAVE set, it edits the
// opened record, saves it, says whether the record is still unsaved, and ends.
#include "app/consoleapp.h"
#include "afx/win/testing.h"
#include "document/ntsmgr.h"
#include "frame/mainframe.h"
#include "res/resource.h"
#include "view/categorytable.h"

#include <QDir>
#include <QSettings>
#include <cstdio>

namespace {

class CHostApp : public CConsoleApp {
public:
    BOOL InitInstance() override;
};

CHostApp theApp;

BOOL CHostApp::InitInstance()
{
    if (!CConsoleApp::InitInstance())
        return FALSE;
    auto* frame = static_cast<CMainFrame*>(m_pMainWnd);
    if (qEnvironmentVariableIsSet("TAMSEL_TEST_SAVE")) {
        auto* document = static_cast<CNtsMgr*>(frame->GetActiveDocument());
        document->config.machine.companyName = "Corvane Sauvegarde";
        document->SetModifiedFlag();
        frame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
        qWarning("unsaved: %s", document->IsModified() ? "yes" : "no");
        return FALSE;
    }
    if (!qEnvironmentVariableIsSet("TAMSEL_TEST_DESCRIBE"))
        return TRUE;
    const bool offered = frame->GetMenu()->GetMenuState(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND) != UINT(-1);
    qWarning("menu: network mode %s", offered ? "offered" : "absent");
    if (offered)
        frame->SendMessage(WM_COMMAND, ID_VIEW_NETWORK_MODE);
    CListBox* list = frame->GetCategoryList();
    for (int index = 0; index < list->GetCount(); ++index) {
        UINT iconId = 0;
        UINT captionId = 0;
        GetCategoryResources(int(list->GetItemData(index)), iconId, captionId);
        CString caption;
        caption.LoadString(captionId);
        qWarning("category: %s", qPrintable(static_cast<const QString&>(caption)));
    }
    // Started and described: the program ends as after a close.
    return FALSE;
}

class CEnterAnswers : public afx::PromptAnswerer {
public:
    int Answer(afx::Prompt& prompt) override;
};

int CEnterAnswers::Answer(afx::Prompt& prompt)
{
    qWarning("prompt: %s", qPrintable(afx::testing::Describe(prompt)));
    switch (prompt.kind) {
    case afx::PromptKind::MessageBox: {
        const UINT buttons = prompt.type & MB_TYPEMASK;
        const bool second = prompt.type & MB_DEFBUTTON2;
        if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
            return second ? IDNO : IDYES;
        return second && buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
    }
    case afx::PromptKind::Dialog:
        if (CWnd* button = prompt.dialog->GetDlgItem(LOWORD(prompt.dialog->GetDefID())))
            button->SendMessage(BM_CLICK);
        // A dialog that stays open (a refused entry) is given up.
        if (!prompt.dialog->IsEnded())
            prompt.dialog->EndDialog(IDCANCEL);
        return prompt.dialog->GetResult();
    case afx::PromptKind::FileDialog:
        return IDCANCEL;
    case afx::PromptKind::Help:
        return 0;
    }
    return IDCANCEL;
}

} // namespace

int main(int argc, char** argv)
{
    // Without its folder the host would read and write the machine's real settings.
    if (!qEnvironmentVariableIsSet("TAMSEL_TEST_HOME")) {
        std::fputs("tamsel_testhost: TAMSEL_TEST_HOME is not set\n", stderr);
        return 2;
    }
    const QDir home(qEnvironmentVariable("TAMSEL_TEST_HOME"));
    afx::testing::SetMachineSettingsFolder(home.filePath(QStringLiteral("system")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("user")));
    static CEnterAnswers answers;
    afx::SetPromptAnswerer(&answers);
    return AfxWinMain(argc, argv);
}
