// CNtsMgr: the console's one document. It owns the settings record for the program's whole
// life and knows which device is selected; a settings file (.tms) is the record's own
// serialised form.
#pragma once

#include "afx/afxwin.h"
#include "device/lib/config.h"

// Lets the network link ask the user, through the console's dialogs, to trust a device's key,
// for a device's password, and whether to overwrite another client's change.
void InstallNetworkPrompts();

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
    // Reads the file into the record, which stays as it was when that fails; an empty file
    // is no settings file.
    BOOL OnOpenDocument(const CString& lpszPathName) override;
    qint64 GetMaxFileLength() const override;

    // Page factory: a new page for the template, bound to its sections of the record, or
    // nullptr when the template has no page; the caller owns it. `variant` is the position of
    // a directory tab.
    CDialog* CreatePage(UINT templateId, int variant);

    // Device commands (connection.cpp, deviceops.cpp).
    // Compare reads the device into the record `compared`, leaving the document's alone.
    enum DeviceOperation { Read = 0, Write = 1, SetTime = 2, Reset = 3, Compare = 4 };
    // Lets the user choose a device; TRUE when one was chosen (deviceName is then set).
    BOOL SelectDevice();
    // Confirms, selects a device when none is, runs the operation with the wait window up and
    // reports; the library call's result, 0 when the user declined or chose no device.
    int RunDeviceOperation(int operation, CConfig* compared = nullptr);
    afx_msg void OnConnect();
    afx_msg void OnDisconnect();
    afx_msg void OnUpdateDisconnect(CCmdUI* pCmdUI);
    afx_msg void OnApply();
    // Reads the device and shows what applying the record would change there; sends nothing.
    afx_msg void OnCompareWithDevice();
    afx_msg void OnSetDeviceTime();
    afx_msg void OnResetDevice();
    afx_msg void OnUpgradeFirmware();
    afx_msg void OnFactoryDefaults();

    // "Enregistrer paramètres..." is enabled exactly while the record has unsaved changes.
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
