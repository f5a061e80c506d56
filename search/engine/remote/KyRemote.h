// The client of a base's server: search replies read into a remote base's hit
// vector, records fetched and stored into the parts' local cache files.
// Codes: 0, 105/106/107/110, 1016, 1269, 1316-1324, with KY_EngineErrorText set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "search/engine/questions/KyQuest.h"
#include "search/engine/records/KyAccessor.h"

struct KY_File;
struct KyMountedConnect;

// What a request keeps of a remote base between runs.
struct KY_RemoteBase {
    int32_t httpValue = 0;
    std::string replyFile;
    int32_t query = 0;  // 1: query it at the next run
    int32_t status = kStatusEmpty;
    int32_t count = 0;    // documents received
    int32_t first = 0;    // document of bit 0 of the hit vector
    int32_t highest = 0;  // MAXNODOC, relative to first once the vector is made
    std::vector<std::string> high;
    std::vector<uint8_t> hits;
    std::vector<uint16_t> scores;
};

// Reads the document block of a reply: count items (text lines, or 12-byte
// headers and their bytes in a compressed part) into the hit vector and the
// part's local cache files.
// compressed: the block came as DATACOMP (binary items); it must match the part.
int KY_ReadRemoteData(KY_RemoteBase* remote, KyTable* table, int part, KY_File* reply, int scores, int compressed);
// Reads a whole reply (COUNT, MAXNODOC, HIGH, DATA/DATACOMP) into the remote base.
int KY_ReadRemoteReply(KY_RemoteBase* remote, KyTable* table, int part, KY_File* reply, int scores, int32_t maxCount);
// Hit i (from 1) of a remote base: its document and score.
int KY_RemoteHit(const KY_RemoteBase* remote, int32_t i, int32_t* doc, int32_t* score);
// Sends the question to the connection's server and reads its reply, through a
// temporary file, into the remote base (its status tells how it went) and the
// table's part; limit caps the hits asked and read (0 none).
int KY_SearchServer(KY_RemoteBase* remote, const KyMountedConnect* connect, const std::string& question, int32_t limit,
                    KyTable* table, int part, int scores);

// Fetching from a base's server: off (0) unless the application turns it on.
extern int KyFetchEnabled;
// The most bytes a record's reply may bring (64 MiB); a longer one fails with 1016.
extern long KyFetchReplyLimit;
// Stores the fields of a server reply ("<field>part#a[,b]" lines, each followed
// by its a bytes) as the record's data in the parts with a correspondence table,
// unless the record is stored already there. The whole reply is checked first
// (106 for a bad header, a field longer than the reply, compressed bytes that do
// not expand to b; 1322 for an unknown part; 107 for a length the catalogues
// cannot hold): a refused reply stores nothing.
int KyStoreFetchedRecord(KyTable* table, int32_t record, KY_File* reply);
// Stores stored bytes of the reply file from offset at as the part's record local
// (expanded: its length once expanded, in a compressed part), unless stored already.
int KyStoreReplyBytes(KyPart* part, int32_t local, KY_File* reply, long at, int32_t stored, int32_t expanded);
// The record's extent once fetched from its support's server and stored: 1317
// without fetching or server, 1316 for a part without a correspondence table.
int KyFetchRecord(KyTable* table, int32_t record, int32_t* start, int32_t* length);
