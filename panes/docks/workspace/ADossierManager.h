// The reader's dossiers and their file "sv.dos": every dossier by id, their
// order, the number of elements per document key over all dossiers, and the
// current dossier.
//
// Owns the dossiers. The element operations keep the document counts and
// save the file; dossier changes stay in memory until the next save. A
// damaged file starts the store as a missing one does (AWorkspaceStore).
// Saves raise AFileError; the destructor's save swallows it.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "panes/docks/workspace/ATypedLongDic.h"
#include "panes/docks/workspace/AWorkspaceStore.h"
#include "panes/docks/workspace/Dossier.h"

class ADataManager;

// Dossier id -> dossier (not owned by the dictionary).
class DossierLongDic : public ATypedLongDic<Dossier> {};

class ADossierManager : public AWorkspaceStore {
public:
    // The store in a reader's own folder (network installation).
    ADossierManager(ADataManager* dataManager, int16_t value, const AFileSpec& folder, const char* name);
    // The store in the application's user folder.
    ADossierManager(ADataManager* dataManager, int16_t value, const char* name);
    ~ADossierManager() override;

    virtual Dossier* newDossier(const char* name);

    long nextId() { return nextId_++; }
    long getCurrentId() const { return currentId_; }
    void setCurrentId(long id) { currentId_ = id; }
    Dossier* getCurrentDossier() const { return currentId_ < 0 ? nullptr : findDossier(currentId_); }
    Dossier* findDossier(long id) const { return dossiers_.at(id); }
    long getDossierCount() const { return dossiers_.count(); }
    // A position outside the order gives the first dossier; null when there is none.
    Dossier* getDossierAt(long position) const;
    static const char* getDefaultName() { return "Nouveau dossier"; }
    bool isFull() const { return false; }
    bool isInDossiers(long reference, int16_t kind) const { return counts_.contains(DocumentKeyOf(reference, kind)); }
    // Elements, over all dossiers, of that document key (0 when none).
    long documentCount(long key) const;

    Dossier* createDossier(const char* name, int16_t makeCurrent);
    void addDossier(Dossier* dossier);
    // Saves; nothing when no dossier has the id. The current id is not touched.
    void removeDossier(long id);

    // A new element (kind 0, "REF" = "10"), in no dossier yet; the caller owns it.
    DossierElement* newElement(long reference);
    void addElementStrict(Dossier* dossier, DossierElement* element, int16_t bulk);
    void addElement(Dossier* dossier, DossierElement* element, int16_t bulk);
    DossierElement* elementAt(Dossier* dossier, long position, int16_t mode) const;
    void removeElement(Dossier* dossier, DossierElement* element, int16_t bulk);
    void removeElementAt(Dossier* dossier, long position, int16_t mode);
    void recount();

protected:
    void readFrom(AFileStream& stream) override;
    void writeTo(AFileStream& stream) override;
    void setDefaults() override;
    void forgetAll() override { deleteAll(); }

private:
    void deleteAll();
    long positionOf(long id) const;

    ADataManager* dataManager_;  // not owned
    int16_t value_;
    long nextId_ = 0;
    DossierLongDic dossiers_;  // owns the dossiers
    ALongLongDic order_;       // position -> id
    ALongLongDic counts_;      // document key -> elements
    long currentId_ = -1;
};
