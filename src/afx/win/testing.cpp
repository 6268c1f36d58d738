#include "afx/win/testing.h"

#include "afx/win/dialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <cstdio>
#include <cstdlib>

namespace afx::testing {

namespace {

std::function<void(const QString&)>& Reporter()
{
    static std::function<void(const QString&)> reporter;
    return reporter;
}

const char* KindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::MessageBox: return "message box";
    case PromptKind::Dialog: return "dialog";
    case PromptKind::FileDialog: return "file dialog";
    case PromptKind::Help: return "help request";
    }
    return "prompt";
}

// What a prompt nobody answered gets: the answer that changes nothing.
int CancellingAnswer(const Prompt& prompt)
{
    switch (prompt.kind) {
    case PromptKind::MessageBox:
        switch (prompt.type & MB_TYPEMASK) {
        case MB_YESNO: return IDNO;
        case MB_OKCANCEL: case MB_YESNOCANCEL: return IDCANCEL;
        default: return IDOK;
        }
    case PromptKind::Dialog:
        if (prompt.dialog)
            prompt.dialog->EndDialog(IDCANCEL);
        return IDCANCEL;
    case PromptKind::FileDialog: return IDCANCEL;
    case PromptKind::Help: return 0;
    }
    return IDCANCEL;
}

} // namespace

std::function<void(const QString&)> SetFailureReporter(std::function<void(const QString& message)> reporter)
{
    return std::exchange(Reporter(), std::move(reporter));
}

void ReportFailure(const QString& message)
{
    if (Reporter()) {
        Reporter()(message);
        return;
    }
    std::fprintf(stderr, "afx::testing: %s\n", qPrintable(message));
    std::abort();
}

void RunPostedWork()
{
    QCoreApplication::sendPostedEvents();
}

QString Describe(const Prompt& prompt)
{
    QString text = QString::fromLatin1(KindName(prompt.kind));
    switch (prompt.kind) {
    case PromptKind::MessageBox:
        return text + QStringLiteral(" 0x%1 \"%2\"").arg(prompt.type, 0, 16).arg(QString(prompt.text));
    case PromptKind::Dialog:
        return text + QStringLiteral(" %1").arg(prompt.templateId);
    case PromptKind::FileDialog:
        return text + QStringLiteral(" \"%1\"").arg(QString(prompt.filter));
    case PromptKind::Help:
        return text + QStringLiteral(" 0x%1").arg(prompt.helpContext, 0, 16);
    }
    return text;
}

int StrictPrompts::Answer(Prompt& prompt)
{
    ReportFailure(QStringLiteral("unexpected %1").arg(Describe(prompt)));
    return CancellingAnswer(prompt);
}

int QuietPrompts::Answer(Prompt& prompt)
{
    return CancellingAnswer(prompt);
}

PromptScript::PromptScript() : previous(SetPromptAnswerer(this))
{
}

PromptScript::~PromptScript()
{
    SetPromptAnswerer(previous);
    for (const Expected& unused : answers) {
        Prompt expected;
        expected.kind = unused.kind;
        expected.text = unused.text;
        expected.templateId = unused.templateId;
        expected.helpContext = unused.helpContext;
        ReportFailure(QStringLiteral("expected %1 was never shown").arg(Describe(expected)));
    }
}

PromptScript& PromptScript::MessageBox(int result, const CString& text)
{
    answers.push_back({.kind = PromptKind::MessageBox, .result = result, .text = text});
    return *this;
}

PromptScript& PromptScript::Dialog(UINT templateId, int result)
{
    answers.push_back({.kind = PromptKind::Dialog, .result = result, .templateId = templateId});
    return *this;
}

PromptScript& PromptScript::Dialog(UINT templateId, std::function<void(CDialog&)> work)
{
    answers.push_back({.kind = PromptKind::Dialog, .templateId = templateId, .work = std::move(work)});
    return *this;
}

PromptScript& PromptScript::FileDialog(int result, const CString& path)
{
    answers.push_back({.kind = PromptKind::FileDialog, .result = result, .text = path});
    return *this;
}

PromptScript& PromptScript::FileDialog(std::function<void(QFileDialog&)> work)
{
    answers.push_back({.kind = PromptKind::FileDialog, .fileWork = std::move(work)});
    return *this;
}

PromptScript& PromptScript::Help(DWORD context)
{
    answers.push_back({.kind = PromptKind::Help, .helpContext = context});
    return *this;
}

int PromptScript::Answer(Prompt& prompt)
{
    Prompt record = prompt;
    record.dialog = nullptr;
    record.fileDialog = nullptr;
    shown.push_back(record);
    if (answers.empty()) {
        ReportFailure(QStringLiteral("unexpected %1").arg(Describe(prompt)));
        return CancellingAnswer(prompt);
    }
    Expected expected = std::move(answers.front());
    answers.pop_front();
    const bool matches = expected.kind == prompt.kind
                         && (expected.kind != PromptKind::MessageBox || expected.text.IsEmpty() || expected.text == prompt.text)
                         && (expected.kind != PromptKind::Dialog || expected.templateId == prompt.templateId)
                         && (expected.kind != PromptKind::Help || expected.helpContext == prompt.helpContext);
    if (!matches) {
        Prompt wanted;
        wanted.kind = expected.kind;
        wanted.text = expected.kind == PromptKind::FileDialog ? CString() : expected.text;
        wanted.templateId = expected.templateId;
        wanted.helpContext = expected.helpContext;
        ReportFailure(QStringLiteral("expected %1, shown %2").arg(Describe(wanted), Describe(prompt)));
        return CancellingAnswer(prompt);
    }
    switch (prompt.kind) {
    case PromptKind::Dialog:
        if (expected.work) {
            expected.work(*prompt.dialog);
            if (!prompt.dialog->IsEnded()) {
                ReportFailure(QStringLiteral("%1 was left open").arg(Describe(prompt)));
                return CancellingAnswer(prompt);
            }
            return prompt.dialog->GetResult();
        }
        prompt.dialog->EndDialog(expected.result);
        return expected.result;
    case PromptKind::FileDialog:
        if (expected.fileWork) {
            QFileDialog& dialog = *prompt.fileDialog;
            expected.fileWork(dialog);
            if (dialog.isVisible()) {
                ReportFailure(QStringLiteral("%1 was left open").arg(Describe(prompt)));
                dialog.reject();
                return IDCANCEL;
            }
            if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return IDCANCEL;
            prompt.fileName = dialog.selectedFiles().first();
            return IDOK;
        }
        if (expected.result == IDOK)
            prompt.fileName = expected.text;
        return expected.result;
    default:
        return expected.result;
    }
}

} // namespace afx::testing
