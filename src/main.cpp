// The console's entry: the one application object, and the framework's start and event loop.
#include "app/consoleapp.h"
#include "afx/win/testing.h"

#include <QDir>
#include <QSettings>

namespace {

CConsoleApp theApp;

// Tests that run the console as a program of its own set TAMSEL_TEST_HOME to a folder of
// theirs. The machine-wide and per-user settings then live in that folder, and every prompt is
// written to standard error and answered as the Enter key would answer it, so that nothing
// waits for a user.
class CEnterAnswers : public afx::PromptAnswerer {
public:
    int Answer(afx::Prompt& prompt) override;
};

int CEnterAnswers::Answer(afx::Prompt& prompt)
{
    qWarning("prompt: %s", qPrintable(afx::testing::Describe(prompt)));
    switch (prompt.kind) {
    case afx::PromptKind::MessageBox: {
        const UINT buttons = prompt.type & MB_TYPEMASK;
        const bool second = prompt.type & MB_DEFBUTTON2;
        if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
            return second ? IDNO : IDYES;
        return second && buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
    }
    case afx::PromptKind::Dialog:
        if (CWnd* button = prompt.dialog->GetDlgItem(LOWORD(prompt.dialog->GetDefID())))
            button->SendMessage(BM_CLICK);
        // A dialog that stays open (a refused entry) is given up.
        if (!prompt.dialog->IsEnded())
            prompt.dialog->EndDialog(IDCANCEL);
        return prompt.dialog->GetResult();
    case afx::PromptKind::FileDialog:
        return IDCANCEL;
    case afx::PromptKind::Help:
        return 0;
    }
    return IDCANCEL;
}

void EnterTestModeWhenAsked()
{
    if (!qEnvironmentVariableIsSet("TAMSEL_TEST_HOME"))
        return;
    const QDir home(qEnvironmentVariable("TAMSEL_TEST_HOME"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.filePath(QStringLiteral("system")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("user")));
    static CEnterAnswers answers;
    afx::SetPromptAnswerer(&answers);
}

} // namespace

int main(int argc, char** argv)
{
    EnterTestModeWhenAsked();
    return AfxWinMain(argc, argv);
}
