// The workspace stores' loading and saving.
#include "panes/docks/workspace/AWorkspaceStore.h"

#include "base/procedural/AError.h"
#include "panes/docks/workspace/StoreLines.h"

// A scrambled file is read, the file is always written plain.
void AWorkspaceStore::loadStore() {
    try {
        load();
    } catch (const AFileError& e) {
        keepAside(e, e.line());
    } catch (const AFileSpecError& e) {
        keepAside(e, e.line());
    }
    setScrambled(0);
}

void AWorkspaceStore::keepAside(const AError& error, long line) {
    loadErrorLine_ = line;
    forgetAll();
    // A file that could not be opened is not damaged: it stays where it is,
    // and the container refuses to save over it.
    if (IsAccessFailure(error))
        return;
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
