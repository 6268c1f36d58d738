// CConsoleApp: the console's application object. It starts the console (one instance at a
// time, behind the console's password), ties the settings document, the main frame and the
// view together, and owns the about box and the change of password.
#pragma once

#include "afx/afxwin.h"
#include "app/instancelock.h"

// The console's command line: a settings file to open, "--network" to offer the network
// mode, "--help" for the usage, "--version" for the version.
class CConsoleCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const CString& pszParam, BOOL bFlag, BOOL bLast) override;

    BOOL networkMode = FALSE;
    BOOL showUsage = FALSE;
    BOOL showVersion = FALSE;
    // The first thing the console does not understand (its message, for standard error); empty
    // when the whole line was understood.
    CString error;
};

class CConsoleApp : public CWinApp {
public:
    // Whether the command line asked for the network mode: the frame then keeps its command.
    BOOL NetworkModeOffered() const { return commandLine.networkMode; }

    // Reads the command line; prints the usage or the version, or a malformed line's error
    // with the usage line, without a display, and stops.
    BOOL InitApplication() override;
    // Refuses a second instance, asks the password, opens the settings file named on the
    // command line or a new document, and shows the main window. FALSE ends the program.
    BOOL InitInstance() override;
    // A start that was refused or failed ends the process with exit code 1; one that only
    // printed the usage or the version, with 0; a malformed command line, with 2.
    int ExitInstance() override;

    afx_msg void OnAppAbout();
    // Also the password prompt's "C&hanger mot de passe..." button.
    afx_msg void OnChangePassword();

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Steps of InitInstance; FALSE stops the start.
    BOOL LoadResources();
    BOOL ClaimSingleInstance();
    BOOL AskPassword();

    CInstanceLock instanceLock;   // held for the life of the process
    CConsoleCommandLineInfo commandLine;
    BOOL started = FALSE;
};
