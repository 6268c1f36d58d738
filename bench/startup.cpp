// Start-up of the console up to its main window shown (offscreen, the password prompt answered),
// beside a bare Qt main window with a menu, a toolbar and a status bar shown in the same run: the
// cost of the console's own start over what any Qt program pays.
#include "app/consoleapp.h"
#include "res/resource.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <benchmark/benchmark.h>

namespace {

// The password prompt of a fresh settings store, answered with the empty password.
class PasswordAnswer : public afx::PromptAnswerer {
public:
    int Answer(afx::Prompt& prompt) override
    {
        if (prompt.kind == afx::PromptKind::Dialog && prompt.templateId == IDD_PASSWORD)
            prompt.dialog->GetDlgItem(IDOK)->SendMessage(BM_CLICK);
        if (prompt.kind == afx::PromptKind::Dialog && !prompt.dialog->IsEnded())
            prompt.dialog->EndDialog(IDCANCEL);
        return prompt.kind == afx::PromptKind::Dialog ? prompt.dialog->GetResult() : IDCANCEL;
    }
};

void ConsoleStartUp(benchmark::State& state)
{
    PasswordAnswer answer;
    afx::PromptAnswerer* previous = afx::SetPromptAnswerer(&answer);
    for (auto _ : state) {
        CConsoleApp console;
        if (!console.InitInstance()) {
            state.SkipWithError("the console did not start");
            break;
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(console.m_pMainWnd);
    }
    afx::SetPromptAnswerer(previous);
}
BENCHMARK(ConsoleStartUp)->Unit(benchmark::kMillisecond);

void BareQtMainWindow(benchmark::State& state)
{
    for (auto _ : state) {
        QMainWindow window;
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("&Fichier"));
        file->addAction(QStringLiteral("&Quitter"));
        QToolBar* tools = window.addToolBar(QStringLiteral("Outils"));
        for (const char* label : {"Connecter", "Déconnecter", "Appliquer", "Ouvrir", "Enregistrer", "Aide"})
            tools->addAction(QString::fromUtf8(label));
        window.statusBar()->showMessage(QStringLiteral("Pour de l'aide, appuyer sur F1"));
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BareQtMainWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    const QString runtime = home.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.filePath(QStringLiteral("system")));
    // The console reads its command line from the application: it is given none.
    int applicationArgc = 1;
    QApplication application(applicationArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
