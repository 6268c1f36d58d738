// rccheck: checks a resource script (a draft or src/res/console.rc) against its headers the
// way the console reads it at start-up, and says where the first fault is.
#include "afx/core/resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

int Usage()
{
    std::fputs("usage: rccheck [--draft] SCRIPT.rc HEADER.h [HEADER.h...]\n"
               "  Parses SCRIPT.rc with the #defines of the headers; prints SCRIPT:LINE: error\n"
               "  and exits 1 on the first fault, else a one-line summary.\n"
               "  --draft  do not require the picture and custom files the script names\n"
               "           (otherwise they must exist next to SCRIPT.rc)\n",
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
    if (args.size() < 2 || args.first().startsWith(u'-'))
        return Usage();
    try {
        std::vector<afx::ResourceScript::SourceText> headers;
        for (const QString& path : args.mid(1))
            headers.push_back(Read(path));
        const afx::ResourceScript script = afx::ResourceScript::Parse(Read(args.first()), headers);
        if (!draft) {
            try {
                script.CheckFiles(QFileInfo(args.first()).absolutePath());
            } catch (const afx::ResourceError& e) {
                std::fprintf(stderr, "%s (--draft skips this check)\n", e.what());
                return 1;
            }
        }
        std::printf("%s: %s\n", qPrintable(args.first()), qPrintable(script.Summary()));
        return 0;
    } catch (const afx::ResourceError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
