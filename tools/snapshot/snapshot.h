// The snapshot tool's table: each subject shows windows of the console as the console shows
// them and hands each to an album: the tool's writes one PNG file per picture and an index of
// the pictures' controls; a test's may work the window instead.
#pragma once

#include "afx/afxwin.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace snapshot {

// Where the subjects hand each window once it is shown as the console shows it.
class Album {
public:
    virtual ~Album() = default;
    // The top-level window, named; what the caller says is painted on it.
    virtual void Capture(const QString& name, QWidget* window, const QJsonObject& painted = {}) = 0;
};

// The snapshot tool's album: one PNG file per picture and an index of the pictures' controls.
class PictureAlbum : public Album {
public:
    explicit PictureAlbum(const QString& folder) : folder(folder) {}

    // Runs the idle update, renders the top-level window to <name>.png and lists it with its
    // controls (their texts and listed items) and what the caller says is painted on it.
    void Capture(const QString& name, QWidget* window, const QJsonObject& painted = {}) override;
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

// The string of the resource script; empty when there is none.
CString LoadText(UINT id);

// Runs the dialog modally, captures it once it is shown, then cancels it.
void CaptureModal(Album& album, const QString& name, CDialog& dialog);
// The same for the dialog or file dialog that show() brings up.
void CaptureModal(Album& album, const QString& name, const std::function<void()>& show);

// The rows, one function per area of the console; every row, in the order the tool runs them.
std::vector<Subject> MainWindowSubjects();
std::vector<Subject> ConsoleDialogSubjects();
std::vector<Subject> DeviceDialogSubjects();
std::vector<Subject> ClientCodeSubjects();
std::vector<Subject> MailBoxSubjects();
std::vector<Subject> DirectorySubjects();
std::vector<Subject> GroupDialogSubjects();
std::vector<Subject> LinePageSubjects();
std::vector<Subject> AllSubjects();

} // namespace snapshot
