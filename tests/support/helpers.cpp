#include "support/helpers.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

void PrintTo(const CString& text, std::ostream* os)
{
    PrintTo(static_cast<const QString&>(text), os);
}

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

void Click(CDialog& dialog, int id)
{
    dialog.GetDlgItem(id)->SendMessage(BM_CLICK);
}

ModalOutcome RunModal(CDialog& dialog, const std::function<void(CDialog&)>& work,
                      const std::function<void(afx::testing::PromptScript&)>& inside)
{
    INT_PTR result = 0;
    std::vector<afx::Prompt> shown = RunModal(dialog.GetTemplateID(), [&] { result = dialog.DoModal(); }, work, inside);
    return {result, std::move(shown)};
}

std::vector<afx::Prompt> RunModal(UINT templateId, const std::function<void()>& open,
                                  const std::function<void(CDialog&)>& work,
                                  const std::function<void(afx::testing::PromptScript&)>& inside)
{
    afx::testing::PromptScript prompts;
    prompts.Dialog(templateId, [&](CDialog& live) {
        work(live);
        if (!live.IsEnded())
            live.EndDialog(IDCANCEL);
    });
    if (inside)
        inside(prompts);
    open();
    return prompts.Shown();
}

CRect WindowRect(CWnd& window)
{
    CRect rect;
    window.GetWindowRect(rect);
    return rect;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ConfirmFileName(QFileDialog& dialog, const QString& name)
{
    QString question;
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return QStringLiteral("(no file name field)");
    // Runs inside Qt's question when there is one, else once Return has been handled.
    QTimer::singleShot(0, &dialog, [&question] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            question = box->text();
            box->reject();
        }
    });
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    if (dialog.isVisible())
        dialog.reject();
    return question;
}
