// Helpers every test program shares: how GoogleTest shows strings, the console's texts, a
// click on a dialog's button as the user gives it, and what a file or window holds.
#pragma once

#include "afx/afxwin.h"
#include "afx/win/testing.h"

#include <functional>
#include <vector>

#include <QByteArray>
#include <QFileDialog>
#include <QString>
#include <ostream>
#include <string>

// How GoogleTest shows Qt's and the layer's strings.
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const CString& text, std::ostream* os);

// A text of the console's string table.
CString LoadText(UINT id);

// Clicks the dialog's button as the user does.
void Click(CDialog& dialog, int id);

// Runs the dialog modally. `work` acts on the live dialog, which is cancelled if `work` leaves
// it open; `inside` scripts what the dialog shows meanwhile.
struct ModalOutcome {
    INT_PTR result;
    std::vector<afx::Prompt> shown;   // the dialog itself first
};
ModalOutcome RunModal(CDialog& dialog, const std::function<void(CDialog&)>& work,
                      const std::function<void(afx::testing::PromptScript&)>& inside = {});
// The same for the dialog of the template that `open` brings up (a button that runs it, say);
// what was shown.
std::vector<afx::Prompt> RunModal(UINT templateId, const std::function<void()>& open,
                                  const std::function<void(CDialog&)>& work,
                                  const std::function<void(afx::testing::PromptScript&)>& inside = {});

// Types the name into the live file dialog and confirms it with Return, as the user does.
// Returns the question Qt asked on the way (a file to replace, a file not found), answered
// No; empty when none. A dialog still open then is cancelled.
QString ConfirmFileName(QFileDialog& dialog, const QString& name);

// Where the window stands on the screen.
CRect WindowRect(CWnd& window);

// The file's bytes; empty when it cannot be read.
QByteArray FileBytes(const QString& path);

// Names a parameterised case after its row's `name` (letters, digits, underscores), so the
// case list and a failure say which row it is.
inline constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };
