// The workspace stores' loading and saving.
#include "panes/docks/workspace/AWorkspaceStore.h"

#include "base/object/AError.h"
#include "panes/docks/workspace/StoreLines.h"

// A scrambled file is read, the file is always written plain.
void AWorkspaceStore::loadStore() {
    try {
        load();
    } catch (const AFileError& e) {
        keepAside(e.line());
    } catch (const AFileSpecError& e) {
        keepAside(e.line());
    }
    setScrambled(0);
}

void AWorkspaceStore::keepAside(long line) {
    loadErrorLine_ = line;
    forgetAll();
    keptAs_ = KeepDamagedFile(file());
    if (!keptAs_.empty())
        load();
}

void AWorkspaceStore::saveQuietly() noexcept {
    try {
        save();
    } catch (...) {
    }
}
