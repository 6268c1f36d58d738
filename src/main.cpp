// The console's entry: the one application object, and the framework's start and event loop.
#include "app/consoleapp.h"

namespace {

CConsoleApp theApp;

} // namespace

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
