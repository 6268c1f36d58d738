// CListPage: a property page that shows one list of numbered entries of the settings record
// (speed dials, one-touch keys, group dials, mailboxes, client codes) with Add, Edit, Delete
// and Delete all. A derived page names its list, its columns, its entry dialog and how entries
// leave the data; the filling, the buttons and the keyboard and mouse handling are done here.
// Also the list helpers every directory, mailbox and client-code window builds its lists with,
// and two helpers of the entry dialogs.
#pragma once

#include "afx/afxwin.h"

class CIdObject;

class CListPage : public CPropertyPage {
    DECLARE_DYNAMIC(CListPage)
public:
    // `maxCount`: the capacity of the page's kind, read each time it is needed. Caption 0
    // keeps the template's own.
    CListPage(const int* maxCount, UINT templateId, UINT captionId = 0);

    CListCtrl list;

    virtual void UpdateButtons();
    // The entries the page shows, and the id of the string that describes its columns.
    virtual CObList* GetList(UINT& columnsId);
    // A new modal dialog that edits `entry`, or makes a new entry when it is null; none when
    // the page has no dialog.
    virtual CDialog* CreateEntryDialog(CObject* entry);
    virtual void DeleteEntry(CObject* entry);
    virtual void DeleteAllEntries();

    void DoDataExchange(CDataExchange* pDX) override;

    void OpenEntryDialog(CObject* entry);
    // An entry dialog saved `entry`: its row goes to its sorted place, selected.
    void RefreshEntry(CObject* entry);
    // The number of rows; `capacity` receives the page's capacity.
    int GetUsage(int& capacity) const;

protected:
    afx_msg void OnAdd();
    afx_msg void OnModify();
    afx_msg void OnDelete();
    afx_msg void OnDeleteAll();
    afx_msg void OnListDoubleClick(NMHDR* notify, LRESULT* result);
    afx_msg void OnListItemChanged(NMHDR* notify, LRESULT* result);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    const int* const maxCount;

    DECLARE_MESSAGE_MAP()
};

// Replaces every column of the list by those the string describes: "heading, width," pairs.
// In local mode the network-mode strings of the speed dials and one-touch keys give way to
// their local twins.
void SetListColumns(CListCtrl& list, UINT columnsId);
// Empties the list, sets its columns and inserts every object; the index of the last row.
int FillEntryList(CListCtrl& list, UINT columnsId, CObList& objects, CObject* selected);
// Inserts the row of a numbered entry or a mailbox at its sorted place; its index.
int InsertEntryItem(CListCtrl& list, CObject* object, BOOL select);
// The first row showing `object`, -1 when none.
int FindItemByData(CListCtrl& list, CObject* object);
// The object of the first selected row, null when none; its index in *index when asked.
CObject* GetFirstSelectedData(CListCtrl& list, int* index = nullptr);

// Writes the page's usage and capacity into the dialog's fields 1303 and 1304.
void ShowUsage(CDialog* dialog, CListPage* page);
// Moves the number field to the nearest free entry number in the direction of `delta`,
// within the spin control's range; `current` is the entry being edited (null for a new one).
void StepEntryNumber(CEdit* numberField, CSpinButtonCtrl* spin, CObList& entries, CIdObject* current, int delta);
