// The screen picture of the window tests.
#include "tests/support/ScreenPicture.h"

#include <windows.h>

void TakeScreenPicture(const std::string& binaryDir, const std::string& name) {
    std::string path = binaryDir + "/artifacts/" + name;
    std::string command = "/bin/sh -c \"mkdir -p " + binaryDir + "/artifacts && import -window root png:" + path +
                          ".part && mv " + path + ".part " + path + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return;
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
