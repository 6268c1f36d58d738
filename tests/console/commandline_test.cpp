// The shipped program's options that only print: they need no display.
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

TEST(CommandLine, PrintingOptionsNeedNoDisplay)
{
    CString version;
    AfxFormatString1(version, IDS_COMMAND_LINE_VERSION, TAMSEL_VERSION);
    const QString usage = LoadText(IDS_COMMAND_LINE_USAGE);
    struct Case {
        const char* name;
        QStringList arguments;
        QString out;
    };
    const Case cases[] = {
        {"help", {"--help"}, usage},
        {"short help", {"-h"}, usage},
        {"version", {"--version"}, version},
        {"version after another option", {"--network", "--version"}, version},
        {"version before a file", {"--version", "réglages.tms"}, version},
    };
    QTemporaryDir home;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess program;
        program.setProcessEnvironment(NoDisplay(home));
        program.start(TAMSEL_PATH, c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), c.out);
    }
    EXPECT_TRUE(version.Find(TAMSEL_VERSION) > 0);
}

// A command line the console does not understand stops it before any window, as the
// companion does: the error and the usage line on standard error, exit code 2.
TEST(CommandLine, AMalformedCommandLineIsRefusedBeforeAnyWindow)
{
    const QString usage = LoadText(IDS_COMMAND_LINE_USAGE);
    const QString usageLine = usage.left(usage.indexOf("\n\n") + 1);
    struct Case {
        const char* name;
        QStringList arguments;
        QString error;
    };
    const Case cases[] = {
        {"unknown long option", {"--bogus"}, "tamsel : option inconnue : --bogus\n"},
        {"unknown short option", {"-x", "réglages.tms"}, "tamsel : option inconnue : -x\n"},
        {"after a good option", {"--network", "--verbose"}, "tamsel : option inconnue : --verbose\n"},
        {"before --help", {"--bogus", "--help"}, "tamsel : option inconnue : --bogus\n"},
        {"a second file", {"a.tms", "b.tms"}, "tamsel : un seul fichier de paramètres à la fois : b.tms\n"},
    };
    QTemporaryDir home;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess program;
        program.setProcessEnvironment(NoDisplay(home));
        program.start(TAMSEL_PATH, c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 2);
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()), c.error + usageLine);
        EXPECT_EQ(program.readAllStandardOutput(), QByteArray());
    }
    EXPECT_TRUE(usageLine.startsWith("Usage : tamsel "));
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
        QProcess program;
        program.setProcessEnvironment(NoDisplay(work));
        program.setWorkingDirectory(work.path());
        program.start(SNAPSHOT_PATH, c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QByteArray out = program.readAllStandardOutput();
        const QByteArray error = program.readAllStandardError();
        EXPECT_TRUE((c.usageOnOutput ? out : error).startsWith("usage: snapshot OUTDIR\n"));
        EXPECT_TRUE((c.usageOnOutput ? error : out).isEmpty());
        EXPECT_EQ(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
}

} // namespace
