// The application's workspace stores.
#include "panes/docks/workspace/AWorkspace.h"

#include "base/procedural/AError.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"

namespace {

const char kDossierFile[] = "sv.dos";
const char kNoteFile[] = "sv.note";
// The value the application hands the dossier store; kept, not used.
const int16_t kDossierValue = 50;

}  // namespace

AString DamagedStoreMessage(const char* fileName, long line, const AString& keptAs) {
    AString text = "Le fichier ";
    text += fileName;
    text += " est endommag\xe9 (ligne ";
    text += AString(line);
    if (keptAs.empty()) {
        text += ") et ne sera pas r\xe9\xe9" "crit.";
        return text;
    }
    text += ") : il est conserv\xe9 sous le nom ";
    text += keptAs;
    text += ".";
    return text;
}

AWorkspace::~AWorkspace() {
    releaseNotes();
    releaseDossiers();
}

AString AWorkspace::loadDossiers(ADataManager* dataManager, const AFileSpec* readerFolder) {
    releaseDossiers();
    dossiers_ = readerFolder ? new ADossierManager(dataManager, kDossierValue, *readerFolder, kDossierFile)
                             : new ADossierManager(dataManager, kDossierValue, kDossierFile);
    return dossiers_->loadFailed() ? DamagedStoreMessage(kDossierFile, dossiers_->loadErrorLine(), dossiers_->keptAs()) : AString();
}

AString AWorkspace::loadNotes(ADataManager* dataManager, const AFileSpec* readerFolder) {
    releaseNotes();
    notes_ = readerFolder ? new ANoteManager(dataManager, *readerFolder, kNoteFile)
                          : new ANoteManager(dataManager, kNoteFile);
    return notes_->loadFailed() ? DamagedStoreMessage(kNoteFile, notes_->loadErrorLine(), notes_->keptAs()) : AString();
}

void AWorkspace::releaseDossiers() {
    delete dossiers_;
    dossiers_ = nullptr;
}

void AWorkspace::releaseNotes() {
    delete notes_;
    notes_ = nullptr;
}
