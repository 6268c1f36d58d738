// The snapshot tool's table: each subject shows windows of the console and captures them into
// the album, which writes one PNG file per picture and an index of the pictures' controls.
#pragma once

#include "afx/afxwin.h"

#include <QJsonArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace snapshot {

class Album {
public:
    explicit Album(const QString& folder) : folder(folder) {}

    // Renders the top-level window to <name>.png and lists it with its controls.
    void Capture(const QString& name, QWidget* window);
    // The index of every picture: OUTDIR/index.json. FALSE when it cannot be written.
    bool WriteIndex() const;
    int Count() const { return int(pictures.size()); }

private:
    QString folder;
    QJsonArray pictures;
};

// A row of the table: what to show and capture.
struct Subject {
    QString name;
    std::function<void(Album&)> render;
};

// Runs the dialog modally, captures it once it is shown, then cancels it.
void CaptureModal(Album& album, const QString& name, CDialog& dialog);

// The rows, one function per area of the console.
std::vector<Subject> MainWindowSubjects();
std::vector<Subject> ConsoleDialogSubjects();
std::vector<Subject> DeviceDialogSubjects();

} // namespace snapshot
