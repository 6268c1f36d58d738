// The console's help window: one window showing the HTML topics embedded as
// ":/help/<context id in lower-case hexadecimal>.html"; the contents topic is
// ":/help/index.html". AfxWinMain installs it as the help viewer of the prompt gateway.
#pragma once

#include "afx/win/prompts.h"

class QTextBrowser;

namespace afx {
// Shows the topic of a context id (HELP_CONTEXT), the contents (HELP_FINDER), or
// closes the window (HELP_QUIT). A context without a topic shows a message saying so.
void ShowHelpWindow(DWORD context, UINT command);
// The help window's browser; nullptr until help was first shown.
QTextBrowser* HelpBrowser();
}
