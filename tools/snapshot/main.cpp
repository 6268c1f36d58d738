// snapshot OUTDIR: starts the console offscreen (its settings in a temporary folder, the
// password prompt answered), renders every row of the table into OUTDIR and writes
// OUTDIR/index.json.
#include "snapshot.h"

#include "offscreen.h"

#include "afx/win/fwstrings.h"
#include "app/consoleapp.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

const char* const usage =
    "usage: snapshot OUTDIR\n"
    "Renders the console's main window (every category and tab, also in network mode) and its\n"
    "dialogs offscreen into OUTDIR as PNG files, with OUTDIR/index.json listing each picture's\n"
    "controls and texts. The console runs with its settings in a temporary folder.\n";

} // namespace

int main(int argc, char** argv)
{
    const QByteArray first = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (argc == 2 && (first == "--help" || first == "-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    // An option is never a folder to write into.
    if (argc != 2 || first.startsWith('-')) {
        std::fputs(usage, stderr);
        return 2;
    }
    offscreen::Sandbox sandbox;
    QApplication application(sandbox.applicationArgc, argv);
    afx::SetSystemFont();

    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "snapshot: cannot make %s\n", argv[1]);
        return 1;
    }

    const afx::FrenchLanguage french;
    CConsoleApp console;
    offscreen::StartAnswers startAnswers;
    afx::SetPromptAnswerer(&startAnswers);
    if (!console.InitInstance()) {
        std::fprintf(stderr, "snapshot: the console did not start\n");
        return 1;
    }

    snapshot::PictureAlbum album(folder);
    for (const snapshot::Subject& subject : snapshot::AllSubjects())
        subject.render(album);
    afx::SetPromptAnswerer(nullptr);
    if (!album.WriteIndex()) {
        std::fprintf(stderr, "snapshot: %s/index.json cannot be written\n", argv[1]);
        return 1;
    }
    std::printf("%d pictures in %s\n", album.Count(), argv[1]);
    return 0;
}
