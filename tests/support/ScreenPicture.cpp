// The screen picture of the window tests.
#include "tests/support/ScreenPicture.h"

#include <windows.h>

#include "tests/support/HostProgram.h"

void TakeScreenPicture(const std::string& binaryDir, const std::string& name) {
    std::string path = binaryDir + "/artifacts/" + name;
    std::string command = "/bin/sh -c \"mkdir -p " + binaryDir + "/artifacts && import -window root png:" + path +
                          ".part && mv " + path + ".part " + path + "\"";
    std::string dosPath = "Z:" + path;
    DeleteFileA(dosPath.c_str());
    if (!StartHostProgram(command))
        return;
    for (int i = 0; i < 300 && GetFileAttributesA(dosPath.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
}
