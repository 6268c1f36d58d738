// The main window's categories and tabs, and the console's own dialogs; the whole table.
#include "snapshot.h"

#include "afx/win/fwstrings.h"
#include "afx/win/helpwindow.h"
#include "afx/win/prompts.h"
#include "app/consoleapp.h"
#include "app/passwordstore.h"
#include "dialogs/aboutboxdlg.h"
#include "dialogs/billingcodedlg.h"
#include "dialogs/passworddlgs.h"
#include "frame/mainframe.h"
#include "pages/securepassworddlg.h"
#include "res/resource.h"
#include "view/categorysheet.h"
#include "view/categorytable.h"
#include "view/ntsview.h"

#include <QApplication>
#include <QDir>
#include <QTextBrowser>
#include <cstdio>

namespace snapshot {

namespace {

CMainFrame* MainFrame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

// What the frame paints rather than shows in controls: the category bar's captions and the
// caption bar's text.
QJsonObject PaintedTexts(CMainFrame* frame)
{
    QJsonArray categories;
    CListBox* list = frame->GetCategoryList();
    for (int item = 0; list && item < list->GetCount(); ++item) {
        UINT iconId = 0;
        UINT captionId = 0;
        GetCategoryResources(int(list->GetItemData(item)), iconId, captionId);
        categories.append(QString(LoadText(captionId)));
    }
    return {{"categoryBar", categories}, {"captionBar", QString(LoadText(frame->captionBar.captionId))}};
}

// Every listed category, and each tab of a sheet.
void RenderCategories(Album& album, const QString& prefix = QStringLiteral("main"))
{
    CMainFrame* frame = MainFrame();
    auto* view = frame ? dynamic_cast<CNtsView*>(frame->GetActiveView()) : nullptr;
    if (!view)
        return;
    CListBox* list = frame->GetCategoryList();
    for (int item = 0; list && item < list->GetCount(); ++item) {
        const int category = int(list->GetItemData(item));
        view->SelectCategory(category);
        const QString name = QStringLiteral("%1-%2").arg(prefix).arg(category);
        CCategorySheet* sheet = view->SheetOf(category);
        if (!sheet) {
            album.Capture(name, frame->m_hWnd, PaintedTexts(frame));
            continue;
        }
        for (int tab = 0; tab < sheet->GetPageCount(); ++tab) {
            sheet->SetActivePage(tab);
            album.Capture(name + QStringLiteral("-tab%1").arg(tab), frame->m_hWnd, PaintedTexts(frame));
        }
        sheet->SetActivePage(0);
    }
    view->SelectCategory(0);
}

// The categories again in network mode, its command put into the menu for the time when the
// console was started without it.
void RenderNetworkCategories(Album& album)
{
    CMainFrame* frame = MainFrame();
    CMenu* menu = frame ? frame->GetMenu() : nullptr;
    if (!menu)
        return;
    const bool inserted = menu->GetMenuState(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND) == UINT(-1);
    if (inserted)
        menu->GetSubMenu(1)->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_VIEW_NETWORK_MODE, CString());
    frame->SendMessage(WM_COMMAND, ID_VIEW_NETWORK_MODE);
    RenderCategories(album, QStringLiteral("network"));
    frame->SendMessage(WM_COMMAND, ID_VIEW_NETWORK_MODE);
    if (inserted)
        menu->DeleteMenu(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND);
}

// The settings file dialogs as the document's commands show them.
void CaptureFileDialog(Album& album, const QString& name, UINT titleId, BOOL open)
{
    CaptureModal(album, name, [&] {
        CString fileName = open ? CString() : afx::FrameworkString(AFX_IDS_UNTITLED) + ".tms";
        AfxGetApp()->DoPromptFileName(fileName, titleId, OFN_HIDEREADONLY, open, nullptr);
    });
}

} // namespace

std::vector<Subject> MainWindowSubjects()
{
    return {{QStringLiteral("main window"), [](Album& album) { RenderCategories(album); }},
            {QStringLiteral("main window, network mode"), RenderNetworkCategories}};
}

std::vector<Subject> ConsoleDialogSubjects()
{
    return {
        {QStringLiteral("password"),
         [](Album& album) {
             CPasswordDlg dialog(CheckPassword, AfxGetMainWnd());
             CaptureModal(album, QStringLiteral("dialog-password"), dialog);
         }},
        {QStringLiteral("change password"),
         [](Album& album) {
             CChangePasswordDlg dialog(CheckPassword, AfxGetMainWnd());
             CaptureModal(album, QStringLiteral("dialog-change-password"), dialog);
         }},
        {QStringLiteral("open settings"),
         [](Album& album) { CaptureFileDialog(album, QStringLiteral("dialog-file-open"), AFX_IDS_OPENFILE, TRUE); }},
        {QStringLiteral("save settings as"),
         [](Album& album) { CaptureFileDialog(album, QStringLiteral("dialog-file-save"), AFX_IDS_SAVEFILE, FALSE); }},
        {QStringLiteral("secure reception password"),
         [](Album& album) {
             CSecureFaxPasswordDlg dialog(AfxGetMainWnd());
             dialog.password = "1234";
             CaptureModal(album, QStringLiteral("dialog-secure-fax-password"), dialog);
         }},
        {QStringLiteral("billing code"),
         [](Album& album) {
             CBillingCodeDlg dialog("#1234", 20, AfxGetMainWnd());
             CaptureModal(album, QStringLiteral("dialog-billing-code"), dialog);
         }},
        {QStringLiteral("about box"),
         [](Album& album) {
             CAboutBoxDlg dialog(AfxGetMainWnd());
             CaptureModal(album, QStringLiteral("dialog-about"), dialog);
         }},
        {QStringLiteral("help window"),
         [](Album& album) {
             afx::ShowHelpWindow(0, afx::HELP_FINDER);
             album.Capture(QStringLiteral("help-window"), afx::HelpBrowser());
             afx::ShowHelpWindow(0, afx::HELP_QUIT);
         }},
    };
}

std::vector<Subject> AllSubjects()
{
    std::vector<Subject> all;
    // One line each, so that new windows add a line.
    const auto areas = {
        MainWindowSubjects,
        ConsoleDialogSubjects,
        DeviceDialogSubjects,
        ClientCodeSubjects,
        DirectorySubjects,
        GroupDialogSubjects,
        MailBoxSubjects,
        LinePageSubjects,
    };
    for (auto area : areas) {
        for (Subject& subject : area())
            all.push_back(std::move(subject));
    }
    return all;
}

} // namespace snapshot

