// The shipped program's options that only print: they need no display.
#include "support/helpers.h"
#include "afx/afxwin.h"
#include "res/resource.h"
#include "version.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

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
    // A window system with nothing to connect to: starting it would end the program.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(TAMSEL_PATH, c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), c.out);
    }
    EXPECT_TRUE(version.Find(TAMSEL_VERSION) > 0);
}

} // namespace
