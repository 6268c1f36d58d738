#include "notesapp.h"

#include <QSettings>

namespace notes {

namespace {

const QByteArray kHeader = R"(
#define IDD_LEFT_BAR    300
#define IDD_TOP_BAR     301
#define IDD_PAGE_A      310
#define IDD_PAGE_B      311
#define IDD_PAGE_C      312
#define IDC_LEFT_BUTTON 3001
#define IDC_VALUE_A     3100
#define IDC_VALUE_B     3101
)";

const QByteArray kScript = R"(
IDD_LEFT_BAR DIALOGEX 0, 0, 78, 210
STYLE DS_SETFONT | WS_CHILD
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    PUSHBUTTON      "Bouton",IDC_LEFT_BUTTON,4,4,70,14
END

IDD_TOP_BAR DIALOGEX 0, 0, 356, 20
STYLE DS_SETFONT | WS_CHILD
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    LTEXT           "Rubrique",IDC_STATIC,4,4,100,8
END

IDD_PAGE_A DIALOGEX 0, 0, 200, 100
STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "Première"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        IDC_VALUE_A,7,7,60,12,ES_AUTOHSCROLL
END

IDD_PAGE_B DIALOGEX 0, 0, 250, 80
STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "Deuxième"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        IDC_VALUE_B,7,7,60,12,ES_AUTOHSCROLL
END

IDD_PAGE_C DIALOGEX 0, 0, 120, 140
STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "Troisième"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    LTEXT           "Rien",IDC_STATIC,7,7,60,8
END
)";

constexpr int kMagic = 0x45544F4E;   // "NOTE"

// Every test program's settings live in a folder that lasts as long as the program; each test
// takes a new one.
QString NewSettingsFolder()
{
    static QTemporaryDir root;
    static int count = 0;
    return root.filePath(QString::number(++count));
}

} // namespace

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

// ---- CNotesDoc ----

IMPLEMENT_DYNCREATE(CNotesDoc, CDocument)

BEGIN_MESSAGE_MAP(CNotesDoc, CDocument)
    ON_COMMAND(ID_VIEW_DOC_FRAME_APP, &CNotesDoc::OnViewDocFrameApp)
    ON_COMMAND(ID_DOC_FRAME_APP, &CNotesDoc::OnDocFrameApp)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CNotesDoc::OnUpdateFileSave)
END_MESSAGE_MAP()

void CNotesDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kMagic;
        ar.WriteCount(DWORD(lines.size()));
        for (const CString& line : lines) {
            if (failStoring)
                AfxThrowArchiveException(CArchiveException::generic);
            ar << line;
        }
        return;
    }
    int magic = 0;
    ar >> magic;
    if (magic != kMagic)
        AfxThrowArchiveException(CArchiveException::badSchema);
    const DWORD count = ar.ReadCount(1000, 4);
    for (DWORD index = 0; index < count; ++index) {
        CString line;
        ar >> line;
        lines.push_back(line);
    }
}

// ---- CNotesView ----

IMPLEMENT_DYNCREATE(CNotesView, CView)

BEGIN_MESSAGE_MAP(CNotesView, CView)
    ON_COMMAND(ID_VIEW_DOC_FRAME_APP, &CNotesView::OnViewDocFrameApp)
END_MESSAGE_MAP()

// ---- CNotesFrame ----

IMPLEMENT_DYNCREATE(CNotesFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CNotesFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_VIEW_DOC_FRAME_APP, &CNotesFrame::OnViewDocFrameApp)
    ON_COMMAND(ID_DOC_FRAME_APP, &CNotesFrame::OnDocFrameApp)
    ON_COMMAND(ID_FRAME_APP, &CNotesFrame::OnFrameApp)
    ON_COMMAND(ID_HELP, &CNotesFrame::OnHelp)
    ON_COMMAND(ID_HELP_FINDER, &CFrameWnd::OnHelpFinder)
    ON_BN_CLICKED(IDC_LEFT_BUTTON, &CNotesFrame::OnLeftButton)
