// Draws the console's icons and bitmaps as PNG files:
//   drawpictures [FOLDER]             (default: the source tree's src/res/pictures)
//   drawpictures --desktop FOLDER     the icon theme's tree of the application and its file
//                                     types: FOLDER/hicolor/<size>x<size>/{apps,mimetypes}

#include "pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace {

struct Picture {
    const char* file;
    QSize size;
    void (*draw)(QPainter&, QSize);
};

const Picture pictures[] = {
    {"icon128-app-32.png", {32, 32}, drawAppIcon},
    {"icon128-app-16.png", {16, 16}, drawAppIcon},
    {"icon133-directory-32.png", {32, 32}, drawDirectoryIcon},
    {"icon135-general-32.png", {32, 32}, drawGeneralIcon},
    {"icon136-reports-32.png", {32, 32}, drawReportsIcon},
    {"icon137-network-32.png", {32, 32}, drawNetworkIcon},
    {"icon138-mailbox-32.png", {32, 32}, drawMailboxIcon},
    {"icon139-fax-32.png", {32, 32}, drawFaxIcon},
    {"icon139-fax-16.png", {16, 16}, drawFaxIcon},
    {"icon172-local-32.png", {32, 32}, drawLocalIcon},
    {"icon172-local-16.png", {16, 16}, drawLocalIcon},
    {"icon246-pcfax-32.png", {32, 32}, drawPcFaxIcon},
    {"bitmap128-toolbar.png", {6 * 22, 23}, drawToolbar},
    {"bitmap188-about.png", {364, 333}, drawAboutPicture},
    {"bitmap208-wait-update.png", {145, 62}, drawUpdatePicture},
    {"bitmap209-wait-dot.png", {9, 7}, drawWaitDot},
    {"bitmap210-wait-connect.png", {145, 62}, drawConnectPicture},
};

// The names are the ones the launcher and the file types' entries give.
const Picture desktopIcons[] = {
    {"apps/com.corvane.Tamsel.png", {}, drawAppIcon},
    {"mimetypes/application-x-tamsel-settings.png", {}, drawSettingsFileIcon},
    {"mimetypes/application-x-tamsel-phonebook.png", {}, drawPhoneBookFileIcon},
    {"mimetypes/application-x-tamsel-firmware.png", {}, drawFirmwareFileIcon},
};
const int desktopSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool save(const QString& path, QSize size, void (*draw)(QPainter&, QSize))
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, size);
    }
    if (!QDir().mkpath(QFileInfo(path).path())
        || !image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Text needs a platform plugin; drawing needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--desktop")) {
        const QDir folder(args[2]);
        for (const int side : desktopSizes) {
            const QString sizeFolder = QStringLiteral("hicolor/%1x%1/").arg(side);
            for (const Picture& icon : desktopIcons) {
                if (!save(folder.filePath(sizeFolder + icon.file), {side, side}, icon.draw))
                    return 1;
            }
        }
        return 0;
    }
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: drawpictures [FOLDER] | --desktop FOLDER\n");
        return 2;
    }
    const QDir folder(args.size() == 2 ? args[1] : QStringLiteral(PICTURES_DIR));
    for (const Picture& picture : pictures) {
        if (!save(folder.filePath(picture.file), picture.size, picture.draw))
            return 1;
    }
    return 0;
}
