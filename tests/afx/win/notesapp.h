// A small single-document program for the framework's tests: a document of text lines, a view
// that records what it is told, a frame with the bars the console's frame has (status bar,
// toolbar 128, a dialog bar on the left, one on top inside a rebar), and the application.
// The frame's resources (menu, accelerators, toolbar, strings) are the console's id 128; the
// dialog bars and property pages come from a small script put in front of the console's.
#pragma once

#include "afx/afxwin.h"
#include "afx/core/resources.h"
#include "afx/win/testing.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace notes {

enum : UINT {
    IDR_MAINFRAME = 128,
    IDD_LEFT_BAR = 300, IDD_TOP_BAR = 301,
    IDD_PAGE_A = 310, IDD_PAGE_B = 311, IDD_PAGE_C = 312,
    IDC_LEFT_BUTTON = 3001, IDC_VALUE_A = 3100, IDC_VALUE_B = 3101,
    // Commands each handled by a different set of the program's objects.
    ID_VIEW_DOC_FRAME_APP = 40001, ID_DOC_FRAME_APP = 40002, ID_FRAME_APP = 40003, ID_APP_ONLY = 40004,
    ID_NOBODY = 40005,
    ID_DEVICE_CONNECT = 32785,   // in menu 128 and toolbar 128; nobody handles it here
    ID_EDIT_COPY = 57634,
};

// What the program's objects did, in order ("view 40001", "frame help", ...).
std::vector<std::string>& Log();

class CNotesDoc : public CDocument {
    DECLARE_DYNCREATE(CNotesDoc)
public:
    std::vector<CString> lines;
    bool failStoring = false;   // Serialize throws while writing, after writing a part

    void Serialize(CArchive& ar) override;
    void DeleteContents() override { lines.clear(); }

    void OnViewDocFrameApp() { Log().push_back("doc"); }
    void OnDocFrameApp() { Log().push_back("doc"); }
    void OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(IsModified()); }

    DECLARE_MESSAGE_MAP()
};

class CNotesView : public CView {
    DECLARE_DYNCREATE(CNotesView)
public:
    std::vector<LPARAM> hints;   // OnUpdate's, in order

    void OnDraw(CDC*) override {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override { hints.push_back(lHint); }
    CNotesDoc* GetDocument() const { return static_cast<CNotesDoc*>(m_pDocument); }

    void OnViewDocFrameApp() { Log().push_back("view"); }

    DECLARE_MESSAGE_MAP()
};

class CNotesFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CNotesFrame)
public:
    CStatusBar statusBar;
    CToolBar toolBar;
    CDialogBar leftBar;
    CDialogBar topBar;
    CReBar reBar;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnViewDocFrameApp() { Log().push_back("frame"); }
    void OnDocFrameApp() { Log().push_back("frame"); }
    void OnFrameApp() { Log().push_back("frame"); }
    void OnHelp() { Log().push_back("frame help"); }
    void OnLeftButton() { Log().push_back("frame left button"); }

    DECLARE_MESSAGE_MAP()
};

// The frame keeps its page area 300 x 200 pixels whatever bars are shown, as the console's
// frame does: it resizes itself before the bars are laid out.
class CFixedPageFrame : public CNotesFrame {
    DECLARE_DYNCREATE(CFixedPageFrame)
public:
    static constexpr int kPageWidth = 300;
    static constexpr int kPageHeight = 200;
    void RecalcLayout(BOOL bNotify = TRUE) override;
};

class CNotesApp : public CWinApp {
public:
    explicit CNotesApp(CRuntimeClass* frameClass = RUNTIME_CLASS(CNotesFrame)) : frameClass(frameClass) {}

    BOOL InitInstance() override;

    void OnViewDocFrameApp() { Log().push_back("app"); }
    void OnDocFrameApp() { Log().push_back("app"); }
    void OnFrameApp() { Log().push_back("app"); }
    void OnAppOnly() { Log().push_back("app"); }

    CRuntimeClass* const frameClass;

    DECLARE_MESSAGE_MAP()
};

// A fresh program per test, with its settings and files in a temporary folder: InitInstance
// run, no document yet.
class NotesTest : public ::testing::Test {
protected:
    explicit NotesTest(CRuntimeClass* frameClass = RUNTIME_CLASS(CNotesFrame));
    ~NotesTest() override;

    // A new document through the framework's new command.
    void NewDocument();
    CNotesFrame* Frame() const { return dynamic_cast<CNotesFrame*>(app.m_pMainWnd); }
    CNotesDoc* Document() const { return Frame() ? dynamic_cast<CNotesDoc*>(Frame()->GetActiveDocument()) : nullptr; }
    CNotesView* View() const { return Frame() ? dynamic_cast<CNotesView*>(Frame()->GetActiveView()) : nullptr; }
    LRESULT Command(UINT id) { return app.m_pMainWnd->SendMessage(WM_COMMAND, id); }
    // A settings file written by the document class, with these lines.
    CString WriteNotes(const QString& name, const std::vector<CString>& lines);
    CString Path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    afx::ResourceScript script;
    const afx::ResourceScript* previousScript;
    CNotesApp app;
};

} // namespace notes
