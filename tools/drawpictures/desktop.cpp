#include "motifs.h"
#include "pictures.h"

#include <QPainter>

namespace {

// A document of the console: a sheet with the emblem of what it holds in its lower right.
void drawDocument(QPainter& p, QSize size, void (*emblem)(QPainter&, QSize))
{
    // Drawn on the 32-pixel grid and scaled, so that every size shows the same picture.
    p.scale(size.width() / 32.0, size.height() / 32.0);
    drawSheet(p, QRect(3, 1, 22, 29), 6);
    p.translate(13, 13);
    p.scale(0.58, 0.58);
    emblem(p, QSize(32, 32));
}

}  // namespace

void drawSettingsFileIcon(QPainter& p, QSize size)
{
    drawDocument(p, size, drawGeneralIcon);
}

void drawPhoneBookFileIcon(QPainter& p, QSize size)
{
    drawDocument(p, size, drawDirectoryIcon);
}

void drawFirmwareFileIcon(QPainter& p, QSize size)
{
    drawDocument(p, size, drawAppIcon);
}
