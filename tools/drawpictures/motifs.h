#pragma once

#include <QRect>
#include <QRectF>

class QPainter;

// The objects that appear in several pictures, each drawn to fill its box.

// The multifunction device: document feeder, control panel, output and paper drawer.
void drawDevice(QPainter& p, const QRect& box);

// A flat screen on its stand; returns the glass, for a picture on it.
QRectF drawMonitor(QPainter& p, const QRect& box);

// A sheet of paper with text lines and a folded corner.
void drawSheet(QPainter& p, const QRect& box, int lines);
