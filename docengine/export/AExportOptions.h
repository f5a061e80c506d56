// The export option file ("export.prf"): the folder of the last export, kept
// between runs as an option file. Loaded when made (a missing file gives no
// options, a truncated one raises AFileError and is left alone), saved when
// destroyed or asked; a failed save keeps the old file.
#pragma once

#include "base/object/AFileSpec.h"
#include "framework/files/AOptionsInfo.h"

class AExportOptions : public AOptionsInfo {
public:
    explicit AExportOptions(const AFileSpec& file);

    // The folder of the last export (text option 0); empty when none was kept.
    AFileSpec getFolder() const;
    void setFolder(const AFileSpec& folder);
    // False when the file could not be written (the old one stays).
    bool save();
};
