// Host programs started from the tests.
#include "tests/support/HostProgram.h"

#include <windows.h>

#include <vector>

// Wine answers success for a host program with process information it never
// fills in (a thread handle of 0x1c9 or 0x200001 here, a null process):
// closing those values closed whatever open file of the test held that
// number, a base's data file among them. A host program gives no handles, so
// none is closed.
bool StartHostProgram(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
}
