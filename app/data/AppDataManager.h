// The reader's data manager: on top of the bases it answers the document
// queries (information record, title, legend, copyright, link record,
// chronology position), keeps the six filter sets and the upper-case filter,
// writes the version file at its end, and gives room titles and the help,
// assistance and guide addresses.
//
// Owns the filter sets (one reference each), the filter and the two global
// handles. Negative document numbers answer empty texts and records without
// opening a base. Engine errors pass through; a record offset or extent that
// points outside its table raises ASearchError; a missing LEG table, a missing
// help file or a filter set number outside 1..6 is an assertion ("appdata").
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/data/ADataManager.h"
#include "app/state/ADocRef.h"
#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/object/AString.h"

class ALoVect;
class AppState;

// What the manager asks of the application object.
class AppDataHost {
public:
    virtual ~AppDataHost() = default;
    // The folder of the version file.
    virtual AFileSpec versionFileFolder() = 0;
    // The reference text of a document when the reference file is in use, else
    // false.
    virtual bool docReference(long docNo, AString* text) = 0;
    // The main window's current state, or null.
    virtual AppState* currentState() = 0;
};

class AppDataManager : public ADataManager, public ADocBaseNames {
public:
    // Becomes the current data manager (gAppDataManager) and the document
    // base names (gDocBaseNames). host may be null (no version file, no
    // reference, no current state).
    AppDataManager(ADataLocation* location, AppDataHost* host);
    // Writes the version file, then releases everything.
    ~AppDataManager() override;

    // "PREFFILE", the "MAJ" filter and the six filter sets.
    void loadPrefFile();

    ADocRefInfo getDocRefInfo(long docNo);
    AString getDocTitle(long docNo);
    AString getDocLegend(long docNo);
    AString getDocCopyright(long docNo);
    AString getLinkRecord(long record);
    // The CHRONO record's field 2; outSecond its field 3 (-1 without one).
    long getChronoPosition(long docNo, long* outSecond);
    // Filter set 1..6, shared (no reference taken).
    ALoVect* getFilterList(int16_t number);
    const AFilter& majFilter() const { return fMajFilter; }

    void setGlobalHandle1(HGLOBAL handle) { setHandle(fGlobalHandle1, handle); }
    void setGlobalHandle2(HGLOBAL handle) { setHandle(fGlobalHandle2, handle); }

    // Room titles and help pages.
    AString getSalleTitle(int16_t type, AppState* state);
    AFileSpec getHelpFolder();
    AString getHelpMainUrl();
    AString getAssistUrl();
    AString getGuideUrl(long record);

    const AString& prefFileName() const { return fPrefFileName; }

    // ADocBaseNames.
    int16_t baseIndex(const char* name) override;
    bool cdBaseOf(long docNo, int16_t* base) override;

    int16_t fDiscNo = 0;
    int16_t fNextDiscNo = 0;

private:
    static void setHandle(HGLOBAL& slot, HGLOBAL handle);
    void writeVersionFile();
    AFileSpec dataRoot();
    // The base of index; a missing one is an assertion at line.
    ASearchBase* needBase(int16_t index, long line);
    // The length of record's extent in the table, bounded by the records of
    // the target table it numbers (target null: no bound).
    long extentLength(ASearchBase* base, short table, long record);

    AString fPrefFileName;
    HGLOBAL fGlobalHandle1 = nullptr;
    HGLOBAL fGlobalHandle2 = nullptr;
    AFilter fMajFilter;
    ALoVect* fFilterLists[7] = {};  // entries 1..6: one reference each
    AppDataHost* host_;             // not owned, may be null
};

// The live application data manager, or null.
extern AppDataManager* gAppDataManager;

// The position of fieldName after the ':' in the table list of base index,
// compared without regard to case; -1 when absent.
long FindBaseField(int16_t base, const char* fieldName);
// "File:///" and the long form of path with '/' separators.
AString PathToFileUrl(const char* path);
