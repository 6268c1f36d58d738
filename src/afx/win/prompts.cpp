#include "afx/win/prompts.h"

#include "afx/win/dialog.h"
#include "afx/win/doc.h"
#include "afx/win/frame.h"
#include "afx/win/hook.h"
#include "afx/win/winapp.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QListView>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

namespace afx {

namespace {

PromptAnswerer*& Answerer()
{
    static PromptAnswerer* answerer = nullptr;
    return answerer;
}

std::function<void(DWORD, UINT)>& HelpViewer()
{
    static std::function<void(DWORD, UINT)> viewer;
    return viewer;
}

// A message box as Windows shows one: at least as wide as its caption, whose title a window
// manager would otherwise cut, and centred on its owner once it has its size.
class MessageBoxWindow : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        // The box sizes itself from its layout whenever it lays out again: the caption's
        // width goes into the layout, as a row of its own.
        if (auto* grid = qobject_cast<QGridLayout*>(layout()); grid != nullptr && !captionRoom) {
            captionRoom = new QSpacerItem(CaptionWidth(), 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
            grid->addItem(captionRoom, grid->rowCount(), 0, 1, grid->columnCount());
        }
        QMessageBox::showEvent(event);
        detail::CenterOnOwner(this, parentWidget());
        detail::TellWindowManager(this);
    }

private:
    // The caption in a title bar's bold face, which window managers draw up to twice as large
    // as a dialog's text, with room for the title bar's icons and buttons (three squares of the
    // title's height, and a margin).
    int CaptionWidth() const
    {
        QFont title = font();
        title.setBold(true);
        if (title.pointSizeF() > 0)
            title.setPointSizeF(title.pointSizeF() * 2);
        else
            title.setPixelSize(title.pixelSize() * 2);
        const QFontMetrics metrics(title);
        return metrics.horizontalAdvance(windowTitle()) + 3 * metrics.height() + 2 * metrics.averageCharWidth();
    }

    QSpacerItem* captionRoom = nullptr;   // owned by the layout
};

int ShowMessageBox(const Prompt& prompt)
{
    MessageBoxWindow box(DefaultOwner());
    box.setWindowTitle(prompt.caption);
    box.setText(prompt.text);
    switch (prompt.type & MB_ICONMASK) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    // The buttons of Windows' French boxes, with their mnemonics, in Windows' order (which
    // roles would change on some desktops: each is a plain action).
    struct Choice { const char* text; int result; };
    static const Choice ok{"OK", IDOK}, cancel{"Annuler", IDCANCEL}, yes{"&Oui", IDYES}, no{"&Non", IDNO},
        abort{"&Abandonner", IDABORT}, retry{"&Recommencer", IDRETRY}, ignore{"&Ignorer", IDIGNORE};
    std::vector<Choice> choices;
    switch (prompt.type & MB_TYPEMASK) {
    case MB_OKCANCEL: choices = {ok, cancel}; break;
    case MB_ABORTRETRYIGNORE: choices = {abort, retry, ignore}; break;
    case MB_YESNOCANCEL: choices = {yes, no, cancel}; break;
    case MB_YESNO: choices = {yes, no}; break;
    case MB_RETRYCANCEL: choices = {retry, cancel}; break;
    default: choices = {ok}; break;
    }
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const Choice& choice : choices)
        buttons.emplace_back(box.addButton(QString::fromUtf8(choice.text), QMessageBox::ActionRole), choice.result);
    const size_t defaultIndex = std::min(size_t((prompt.type & (MB_DEFBUTTON2 | MB_DEFBUTTON3)) >> 8), buttons.size() - 1);
    box.setDefaultButton(static_cast<QPushButton*>(buttons[defaultIndex].first));
    // Escape and the close box answer as the box's Cancel, or its only OK; a Yes/No or an
    // Abort/Retry/Ignore box has neither.
    QAbstractButton* escape = nullptr;
    for (const auto& [button, result] : buttons) {
        if (result == IDCANCEL || (buttons.size() == 1 && result == IDOK))
            escape = button;
    }
    box.setEscapeButton(escape);
    box.setWindowFlags(Qt::Dialog | detail::TitleBarFlags(WS_CAPTION | (escape ? WS_SYSMENU : 0)));
    box.exec();
    for (const auto& [button, result] : buttons) {
        if (box.clickedButton() == button)
            return result;
    }
    return IDCANCEL;
}

// "Name (*.x)|*.x|Other|*.y;*.z||" -> Qt's name filters.
QStringList NameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        if (name.isEmpty())
            break;
        filters.append(name.endsWith(u')') ? name : name + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

// The file dialog's files with their dates in the program's language: Qt writes them in the
// system's, whatever the program speaks.
class FileDatesInProgramLanguage : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        static constexpr int kDateColumn = 3;
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (files && index.column() == kDateColumn && role == Qt::DisplayRole)
            return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

// Qt's own dialog everywhere, so that it speaks French with Qt's translations; its column
// headings as wide as their texts.
void SetUpFileDialog(QFileDialog& dialog, const Prompt& prompt)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new FileDatesInProgramLanguage(&dialog));
    dialog.setWindowTitle(prompt.text);
    dialog.setAcceptMode(prompt.type ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // Qt asks before replacing a file and wants an existing one to open unless told otherwise:
    // here only the flags ask for either.
    dialog.setFileMode(prompt.type && (prompt.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(prompt.flags & OFN_OVERWRITEPROMPT));
    dialog.setNameFilters(NameFilters(prompt.filter));
    dialog.setDefaultSuffix(prompt.defaultExt);
    dialog.setDirectory(QString(prompt.folder));
    if (!prompt.fileName.IsEmpty())
        dialog.selectFile(QFileInfo(prompt.fileName).fileName());
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(0);
        const QFontMetrics metrics(header->font());
        for (int section = 0; section < header->count(); ++section) {
            const QString heading = details->model()->headerData(section, Qt::Horizontal).toString();
            const int width = metrics.horizontalAdvance(heading) + 4 * header->style()->pixelMetric(QStyle::PM_HeaderMargin)
                              + header->style()->pixelMetric(QStyle::PM_HeaderMarkSize);
            header->resizeSection(section, std::max(header->sectionSize(section), width));
        }
        // Wide enough that every heading shows, a vertical scroll bar included, and the places
        // beside it keep their names: the dialog grows.
        details->setMinimumWidth(header->length() + 2 * details->frameWidth()
                                 + details->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
        if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar")))
            places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth());
    }
}

