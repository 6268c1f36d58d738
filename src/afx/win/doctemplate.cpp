#include "afx/win/doctemplate.h"

#include "afx/win/doc.h"
#include "afx/win/frame.h"
#include "afx/win/fwstrings.h"
#include "afx/win/view.h"
#include "afx/win/winapp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, int(index));
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    auto* document = DYNAMIC_DOWNCAST(CDocument, m_pDocClass ? m_pDocClass->CreateObject() : nullptr);
    if (!document) {
        qWarning("afx: the document class of template %u cannot be created", m_nIDResource);
        return nullptr;
    }
    AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr);
    if (!frame) {
        qWarning("afx: the frame class of template %u cannot be created", m_nIDResource);
        return nullptr;
    }
    // A frame that failed deleted itself with its window.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        RemoveDocument(m_pOnlyDoc);
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const CString& lpszPathName, BOOL bMakeVisible)
{
    CDocument* document = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (document) {
        if (!document->SaveModified())
            return nullptr;
        POSITION pos = document->GetFirstViewPosition();
        if (pos)
            frame = document->GetNextView(pos)->GetParentFrame();
    } else {
        document = CreateNewDocument();
        created = true;
    }
    if (!document) {
        AfxMessageBox(afx::FrameworkString(AFX_IDP_FAILED_TO_CREATE_DOC));
        return nullptr;
    }
    if (!frame) {
        // The document must survive a frame that fails to be made.
        const BOOL autoDelete = document->m_bAutoDelete;
        document->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(document, nullptr);
        document->m_bAutoDelete = autoDelete;
        if (!frame) {
            AfxMessageBox(afx::FrameworkString(AFX_IDP_FAILED_TO_CREATE_DOC));
            if (created)
                delete document;
            return nullptr;
        }
    }
    if (lpszPathName.IsEmpty()) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            if (created)
                frame->DestroyWindow();   // takes the document with it
            return nullptr;
        }
    } else {
        if (!document->OnOpenDocument(lpszPathName)) {
            if (created)
                frame->DestroyWindow();
            return nullptr;
        }
        document->SetPathName(lpszPathName);
    }
    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    InitialUpdateFrame(frame, document, bMakeVisible);
    return document;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = afx::FrameworkString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(title);
}

BOOL CSingleDocTemplate::SaveAllModified()
{
    return !m_pOnlyDoc || m_pOnlyDoc->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}
