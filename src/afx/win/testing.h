// The test side of the prompt gateway: a PromptScript answers the prompts of one test in
// order, records what was shown, and reports a prompt nobody expected or an answer left unused.
#pragma once

#include "afx/win/prompts.h"

#include <deque>
#include <functional>
#include <vector>

namespace afx::testing {

// Where failures go; a test program connects it to its test framework (ADD_FAILURE). Without
// one, a failure is printed and the program aborts, so it never passes unnoticed. Returns the
// previous reporter.
std::function<void(const QString&)> SetFailureReporter(std::function<void(const QString& message)> reporter);
void ReportFailure(const QString& message);

// The answerer a test program installs once: every prompt no PromptScript expects is a
// failure, answered with the choice that changes nothing (Cancel, No, or OK for a lone OK).
class StrictPrompts : public PromptAnswerer {
public:
    int Answer(Prompt& prompt) override;
};

// Answers every prompt with the choice that changes nothing, reporting none: for a walk that
// presses every button of a window and is about the window, not the prompts it brings.
class QuietPrompts : public PromptAnswerer {
public:
    int Answer(Prompt& prompt) override;
};

class PromptScript : public PromptAnswerer {
public:
    PromptScript();
    ~PromptScript() override;   // reports answers left unused; restores the previous answerer

    // A message box answered with result; with text, the box must show exactly that text.
    PromptScript& MessageBox(int result, const CString& text = {});
    // A dialog of the template, ended with result as if by EndDialog.
    PromptScript& Dialog(UINT templateId, int result);
    // A dialog of the template, worked by the callback on the live dialog; the callback ends it
    // (EndDialog, or a click on a button that does).
    PromptScript& Dialog(UINT templateId, std::function<void(CDialog&)> work);
    // A file dialog answered with result and, for IDOK, the path chosen.
    PromptScript& FileDialog(int result, const CString& path = {});
    // A file dialog, worked by the callback on the live dialog; the callback ends it (a click
    // on its button, or reject()). The answer is the file it accepted, or IDCANCEL.
    PromptScript& FileDialog(std::function<void(QFileDialog&)> work);
    // A help request for the context.
    PromptScript& Help(DWORD context);

    const std::vector<Prompt>& Shown() const { return shown; }

    int Answer(Prompt& prompt) override;

private:
    struct Expected {
        PromptKind kind;
        int result = 0;
        CString text = {};   // message box text, or file path
        UINT templateId = 0;
        DWORD helpContext = 0;
        std::function<void(CDialog&)> work = {};
        std::function<void(QFileDialog&)> fileWork = {};
    };
    std::deque<Expected> answers;
    std::vector<Prompt> shown;
    PromptAnswerer* previous;
};

// A readable description of a prompt, as failure messages name it.
QString Describe(const Prompt& prompt);

// Lets happen now what the events handled so far left for later, as the event loop would next:
// a window that a command or its close box closed is destroyed once that event has returned.
void RunPostedWork();

// The machine-wide settings of a test program or test host in a folder of its own; an empty
// folder gives back the build's.
void SetMachineSettingsFolder(const QString& folder);

} // namespace afx::testing
