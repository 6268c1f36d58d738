#include "directory/directorypages.h"

#include "device/lib/phonebook.h"
#include "dialogs/dialoghelpers.h"
#include "directory/dialentrydlg.h"
#include "directory/groupentrydlg.h"
#include "directory/phonebookfile.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CDirectoryPage, CListPage)
IMPLEMENT_DYNAMIC(CSpeedDialPage, CDirectoryPage)
IMPLEMENT_DYNAMIC(COneTouchPage, CDirectoryPage)
IMPLEMENT_DYNAMIC(CGroupDialPage, CDirectoryPage)

BEGIN_MESSAGE_MAP(CDirectoryPage, CListPage)
    ON_BN_CLICKED(IDC_OPEN_PHONE_BOOK, &CDirectoryPage::OnOpenPhoneBook)
    ON_BN_CLICKED(IDC_SAVE_PHONE_BOOK, &CDirectoryPage::OnSavePhoneBook)
    ON_MESSAGE(PSM_QUERYSIBLINGS, &CDirectoryPage::OnQuerySiblings)
END_MESSAGE_MAP()

CDirectoryPage::CDirectoryPage(Kind kind, const int* maxCount, UINT captionId, CPhoneBook* phoneBook)
    : CListPage(maxCount, IDD_DIRECTORY_PAGE, captionId), phoneBook(phoneBook), kind(kind)
{
}

CObList* CDirectoryPage::GetList(UINT& columnsId)
{
    switch (kind) {
    case speedDials:
        columnsId = IDS_SPEED_DIAL_COLUMNS_NETWORK;
        return &phoneBook->GetSpeedDials();
    case oneTouches:
        columnsId = IDS_ONE_TOUCH_COLUMNS_NETWORK;
        return &phoneBook->GetOneTouches();
    case groupDials:
        break;
    }
    columnsId = IDS_GROUP_DIAL_COLUMNS;
    return &phoneBook->GetGroupDials();
}

void CDirectoryPage::DeleteEntry(CObject* entry)
{
    switch (kind) {
    case speedDials:
        phoneBook->Delete(static_cast<CSpeedDial*>(entry));
        break;
    case oneTouches:
        phoneBook->Delete(static_cast<COneTouch*>(entry));
        break;
    case groupDials:
        phoneBook->Delete(static_cast<CGroupDial*>(entry));
        break;
    }
    EntriesRemoved();
}

void CDirectoryPage::DeleteAllEntries()
{
    phoneBook->DeleteContents(kind);
    EntriesRemoved();
}

void CDirectoryPage::EntriesRemoved()
{
    MarkDocumentModified();
    // Speed dials are members of groups and stand behind keys; keys are members of groups;
    // a group takes the keys that stood for it along.
    switch (kind) {
    case speedDials:
        RefreshSibling(oneTouches);
        RefreshSibling(groupDials);
        break;
    case oneTouches:
        RefreshSibling(groupDials);
        break;
    case groupDials:
        RefreshSibling(oneTouches);
        break;
    }
}

void CDirectoryPage::RefreshSibling(Kind sibling)
{
    QuerySiblings(WPARAM(sibling), 0);
}

LRESULT CDirectoryPage::OnQuerySiblings(WPARAM wParam, LPARAM)
{
    if (int(wParam) != kind)
        return 0;
    UpdateData(FALSE);
    return 1;
}

void CDirectoryPage::OnOpenPhoneBook()
{
    ImportExportPhoneBook(*phoneBook, FALSE);
    MarkDocumentModified();
    UpdateData(FALSE);
    // The whole directory may have been replaced: no other page keeps rows of the old one.
    for (Kind other : {speedDials, oneTouches, groupDials}) {
        if (other != kind)
            RefreshSibling(other);
    }
}

void CDirectoryPage::OnSavePhoneBook()
{
    ImportExportPhoneBook(*phoneBook, TRUE);
}

// ---- The three pages ----

CSpeedDialPage::CSpeedDialPage(CPhoneBook* phoneBook)
    : CDirectoryPage(speedDials, &CSpeedDial::max_count, 0, phoneBook)
{
}

CDialog* CSpeedDialPage::CreateEntryDialog(CObject* entry)
{
    return new CDialEntryDlg(phoneBook, entry, FALSE, this);
}

COneTouchPage::COneTouchPage(CPhoneBook* phoneBook)
    : CDirectoryPage(oneTouches, &COneTouch::max_count, IDS_ONE_TOUCH, phoneBook)
{
}

CDialog* COneTouchPage::CreateEntryDialog(CObject* entry)
{
    return new CDialEntryDlg(phoneBook, entry, TRUE, this);
}

CGroupDialPage::CGroupDialPage(CPhoneBook* phoneBook)
    : CDirectoryPage(groupDials, &CGroupDial::max_count, IDS_GROUP_DIAL, phoneBook)
{
}

CDialog* CGroupDialPage::CreateEntryDialog(CObject* entry)
{
    return new CGroupEntryDlg(phoneBook, static_cast<CGroupDial*>(entry), this);
}
