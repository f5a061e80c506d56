// The application's two workspace stores: the dossiers on "sv.dos" and the
// notes on "sv.note", made at start-up and written and destroyed at quit.
// The application object holds one and calls these steps from its own
// start-up and quit steps; owns both stores.
#pragma once

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

class ADataManager;
class ADossierManager;
class ANoteManager;

class AWorkspace {
public:
    AWorkspace() = default;
    AWorkspace(const AWorkspace&) = delete;
    AWorkspace& operator=(const AWorkspace&) = delete;
    ~AWorkspace();

    // Each loads its store, in readerFolder when it is set (a network
    // installation), else in the application's user folder. A damaged file
    // is kept aside and the store starts afresh: the result is then the
    // message to show the reader, else empty.
    AString loadDossiers(ADataManager* dataManager, const AFileSpec* readerFolder);
    AString loadNotes(ADataManager* dataManager, const AFileSpec* readerFolder);
    // Each writes its store and destroys it; nothing when there is none.
    void releaseDossiers();
    void releaseNotes();

    ADossierManager* dossiers() const { return dossiers_; }
    ANoteManager* notes() const { return notes_; }

private:
    ADossierManager* dossiers_ = nullptr;  // owned
    ANoteManager* notes_ = nullptr;        // owned
};

// The message of a store whose file was found damaged at line `line` and
// kept as keptAs (empty: it could not be moved and is not saved over).
AString DamagedStoreMessage(const char* fileName, long line, const AString& keptAs);
