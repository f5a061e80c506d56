// The program launcher: starts another program of the reader's machine (the
// media pane's external player) and waits until it is ready for input; and
// the report of a DDE conversation's last error in words.
#pragma once

#include <cstdint>
#include <string>

#include "base/object/AFileSpec.h"

// Starts `program` with its own folder as current folder and `commandLine`
// (null: none) as its command line, then waits at most kLaunchWaitMs for it
// to wait for input. `document` and `flag` are accepted and not used. 1 when
// the process was made, 0 otherwise (a missing file, a refused creation);
// nothing is shown. A program without a message loop counts as started.
int16_t LaunchProcess(const AFileSpec& program, const AFileSpec& document, int16_t flag, const char* commandLine);
const unsigned long kLaunchWaitMs = 30000;

// The message of a DDEML error code: prefix, ": " and the code's text, or
// "other error type N" for a code outside 0x4000..0x4011. Sized to fit.
std::string DdeErrorText(const char* prefix, unsigned code);
// DdeGetLastError(instance); when not 0, DdeErrorText in a message box with
// no owner, no caption and an OK button.
void ShowDdeError(uint32_t instance, const char* prefix);
