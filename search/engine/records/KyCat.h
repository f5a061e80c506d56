// Record catalogues: for each record number of a table, where its bytes lie in
// the table's data file (start offset, length), lengths coded as differences.
// Codes: 0, or 105-112 / 2000 with a context in KY_EngineErrorText. A damaged
// file gives 106 naming its block; nothing reads or writes outside a buffer.
#pragma once

#include <cstdint>

struct KY_File;
struct KY_OpenSpec;

enum : int {
    kCatErrOpen = 105,      // the file cannot be opened or created
    kCatErrRead = 106,      // short read, damaged block or header, wrong mode
    kCatErrWrite = 107,     // short write, or a length the widths cannot hold
    kCatErrClosed = 108,    // close without an open file
    kCatErrMemory = 110,    // no block buffer
    kCatErrNoBuffer = 112,  // close without a buffer
    kCatErrTooHigh = 2000,  // record number not below the record count
};

enum : uint8_t { kCatRead = 1, kCatCreate = 2, kCatAppend = 3 };

const int kCatBlockSize = 2048;
const int kCatSubSize = 512;

// A catalogue handle. Zero it before the first open; the file and the
// buffer are owned and released by catClose.
struct KyCat {
    KY_File* file;       // owned
    int32_t count;       // records
    uint8_t mode;        // kCat*, 0 when closed
    int32_t start;       // current record's start offset in the data file
    int32_t length;      // current record's length
    int32_t index;       // entries decoded (read) or written in the current sub-block
    int32_t block;       // data block in the buffer, -1 none
    int16_t sub;         // current sub-block 0..3, -1 none
    uint16_t byte;       // byte index in the sub-block
    uint8_t mask;        // bit in that byte, 0x80 first
    uint8_t* buffer;     // owned, kCatBlockSize bytes
    uint8_t wide;        // bit width of large differences
    uint8_t narrow;      // bit width of small differences
    uint8_t startWidth;  // bit width of a sub-block's start offset
    uint16_t perSub;     // entries per sub-block
};

// The entries per sub-block for the given widths (0 when they are unusable).
int catEntriesPerSub(int wide, int narrow, int startWidth);

int catOpen(KyCat* cat, const KY_OpenSpec* spec, const char* mode);
int catCreate(KyCat* cat, const KY_OpenSpec* spec, int wide, int narrow, int startWidth, int32_t firstStart);
int catOpenAppend(KyCat* cat, const KY_OpenSpec* spec);
int catAppend(KyCat* cat, int32_t length);
// Drops the records from count on (at most the count); closing writes the
// shorter count, and a data block past the last record stays, unread, until
// appends reach it. 106 on a catalogue not opened for append; after a failure
// the close writes nothing.
int catTruncate(KyCat* cat, int32_t count);
// The code catAppend would give the length (0 when it fits), nothing written.
int catCheckAppend(const KyCat* cat, int32_t length);
// pair receives (start, length) of the record.
int catLookup(KyCat* cat, int32_t record, int32_t pair[2]);
int catClose(KyCat* cat);
