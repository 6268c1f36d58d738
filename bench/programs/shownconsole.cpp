// The console as a whole process for the start-up benchmark: the program's own start through
// the framework's entry (the password prompt answered, a settings file named on the command
// line opened), then a report once the main window is shown. Built only for the benchmarks.
#include "app/consoleapp.h"
#include "shown.h"
#include "../../tools/snapshot/offscreen.h"

namespace {

// Ends once its window is shown, instead of running the event loop.
class CShownConsole : public CConsoleApp {
public:
    BOOL InitInstance() override
    {
        if (!CConsoleApp::InitInstance())
            return FALSE;
        ReportShown(*m_pMainWnd->m_hWnd);
        return FALSE;
    }
};

CShownConsole theApp;

} // namespace

int main(int argc, char** argv)
{
    offscreen::Sandbox sandbox;
    offscreen::StartAnswers answer;
    afx::SetPromptAnswerer(&answer);
    return AfxWinMain(argc, argv);
}