int ExecFileDialog(Prompt& prompt)
{
    QFileDialog& dialog = *prompt.fileDialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    prompt.fileName = dialog.selectedFiles().first();
    return IDOK;
}

int ShowForReal(Prompt& prompt)
{
    switch (prompt.kind) {
    case PromptKind::MessageBox:
        return ShowMessageBox(prompt);
    case PromptKind::Dialog: {
        auto* window = qobject_cast<QDialog*>(prompt.dialog->m_hWnd);
        if (!window)
            return IDCANCEL;
        window->setWindowModality(Qt::ApplicationModal);
        return window->exec();
    }
    case PromptKind::FileDialog:
        return ExecFileDialog(prompt);
    case PromptKind::Help:
        if (HelpViewer())
            HelpViewer()(prompt.helpContext, prompt.helpCommand);
        else
            qWarning("afx: help requested (context 0x%X) but no help viewer is installed", prompt.helpContext);
        return 0;
    }
    return 0;
}

} // namespace

QWidget* DefaultOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    CWnd* main = AfxGetMainWnd();
    return main ? main->m_hWnd : nullptr;
}

PromptAnswerer* SetPromptAnswerer(PromptAnswerer* answerer)
{
    return std::exchange(Answerer(), answerer);
}

namespace {

// The installed answerer, or the real prompt.
int Present(Prompt& prompt)
{
    if (PromptAnswerer* answerer = Answerer()) {
        if (prompt.kind == PromptKind::Dialog && prompt.dialog && prompt.dialog->m_hWnd)
            prompt.dialog->m_hWnd->show();
        if (prompt.fileDialog)
            prompt.fileDialog->show();
        return answerer->Answer(prompt);
    }
    return ShowForReal(prompt);
}

} // namespace

int ShowPrompt(Prompt& prompt)
{
    if (prompt.kind != PromptKind::FileDialog)
        return Present(prompt);
    QFileDialog dialog(QApplication::activeWindow());
    SetUpFileDialog(dialog, prompt);
    prompt.fileDialog = &dialog;
    const int result = Present(prompt);
    prompt.fileDialog = nullptr;
    return result;
}

CString AppTitle()
{
    CString title;
    title.LoadString(57344);
    return title;
}

void ShowHelp(DWORD context, UINT command)
{
    Prompt prompt;
    prompt.kind = PromptKind::Help;
    prompt.helpContext = context;
    prompt.helpCommand = command;
    ShowPrompt(prompt);
}

void SetHelpViewer(std::function<void(DWORD context, UINT command)> viewer)
{
    HelpViewer() = std::move(viewer);
}

} // namespace afx

int AfxMessageBox(const CString& lpszText, UINT nType, UINT nIDHelp)
{
    afx::Prompt prompt;
    prompt.kind = afx::PromptKind::MessageBox;
    prompt.text = lpszText;
    prompt.caption = afx::AppTitle();
    prompt.type = nType;
    return afx::ShowPrompt(prompt);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    if (!text.LoadString(nIDPrompt))
        qWarning("afx: message box with no string %u", nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const CString& lpszDefExt, const CString& lpszFileName,
                         DWORD dwFlags, const CString& lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_defExt(lpszDefExt), m_filter(lpszFilter),
      m_pathName(lpszFileName), m_pParentWnd(pParentWnd)
{
    m_ofn.Flags = dwFlags;
}

INT_PTR CFileDialog::DoModal()
{
    afx::Prompt prompt;
    prompt.kind = afx::PromptKind::FileDialog;
    prompt.text = m_ofn.lpstrTitle;
    prompt.type = m_bOpenFileDialog;
    prompt.filter = m_filter;
    prompt.defaultExt = m_defExt;
    prompt.fileName = m_pathName;
    prompt.folder = StartFolder();
    prompt.flags = m_ofn.Flags;
    const int result = afx::ShowPrompt(prompt);
    if (result != IDOK)
        return IDCANCEL;
    QString path = prompt.fileName;
    if (!m_defExt.IsEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + QString(m_defExt);
    m_pathName = path;
    return IDOK;
}

CString CFileDialog::StartFolder() const
{
    if (!m_ofn.lpstrInitialDir.IsEmpty())
        return m_ofn.lpstrInitialDir;
    const QFileInfo given(m_pathName);
    if (!m_pathName.IsEmpty() && given.isAbsolute())
        return given.absolutePath();
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (CDocument* document = frame ? frame->GetActiveDocument() : nullptr; document && !document->GetPathName().IsEmpty())
        return QFileInfo(document->GetPathName()).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