END_MESSAGE_MAP()

BOOL CNotesFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~(WS_MAXIMIZEBOX | WS_THICKFRAME | FWS_ADDTOTITLE);
    return TRUE;
}

int CNotesFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    static const UINT labels[] = {10000, 10047, 10001, 61204, 61205, 10012};
    EnableDocking(CBRS_ALIGN_LEFT);
    if (!statusBar.Create(this) || !statusBar.SetIndicators(indicators, 4))
        return -1;
    if (!toolBar.CreateEx(this, TBSTYLE_FLAT,
                          WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY)
        || !toolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    for (int index = 0; index < 6; ++index) {
        CString label;
        label.LoadString(labels[index]);
        toolBar.SetButtonText(index, label);
    }
    toolBar.SetSizes(CSize(35, 50), CSize(22, 23));
    if (!leftBar.Create(this, IDD_LEFT_BAR, CBRS_LEFT | CBRS_TOOLTIPS | CBRS_FLYBY, IDD_LEFT_BAR))
        return -1;
    if (!topBar.Create(this, IDD_TOP_BAR, WS_BORDER | CBRS_TOP, IDD_TOP_BAR))
        return -1;
    if (!reBar.Create(this) || !reBar.AddBar(&topBar, RBBS_NOGRIPPER))
        return -1;
    return CFrameWnd::OnCreate(lpCreateStruct);
}

// ---- CFixedPageFrame ----

IMPLEMENT_DYNCREATE(CFixedPageFrame, CNotesFrame)

void CFixedPageFrame::RecalcLayout(BOOL bNotify)
{
    auto extent = [](CWnd& bar, bool width) {
        if (!bar.m_hWnd || !bar.IsWindowVisible())
            return 0;
        CRect rect;
        bar.GetWindowRect(rect);
        return width ? rect.Width() : rect.Height();
    };
    const int width = kPageWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME) + extent(leftBar, true);
    const int height = kPageHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYMENU)
                       + extent(toolBar, false) + extent(reBar, false) + extent(statusBar, false);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    CNotesFrame::RecalcLayout(bNotify);
}

// ---- CNotesApp ----

BEGIN_MESSAGE_MAP(CNotesApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_VIEW_DOC_FRAME_APP, &CNotesApp::OnViewDocFrameApp)
    ON_COMMAND(ID_DOC_FRAME_APP, &CNotesApp::OnDocFrameApp)
    ON_COMMAND(ID_FRAME_APP, &CNotesApp::OnFrameApp)
    ON_COMMAND(ID_APP_ONLY, &CNotesApp::OnAppOnly)
END_MESSAGE_MAP()

BOOL CNotesApp::InitInstance()
{
    SetRegistryKey("Corvane");
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CNotesDoc), frameClass,
                                          RUNTIME_CLASS(CNotesView)));
    return TRUE;
}

// ---- NotesTest ----

NotesTest::NotesTest(CRuntimeClass* frameClass)
    : script(afx::ResourceScript::Parse(kScript, kHeader, QStringLiteral("notes.rc"))),
      previousScript(afx::SetDialogResources(&script)), app(frameClass)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, NewSettingsFolder());
    Log().clear();
    app.InitInstance();
}

NotesTest::~NotesTest()
{
    afx::SetDialogResources(previousScript);
}

void NotesTest::NewDocument()
{
    Log().clear();
    app.OnFileNew();
    ASSERT_NE(Document(), nullptr);
}

CString NotesTest::WriteNotes(const QString& name, const std::vector<CString>& lines)
{
    const CString path = Path(name);
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive archive(&file, CArchive::store);
    archive << kMagic;
    archive.WriteCount(DWORD(lines.size()));
    for (const CString& line : lines)
        archive << line;
    archive.Close();
    file.Close();
    return path;
}

} // namespace notes
