// The preview of a contact import: what it adds, replaces and refuses, line by line of the
// file, before anything in the directory changes.
#pragma once

#include "afx/afxwin.h"

namespace contacts {
struct ImportPlan;
}

class CContactImportDlg : public CDialog {
public:
    // The plan stays the caller's. IDOK: go on with the import.
    CContactImportDlg(const contacts::ImportPlan& plan, const CString& fileName, CWnd* parent);

protected:
    BOOL OnInitDialog() override;

private:
    const contacts::ImportPlan& plan;
    CString fileName;
};
