// CDocument: the data of the program, shown by its views, stored in files through Serialize.
// New, open, save, save as and the save prompt work as the framework's; two things are
// sounder: a file that cannot be read leaves the document as it was, and a save writes a new
// file that replaces the old one only once it is complete.
#pragma once

#include "afx/core/collections.h"
#include "afx/win/wnd.h"

class CDocTemplate;
class CException;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;   // leaves its template

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const CString& lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The title becomes the file name; with bAddToMRU the file joins the recent-file list.
    virtual void SetPathName(const CString& lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize. When that fails the framework's message is shown and
    // the document is restored to what it held before (its content is kept through its own
    // Serialize into memory first), so a failed open changes nothing.
    virtual BOOL OnOpenDocument(const CString& lpszPathName);
    // The largest file OnOpenDocument takes: it reads the whole file into memory, and refuses
    // a larger one from its size before reading anything.
    virtual qint64 GetMaxFileLength() const { return qint64(256) * 1024 * 1024; }
    // Writes the document through Serialize into a temporary file that replaces the file only
    // when complete: a failed save leaves the old file as it was.
    virtual BOOL OnSaveDocument(const CString& lpszPathName);
    // Destroys the frames of the views, empties the document and deletes it (m_bAutoDelete).
    virtual void OnCloseDocument();
    virtual void ReportSaveLoadException(const CString& lpszPathName, const std::exception* e, BOOL bSaving,
                                         UINT nIDPDefault);

    // The save prompt for a modified document: Yes saves (a failed or cancelled save counts as
    // Cancel), No goes on, Cancel stops. FALSE means stop.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame) { return SaveModified(); }
    // Saves to lpszPathName, or to a file chosen in the save dialog when it is empty; with
    // bReplace the document takes the new name.
    virtual BOOL DoSave(const CString& lpszPathName, BOOL bReplace = TRUE);
    // Saves to the document's file, or asks for one when it has none or cannot write it.
    virtual BOOL DoFileSave();

    afx_msg void OnFileSave() { DoFileSave(); }
    afx_msg void OnFileSaveAs() { DoSave(CString()); }

    // Commands go to the document's map, then its template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Deleted by OnCloseDocument, and when its last view goes.
    BOOL m_bAutoDelete = TRUE;

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CList<CView*, CView*> m_viewList;
    BOOL m_bModified = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocTemplate;
    void UpdateFrameTitles();
};
