// Occurrence lists: the engine's search results as integer handles, held in the
// global document vector, the swap file or a list file of their own, and their set
// operations. Codes: 0, 105-111 or 801-811 with a context in KY_EngineErrorText.
// Single-threaded: the package state is process-wide.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

typedef int32_t LoHandle;  // -1: no list
class KyFileSet;

enum : int {
    kLoErrOpen = 105,       // a list file cannot be opened or created
    kLoErrFile = 106,       // own list file not created, short header, damaged list data
    kLoErrNoFile = 109,     // close without an open file; package not started
    kLoErrTable = 110,      // the handle table cannot be made
    kLoErrVector = 111,     // the global vector exists already
    kLoErrSeek = 801,       // seek, read or write failure
    kLoErrWrite = 802,      // not open for writing, document outside the vector, value wider than the width
    kLoErrNoHandle = 803,   // an 11th list
    kLoErrSwap = 804,       // the swap file cannot be made
    kLoErrNotVector = 805,  // vector conversion of another list
    kLoErrHandle = 806,     // unknown handle or null descriptor
    kLoErrRewind = 807,
    kLoErrClose = 808,
    kLoErrConvert = 809,
    kLoErrSave = 810,
    kLoErrOpenList = 811,
};

// Descriptor flags; the bits kLoFileFlags are all that a list file may carry.
enum : uint32_t {
    kLoVector = 1,
    kLoOwnFile = 2,
    kLoReadable = 4,
    kLoWritable = 8,
    kLoBuffered = 16,
    kLoRawVector = 64,
    kLoScored = 128,
    kLoInMemory = 32,  // read from a list file's bytes kept in memory (LoSaveImage)
    kLoFileFlags = kLoOwnFile | kLoReadable | kLoRawVector | kLoScored,
};

const int kLoMaxLists = 10;
const int kLoHeaderSize = 320;
const int kLoNameSize = 260;
const int kLoMaxVectorBytes = 65000;
const int32_t kLoSaveThreshold = 1000;

// A list. In a list file the first 320 bytes hold flags..start as 32-bit
// little-endian words at their offsets (0..52), zero at 56 and the name at 60.
struct LoDesc {
    uint32_t flags;     // kLo*
    int32_t weight;     // multiplier of the hit count of a score
    int32_t hits;       // score of the current document
    int32_t firstPos;   // first position of the current document
    int32_t count;      // elements written
    int32_t index;      // elements read; next bit of a vector
    int32_t doc;        // current document, -1 none or end
    int32_t pos;        // current position
    uint32_t word;      // bit accumulator
    uint32_t mask;      // its current bit, 0x80000000 an empty word (writing), 0 a used one (reading)
    int32_t offset;     // file offset of the next word
    uint32_t units;     // unit bits 1, 2, 4, 8 that positions carry
    uint32_t unitMask;  // the units' masks, 0 document level
    int32_t start;      // file offset of the data
    FILE* file;         // owned for kLoOwnFile lists; the swap file's otherwise
    char name[kLoNameSize];
    uint8_t* buffer;  // owned: 4096-byte read buffer, or the raw vector of a kLoRawVector list
    int32_t bufferWords, bufferIndex;
    uint32_t* pending;     // owned: words written, counted in offset, not yet in the file; or null
    int32_t pendingWords;  // written out when the buffer fills, the list ends, is rewound or closed
};

// Package. swapName null: a unique file in the user's temporary folder.
// maxDoc -1 or above 519,999 gives no vector.
int LoInitPkg(const char* swapName, int32_t maxDoc);
int LoResetAll();
int LoEndPkg();
// nbits = significant bits of maxValue + 1; answers 1 << (old nbits - 1).
int32_t LoSetBitWidth(uint32_t maxValue);
int LoVectorBytes();
// The masks of the units 1 (word), 2 (sentence), 4 (paragraph), 8 (field).
void LoSetUnitMasks(uint32_t m1, uint32_t m2, uint32_t m4, uint32_t m8);
extern int LoScoreMode;
extern int LoFirstPosMode;
extern int LoKeepSaved;
extern int LoCurrentUnitByte;  // the query engine's unit byte, used by LoOr

// Lists.
LoHandle LoNew();
int LoCreate(uint32_t flags, const char* name, uint32_t unitCode, int32_t start, int32_t count, LoHandle* h,
             int32_t weight);
int LoInitDesc(LoDesc* d, uint32_t flags, const char* name, uint32_t unitCode, int32_t start, int32_t count,
               int32_t weight);
