// Dialog data exchange and validation: DoDataExchange moves values between a dialog's controls
// and its members, in the direction of m_bSaveAndValidate. A failing check shows its message,
// puts the focus on the last control exchanged and ends the exchange (UpdateData returns FALSE).
#pragma once

#include "afx/win/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;   // TRUE: controls to members (and validate)
    CWnd* m_pDlgWnd;

    // The control of the dialog with this id; it becomes the one a failure returns to.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Returns the focus to the last prepared control (an edit's text selected) and ends the
    // exchange by throwing CUserException (afx/core/exception.h), which UpdateData catches.
    [[noreturn]] void Fail();

    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The selected item's index. Saving a list with no item selected keeps the value: a stored
// choice the list does not offer survives every save of its dialog.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The group of radio buttons that starts at nIDC (WS_GROUP) and runs in template order up to
// the next WS_GROUP: value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Attaches rControl to the dialog item (subclassing it) the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// The standard messages of the exchange (French), with %1 and %2 filled.
namespace afx {
CString DdxMessageBadInt();
CString DdxMessageIntRange(long long minVal, long long maxVal);
CString DdxMessageMaxChars(int nChars);
}
