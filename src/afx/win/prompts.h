// Every modal prompt (dialog, message box, file dialog, help request) passes through one
// gateway. The application shows it for real; a test answers it (afx/win/testing.h).
#pragma once

#include "afx/win/wnd.h"

#include <functional>

class CDialog;
class QFileDialog;

namespace afx {

enum class PromptKind { MessageBox, Dialog, FileDialog, Help };

// What is shown, as the gateway sees it and tests record it.
struct Prompt {
    PromptKind kind = PromptKind::MessageBox;
    CString text;            // message box text; file dialog title
    CString caption;         // message box caption
    UINT type = 0;           // message box type (MB_*); file dialog: TRUE for open, FALSE for save
    UINT templateId = 0;     // dialog template
    CString filter;          // file dialog filter, in the "Name (*.x)|*.x||" form
    CString defaultExt;      // file dialog default extension
    CString fileName;        // file dialog initial name; its answer on return
    CString folder;          // file dialog: the folder it opens in
    DWORD flags = 0;         // file dialog: its OFN_* flags
    DWORD helpContext = 0;   // help request
    UINT helpCommand = 0;
    CDialog* dialog = nullptr;   // the live dialog (created, initialised, shown)
    QFileDialog* fileDialog = nullptr;   // the live file dialog, set up and shown, while it is answered
};

// Answers prompts; the result is what the prompt returns (IDOK, IDYES, ...). For a dialog the
// answerer ends the dialog (EndDialog) or returns its result.
class PromptAnswerer {
public:
    virtual ~PromptAnswerer() = default;
    virtual int Answer(Prompt& prompt) = 0;
};

// nullptr restores the real prompts. Returns the previous answerer.
PromptAnswerer* SetPromptAnswerer(PromptAnswerer* answerer);

// The gateway itself: the installed answerer, or the real prompt.
int ShowPrompt(Prompt& prompt);

// The window a prompt opened without an owner of its own belongs to: the modal window on
// top, else the active window, else the main window (nullptr when there is none).
QWidget* DefaultOwner();

// The caption of message boxes: the application title (string 57344).
CString AppTitle();

// Help requests: context and command as WinHelp takes them. The application installs the
// viewer that shows its help topics.
enum : UINT { HELP_CONTEXT = 0x1, HELP_QUIT = 0x2, HELP_FINDER = 0xB };
void ShowHelp(DWORD context, UINT command = HELP_CONTEXT);
void SetHelpViewer(std::function<void(DWORD context, UINT command)> viewer);

} // namespace afx

int AfxMessageBox(const CString& lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

enum : DWORD { OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4,
               OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000 };

struct OPENFILENAME {
    DWORD Flags = 0;
    CString lpstrTitle;      // empty: the standard title
    CString lpstrInitialDir;
};

// Asks before replacing an existing file only with OFN_OVERWRITEPROMPT, and takes only the
// name of an existing file only with OFN_FILEMUSTEXIST. Opens in m_ofn.lpstrInitialDir, else the folder of the file name given, else that of the
// main window's document, else the user's documents folder.
class CFileDialog {
public:
    // lpszFilter in the "Name (*.x)|*.x|Other (*.*)|*.*||" form.
    explicit CFileDialog(BOOL bOpenFileDialog, const CString& lpszDefExt = {},
                         const CString& lpszFileName = {},
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const CString& lpszFilter = {}, CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    virtual INT_PTR DoModal();   // IDOK with a path chosen, IDCANCEL
    CString GetPathName() const { return m_pathName; }

    OPENFILENAME m_ofn;

private:
    CString StartFolder() const;

    BOOL m_bOpenFileDialog;
    CString m_defExt;
    CString m_filter;
    CString m_pathName;
    CWnd* m_pParentWnd;
};
