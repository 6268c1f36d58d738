// CClientCodePage: the "Code client" tab of "Général". A check box switches client codes on and
// off; the list of codes, with their page counters, opens only once the master code was given
// in CMasterCodeDlg, each time the page is shown.
#pragma once

#include "pages/listpage.h"

class CDepartmentCodes;

class CClientCodePage : public CListPage {
    DECLARE_DYNAMIC(CClientCodePage)
public:
    explicit CClientCodePage(CDepartmentCodes* clientCodes);

    CDepartmentCodes* const clientCodes;

    // Asks for the master code before the codes show.
    BOOL OnSetActive() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The base rules; Add only while client codes are on, Delete never with the master code
    // among the selected rows (the keyboard deletion goes through Delete).
    void UpdateButtons() override;
    CObList* GetList(UINT& columnsId) override;
    CDialog* CreateEntryDialog(CObject* entry) override;
    void DeleteEntry(CObject* entry) override;
    // Every code but the master code.
    void DeleteAllEntries() override;

protected:
    // After the box changed: checked asks for the master code, unchecked offers to delete
    // every code. The box keeps its state only when that went through.
    afx_msg void OnEnableClientCodes();

    DECLARE_MESSAGE_MAP()

private:
    BOOL MasterCodeSelected();
};
