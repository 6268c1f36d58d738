// CNtsMgr: the console's one document. It owns the settings record for the program's whole
// life and knows which device is selected; a settings file (.tms) is the record's own
// serialised form.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/config.h"

class CNtsMgr : public CDocument {
    DECLARE_DYNCREATE(CNtsMgr)
public:
    CNtsMgr() = default;

    // TRUE after the last read of the record from the device succeeded.
    BOOL connected = FALSE;
    // Never replaced: new and open refill it, so the pages' pointers into it stay valid.
    CConfig config;
    // The selected device as the device list names it; empty when none is selected.
    CString deviceName;

    // Exactly the record's own serialised form, nothing before or after it.
    void Serialize(CArchive& ar) override;
    // Empties the record; the device selection and the connected state stay.
    void DeleteContents() override;
    BOOL OnOpenDocument(const CString& lpszPathName) override;

    // Page factory.

    // Device commands.

    // "Enregistrer paramètres..." is enabled exactly while the record has unsaved changes.
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
