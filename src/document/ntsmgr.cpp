#include "document/ntsmgr.h"

#include "device/lib/serialformat.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CNtsMgr, CDocument)

BEGIN_MESSAGE_MAP(CNtsMgr, CDocument)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CNtsMgr::OnUpdateFileSave)
    ON_COMMAND(ID_DEVICE_CONNECT, &CNtsMgr::OnConnect)
    ON_COMMAND(ID_DEVICE_DISCONNECT, &CNtsMgr::OnDisconnect)
    ON_UPDATE_COMMAND_UI(ID_DEVICE_DISCONNECT, &CNtsMgr::OnUpdateDisconnect)
    ON_COMMAND(ID_DEVICE_APPLY, &CNtsMgr::OnApply)
    ON_COMMAND(ID_DEVICE_COMPARE, &CNtsMgr::OnCompareWithDevice)
    ON_COMMAND(ID_DEVICE_SET_TIME, &CNtsMgr::OnSetDeviceTime)
    ON_COMMAND(ID_DEVICE_RESET, &CNtsMgr::OnResetDevice)
    ON_COMMAND(ID_DEVICE_UPGRADE_FIRMWARE, &CNtsMgr::OnUpgradeFirmware)
    ON_COMMAND(ID_FACTORY_DEFAULTS, &CNtsMgr::OnFactoryDefaults)
END_MESSAGE_MAP()

void CNtsMgr::Serialize(CArchive& ar)
{
    config.Serialize(ar);
}

void CNtsMgr::DeleteContents()
{
    CDocument::DeleteContents();
    config.DeleteContents();
    config.readFrom.Empty();
    config.readTag.clear();
}

BOOL CNtsMgr::OnOpenDocument(const CString& lpszPathName)
{
    // The record reads a whole fresh copy before it takes it, so a file that fails to load
    // leaves it as it was: no copy of it is kept aside, and it is not emptied first.
    try {
        const QByteArray bytes = afx::ReadWholeFile(lpszPathName, GetMaxFileLength());
        // The framework takes an empty file for an empty document; for the console it holds
        // no settings record, and opening it would pass factory values off as the file's.
        if (bytes.isEmpty())
            throw CArchiveException(CArchiveException::endOfFile, lpszPathName);
        serialformat::LoadFromBytes(config, bytes);
        // A record from a file is applied as it stands, whatever the device holds.
        config.readFrom.Empty();
        config.readTag.clear();
    } catch (const std::exception& e) {
        ReportSaveLoadException(lpszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

qint64 CNtsMgr::GetMaxFileLength() const
{
    return serialformat::maxFileBytes;
}

void CNtsMgr::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModified());
}
