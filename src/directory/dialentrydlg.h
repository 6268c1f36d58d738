// CDialEntryDlg: creates or edits one speed dial or one-touch key of the phone book. It writes
// the entry into the phone book itself on OK and on "Appli&quer", and has the page that opened
// it show the entry's row again.
#pragma once

#include "afx/afxwin.h"
#include "dialogs/dialstringedits.h"

#include <memory>

class CDialingData;
class CIdObject;
class CListPage;
class CPhoneBook;

class CDialEntryDlg : public CDialog {
public:
    // `entry`: the CSpeedDial or COneTouch to edit, null for a new one. `parent` supplies the
    // usage shown and takes the saved entry's row.
    CDialEntryDlg(CPhoneBook* phoneBook, CObject* entry, BOOL oneTouch, CListPage* parent);
    ~CDialEntryDlg() override;

    CPhoneBook* const phoneBook;
    const BOOL oneTouch;
    CListPage* const parent;
    // The entry worked on; replaced when a save makes a new one.
    CObject* entry;
    // The fax-number field that last had the focus; null until one has had it.
    CFaxNumberEdit* activeNumberEdit = nullptr;

    CFaxNumberEdit faxNumberEdit;
    CFaxNumberEdit secondNumberEdit;
    CEdit numberEdit;
    CSpinButtonCtrl numberSpin;
    CComboBox typeList;
    CListCtrl speedDialList;
    CListCtrl groupDialList;
    CDateTimeCtrl delayTime;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnTypeChange();
    afx_msg void OnNumberChange();
    afx_msg void OnFaxNumberFocus();
    afx_msg void OnSecondNumberFocus();
    afx_msg void OnNumberFieldChange();
    afx_msg void OnDelayedDial();
    afx_msg void OnItuMailbox();
    afx_msg void OnEmailChange();
    afx_msg void OnAddBillingCode();
    afx_msg void OnSpin(NMHDR* notify, LRESULT* result);
    afx_msg void OnApply();
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    CObList& EntryList() const;
    int HighestNumber() const;
    // The type of the entry: 0 individual, 1 standing for a speed dial, 2 for a group.
    int EntryType() const;
    // The type chosen in the type list.
    int ChosenType() const;
    BOOL ChosenIndividual() const;
    // The entry's own dialing record; null for a key standing for another entry.
    CDialingData* DialingData() const;

    void Load(CDataExchange* pDX, int number);
    void Save(CDataExchange* pDX, int number);
    // Shows the message as an error box and fails the exchange on the control.
    [[noreturn]] void Refuse(CDataExchange* pDX, int controlId, UINT messageId);
    void ExchangeDialingData(CDataExchange* pDX, CDialingData& data);
    void CommonEnd();
    void FillTypeList();
    void ApplyShowRules();
    void ApplyResolutionRule();
    void ApplyBillingCodeRule();
    void FitToMode();

    // A new entry until the phone book has taken it.
    std::unique_ptr<CIdObject> pending;
};