LoDesc* LoDescOf(LoHandle h);  // null for an unknown handle
int Lo_WriteOcc(LoDesc* d, int32_t doc, int32_t pos);
// Lo_WriteOcc of each document at position 0 in turn; a vector list's bits
// are set in one loop, without a call a document.
int Lo_WriteDocuments(LoDesc* d, const int32_t* docs, size_t n);
int LoWrite(LoHandle h, int32_t doc, int32_t pos);
// The same stream gathered in one shared buffer written 8192 bytes at a time; one
// list at a time (802 for a second one until the first is ended, rewound or closed).
int Lo_WriteOccFast(LoDesc* d, int32_t doc, int32_t pos);
int LoWriteFast(LoHandle h, int32_t doc, int32_t pos);
int Lo_Rewind(LoDesc* d);
int LoRewind(LoHandle h);
int Lo_Close(LoDesc* d);
int LoClose(LoHandle h);
int Lo_FirstOcc(LoDesc* d);
int Lo_NextOcc(LoDesc* d);
int LoFirst(LoHandle h, int32_t* count, int32_t* doc, int32_t* value, int32_t* firstPos);
int LoNext(LoHandle h, int32_t* doc, int32_t* value, int32_t* firstPos);
int LoFree(LoHandle* h);
int LoIsVector(LoHandle h);
// 1 for a sequential list of one element a document, without scores, in the
// swap or in memory: its elements read back as written.
int LoIsDocumentStream(LoHandle h);
int Lo_Save(const char* name, LoDesc* d);
int LoSave(const char* name, LoHandle h);
// Reads a saved swap list, then a list kept by LoSaveImage, then a list file.
int LoOpen(const char* name, LoHandle* h);
// The same as LoSave to a list file of that name, the file's bytes kept in
// memory instead (they outlive the package), with note as their text (see
// LoImageNote); the handle then reads them.
int LoSaveImage(const char* name, LoHandle h, std::string note = {});
// The same as LoSave to a list file of that name, the file written as one of
// set, which the caller commits.
int LoSaveInSet(const char* name, LoHandle h, KyFileSet* set);
// Copies the first bytes of the list kept or filed under the name, at most
// kLoHeaderSize, into header: how many; -1 when there is no such list.
int LoHeader(const char* name, uint8_t* header);
// Drops the bytes kept under the name: 1, or 0 when there were none.
int LoForget(const char* name);
// The text kept with the bytes kept under the name, and dropped with them;
// null when no bytes are kept under it.
const std::string* LoImageNote(const char* name);
int LoVectorToSeq(LoDesc* d);
int32_t LoCount();
// Every document from..to (bounds in either order), ended. With LoKeepSaved 1 a
// vector list (a swap list when to lies past the vector) saved under name; else a
// list in its own file name, data from offset 320, left open.
int LoCreateRange(LoHandle* h, const char* name, int32_t from, int32_t to);

// Set operations: both operands are consumed; *result is the surviving handle or -1.
int LoAnd(LoHandle a, LoHandle b, LoHandle* result, int mode);
int LoOr(LoHandle a, LoHandle b, LoHandle* result);
int LoExcept(LoHandle a, LoHandle b, LoHandle* result, int mode);
// The documents of a list as bits (LoTestBit), as many bytes as its last one
// needs (a vector list: the whole vector); the list is left closed.
int LoDocumentBits(LoHandle h, std::vector<uint8_t>* bits);
// mode: unit code in the low 4 bits (1 word, 2 sentence, 4 paragraph, 8 field), 16 ordered.
void LoSetProximity(int mode, int32_t distance);

// Occurrences held in memory rather than in a list: documents rising,
// positions rising within each document, none negative; of a list without a
// unit, each document once (no positions).
struct LoOccurrences {
    std::vector<int32_t> docs, positions;
};
// Whether LoAndOccurrences gives what LoAnd gives of lists of unitCode:
// positions under a mask of all their bits (or none), without scores.
bool LoAndOccurrencesApplies(uint32_t unitCode);
// The AND under the proximity window (mode: the unit code) of two lists of
// that unit holding a's and b's occurrences, without writing and reading them:
// the list LoAnd gives.
int LoAndOccurrences(const LoOccurrences& a, const LoOccurrences& b, int mode, LoHandle* result);
// Whether LoOrDocuments gives what LoOr gives of lists of documents alone.
bool LoOrDocumentsApplies();
// The OR of two lists of documents alone holding a's and b's documents: the
// list LoOr gives.
int LoOrDocuments(const LoOccurrences& a, const LoOccurrences& b, LoHandle* result);
// The same for LoExceptDocuments and LoExcept.
bool LoExceptDocumentsApplies();
int LoExceptDocuments(const LoOccurrences& a, const LoOccurrences& b, LoHandle* result);

// Bits.
// Inline: the set operations and filters call them for every element.
inline int LoSetBit(int32_t i, uint8_t* bytes, int on) {
    if (on)
        bytes[i >> 3] |= static_cast<uint8_t>(1u << (i & 7));
    else
        bytes[i >> 3] &= static_cast<uint8_t>(~(1u << (i & 7)));
    return 1;
}
inline int LoTestBit(int32_t i, const uint8_t* bytes) {
    return (bytes[i >> 3] >> (i & 7)) & 1;
}
// The first set bit at or after bit from of n bytes (bits go from the lowest
// of each byte up), or -1.
int32_t LoNextSetBit(const uint8_t* bytes, int32_t n, int32_t from);
int LoFirstNonZeroByte(uint32_t value);
uint32_t LoLowestUnitBit(uint32_t value);
