// Building the dialogs of network installations from their layouts for the
// main window: each is loaded, given its texts, centred on the screen and
// shown. The application owns the windows (they delete themselves on
// close); the results are not owned, and null when a layout is missing.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AWindow;
class Frame1;

// Mode 1: "WorkNameSave", mode 2: "WorkNameRestore"; `name` is the work to
// restore after the save (may be empty).
AWindow* OpenWorkNameDialog(Frame1& frame, int16_t mode, const AString& message, const AString& name);
AWindow* OpenIdentificationDialog(Frame1& frame, int16_t mode, const AString& message);
AWindow* OpenWorkPasswordDialog(const AString& message, const AString& expected);
