#include "directory/contactimportdlg.h"

#include "device/lib/contacts.h"
#include "pages/listpage.h"
#include "res/resource.h"

CContactImportDlg::CContactImportDlg(const contacts::ImportPlan& plan, const CString& fileName, CWnd* parent)
    : CDialog(IDD_CONTACT_IMPORT, parent), plan(plan), fileName(fileName)
{
}

BOOL CContactImportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_IMPORT_SUMMARY, fileName + " : " + CString(plan.Summary()));
    auto* list = static_cast<CListCtrl*>(GetDlgItem(IDC_IMPORT_CHANGES));
    SetListColumns(*list, IDS_IMPORT_COLUMNS);
    int row = 0;
    for (const contacts::ReportLine& line : plan.lines) {
        list->InsertItem(row, line.line > 0 ? CString(QString::number(line.line)) : CString());
        list->SetItemText(row, 1, line.KindText());
        list->SetItemText(row, 2, line.text);
        ++row;
    }
    // Nothing to add or replace: the import can only be left.
    GetDlgItem(IDOK)->EnableWindow(plan.Changes());
    if (!plan.Changes())
        GetDlgItem(IDCANCEL)->SetFocus();
    return plan.Changes();
}
