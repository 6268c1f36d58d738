#include "dialogs/detailsmessagedlg.h"

#include "res/resource.h"

#include <QPalette>
#include <QWidget>

namespace {
// Windows paints read-only edits in the dialog's colour; the layer leaves them white.
void PaintAsDialog(CWnd* edit)
{
    QPalette palette = edit->m_hWnd->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->m_hWnd->setPalette(palette);
}
} // namespace

BEGIN_MESSAGE_MAP(CDetailsMessageDlg, CDialog)
    ON_BN_CLICKED(IDC_DETAILS_EXPAND, &CDetailsMessageDlg::OnExpand)
    ON_BN_CLICKED(IDC_DETAILS_COLLAPSE, &CDetailsMessageDlg::OnCollapse)
END_MESSAGE_MAP()

CDetailsMessageDlg::CDetailsMessageDlg(const CString& message, const CString& details, CWnd* parent,
                                       UINT standardIcon)
    : CDialog(IDD_DETAILS_MESSAGE, parent), details(details), message(message), standardIcon(standardIcon)
{
}

void CDetailsMessageDlg::ShowLines(UINT messageId, const CStringArray& lines, CWnd* parent, UINT standardIcon)
{
    CString details;
    for (INT_PTR index = 0; index < lines.GetSize(); ++index)
        details += CString(index > 0 ? "\n" : "") + lines[index];
    CString message;
    message.LoadString(messageId);
    CDetailsMessageDlg(message, details, parent, standardIcon).DoModal();
}

void CDetailsMessageDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DETAILS_ICON, icon);
    DDX_Control(pDX, IDC_DETAILS_TEXT, detailsBox);
    DDX_Control(pDX, IDC_DETAILS_EXPAND, expandButton);
    DDX_Control(pDX, IDC_DETAILS_COLLAPSE, collapseButton);
    DDX_Text(pDX, IDC_DETAILS_TEXT, details);
    DDX_Text(pDX, IDC_DETAILS_MESSAGE, message);
}

BOOL CDetailsMessageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString title;
    title.LoadString(AFX_IDS_APP_TITLE);
    SetWindowText(title);
    CRect window, box;
    GetWindowRect(window);
    detailsBox.GetWindowRect(box);
    collapseHeight = int(window.bottom - box.top);
    OnCollapse();
    icon.SetIcon(AfxLoadStandardIcon(standardIcon));
    PaintAsDialog(&detailsBox);
    PaintAsDialog(GetDlgItem(IDC_DETAILS_MESSAGE));
    return TRUE;
}

void CDetailsMessageDlg::OnExpand()
{
    SwitchDetails(collapseButton, expandButton, collapseHeight);
}

void CDetailsMessageDlg::OnCollapse()
{
    SwitchDetails(expandButton, collapseButton, -collapseHeight);
}

void CDetailsMessageDlg::SwitchDetails(CButton& shown, CButton& hidden, int heightChange)
{
    const bool hadFocus = GetFocus() == &hidden;
    shown.ShowWindow(SW_SHOW);
    hidden.ShowWindow(SW_HIDE);
    if (hadFocus)
        GotoDlgCtrl(&shown);
    CRect window;
    GetWindowRect(window);
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() + heightChange, SWP_NOMOVE | SWP_NOZORDER);
    Invalidate();
}
