// Start-up of the console up to its main window shown (offscreen, the password prompt answered),
// beside a bare Qt main window with a menu, a toolbar and a status bar shown in the same run: the
// cost of the console's own start over what any Qt program pays.
#include "app/consoleapp.h"
#include "../tools/snapshot/offscreen.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <benchmark/benchmark.h>

namespace {

void ConsoleStartUp(benchmark::State& state)
{
    offscreen::StartAnswers answer;
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
    offscreen::Sandbox sandbox;
    QApplication application(sandbox.applicationArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
