#include "snapshot.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <algorithm>

namespace snapshot {

namespace {

// A tree's items depth first, each indented by two spaces a level.
void AddTreeItems(const CTreeCtrl& tree, HTREEITEM item, int depth, QJsonArray& items)
{
    for (; item; item = tree.GetNextSiblingItem(item)) {
        items.append(QString(depth * 2, u' ') + QString(tree.GetItemText(item)));
        AddTreeItems(tree, tree.GetChildItem(item), depth + 1, items);
    }
}

// What a list, tree or combo box lists; a list control's rows with their cells joined by tabs.
QJsonArray ListedItems(CWnd* wnd)
{
    QJsonArray items;
    CString text;
    if (auto* list = dynamic_cast<CListBox*>(wnd)) {
        for (int index = 0; index < list->GetCount(); ++index) {
            list->GetText(index, text);
            items.append(QString(text));
        }
    } else if (auto* combo = dynamic_cast<CComboBox*>(wnd)) {
        for (int index = 0; index < combo->GetCount(); ++index) {
            combo->GetLBText(index, text);
            items.append(QString(text));
        }
    } else if (auto* rows = dynamic_cast<CListCtrl*>(wnd)) {
        for (int row = 0; row < rows->GetItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < std::max(1, rows->GetColumnCount()); ++column)
                cells.append(rows->GetItemText(row, column));
            items.append(cells.join(u'\t'));
        }
    } else if (auto* tree = dynamic_cast<CTreeCtrl*>(wnd)) {
        AddTreeItems(*tree, tree->GetRootItem(), 0, items);
    }
    // A list that paints its items itself keeps no texts: its painter says what it shows.
    const bool painted = std::all_of(items.begin(), items.end(), [](const QJsonValue& item) { return item.toString().isEmpty(); });
    return painted ? QJsonArray() : items;
}

// What a screen reader says the control is. A drop-down list would say its current value,
// which names nothing: only the name it was given counts.
QString AccessibleName(QWidget* control)
{
    if (qobject_cast<QComboBox*>(control))
        return control->accessibleName();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QJsonObject Describe(QWidget* control, QWidget* window)
{
    CWnd* wnd = CWnd::FromHandle(control);
    TCHAR className[101] = {};
    wnd->GetClassName(className, 101);
    CString text;
    wnd->GetWindowText(text);
    // Bar panes and buttons are plain widgets of the toolkit: their own text and class.
    if (text.IsEmpty()) {
        if (auto* label = qobject_cast<QLabel*>(control))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->text();
    }
    const QString kind = className[0] ? QString(CString(className)) : QString(control->metaObject()->className());
    const QPoint at = control->mapTo(window, QPoint(0, 0));
    QJsonObject description{
        {"id", control->property("ctrlId").toInt()},
        {"kind", kind},
        {"text", QString(text)},
        {"name", AccessibleName(control)},
        {"enabled", control->isEnabled()},
        {"visible", control->isVisibleTo(window)},
        {"geometry", QJsonArray{at.x(), at.y(), control->width(), control->height()}},
    };
    if (const QJsonArray items = ListedItems(wnd); !items.isEmpty())
        description.insert("items", items);
    return description;
}

} // namespace

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

void PictureAlbum::Capture(const QString& name, QWidget* window, const QJsonObject& painted)
{
    // The toolbar and the indicators as the idle update leaves them.
    if (CWinApp* app = AfxGetApp())
        app->OnIdle(0);
    QApplication::processEvents();
    const QString file = name + QStringLiteral(".png");
    if (!window->grab().save(QDir(folder).filePath(file)))
        qWarning("snapshot: %s cannot be written", qPrintable(file));
    QJsonArray controls;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->property("ctrlId").isValid())
            controls.append(Describe(control, window));
    }
    QJsonObject picture{{"file", file}, {"title", window->windowTitle()}, {"name", AccessibleName(window)},
                        {"controls", controls}};
    for (auto it = painted.begin(); it != painted.end(); ++it)
        picture.insert(it.key(), it.value());
    pictures.append(picture);
}

bool PictureAlbum::WriteIndex() const
{
    QFile index(QDir(folder).filePath(QStringLiteral("index.json")));
    if (!index.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return index.write(QJsonDocument(QJsonObject{{"pictures", pictures}}).toJson()) > 0;
}

namespace {

// Captures each dialog the gateway is asked to show, then cancels it.
class CaptureAnswerer : public afx::PromptAnswerer {
public:
    CaptureAnswerer(Album& album, const QString& name) : album(album), name(name) {}

    int Answer(afx::Prompt& prompt) override
    {
        if (prompt.kind == afx::PromptKind::FileDialog) {
            album.Capture(name, prompt.fileDialog);
            prompt.fileDialog->reject();
            return IDCANCEL;
        }
        if (prompt.kind != afx::PromptKind::Dialog)
            return IDCANCEL;
        album.Capture(name, prompt.dialog->m_hWnd);
        prompt.dialog->EndDialog(IDCANCEL);
        return IDCANCEL;
    }

private:
    Album& album;
    QString name;
};

} // namespace

void CaptureModal(Album& album, const QString& name, const std::function<void()>& show)
{
    CaptureAnswerer answerer(album, name);
    afx::PromptAnswerer* previous = afx::SetPromptAnswerer(&answerer);
    show();
    afx::SetPromptAnswerer(previous);
}

void CaptureModal(Album& album, const QString& name, CDialog& dialog)
{
    CaptureModal(album, name, [&dialog] { dialog.DoModal(); });
}

} // namespace snapshot
