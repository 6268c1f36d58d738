// Document templates: which document, frame and view classes go together, and resource
// nIDResource of the frame (menu, accelerators, icon, toolbar) and of the document string,
// whose seven parts separated by line feeds GetDocString returns.
#pragma once

#include "afx/win/cmdtarget.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    ~CDocTemplate() override;

    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // A document made by the template joins it; it leaves when deleted.
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // A path empty makes a new document. nullptr when that failed (the user has been told).
    virtual CDocument* OpenDocumentFile(const CString& lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    // The save prompt of every modified document; FALSE when one was cancelled.
    virtual BOOL SaveAllModified() = 0;
    // Closes every document with its frames.
    virtual void CloseAllDocuments(BOOL bEndSession) = 0;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

// One document at a time: new and open reuse it and its frame.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    CDocument* GetDocument() const { return m_pOnlyDoc; }
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;

    // With a document already there: the save prompt first, then the same document is emptied
    // and loaded (a file that cannot be read leaves it as it was) and its views updated.
    CDocument* OpenDocumentFile(const CString& lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL bEndSession) override;

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
