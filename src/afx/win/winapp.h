// CWinApp: the application object, one per process. AfxWinMain (called by main) makes the
// QApplication, makes it speak French (FrenchLanguage), installs the help window, then
// runs InitInstance and the event loop.
#pragma once

#include "afx/win/cmdtarget.h"
#include "afx/win/prompts.h"

#include <QStringList>

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;
class CMenuCmdUI;
class CWnd;
class QLocale;
class QString;
class QTranslator;

// What the command line asks: a new document (no argument) or to open a file (the first
// argument that is not an option). Options begin with '-' ('/' begins a path here).
class CCommandLineInfo : public CObject {
public:
    enum { FileNew = 0, FileOpen = 1 };

    virtual void ParseParam(const CString& pszParam, BOOL bFlag, BOOL bLast);

    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

// The recent-file list: most recent first, no file twice, at most its size. It is stored in
// the per-user settings (organisation = the registry key, application = the profile name),
// group "Recent File List", keys "File1".. as soon as it changes.
class CRecentFileList {
public:
    CRecentFileList(UINT nStart, const CString& lpszSection, const CString& lpszEntryFormat, int nSize);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return int(m_files.size()); }
    const CString& operator[](int nIndex) const { return m_files.at(size_t(nIndex)); }
    void Add(const CString& lpszPathName);
    void Remove(int nIndex);

    void ReadList();
    void WriteList() const;
    // Puts the files into the menu in place of the item of pCmdUI ("&1 name", ids nStart..);
    // with no file, the item keeps its own text and is disabled.
    void UpdateMenu(CMenuCmdUI* pCmdUI);

private:
    QString EntryName(int nIndex) const;   // "File1" for index 0

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nSize;
    std::vector<CString> m_files;
    CString m_strOriginal;   // the menu item's own text
};

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const CString& lpszAppName = {});
    ~CWinApp() override;   // closes what is still open; deletes the templates

    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOW;
    CString m_pszAppName;        // the application title (string 57344) once the registry key is set
    CString m_pszRegistryKey;    // the organisation of the settings
    CString m_pszProfileName;    // the application name of the settings (afx::SettingsName)

    // Called before the window system starts, so that what needs no window (an option that
    // only prints) needs no display either. FALSE ends the program with ExitInstance()'s code.
    virtual BOOL InitApplication() { return TRUE; }
    virtual BOOL InitInstance() { return TRUE; }
    // The event loop, until the main window is gone; returns ExitInstance().
    virtual int Run();
    virtual int ExitInstance() { return 0; }
    // Idle time: the main frame's toolbar buttons and indicators follow their update handlers.
    virtual BOOL OnIdle(LONG lCount);

    void SetRegistryKey(const CString& lpszRegistryKey);
    // Reads the recent-file list of nMaxMRU entries (0: none).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(const CString& lpszPathName);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }

    // The application owns the templates it is given.
    void AddDocTemplate(CDocTemplate* pTemplate);
    virtual CDocument* OpenDocumentFile(const CString& lpszFileName);
    void CloseAllDocuments(BOOL bEndSession);
    BOOL SaveAllModified();

    // The arguments after the program name, as AfxWinMain was given them.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FALSE when the document could not be made or opened.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // The open or save dialog with the template's filter (its document string's filter name
    // and extension, then all files); TRUE with the path chosen in fileName.
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);

    // Help: context ids of the topics (HELP_CONTEXT), or the contents (HELP_FINDER).
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = afx::HELP_CONTEXT);

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    // The main window is gone: the event loop ends.
    void OnMainWindowDestroyed();

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(int argc, char** argv);
    // Closes the documents and destroys the main window, while Qt is still there.
    void CloseEverything();

    QStringList m_arguments;   // the command line, the program's name first
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    bool m_running = false;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's entry: main() returns AfxWinMain(argc, argv) for the one CWinApp object. A
// resource script that cannot be read is reported there.
int AfxWinMain(int argc, char** argv);

namespace afx {
// The application's name as the settings name their file: a "/" of the title is written "-",
// so that it makes no folder.
QString SettingsName(const CString& title);

// The folder of the machine-wide settings: the one the build was made for (/etc/xdg for a
// /usr install). No variable of the environment moves it: it holds what guards the program.
QString MachineSettingsFolder();

// The program speaks French whatever the system's language, while this object lives: the
// default locale is fr_FR (numbers, dates, the names of file types) and Qt's own dialogs have
// their French texts (qtbase_fr of Qt's translations, and the few texts it lacks). Made once the
// QApplication exists.
class FrenchLanguage {
public:
    FrenchLanguage();
    ~FrenchLanguage();
    FrenchLanguage(const FrenchLanguage&) = delete;
    FrenchLanguage& operator=(const FrenchLanguage&) = delete;

    // FALSE when Qt's French texts are not installed (a warning said so).
    BOOL QtTextsInstalled() const { return qtTexts != nullptr; }

private:
    std::unique_ptr<QLocale> previousLocale;
    std::unique_ptr<QTranslator> qtTexts;
    std::unique_ptr<QTranslator> missingTexts;
};
}
