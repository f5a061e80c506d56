// Starting a program of the host system (under Wine, a Linux command line
// such as "/bin/sh -c ...") from inside a test.
#pragma once

#include <string>

// Starts the command line and lets it run on; false when it cannot start.
// Its end is not told: callers wait for a file it writes last.
bool StartHostProgram(const std::string& commandLine);
