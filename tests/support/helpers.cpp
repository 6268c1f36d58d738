#include "support/helpers.h"

#include <QFile>

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
