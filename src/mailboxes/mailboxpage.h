// CMailBoxPage: the "Boîte aux lettres" page. Before a mailbox that still holds documents on
// the device is changed or deleted, the user is warned.
#pragma once

#include "pages/listpage.h"

class CMailBoxes;
class CPhoneBook;

class CMailBoxPage : public CListPage {
    DECLARE_DYNAMIC(CMailBoxPage)
public:
    CMailBoxPage(CMailBoxes* mailBoxes, CPhoneBook* phoneBook);

    CMailBoxes* const mailBoxes;
    CPhoneBook* const phoneBook;

    CObList* GetList(UINT& columnsId) override;
    CDialog* CreateEntryDialog(CObject* entry) override;
    void DeleteEntry(CObject* entry) override;
    void DeleteAllEntries() override;

    // Whether one of the selected rows' mailboxes holds documents on the device.
    BOOL AnySelectedBusy();

protected:
    afx_msg void OnModifyChecked();
    // The keyboard deletion clicks this button too, so it asks the same question.
    afx_msg void OnDeleteChecked();
    afx_msg void OnDeleteAllChecked();
    afx_msg void OnListDoubleClickChecked(NMHDR* notify, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    BOOL IsBusy(int row);
};
