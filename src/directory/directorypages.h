// The directory category's three pages: speed dials, one-touch keys and group dials of the
// record's phone book, each a list page with the two phone-book file buttons.
#pragma once

#include "pages/listpage.h"

class CPhoneBook;

// What the three pages share: the phone book, the file buttons, and the rebuild of the pages
// whose lists show entries that a removal took along.
class CDirectoryPage : public CListPage {
    DECLARE_DYNAMIC(CDirectoryPage)
public:
    // Entry kinds as the phone book numbers them.
    enum Kind { speedDials = 1, oneTouches = 2, groupDials = 3 };

    CPhoneBook* const phoneBook;

    // The entries of the page's kind.
    CObList* GetList(UINT& columnsId) override;
    void DeleteEntry(CObject* entry) override;
    void DeleteAllEntries() override;

protected:
    CDirectoryPage(Kind kind, const int* maxCount, UINT captionId, CPhoneBook* phoneBook);

    // After entries of this page's kind left the phone book: the document is modified, and
    // the pages of the kinds that referred to them are rebuilt at once, so that no row is
    // left showing an entry the phone book destroyed with them.
    void EntriesRemoved();
    // Asks the page of that kind, when it has its window, to rebuild its list.
    void RefreshSibling(Kind kind);

    afx_msg void OnOpenPhoneBook();
    afx_msg void OnSavePhoneBook();
    afx_msg LRESULT OnQuerySiblings(WPARAM wParam, LPARAM lParam);

    const Kind kind;

    DECLARE_MESSAGE_MAP()
};

class CSpeedDialPage : public CDirectoryPage {
    DECLARE_DYNAMIC(CSpeedDialPage)
public:
    explicit CSpeedDialPage(CPhoneBook* phoneBook);
    CDialog* CreateEntryDialog(CObject* entry) override;
};

class COneTouchPage : public CDirectoryPage {
    DECLARE_DYNAMIC(COneTouchPage)
public:
    explicit COneTouchPage(CPhoneBook* phoneBook);
    CDialog* CreateEntryDialog(CObject* entry) override;
};

class CGroupDialPage : public CDirectoryPage {
    DECLARE_DYNAMIC(CGroupDialPage)
public:
    explicit CGroupDialPage(CPhoneBook* phoneBook);

    CDialog* CreateEntryDialog(CObject* entry) override;
};
