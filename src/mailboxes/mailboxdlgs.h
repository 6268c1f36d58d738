// The mailbox page's dialogs: one mailbox with its type, password and relay destinations, and
// the choice of relay destinations among the directory's entries.
#pragma once

#include "afx/afxwin.h"
#include "dialogs/dialstringedits.h"

#include <memory>

class CListPage;
class CMailBox;
class CMailBoxes;
class CPhoneBook;

// Picks speed dials, one-touch keys or group dials; after OK, `numbers` holds the number texts
// of the selected rows, top to bottom.
class CRelayDestDlg : public CDialog {
public:
    // `remaining`: how many destinations may still be chosen.
    CRelayDestDlg(CPhoneBook* phoneBook, int remaining, CWnd* parent);

    CComboBox kindCombo;
    CListCtrl list;
    CStringArray numbers;
    CPhoneBook* const phoneBook;
    const int remaining;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnOK() override;
    afx_msg void OnKindChanged();
    // Confirms the whole selection, not only the row clicked.
    afx_msg void OnListDoubleClick(NMHDR* notify, LRESULT* result);
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()
};

// Edits `entry`, or makes a new mailbox when it is null. Every save (OK, "Appli&quer") goes
// into `mailBoxes` and the page's list at once.
class CMailBoxEntryDlg : public CDialog {
public:
    CMailBoxEntryDlg(CMailBoxes* mailBoxes, CPhoneBook* phoneBook, CMailBox* entry, CListPage* page);
    ~CMailBoxEntryDlg() override;

    CComboBox typeCombo;
    CComboBox reportKindCombo;
    CFaxNumberEdit faxEdit;
    CListCtrl destinations;
    CMailBoxes* const mailBoxes;
    CPhoneBook* const phoneBook;
    // The mailbox the dialog saves into; a saved new mailbox becomes it.
    CMailBox* entry;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    // OK and "Appli&quer" only while no other mailbox has the number.
    afx_msg void OnNumberChange();
    afx_msg void OnTypeChanged();
    afx_msg void OnReportKindChanged();
    afx_msg void OnChooseReportEntry();
    afx_msg void OnAddDestinations();
    afx_msg void OnRemoveDestinations();
    afx_msg void OnClearDestinations();
    afx_msg void OnDestinationChanged(NMHDR* notify, LRESULT* result);
    afx_msg void OnApply();
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    void FillReportKinds(int current);
    // The kind of the selected report destination; -1 when none is selected.
    int SelectedReportKind();
    void ShowReportField();
    void UpdateRelayButtons();
    BOOL IsRelay();
    // Inserts the destination's row at its place; FALSE when it is listed already.
    BOOL InsertDestination(const CString& number);
    // A row of the destination: its number text, the kind and name of its directory entry.
    void InsertDestinationRow(int place, const CString& number);

    CListPage* const page;
    // A new mailbox the container refused; it is used again by the next save.
    std::unique_ptr<CMailBox> refused;
};
