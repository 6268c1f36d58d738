// What the start-up benchmark's programs print once their main window is shown: resident size
// in KiB, the number of widgets, the window's width and height, on one line.
#pragma once

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <cstdio>

inline long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Lets the shown window paint, then reports.
inline void ReportShown(const QWidget& window)
{
    QApplication::processEvents();
    std::printf("%ld %lld %d %d\n", ResidentKiB(), static_cast<long long>(QApplication::allWidgets().size()),
                window.width(), window.height());
    std::fflush(stdout);
}
