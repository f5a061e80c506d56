// The Win32 entry of programs built on the framework.
#include <windows.h>

#include "framework/app/AppMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    (void)previous;
    AppInstanceHandle = instance;
    return AppMain(instance, commandLine, showCommand);
}
