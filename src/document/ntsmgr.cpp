#include "document/ntsmgr.h"

#include "device/lib/serialformat.h"
#include "res/resource.h"

#include <QFileInfo>
#include <QSaveFile>

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

BOOL CNtsMgr::OnSaveDocument(const CString& lpszPathName)
{
    // The new file replaces the old one only once complete. It is written unbuffered: a
    // buffered write that the disk cuts short (full, over quota) goes unnoticed until after the
    // replacement, and the old file would be lost for a truncated one.
    try {
        const QByteArray bytes = serialformat::StoreToBytes(config);
        QSaveFile file(lpszPathName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            AfxThrowFileException(CFileException::accessDenied, -1, lpszPathName);
        if (file.write(bytes) != bytes.size() || !file.commit())
            AfxThrowFileException(CFileException::hardIO, -1, lpszPathName);
    } catch (const std::exception& e) {
        ReportSaveLoadException(lpszPathName, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CNtsMgr::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsModified());
}
