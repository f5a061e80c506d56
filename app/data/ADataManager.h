// The application's one gateway to its data bases: opens each base of the
// base-descriptor table the first time it is asked for it and keeps one
// search channel per base, of which at most one (the current one) has a
// request.
//
// Owns the bases, the channels, the two shared objects (one reference each)
// and, when it made it, its temporary folder. Indexes outside the table and
// calls before the table is counted are assertions ("udatamgr"); errors of
// the base opener and of the requests (ASearchError) pass through.
#pragma once

#include <cstdint>
#include <vector>

#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/object/AString.h"
#include "search/facade/ASearchRequest.h"

class AApp;
class ARefObj;
class ASearchBase;

// An entry of the base-descriptor table. The table ends with an entry whose
// table list is null.
struct BaseDescriptor {
    const char* name;       // the base's request name; "" for the first entry
    const char* tableList;  // "BASE:TABLE,BASE:TABLE,...", handed to the base opener
    const char* option;     // the opener's filter key ("HILITEMAJ"), or null
    long disc;              // disc number, read by the application
};

// The application's table, set while its configuration is read and before
// the data manager is made; null stands for an empty table.
extern const BaseDescriptor* gBaseDescriptors;

// The record number in table 1 (HDGINFO) of base 13 (HDFILES) of a document
// reference (base index + 1 in the top 8 bits, number in the low 24): the
// number itself for base index 0 or no base byte, else the number after the
// firstCount records of that table. -1 for a negative reference (no document).
long DocRecordOf(long reference, long firstCount);

class ADataManager;
// selectSearchChannel, answering false instead of raising when the base has
// no search form (engine code 1310: an installation without that search).
bool SelectSearchableChannel(ADataManager* data, short index, short option1, short option2);
// SelectSearchableChannel, then the channel's request emptied (question 1 and
// field 0) for a new question; null when the base has no search form or the
// channel no request.
ASearchRequest* StartSearchRequest(ADataManager* data, ASearchChannel* channel, short index, short option1,
                                   short option2);

class ADataManager : public ASearchChannelHost {
public:
    // Counts the descriptor table (see setDataLocation) and becomes gDataManager.
    explicit ADataManager(ADataLocation* location);
    ~ADataManager() override;
    ADataManager(const ADataManager&) = delete;
    ADataManager& operator=(const ADataManager&) = delete;

    // Stores the location once; another location while one is set is an
    // assertion (the first stays). The table is counted on the first call.
    void setDataLocation(ADataLocation* location);
    ADataLocation* getDataLocation() const { return location; }

    short getBaseCount() const { return count; }
    // The base of index, opened on first request; null when its entry has no
    // table list or the opener found none of its tables.
    ASearchBase* getBase(short index);
    AString getBaseName(short index) override;
    // The channel of index, made (closed) on first request.
    ASearchChannel* getSearchChannel(short index);
    // Stores the occurrence-list options (option 2 forces option 1 on), then
    // makes index the current channel: the previous one is closed after
    // closingChannel, the new one opened. -1 leaves none current; the
    // current index changes nothing else.
    void selectSearchChannel(short index, short option1, short option2);
    short getCurrentChannel() const { return current; }
    // Deletes the base and the channel of index (the current channel is
    // closed first and none stays current).
    void releaseBase(short index);
    void releaseAll();
    // Releases the opened bases that lie on the disc, then lets the engine
    // free every mounted base of the disc.
    void releaseDiscBases();

    // The application's shared objects (which = 0 or 1): one reference is
    // taken on the new one, the old one released.
    void setSharedObject(int which, ARefObj* object);
    ARefObj* getSharedObject(int which) const;

    // Makes the folder name under the application's temporary folder (parent
    // must exist) and removes it with all its contents when the manager goes.
    // A folder that exists already is used but never removed. Answers the
    // folder; empty when it could not be made.
    const AFileSpec& makeTempFolder(const AFileSpec& parent, const char* name);
    const AFileSpec& getTempFolder() const { return tempFolder; }

    // DocRecordOf with the record count of table 1 of base 13 (read only for
    // a reference beyond base index 0).
    long getDocRecord(long reference);

    // The owner of the wait cursor shown while a channel runs (null: none).
    void setCursorOwner(AApp* app) { cursorOwner = app; }

    AFilter& filterA() { return filters[0]; }
    AFilter& filterB() { return filters[1]; }

    ADataLocation* getChannelLocation() override { return location; }
    ASearchWait* beginWait() override;

protected:
    // Hears the request of the current channel just before it is closed.
    virtual void closingChannel(ASearchRequest* request);

private:
    void checkIndex(short index, long line) const;

    AFilter filters[2];
    AFileSpec tempFolder;
    bool madeTempFolder = false;
    ADataLocation* location = nullptr;      // not owned
    std::vector<ASearchBase*> bases;        // owned, null until asked for
    std::vector<ASearchChannel*> channels;  // owned, null until asked for
    ARefObj* shared[2] = {nullptr, nullptr};  // one reference each
    AApp* cursorOwner = nullptr;              // not owned
    int16_t count = 0;
    int16_t current = -1;
};

// The live data manager, or null.
extern ADataManager* gDataManager;
