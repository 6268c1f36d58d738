// The command lines of the shipped console and of the album tool: what only prints needs no
// display, what is malformed is refused before any window.
#include "support/helpers.h"
#include "afx/afxwin.h"
#include "res/resource.h"
#include "version.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A window system with nothing to connect to: starting one would end the program.
QProcessEnvironment NoDisplay(const QTemporaryDir& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    return environment;
}

struct Outcome {
    int exitCode;
    QByteArray out;
    QByteArray error;
};

Outcome RunProgram(const QString& path, const QStringList& arguments, const QTemporaryDir& home)
{
    QProcess program;
    program.setProcessEnvironment(NoDisplay(home));
    program.setWorkingDirectory(home.path());
    program.start(path, arguments);
    EXPECT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
}

// The options that only print need no display; a command line the console does not
// understand stops it before any window, as the companion does: the error and the usage line
// on standard error, exit code 2.
TEST(CommandLine, TheCommandLineIsReadBeforeAnyWindow)
{
    CString version;
    AfxFormatString1(version, IDS_COMMAND_LINE_VERSION, TAMSEL_VERSION);
    const QString usage = LoadText(IDS_COMMAND_LINE_USAGE);
    const QString usageLine = usage.left(usage.indexOf("\n\n") + 1);
    ASSERT_TRUE(usageLine.startsWith("Usage : tamsel "));
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString out;
        QString error;
    };
    const Case cases[] = {
        {"help", {"--help"}, 0, usage, {}},
        {"short help", {"-h"}, 0, usage, {}},
        {"version", {"--version"}, 0, version, {}},
        {"version after another option", {"--network", "--version"}, 0, version, {}},
        {"version before a file", {"--version", "réglages.tms"}, 0, version, {}},
        {"unknown long option", {"--bogus"}, 2, {}, "tamsel : option inconnue : --bogus\n" + usageLine},
        {"unknown short option", {"-x", "réglages.tms"}, 2, {}, "tamsel : option inconnue : -x\n" + usageLine},
        {"after a good option", {"--network", "--verbose"}, 2, {}, "tamsel : option inconnue : --verbose\n" + usageLine},
        {"before --help", {"--bogus", "--help"}, 2, {}, "tamsel : option inconnue : --bogus\n" + usageLine},
        {"a second file", {"a.tms", "b.tms"}, 2, {},
         "tamsel : un seul fichier de paramètres à la fois : b.tms\n" + usageLine},
    };
    QTemporaryDir home;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunProgram(TAMSEL_PATH, c.arguments, home);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_EQ(QString::fromUtf8(outcome.out), c.out);
        EXPECT_EQ(QString::fromUtf8(outcome.error), c.error);
    }
    EXPECT_TRUE(version.Find(TAMSEL_VERSION) > 0);
}

// The album tool's options print its usage; none is taken for the folder to write into.
TEST(CommandLine, TheSnapshotToolTakesNoOptionForItsFolder)
{
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        bool usageOnOutput;
    };
    const Case cases[] = {
        {"help", {"--help"}, 0, true},
        {"short help", {"-h"}, 0, true},
        {"unknown option", {"--bogus"}, 2, false},
        {"no folder", {}, 2, false},
    };
    QTemporaryDir work;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunProgram(SNAPSHOT_PATH, c.arguments, work);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_TRUE((c.usageOnOutput ? outcome.out : outcome.error).startsWith("usage: snapshot OUTDIR\n"));
        EXPECT_TRUE((c.usageOnOutput ? outcome.error : outcome.out).isEmpty());
        EXPECT_EQ(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
}

} // namespace
