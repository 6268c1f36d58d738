#pragma once

#include <QSize>

class QPainter;

// Each function draws one picture on a transparent canvas of the given size; the icons that
// exist in two sizes simplify their drawing at 16 x 16.

// icons.cpp
void drawAppIcon(QPainter& p, QSize size);
void drawGeneralIcon(QPainter& p, QSize size);
void drawFaxIcon(QPainter& p, QSize size);
void drawDirectoryIcon(QPainter& p, QSize size);
void drawMailboxIcon(QPainter& p, QSize size);
void drawPcFaxIcon(QPainter& p, QSize size);
void drawNetworkIcon(QPainter& p, QSize size);
void drawReportsIcon(QPainter& p, QSize size);
void drawLocalIcon(QPainter& p, QSize size);

// desktop.cpp: the icons of the console's file types, at any size.
void drawSettingsFileIcon(QPainter& p, QSize size);
void drawPhoneBookFileIcon(QPainter& p, QSize size);
void drawFirmwareFileIcon(QPainter& p, QSize size);

// toolbar.cpp: the six buttons side by side.
void drawToolbar(QPainter& p, QSize size);

// illustrations.cpp
void drawAboutPicture(QPainter& p, QSize size);
void drawConnectPicture(QPainter& p, QSize size);
void drawUpdatePicture(QPainter& p, QSize size);
void drawWaitDot(QPainter& p, QSize size);
