#include "snapshot.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QAbstractButton>

namespace snapshot {

namespace {

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
    return {
        {"id", control->property("ctrlId").toInt()},
        {"kind", kind},
        {"text", QString(text)},
        {"enabled", control->isEnabled()},
        {"visible", control->isVisibleTo(window)},
        {"geometry", QJsonArray{at.x(), at.y(), control->width(), control->height()}},
    };
}

} // namespace

void Album::Capture(const QString& name, QWidget* window)
{
    QApplication::processEvents();
    const QString file = name + QStringLiteral(".png");
    if (!window->grab().save(QDir(folder).filePath(file)))
        qWarning("snapshot: %s cannot be written", qPrintable(file));
    QJsonArray controls;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->property("ctrlId").isValid())
            controls.append(Describe(control, window));
    }
    pictures.append(QJsonObject{{"file", file}, {"title", window->windowTitle()}, {"controls", controls}});
}

bool Album::WriteIndex() const
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

void CaptureModal(Album& album, const QString& name, CDialog& dialog)
{
    CaptureAnswerer answerer(album, name);
    afx::PromptAnswerer* previous = afx::SetPromptAnswerer(&answerer);
    dialog.DoModal();
    afx::SetPromptAnswerer(previous);
}

} // namespace snapshot
