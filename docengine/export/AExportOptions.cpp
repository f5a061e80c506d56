// The export option file.
#include "docengine/export/AExportOptions.h"

#include "base/procedural/AError.h"

AExportOptions::AExportOptions(const AFileSpec& file) : AOptionsInfo(file.parent(false), file.name().c_str()) {}

AFileSpec AExportOptions::getFolder() const {
    AString folder = getString(0);
    return folder.empty() ? AFileSpec() : AFileSpec(folder.c_str());
}

void AExportOptions::setFolder(const AFileSpec& folder) {
    setString(0, folder.path().c_str());
}

bool AExportOptions::save() {
    try {
        AOptionsInfo::save();
    } catch (const AError&) {
        return false;
    }
    return true;
}
