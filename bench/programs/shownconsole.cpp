// The console as a whole process for the start-up benchmark: the program's own start (the
// password prompt answered, a settings file named on the command line opened), then a report
// once the main window is shown. Built only for the benchmarks.
#include "app/consoleapp.h"
#include "shown.h"
#include "../../tools/snapshot/offscreen.h"

#include <QTranslator>

int main(int argc, char** argv)
{
    offscreen::Sandbox sandbox;
    QApplication application(argc, argv);
    const std::unique_ptr<QTranslator> qtTexts = afx::LoadQtFrenchTexts();
    offscreen::StartAnswers answer;
    afx::SetPromptAnswerer(&answer);
    CConsoleApp console;
    if (!console.InitInstance())
        return 1;
    ReportShown(*console.m_pMainWnd->m_hWnd);
    return 0;
}
