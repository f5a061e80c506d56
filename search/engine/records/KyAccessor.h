// The table accessor: records of a mounted base's tables by (table, number),
// through each part's correspondence table, record catalogues and data file.
// A table is a data file ("db") of the base; its parts are the base's supports.
// Codes: 0, 103/106/110, 13xx, or a catalogue's, with KY_EngineErrorText set.
#pragma once

#include <cstdint>

#include "base/procedural/KyCodec.h"
#include "search/engine/records/KyCat.h"
#include "search/engine/trees/KyAbp.h"

struct KY_File;
struct KY_Filter;
struct KY_String;
struct KyMount;
struct KyMountedBase;
struct KyMountedData;
struct KyMountedIndex;

enum : int {
    kKyAccErrTabCor = 106,
    kKyAccErrNullBase = 1306,
    kKyAccErrUnknownTable = 1302,
    kKyAccErrNoSection = 1303,
    kKyAccErrNullTable = 1307,
    kKyAccErrNoStoredPart = 1308,
    kKyAccErrUnknownIndex = 1311,
    kKyAccErrUnknownString = 1312,
    kKyAccErrUnknownKey = 1313,
    kKyAccErrNotStored = 1316,
    kKyAccErrNoParts = 1320,
};

// One part: range type 0 no data, 1 through the correspondence table, 2 catalogue alone.
struct KyPart {
    const KyMountedData* def;  // not owned
    KY_File* data;             // owned
    KyCat cat;                 // record catalogue (expanded lengths when compressed)
    KyCat ucat;                // compressed-length catalogue, compressed parts only
    KY_File* cor;              // owned, null without a correspondence file
    KY_Codec codec;
    int32_t first, end;  // record numbers [first, end)
    int32_t type;
};

// An open table, reference-counted per (base, name); KyCloseTable frees it at zero.
struct KyTable {
    const KyMountedBase* base;  // not owned
    char name[64];
    int partCount;
    KyPart* parts;  // owned
    int refs;
};

int KyOpenTable(const KyMountedBase* base, const char* name, KyTable** table);
int KyCloseTable(KyTable** table);
// The part and local number of a record: a nonzero top byte names the part (plus one).
int KyLocateRange(const KyTable* table, int32_t record, int32_t* local, int* part);
// The record's range: in the data file, or in the expanded text of a compressed part.
int KyRecordExtent(KyTable* table, int32_t record, int32_t* start, int32_t* length);
// Reads at most size bytes of the record (expanded when compressed); *got receives the count.
int KyReadRecord(KyTable* table, int32_t record, uint8_t* buffer, int32_t size, int32_t* got);
// Writes the record (expanded when compressed) at the stream's position; *written
// receives the byte count. The stream stays open.
int KyReadRecordToStream(KyTable* table, int32_t record, KY_File* stream, int32_t* written);
// The part's range type and whether the record has data.
int KyRecordPresent(KyTable* table, int32_t record, int32_t* type, int* present);

// The user string of a key: 1303 without strings, 1312 for an unknown key.
int KyUserString(const KyMount* mount, const char* key, const char** text);
// The open spec of the file registered under a key (the mount's, not to be freed):
// 1303 without registered files, 1313 for an unknown key or a file on an absent volume.
int KyFileOfKey(const KyMount* mount, const char* key, const KY_OpenSpec** spec);
// The filter registered under a key, loaded anew: the caller releases it
// (KY_FilterRelease). 1303 without filters, 1313 unknown key, 110 not loaded.
int KyFilterOfKey(const KyMount* mount, const char* key, KY_Filter** filter);
// The index of a key in a base: 1303 without indexes, 1311 unknown key.
int KyIndexOfKey(const KyMountedBase* base, const char* key, KyMountedIndex** index);
// *result: a new string (KY_FreeString) holding the key through the filter, or a
// plain copy without one; 110 when it cannot be had.
int KyFilterKey(const char* key, KY_String** result, const KY_Filter* filter);

// A keyed index: its tree, opened on first use and closed on the last close,
// with its records' data file and catalogue when both specs are set.
struct KyIndexHandle {
    const KY_OpenSpec* spec;  // not owned
    const KY_Filter* filter;  // not owned: applied to lookup keys, or null
    int wantOccurrences, wantPositions;
    AbpTree tree;
    int refs;
    const KY_OpenSpec* dataSpec;  // not owned, or null
    const KY_OpenSpec* catSpec;   // not owned, or null
    KY_File* data;                // owned while open
    KyCat cat;
};

int KyOpenIndex(KyIndexHandle* index);
int KyCloseIndex(KyIndexHandle* index);
// value: the first value of the entry where the search stopped (-1 when exact
// and absent; 0 for an empty key or a closed index); common, when not null: the
// bytes that entry's key shares with the searched one. 302 and 7 are answers, not errors.
int KyIndexLookup(KyIndexHandle* index, const char* key, int32_t* value, int* common, int exact);
// Records of an open index's data: 1311 for a null or closed index, 1316 without
// data; range n from its catalogue (2000 past the end), read whole when it fits
// (106 on a failed seek or short read, or when size is smaller than the record).
int KyIndexRecordCount(const KyIndexHandle* index, int32_t* count);
int KyIndexRecord(KyIndexHandle* index, int32_t n, int32_t* start, int32_t* length);
int KyIndexRead(KyIndexHandle* index, int32_t n, uint8_t* buffer, int32_t size, int32_t* got);
