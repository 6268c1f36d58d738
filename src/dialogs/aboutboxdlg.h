// The about box: the console's picture and an OK button.
#pragma once

#include "afx/afxwin.h"
#include "res/resource.h"

class CAboutBoxDlg : public CDialog {
public:
    explicit CAboutBoxDlg(CWnd* parent = nullptr) : CDialog(IDD_ABOUTBOX, parent) {}
};
