#include "afx/win/winapp.h"

#include "afx/core/file.h"
#include "afx/core/resources.h"
#include "afx/win/doc.h"
#include "afx/win/doctemplate.h"
#include "afx/win/frame.h"
#include "afx/win/gdi.h"
#include "afx/win/fwstrings.h"
#include "afx/win/helpwindow.h"
#include "afx/win/menu.h"
#include "afx/win/mnemonics.h"
#include "afx/win/testing.h"
#include "afx/win/winids.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTranslator>
#include <algorithm>

namespace {

CWinApp*& CurrentApp()
{
    static CWinApp* app = nullptr;
    return app;
}

// The longest a recent file's name may be in the menu before its folders are shortened.
constexpr int kMaxDisplayLength = 30;

// "/home/anne/a/b/settings.tms" as "/home/.../b/settings.tms": the first folder and as many of
// the last ones as fit.
QString DisplayName(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= kMaxDisplayLength)
        return native;
    const QChar separator = QDir::separator();
    const QStringList parts = native.split(separator);
    if (parts.size() < 3)
        return parts.last();
    const QString head = parts.mid(0, 2).join(separator) + separator + QStringLiteral("...");
    QString tail = parts.last();
    for (qsizetype i = parts.size() - 2; i >= 2; --i) {
        const QString longer = parts.at(i) + separator + tail;
        if (head.size() + 1 + longer.size() > kMaxDisplayLength)
            break;
        tail = longer;
    }
    if (head.size() + 1 + tail.size() > kMaxDisplayLength)
        return parts.last();
    return head + separator + tail;
}

// The per-user settings of the application; nullptr before SetRegistryKey.
std::unique_ptr<QSettings> Profile()
{
    CWinApp* app = AfxGetApp();
    if (!app || app->m_pszRegistryKey.IsEmpty())
        return nullptr;
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app->m_pszRegistryKey,
                                       app->m_pszProfileName);
}

} // namespace

// ---- CCommandLineInfo ----

void CCommandLineInfo::ParseParam(const CString& pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag || !m_strFileName.IsEmpty())
        return;
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
}

// ---- CRecentFileList ----

CRecentFileList::CRecentFileList(UINT nStart, const CString& lpszSection, const CString& lpszEntryFormat, int nSize)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(nSize)
{
}

void CRecentFileList::Add(const CString& lpszPathName)
{
    const CString path = QFileInfo(lpszPathName).absoluteFilePath();
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (int(m_files.size()) > m_nSize)
        m_files.resize(size_t(m_nSize));
    WriteList();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    m_files.erase(m_files.begin() + nIndex);
    WriteList();
}

QString CRecentFileList::EntryName(int nIndex) const
{
    CString entry;
    entry.Format(m_strEntryFormat, nIndex + 1);
    return entry;
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    const std::unique_ptr<QSettings> profile = Profile();
    if (!profile)
        return;
    profile->beginGroup(QString(m_strSectionName));
    for (int index = 0; index < m_nSize; ++index) {
        const QString path = profile->value(EntryName(index)).toString();
        if (!path.isEmpty() && std::find(m_files.begin(), m_files.end(), CString(path)) == m_files.end())
            m_files.push_back(path);
    }
}

void CRecentFileList::WriteList() const
{
    const std::unique_ptr<QSettings> profile = Profile();
    if (!profile)
        return;
    profile->remove(QString(m_strSectionName));
    profile->beginGroup(QString(m_strSectionName));
    for (int index = 0; index < GetCount(); ++index)
        profile->setValue(EntryName(index), QString(m_files[size_t(index)]));
    profile->endGroup();
    profile->sync();
}

