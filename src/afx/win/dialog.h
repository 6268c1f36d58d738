// CDialog: a window built from a dialog template of the resources, modal (DoModal, through
// the prompt gateway) or modeless child (Create).
#pragma once

#include "afx/win/wnd.h"

namespace afx { struct DialogTemplate; }

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns what EndDialog was given, or -1 when the template is
    // missing. Tests answer it through afx::testing::PromptScript.
    virtual INT_PTR DoModal();
    // Creates the dialog from its template as a child (WS_CHILD) or owned window of pParentWnd.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();   // runs UpdateData(FALSE); TRUE gives the first control focus
    virtual void OnOK();           // UpdateData(TRUE) and, when it succeeds, EndDialog(IDOK)
    virtual void OnCancel();       // EndDialog(IDCANCEL)

    void GotoDlgCtrl(CWnd* pWndCtrl) { CWnd::GotoDlgCtrl(pWndCtrl); }
    DWORD GetDefID() const;

    UINT GetTemplateID() const { return m_nIDHelp; }
    bool IsModal() const { return m_modal; }
    bool IsEnded() const { return m_ended; }
    int GetResult() const { return m_result; }

    // Builds the widgets of the template and runs OnInitDialog: the common part of DoModal and
    // Create. nullptr widget parent makes a top-level window.
    BOOL CreateIndirect(const afx::DialogTemplate& tmpl, CWnd* pParentWnd, bool modal);

    UINT m_nIDHelp = 0;            // the template id
    CWnd* m_pParentWnd = nullptr;

    // WM_CLOSE ends the dialog as Cancel does.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    bool m_modal = false;
    bool m_ended = false;
    int m_result = 0;
};
