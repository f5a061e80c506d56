// The options file of printing ("print.prf"): numeric and text options that
// the print options dialogs read and write, loaded when made and saved when
// destroyed (through a temporary sibling, so the old file survives a failure).
#pragma once

#include "framework/files/AOptionsInfo.h"

class APrinterOptions : public AOptionsInfo {
public:
    // The file name in the application's user folder.
    explicit APrinterOptions(const char* name) : AOptionsInfo(name) {}
    APrinterOptions(const AFileSpec& folder, const char* name) : AOptionsInfo(folder, name) {}
};
