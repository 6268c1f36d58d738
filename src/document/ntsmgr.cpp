#include "document/ntsmgr.h"

#include "device/lib/serialformat.h"
#include "res/resource.h"

#include <QFileInfo>

IMPLEMENT_DYNCREATE(CNtsMgr, CDocument)

BEGIN_MESSAGE_MAP(CNtsMgr, CDocument)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CNtsMgr::OnUpdateFileSave)
    ON_COMMAND(ID_DEVICE_CONNECT, &CNtsMgr::OnConnect)
    ON_COMMAND(ID_DEVICE_DISCONNECT, &CNtsMgr::OnDisconnect)
    ON_UPDATE_COMMAND_UI(ID_DEVICE_DISCONNECT, &CNtsMgr::OnUpdateDisconnect)
    ON_COMMAND(ID_DEVICE_APPLY, &CNtsMgr::OnApply)
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
}

BOOL CNtsMgr::OnOpenDocument(const CString& lpszPathName)
{
    // The framework takes an empty file for an empty document; for the console it holds no
    // settings record, and opening it would pass factory values off as the file's settings.
    const QFileInfo file(lpszPathName);
    if (file.isFile() && file.size() == 0) {
        const CArchiveException empty(CArchiveException::endOfFile, lpszPathName);
        ReportSaveLoadException(lpszPathName, &empty, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    return CDocument::OnOpenDocument(lpszPathName);
}

qint64 CNtsMgr::GetMaxFileLength() const
{
    return serialformat::maxFileBytes;
}

void CNtsMgr::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModified());
}
