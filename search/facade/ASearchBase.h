// Search bases: the tables of mounted bases that the application reads its
// records, texts and streams from, each addressed by its position in the
// "base:table,..." list that opened it; the shared base objects; and the
// catalogue files that join a table's two parts.
//
// Conventions of the storage layer that the facade relies on:
// - A table spans parts (partFlag) when its base has two supports or more and
//   part 1's data file has "inv" and "mst" siblings: arrays of 32-bit
//   little-endian words, word n = code (top 8 bits) x 2^24 + number. "inv"
//   maps a global record to a direct number (code 0: below part0Count in
//   part 0, else part 1 less part0Count) or to an "mst" entry; an "mst" entry
//   names the part (code >> 4), the level (code bits 2-3) and the local number.
// - A table's key index is the base's index of the same name, one file per
//   searched support.
//
// Positions out of range and a missing ':' are assertions; engine failures
// and damaged catalogue files raise ASearchError (recoverable).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/object/AFilteredFile.h"
#include "base/object/AString.h"
#include "search/engine/records/KyAccessor.h"

struct KY_MountedUse;
struct KY_Request;
class ASearchRequest;
class ADataLocation;
class AFileStream;
class AKeyIndex;
class ASearchTable;

// A base shared by the tables and requests that name it, opened for requests
// while it lives; kept by name in the data location and destroyed when its
// last user lets go.
class AMountedBase {
public:
    // Raises for a base the descriptor does not declare.
    AMountedBase(ADataLocation& owner, const char* name);
    ~AMountedBase();
    AMountedBase(const AMountedBase&) = delete;
    AMountedBase& operator=(const AMountedBase&) = delete;

    void addUser() { ++users; }
    // Destroys the object (and forgets it in the owner) when no user is left.
    void removeUser();
    const KyMountedBase* handle() const { return handle_; }
    KY_MountedUse* use() const { return use_; }
    // The engine request of the name, opened for its first holder (raises
    // when refused); released closes it with its last holder and answers
    // the latest holder left (null when none).
    KY_Request* holdRequest(const char* name, ASearchRequest* holder);
    ASearchRequest* releaseRequest(KY_Request* request, ASearchRequest* holder);
    ADataLocation& owner() const { return owner_; }
    const AString& name() const { return name_; }
    int16_t userCount() const { return users; }

    int16_t hasCatalog;
    ASearchTable* mainTable;  // not owned, or null

private:
    KyMountedBase* handle_;  // not owned: the mount's
    KY_MountedUse* use_;     // the request layer's, opened by this object
    std::map<KY_Request*, std::vector<ASearchRequest*>> requestHolders;
    AString name_;
    ADataLocation& owner_;
    int16_t users;
};

// One file of 32-bit words read by entry.
class ACatalogFile {
public:
    // Opens path (mode "rb"); raises when it cannot.
    ACatalogFile(const AFileSpec& path, const char* mode);
    ~ACatalogFile();
    ACatalogFile(const ACatalogFile&) = delete;
    ACatalogFile& operator=(const ACatalogFile&) = delete;

    // Loads entry n into word; an entry beyond the file raises ASearchError.
    void read(long n);
    long getNumber(long n) {
        read(n);
        return static_cast<long>(word & 0x00FFFFFF);
    }
    int getCode(long n) {
        read(n);
        return static_cast<int>(word >> 24);
    }
    long entries() const { return entries_; }

    uint32_t word;

private:
    KY_File* file;  // owned
    long index;
    long entries_;
};

class ASearchTable {
public:
    // The table of the base; null when the base has no table of the name.
    // Other failures raise.
    static ASearchTable* open(AMountedBase* base, const char* name);
    ~ASearchTable();
    ASearchTable(const ASearchTable&) = delete;
    ASearchTable& operator=(const ASearchTable&) = delete;

    // The accessor's record for n of the table (master: n is an "mst" entry).
    int32_t mapRecord(long n, short master);

    KyTable* handle;  // the accessor's (one reference)
    AMountedBase* base;
    int16_t partFlag;
    int16_t hasIndex;
    int32_t part0Count;
    ACatalogFile* invFile;  // owned, with partFlag
    ACatalogFile* mstFile;  // owned, with partFlag
    AKeyIndex* index;       // owned, with hasIndex
    AKeyIndex* index1;      // owned, over part 1's index
    AFilter filter;         // the table's own, for its streams

private:
    ASearchTable(AMountedBase* base, KyTable* table);
    KyIndexHandle* indexDesc[2];  // owned entries of the two parts' index files
};

class ASearchBase {
public:
    static const int kMaxTables = 70;

    ASearchBase();
    ~ASearchBase();
    ASearchBase(const ASearchBase&) = delete;
    ASearchBase& operator=(const ASearchBase&) = delete;

    // 1 when added, 0 when 70 are held (the caller keeps the table).
    int addTable(ASearchTable* table);
    void setFilter(const AFilter& f) { filter = f; }
    // A copy of the base's character filter (sharing its tables).
    AFilter getFilterCopy() const { return filter; }
    short count() const { return count_; }

    // 4 for a record present through a correspondence table, else its range type.
    short getRecordKey(short position, long n);
    void getExtent(short position, long n, short master, long* start, long* end);
    AString getText(short position, long n, short master);
    // The record's data, expanded, written at the stream's position; answers
    // the bytes written.
    long readToStream(AFileStream& out, short position, long n, short master);
    // The record's data as a new temporary file (deleted when its last stream
    // closes) with the table's filter; user2 holds the data's length.
    AFilteredFile readToStream(short position, long n, short master);
    // The record's data expanded into *text through the table's filter, as
    // readToStream's file reads; false, *text untouched, for a record longer
    // than memory should hold (the caller takes the file). Raises as readToStream.
    bool readRecord(short position, long n, short master, AString* text);
    // The data file of the table's first stored part.
    AFileSpec getFileSpec(short position);
    // The file record n names, beside that data file when relative.
    AFileSpec getFileSpec(short position, long n);
    long makeDocRef(short position, long n);
    long getRecordCount(short position);
    long getTableInfo(short position, const char* key);
    short getTableFlag(short position);
    short getTableValue(short position, long n, short master);
    // 1 when the base of a table was released (its volume went away).
    short anyTableMarked();
    // True when a table's base lies on a mountable volume (a disc).
    bool isOnDisc();

private:
    ASearchTable* at(short position);

    int16_t current;
    uint8_t partCount;
    ASearchTable* tables[kMaxTables];  // owned
    int16_t count_;
    AFilter filter;
};
