#include "afx/win/doc.h"

#include "afx/core/archive.h"
#include "afx/core/file.h"
#include "afx/win/doctemplate.h"
#include "afx/win/frame.h"
#include "afx/win/fwstrings.h"
#include "afx/win/view.h"
#include "afx/win/winapp.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

// The document's content, written by its own Serialize.
QByteArray Store(CDocument& document)
{
    CMemFile memory;
    CArchive archive(&memory, CArchive::store);
    document.Serialize(archive);
    archive.Close();
    QByteArray bytes(qsizetype(memory.GetLength()), Qt::Uninitialized);
    memory.SeekToBegin();
    memory.Read(bytes.data(), UINT(bytes.size()));
    return bytes;
}

// An empty file is an empty document.
void Load(CDocument& document, const QByteArray& bytes)
{
    CMemFile memory;
    memory.Write(bytes.constData(), UINT(bytes.size()));
    memory.SeekToBegin();
    CArchive archive(&memory, CArchive::load);
    if (!bytes.isEmpty())
        document.Serialize(archive);
    archive.Close();
}

// The framework's message for a failure, by the kind of exception and its cause.
UINT FailureMessage(const std::exception* e, BOOL bSaving, UINT nIDPDefault)
{
    if (const auto* archive = dynamic_cast<const CArchiveException*>(e)) {
        switch (archive->m_cause) {
        case CArchiveException::endOfFile: case CArchiveException::badIndex:
        case CArchiveException::badClass: case CArchiveException::badSchema:
            return AFX_IDP_FAILED_INVALID_FORMAT;
        default:
            return nIDPDefault;
        }
    }
    if (const auto* file = dynamic_cast<const CFileException*>(e)) {
        switch (file->m_cause) {
        case CFileException::fileNotFound: case CFileException::badPath:
            return AFX_IDP_FAILED_INVALID_PATH;
        case CFileException::diskFull:
            return file->m_lOsError == EFBIG ? AFX_IDP_FAILED_TOO_LARGE : AFX_IDP_FAILED_DISK_FULL;
        case CFileException::accessDenied: case CFileException::sharingViolation:
        case CFileException::lockViolation:
            return bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
        case CFileException::endOfFile:
            return AFX_IDP_FAILED_INVALID_FORMAT;
        case CFileException::invalidFile:   // no regular file, or far too large to be a document
            return file->m_lOsError == EFBIG && !bSaving ? AFX_IDP_FAILED_INVALID_FORMAT : nIDPDefault;
        case CFileException::none:
            return nIDPDefault;
        default:
            return bSaving ? AFX_IDP_FAILED_IO_ERROR_WRITE : AFX_IDP_FAILED_IO_ERROR_READ;
        }
    }
    return nIDPDefault;
}

} // namespace

CDocument::~CDocument()
{
    // Views outliving their document must not reach it.
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;)
        m_viewList.GetNext(pos)->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const CString& lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameTitles();
}

void CDocument::SetPathName(const CString& lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = QFileInfo(lpszPathName).absoluteFilePath();
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (bAddToMRU) {
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
    }
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

void CDocument::AddView(CView* pView)
{
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        const POSITION current = pos;
        if (m_viewList.GetNext(pos) == pView) {
            m_viewList.RemoveAt(current);
            break;
        }
    }
    pView->m_pDocument = nullptr;
    // A document goes with its last view.
    if (m_viewList.IsEmpty() && m_bAutoDelete)
        OnCloseDocument();
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.GetHeadPosition();
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return m_viewList.GetNext(rPosition);
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        CView* view = m_viewList.GetNext(pos);
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameTitles()
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        if (CFrameWnd* frame = m_viewList.GetNext(pos)->GetParentFrame())
            frame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const CString& lpszPathName)
{
    QByteArray bytes;
    QByteArray previous;
    try {
        bytes = afx::ReadWholeFile(lpszPathName, GetMaxFileLength());
        previous = Store(*this);
    } catch (const std::exception& e) {
        ReportSaveLoadException(lpszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    const BOOL wasModified = IsModified();
    DeleteContents();
    SetModifiedFlag(TRUE);   // modified while it is being read
    try {
        Load(*this, bytes);
    } catch (const std::exception& e) {
        DeleteContents();
        try {
            Load(*this, previous);
        } catch (const std::exception&) {
            // What this Serialize wrote it reads back; if it does not, the document stays empty.
            qWarning("afx: the document could not be restored after a failed open");
            DeleteContents();
        }
        SetModifiedFlag(wasModified);
        ReportSaveLoadException(lpszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const CString& lpszPathName)
{
    try {
        afx::ReplaceFile(lpszPathName, Store(*this));
    } catch (const std::exception& e) {
        ReportSaveLoadException(lpszPathName, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(const CString& lpszPathName, const std::exception* e, BOOL bSaving,
                                        UINT nIDPDefault)
{
    if (dynamic_cast<const CUserException*>(e))
        return;   // already reported
    CString prompt;
    AfxFormatString1(prompt, FailureMessage(e, bSaving, nIDPDefault), QFileInfo(lpszPathName).fileName());
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames destroys the views; the document must outlive them.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* view = m_viewList.GetHead();
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->DestroyWindow();
        else
            view->DestroyWindow();
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strTitle;
    if (name.IsEmpty())
        name = afx::FrameworkString(AFX_IDS_UNTITLED);
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION, AFX_IDP_ASK_TO_SAVE)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDocument::DoSave(const CString& lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName;
    if (newName.IsEmpty()) {
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            // A first save proposes the title, cut before characters a file name should not
            // hold, with the template's extension.
            newName = m_strTitle;
            const int bad = newName.FindOneOf(CString(" #%;/\\"));
            if (bad != -1)
                newName = newName.Left(bad);
            CString extension;
            if (m_pDocTemplate && m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt))
                newName += extension;
        }
        CWinApp* app = AfxGetApp();
        if (!app || !app->DoPromptFileName(newName, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                                           FALSE, m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    const QFileInfo file(m_strPathName);
    // No file yet, or one that is gone or cannot be written: ask for another.
    if (m_strPathName.IsEmpty() || !file.exists() || !file.isWritable())
        return DoSave(CString());
    return DoSave(m_strPathName);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
