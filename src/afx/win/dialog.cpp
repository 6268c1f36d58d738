#include "afx/win/dialog.h"

#include "afx/core/resources.h"
#include "afx/win/dlgtemplate.h"
#include "afx/win/hook.h"
#include "afx/win/prompts.h"

#include <QDialog>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace {

// A popup dialog's window: Escape and the close box send IDCANCEL to the dialog, as the
// Windows dialog manager does.
class DialogWindow : public QDialog {
public:
    explicit DialogWindow(QWidget* parent) : QDialog(parent) {}

    void reject() override
    {
        if (CWnd* dialog = CWnd::FromHandlePermanent(this))
            dialog->SendMessage(WM_COMMAND, IDCANCEL);
        else
            QDialog::reject();
    }
};

bool CanTakeFocus(QWidget* widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->isHidden();
}

} // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CDialog::CreateIndirect(const afx::DialogTemplate& tmpl, CWnd* pParentWnd, bool modal)
{
    if (m_hWnd)
        return FALSE;
    m_nIDHelp = UINT(tmpl.id);
    m_modal = modal;
    m_ended = false;
    m_result = 0;
    QWidget* parent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    QWidget* widget;
    if (!modal && (tmpl.style & WS_CHILD)) {
        widget = new QWidget(parent);
    } else {
        widget = new DialogWindow(parent ? parent->window() : afx::DefaultOwner());
        widget->setWindowFlags(Qt::Dialog | afx::detail::TitleBarFlags(tmpl.style));
    }
    CREATESTRUCT cs;
    cs.hwndParent = parent;
    cs.style = tmpl.style & ~WS_VISIBLE;
    cs.dwExStyle = tmpl.exStyle;
    if (!CreateWithWidget(widget, cs))
        return FALSE;
    afx::detail::WindowHook::Of(widget)->style = tmpl.style;
    afx::BuildDialog(widget, tmpl);
    const QPoint placed = widget->pos();
    const bool initialised = OnInitDialog();
    // A dialog that is to be shown later and did not place itself opens centred on its owner.
    if (m_hWnd && m_hWnd->isWindow() && (modal || !(tmpl.style & WS_VISIBLE)) && m_hWnd->pos() == placed)
        CenterWindow();
    if (initialised && !m_ended) {
        for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            if (CanTakeFocus(child->m_hWnd)) {
                GotoDlgCtrl(child);
                break;
            }
        }
    }
    if (!modal && (tmpl.style & WS_VISIBLE) && m_hWnd)
        m_hWnd->show();
    return m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(m_nIDHelp);
    if (!tmpl) {
        qWarning("afx: no dialog template %u", m_nIDHelp);
        return -1;
    }
    if (!CreateIndirect(*tmpl, m_pParentWnd, true))
        return -1;
    if (!m_ended) {
        afx::Prompt prompt;
        prompt.kind = afx::PromptKind::Dialog;
        prompt.templateId = m_nIDHelp;
        prompt.caption = tmpl->caption;
        prompt.dialog = this;
        const int answer = afx::ShowPrompt(prompt);
        if (!m_ended) {
            m_ended = true;
            m_result = answer;
        }
    }
    DestroyWindow();
    m_modal = false;
    return m_result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(nIDTemplate);
    if (!tmpl) {
        qWarning("afx: no dialog template %u", nIDTemplate);
        return FALSE;
    }
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateIndirect(*tmpl, m_pParentWnd, false);
}

void CDialog::EndDialog(int nResult)
{
    m_ended = true;
    m_result = nResult;
    if (auto* window = qobject_cast<QDialog*>(m_hWnd))
        window->done(nResult);
    else if (m_hWnd)
        m_hWnd->hide();
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

DWORD CDialog::GetDefID() const
{
    constexpr DWORD kHasDefId = 0x534B;
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        auto* button = qobject_cast<QPushButton*>(child->m_hWnd);
        if (button && button->isDefault())
            return DWORD(MAKELPARAM(unsigned(child->GetDlgCtrlID()), kHasDefId));
    }
    return 0;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        SendMessage(WM_COMMAND, IDCANCEL);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