void CRecentFileList::UpdateMenu(CMenuCmdUI* pCmdUI)
{
    CMenu* menu = pCmdUI->m_pMenu;
    if (m_strOriginal.IsEmpty())
        menu->GetMenuString(pCmdUI->m_nIndex, m_strOriginal, MF_BYPOSITION);
    for (int index = 1; index < m_nSize; ++index)
        menu->DeleteMenu(m_nStart + UINT(index), MF_BYCOMMAND);
    if (m_files.empty()) {
        pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    auto entryText = [this](int index) {
        const QString name = DisplayName(m_files[size_t(index)]).replace(u'&', QStringLiteral("&&"));
        return CString(QStringLiteral("&%1 %2").arg(index + 1).arg(name));
    };
    pCmdUI->SetText(entryText(0));
    pCmdUI->Enable(TRUE);
    for (int index = 1; index < GetCount(); ++index)
        menu->InsertMenu(pCmdUI->m_nIndex + UINT(index), MF_BYPOSITION | MF_STRING, m_nStart + UINT(index),
                         entryText(index));
}

// ---- CWinApp ----

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(const CString& lpszAppName) : m_pszAppName(lpszAppName)
{
    if (CurrentApp())
        qWarning("afx: a second application object replaces the first");
    CurrentApp() = this;
}

CWinApp::~CWinApp()
{
    CloseEverything();
    m_templates.clear();
    if (CurrentApp() == this)
        CurrentApp() = nullptr;
}

void CWinApp::CloseEverything()
{
    CloseAllDocuments(TRUE);
    if (m_pMainWnd)
        m_pMainWnd->DestroyWindow();
}

CWinApp* AfxGetApp()
{
    return CurrentApp();
}

CWnd* AfxGetMainWnd()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

int CWinApp::Run()
{
    if (!m_pMainWnd)
        return ExitInstance();
    QApplication::setQuitOnLastWindowClosed(false);
    const QMetaObject::Connection idle = QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [this] { OnIdle(0); });
    m_running = true;
    QApplication::exec();
    m_running = false;
    QObject::disconnect(idle);
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->OnIdleUpdateCmdUI();
    return FALSE;
}

void CWinApp::OnMainWindowDestroyed()
{
    m_pMainWnd = nullptr;
    if (m_running)
        QCoreApplication::exit(0);
}

void CWinApp::SetRegistryKey(const CString& lpszRegistryKey)
{
    if (m_pszAppName.IsEmpty())
        m_pszAppName = afx::AppTitle();
    m_pszRegistryKey = lpszRegistryKey;
    m_pszProfileName = afx::SettingsName(m_pszAppName);
}

QString afx::SettingsName(const CString& title)
{
    return QString(title).replace(u'/', u'-');
}

namespace {
QString machineSettingsFolderOfTests;
}

QString afx::MachineSettingsFolder()
{
    return machineSettingsFolderOfTests.isEmpty() ? QStringLiteral(AFX_MACHINE_SETTINGS_DIR)
                                                  : machineSettingsFolderOfTests;
}

