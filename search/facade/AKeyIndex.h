// Keyed indexes: ordered key lookups in a B+ tree index with the records
// that its values number (AKeyIndex), and a plain scan of a tree's keys
// (ASearchIndex).
//
// AKeyIndex holds one open of its index entry (not owned): several holders of
// one key share the tree, opened once. Engine failures raise ASearchError.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "search/engine/trees/KyAbp.h"

class ADataLocation;
struct KyIndexHandle;

class AKeyIndex {
public:
    // The index the descriptor registers under key (shared through location).
    AKeyIndex(ADataLocation& location, const char* key);
    // An index entry the caller keeps (not owned; must outlive this object).
    explicit AKeyIndex(KyIndexHandle* descriptor);
    virtual ~AKeyIndex();
    AKeyIndex(const AKeyIndex&) = delete;
    AKeyIndex& operator=(const AKeyIndex&) = delete;

    // The value of the first key at or after key (0 for an empty or null key,
    // -1 past the last); prefixLen, when given, receives the characters that
    // the searched (filtered) key shares with the key found.
    virtual long find(const char* key, int16_t* prefixLen = nullptr);
    // The value of key itself, or -1 when absent.
    virtual long findExact(const char* key, int16_t* prefixLen = nullptr);
    // Record n of the index's data: [*start, *end) in its data file.
    virtual void getExtent(long record, long* start, long* end);
    virtual AString getText(long record);
    // The records of the index's data.
    virtual long getCount();
    virtual long lookup(const char* key, int16_t* prefixLen) { return find(key, prefixLen); }

private:
    long search(const char* key, int16_t* prefixLen, int exact);

    KyIndexHandle* handle;    // not owned
    ADataLocation* location;  // not owned; null for an entry the caller keeps
    AString key_;
};

// Deletes the index and clears the variable.
void DeleteDataAccessAndNull(AKeyIndex*& index);

class ASearchIndex {
public:
    ASearchIndex();
    ~ASearchIndex();
    ASearchIndex(const ASearchIndex&) = delete;
    ASearchIndex& operator=(const ASearchIndex&) = delete;

    // Opens the tree file (closing the one open); the occurrence width comes
    // from largest. The tree layer's code, 0 when open.
    int open(const char* path, int occurrences, int positions, uint32_t largest);
    // The next key in order into buffer (size bytes): 0, 7 after the last key,
    // or the tree layer's code. The first call after open gives the first key.
    int next(char* buffer, size_t size);
    int close();
    bool isOpen() const { return open_ != 0; }

private:
    AbpTree tree;
    int16_t open_;
    bool started_;
};
