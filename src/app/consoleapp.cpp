#include "app/consoleapp.h"

#include "app/passwordstore.h"
#include "afx/core/resources.h"
#include "dialogs/aboutboxdlg.h"
#include "dialogs/dialoghelpers.h"
#include "dialogs/passworddlgs.h"
#include "document/ntsmgr.h"
#include "frame/mainframe.h"
#include "res/resource.h"
#include "view/ntsview.h"
#include "version.h"

#include <QMessageBox>
#include <cstdio>

BEGIN_MESSAGE_MAP(CConsoleApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CConsoleApp::OnAppAbout)
    ON_COMMAND(ID_CHANGE_PASSWORD, &CConsoleApp::OnChangePassword)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
END_MESSAGE_MAP()

namespace {

constexpr int kMalformedCommandLine = 2;

void Print(FILE* stream, const CString& text)
{
    std::fputs(static_cast<const QString&>(text).toUtf8().constData(), stream);
}

} // namespace

void CConsoleCommandLineInfo::ParseParam(const CString& pszParam, BOOL bFlag, BOOL bLast)
{
    if (!error.IsEmpty())
        return;
    // The framework takes one "-" off an option: "--network" comes as "-network".
    if (bFlag && pszParam == "-network")
        networkMode = TRUE;
    else if (bFlag && (pszParam == "-help" || pszParam == "h"))
        showUsage = TRUE;
    else if (bFlag && pszParam == "-version")
        showVersion = TRUE;
    else if (bFlag)
        AfxFormatString1(error, IDS_COMMAND_LINE_UNKNOWN_OPTION, "-" + pszParam);
    else if (!m_strFileName.IsEmpty())
        AfxFormatString1(error, IDS_COMMAND_LINE_SECOND_FILE, pszParam);
    else
        CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
}

BOOL CConsoleApp::InitApplication()
{
    ParseCommandLine(commandLine);
    CString usage;
    usage.LoadString(IDS_COMMAND_LINE_USAGE);
    if (!commandLine.error.IsEmpty()) {
        // The error, then the synopsis: the usage up to its first blank line.
        const QString& text = static_cast<const QString&>(usage);
        Print(stderr, commandLine.error + CString(text.left(text.indexOf(u"\n\n") + 1)));
        return FALSE;
    }
    if (commandLine.showUsage) {
        Print(stdout, usage);
        return FALSE;
    }
    if (commandLine.showVersion) {
        CString version;
        AfxFormatString1(version, IDS_COMMAND_LINE_VERSION, TAMSEL_VERSION);
        Print(stdout, version);
        return FALSE;
    }
    return TRUE;
}

BOOL CConsoleApp::InitInstance()
{
    if (!LoadResources())
        return FALSE;
    if (!ClaimSingleInstance())
        return FALSE;
    SetRegistryKey(kSettingsCompany);
    if (!AskPassword())
        return FALSE;
    LoadStdProfileSettings(4);
    InstallNetworkPrompts();
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CNtsMgr), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CNtsView)));
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    started = TRUE;
    return TRUE;
}

int CConsoleApp::ExitInstance()
{
    if (started)
        return CWinApp::ExitInstance();
    if (!commandLine.error.IsEmpty())
        return kMalformedCommandLine;
    return commandLine.showUsage || commandLine.showVersion ? 0 : 1;
}

BOOL CConsoleApp::LoadResources()
{
    // Every text of the console, even the caption of its message boxes, is a resource: without
    // them only a plain box can say why the console does not start.
    try {
        afx::ResourceScript::Instance();
        return TRUE;
    } catch (const afx::ResourceError& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tamsel"),
                              QStringLiteral("Tamsel ne peut pas démarrer : ses ressources sont absentes ou "
                                             "endommagées.\n\n%1").arg(error.message));
        return FALSE;
    }
}

BOOL CConsoleApp::ClaimSingleInstance()
{
    // Without a runtime folder or a lock file there is no way to tell; the console starts.
    if (instanceLock.Acquire(CInstanceLock::DefaultPath()) != CInstanceLock::heldElsewhere)
        return TRUE;
    AfxMessageBox(IDP_ALREADY_RUNNING, MB_OK | MB_ICONERROR);
    return FALSE;
}

BOOL CConsoleApp::AskPassword()
{
    // A store that is there but cannot be read holds a password nobody can check: nobody enters.
    if (!PasswordStoreReadable()) {
        AfxMessageBox(IDP_PASSWORD_STORE_UNREADABLE, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    CPasswordDlg dialog(CheckPassword, nullptr);
    // Only the right password goes on: a dialog that could not even be shown must not let
    // anyone in.
    return dialog.DoModal() == IDOK;
}

void CConsoleApp::OnAppAbout()
{
    CAboutBoxDlg().DoModal();
}

void CConsoleApp::OnChangePassword()
{
    CChangePasswordDlg dialog(CheckPassword, nullptr);
    const bool changed = DoModalWithHelpKey(dialog) == IDOK;
    if (changed && !WritePassword(dialog.password))
        AfxMessageBox(IDP_PASSWORD_NOT_STORED, MB_OK | MB_ICONERROR);
}