void afx::testing::SetMachineSettingsFolder(const QString& folder)
{
    machineSettingsFolderOfTests = folder;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU == 0) {
        m_pRecentFileList.reset();
        return;
    }
    const UINT size = std::min<UINT>(nMaxMRU, ID_FILE_MRU_FILE16 - ID_FILE_MRU_FILE1 + 1);
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, CString("Recent File List"),
                                                          CString("File%d"), int(size));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const CString& lpszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.emplace_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const CString& lpszFileName)
{
    if (m_templates.empty()) {
        qWarning("afx: no document template to open %s", qPrintable(QString(lpszFileName)));
        return nullptr;
    }
    CDocTemplate* documentTemplate = m_templates.front().get();
    // The file already open is not read again.
    if (auto* single = dynamic_cast<CSingleDocTemplate*>(documentTemplate)) {
        CDocument* open = single->GetDocument();
        if (open && !open->GetPathName().IsEmpty()
            && QFileInfo(open->GetPathName()) == QFileInfo(lpszFileName)) {
            if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
                frame->ActivateFrame();
            return open;
        }
    }
    return documentTemplate->OpenDocumentFile(lpszFileName);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (const auto& documentTemplate : m_templates)
        documentTemplate->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified()
{
    for (const auto& documentTemplate : m_templates) {
        if (!documentTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    const QStringList arguments = m_arguments.mid(1);
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        const bool flag = argument.startsWith(u'-');
        rCmdInfo.ParseParam(flag ? argument.mid(1) : argument, flag, index + 1 == arguments.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, int(CN_COMMAND), nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
        return TRUE;
    }
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    if (!pTemplate && !m_templates.empty())
        pTemplate = m_templates.front().get();
    CString filter;
    CString defaultExtension;
    CString filterName;
    CString filterExtension;
    if (pTemplate && pTemplate->GetDocString(filterName, CDocTemplate::filterName) && !filterName.IsEmpty()
        && pTemplate->GetDocString(filterExtension, CDocTemplate::filterExt) && !filterExtension.IsEmpty()) {
        defaultExtension = filterExtension.Mid(1);   // without its dot
        filter = filterName + "|*" + filterExtension + "|";
    }
    filter += afx::FrameworkString(AFX_IDS_ALLFILTER) + "|*.*||";
    // The framework's dialogs ask before replacing a file, whatever else the caller asks.
    CFileDialog dialog(bOpenFileDialog, defaultExtension, fileName, lFlags | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter,
                       m_pMainWnd);
    dialog.m_ofn.lpstrTitle = afx::FrameworkString(nIDSTitle);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    afx::ShowHelp(DWORD(dwData), nCmd);
}

void CWinApp::OnFileNew()
{
    if (m_templates.empty()) {
        qWarning("afx: no document template for a new document");
        return;
    }
    m_templates.front()->OpenDocumentFile(CString());
}

void CWinApp::OnFileOpen()
{
    CString fileName;
    if (DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        OpenDocumentFile(fileName);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    const int index = int(nID - ID_FILE_MRU_FILE1);
    if (!m_pRecentFileList || index >= m_pRecentFileList->GetCount())
        return FALSE;
    // A file that cannot be opened any more leaves the list.
    const CString path = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(path))
        m_pRecentFileList->Remove(index);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (!m_pRecentFileList) {
        pCmdUI->Enable(FALSE);
        return;
    }
    if (auto* menuItem = dynamic_cast<CMenuCmdUI*>(pCmdUI))
        m_pRecentFileList->UpdateMenu(menuItem);
    else
        pCmdUI->Enable(m_pRecentFileList->GetCount() > 0);
}

// ---- The program's entry ----

namespace afx {

namespace {

// Texts of Qt's own that its French translation lacks: the file types of the file dialog.
class MissingFrenchTexts : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        struct Text {
            const char* context;
            const char* source;
            const char* french;
        };
        static constexpr Text texts[] = {
            {"QAbstractFileIconProvider", "Folder", "Dossier"},
            {"QAbstractFileIconProvider", "Drive", "Lecteur"},
            {"QAbstractFileIconProvider", "File", "Fichier"},
            {"QAbstractFileIconProvider", "Shortcut", "Raccourci"},
            {"QAbstractFileIconProvider", "Unknown", "Inconnu"},
        };
        for (const Text& text : texts) {
            if (qstrcmp(context, text.context) == 0 && qstrcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.french);
        }
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

FrenchLanguage::FrenchLanguage() : previousLocale(std::make_unique<QLocale>())
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtTexts = std::move(translator);
        QCoreApplication::installTranslator(qtTexts.get());
    } else {
        qWarning("afx: the French texts of Qt's dialogs are not installed");
    }
    // Installed last, asked first: it answers only what the French texts lack.
    missingTexts = std::make_unique<MissingFrenchTexts>();
    QCoreApplication::installTranslator(missingTexts.get());
}

FrenchLanguage::~FrenchLanguage()
{
    QCoreApplication::removeTranslator(missingTexts.get());
    if (qtTexts)
        QCoreApplication::removeTranslator(qtTexts.get());
    QLocale::setDefault(*previousLocale);
}

} // namespace afx

int AfxWinMain(int argc, char** argv)
{
    afx::ReportFileSizeLimitAsError();
    CWinApp* app = AfxGetApp();
    if (!app) {
        qCritical("afx: the program has no application object");
        return 1;
    }
    // Decoded as QCoreApplication::arguments() decodes them.
    for (int index = 0; index < argc; ++index)
        app->m_arguments << QString::fromLocal8Bit(argv[index]);
    try {
        if (!app->InitApplication())
            return app->ExitInstance();
    } catch (const afx::ResourceError& error) {
        qCritical("%s", error.what());
        return 1;
    }
    QApplication application(argc, argv);
    afx::SetSystemFont();
    const afx::FrenchLanguage french;
    afx::InstallDialogMnemonics();
    afx::SetHelpViewer(&afx::ShowHelpWindow);
    int code = 1;
    try {
        code = app->InitInstance() ? app->Run() : app->ExitInstance();
    } catch (const afx::ResourceError& error) {
        qCritical("%s", error.what());
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(), error.message);
    }
    app->CloseEverything();
    afx::ShowHelpWindow(0, afx::HELP_QUIT);
    afx::SetHelpViewer(nullptr);
    return code;
}
