// The program's entry: the one application object, built during static
// initialisation, and WinMain handing over to the framework.
#include "OrvApp.h"

#include "OrvStartTrace.h"

#include <windows.h>

namespace {
OrvApp g_application;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    OrvStartMark("WinMain");
    return AfxWinMain(instance, previous, commandLine, show);
}
