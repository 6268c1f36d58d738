// Start-up of the console up to its main window shown (offscreen, the password prompt answered),
// beside a bare Qt main window shown in the same run: the cost of the console's own start over
// what any Qt program pays. As whole processes (exec to the window shown, against a program of
// the console's window size and widget count; resident sizes as counters), and in process.
#include "app/consoleapp.h"
#include "device/lib/serialformat.h"
#include "../tools/snapshot/offscreen.h"
#include "records.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// What a program of bench/programs reported once shown.
struct Shown {
    double seconds = 0;
    long residentKiB = 0;
    QString widgets, width, height;
};

Shown RunUntilShown(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    while (!process.canReadLine() && process.waitForReadyRead(-1)) {
    }
    Shown shown;
    shown.seconds = double(clock.nsecsElapsed()) / 1e9;
    const QStringList fields = QString::fromUtf8(process.readLine()).split(QLatin1Char(' '));
    shown.residentKiB = fields.value(0).toLong();
    shown.widgets = fields.value(1);
    shown.width = fields.value(2);
    shown.height = fields.value(3).trimmed();
    process.waitForFinished(-1);
    return shown;
}

// The console once, for the size and widget count the bare program copies.
const Shown& ConsoleShape()
{
    static const Shown shape = RunUntilShown(QStringLiteral(SHOWN_CONSOLE), {});
    return shape;
}

void RunProcess(benchmark::State& state, const QString& program, const QStringList& arguments)
{
    Shown shown;
    for (auto _ : state) {
        shown = RunUntilShown(program, arguments);
        if (shown.widgets.isEmpty()) {
            state.SkipWithError("the program did not show its window");
            break;
        }
        state.SetIterationTime(shown.seconds);
    }
    state.counters["rssKiB"] = double(shown.residentKiB);
    state.counters["widgets"] = shown.widgets.toDouble();
}

void ConsoleProcess(benchmark::State& state)
{
    RunProcess(state, QStringLiteral(SHOWN_CONSOLE), {});
}
BENCHMARK(ConsoleProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

void BareQtProcess(benchmark::State& state)
{
    const Shown& shape = ConsoleShape();
    RunProcess(state, QStringLiteral(SHOWN_BARE), {shape.widgets, shape.width, shape.height});
}
BENCHMARK(BareQtProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

// The two programs started in turn, so that the shared machine's drift falls on both alike:
// the console's time, the bare program's, and the ratio of their medians.
void ConsoleAgainstBareInTurn(benchmark::State& state)
{
    const Shown& shape = ConsoleShape();
    std::vector<double> console, bare;
    for (auto _ : state) {
        const Shown consoleShown = RunUntilShown(QStringLiteral(SHOWN_CONSOLE), {});
        const Shown bareShown = RunUntilShown(QStringLiteral(SHOWN_BARE), {shape.widgets, shape.width, shape.height});
        if (consoleShown.widgets.isEmpty() || bareShown.widgets.isEmpty()) {
            state.SkipWithError("a program did not show its window");
            return;
        }
        console.push_back(consoleShown.seconds);
        bare.push_back(bareShown.seconds);
        state.SetIterationTime(consoleShown.seconds);
    }
    const auto median = [](std::vector<double> times) {
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        return times[times.size() / 2];
    };
    state.counters["consoleMs"] = median(console) * 1e3;
    state.counters["bareMs"] = median(bare) * 1e3;
    state.counters["ratio"] = median(console) / median(bare);
}
BENCHMARK(ConsoleAgainstBareInTurn)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The console started on a settings file holding a full record.
void ConsoleProcessFullRecord(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("full.tms"));
    CConfig full;
    FillFullRecord(full);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(serialformat::StoreToBytes(full)) < 0) {
        state.SkipWithError("cannot write the settings file");
        return;
    }
    file.close();
    RunProcess(state, QStringLiteral(SHOWN_CONSOLE), {path});
}
BENCHMARK(ConsoleProcessFullRecord)->UseManualTime()->Unit(benchmark::kMillisecond);

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
    afx::SetSystemFont();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
