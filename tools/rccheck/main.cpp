// rccheck: checks a resource script (a draft or src/res/console.rc) against its headers the
// way the console reads it at start-up, and says where the first fault is. The build uses it to
// write the compiled form the console reads at start-up.
#include "afx/core/resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <cstdio>

namespace {

int Usage()
{
    std::fputs("usage: rccheck [--draft] [--compile OUT] SCRIPT.rc HEADER.h [HEADER.h...]\n"
               "  Parses SCRIPT.rc with the #defines of the headers; prints SCRIPT:LINE: error\n"
               "  and exits 1 on the first fault, else a one-line summary.\n"
               "  --draft  do not require the picture and custom files the script names\n"
               "           (otherwise they must exist next to SCRIPT.rc)\n"
               "  --compile OUT  also write the script's compiled form to OUT\n",
               stderr);
    return 2;
}

afx::ResourceScript::SourceText Read(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw afx::ResourceError(QStringLiteral("%1: cannot read: %2").arg(path, f.errorString()));
    return {path, f.readAll()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool draft = args.removeAll(QStringLiteral("--draft")) > 0;
    QString compiledPath;
    if (const qsizetype at = args.indexOf(QStringLiteral("--compile")); at >= 0 && at + 1 < args.size()) {
        compiledPath = args.takeAt(at + 1);
        args.removeAt(at);
    }
    if (args.size() < 2 || args.first().startsWith(u'-'))
        return Usage();
    try {
        std::vector<afx::ResourceScript::SourceText> headers;
        for (const QString& path : args.mid(1))
            headers.push_back(Read(path));
        afx::ResourceScript::SourceText source = Read(args.first());
        // The compiled form names the script as the console's errors do: by its file name.
        if (!compiledPath.isEmpty())
            source.fileName = QFileInfo(source.fileName).fileName();
        const afx::ResourceScript script = afx::ResourceScript::Parse(source, headers);
        if (!draft) {
            try {
                script.CheckFiles(QFileInfo(args.first()).absolutePath());
            } catch (const afx::ResourceError& e) {
                std::fprintf(stderr, "%s (--draft skips this check)\n", e.what());
                return 1;
            }
        }
        if (!compiledPath.isEmpty()) {
            QSaveFile out(compiledPath);
            if (!out.open(QIODevice::WriteOnly) || out.write(script.Compiled()) < 0 || !out.commit()) {
                std::fprintf(stderr, "%s: cannot write: %s\n", qPrintable(compiledPath), qPrintable(out.errorString()));
                return 1;
            }
            return 0;
        }
        std::printf("%s: %s\n", qPrintable(args.first()), qPrintable(script.Summary()));
        return 0;
    } catch (const afx::ResourceError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
