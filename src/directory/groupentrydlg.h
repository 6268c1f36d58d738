// CGroupEntryDlg: creates or edits one group dial: its number, its name, and its members, moved
// between the speed dials or individual one-touch keys of the phone book and the members list.
// OK and Apply write the group into the phone book and refresh its row on the group page.
#pragma once

#include "afx/afxwin.h"

class CGroupDial;
class CListPage;
class CPhoneBook;

class CGroupEntryDlg : public CDialog {
public:
    // `entry` null: a new group.
    CGroupEntryDlg(CPhoneBook* phoneBook, CGroupDial* entry, CListPage* parent);

    CPhoneBook* const phoneBook;
    // The group the dialog works on; a group its save makes becomes it.
    CGroupDial* entry;
    CListPage* const parent;

    CEdit numberField;
    CSpinButtonCtrl numberSpin;
    CComboBox sourceChooser;
    CListCtrl speedDialSource;
    CListCtrl oneTouchSource;
    CListCtrl memberList;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnNumberSpin(NMHDR* notify, LRESULT* result);
    afx_msg void OnNumberChange();
    afx_msg void OnSourceChange();
    afx_msg void OnAddMembers();
    afx_msg void OnRemoveMembers();
    afx_msg void OnListItemChanged(NMHDR* notify, LRESULT* result);
    afx_msg void OnApply();
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    void Load(int number);
    void Save(CDataExchange* pDX, int number, const CString& name);
    // OK and Apply: the number is free (or the group's own) and the group has members.
    void CheckNumber();
    void UpdateArrowButtons();
    CListCtrl& ShownSource();
};
