// The procedural file layer: a context that owns the open files, open requests
// kept apart from open files, a pool of system handles reopened on demand, an
// optional block cache per file, descrambling, byte translation and line input.
//
// Every operation reports an integer code: 0, one of kFileErr* (2001..2012), or
// a failing C-library/system error number + kFileErrSystem. Operations that
// answer a count or a pointer put their code into the owner's lastError.
// Single-threaded: contexts and process-wide values are not locked.
#pragma once

#include <cstddef>
#include <cstdint>

struct KY_File;
struct KY_FileSys;
struct KY_CacheStream;
struct KY_Filter;  // compiled character filter, reference-counted by its own module

enum : int {
    kFileErrOpen = 2001,       // the system would not open the file, or no handle could be freed
    kFileErrKind = 2002,       // request kind of 4 or more
    kFileErrLocked = 2003,     // close of a locked file
    kFileErrNotListed = 2005,  // file missing from its kind list
    kFileErrArg = 2006,        // null argument or memory exhausted
    kFileErrNoHandle = 2007,   // fewer releasable handles than asked
    kFileErrOrigin = 2008,     // seek origin other than 0..2 on a cached file
    kFileErrPath = 2009,       // empty or invalid path or name
    kFileErrRange = 2010,      // copy range beyond the end of the source
    kFileErrExists = 2011,     // folder exists already, or is missing for a removal
    kFileErrIO = 2012,         // system seek/read/write/close failed, bad seek, no temporary folder
    kFileErrSystem = 0x10000,  // added to a C-library or system error number
};

// A path handle: one owned KY_Malloc text holding a full, normalised path, or
// null when empty. Made and freed by the KY_ path functions (KyPath.h).
struct KY_FileSpec {
    char* text;
};

// Open-request flags.
enum : uint16_t {
    kOpenCached = 1,         // attach a block cache at open
    kOpenScrambled = 2,      // descramble reads, scramble writes
    kOpenDeleteOnClose = 8,  // delete the file at its final close
};

// An open request: can be copied, stored and opened many times.
struct KY_OpenSpec {
    KY_FileSpec path;     // owned copy
    int16_t kind;         // release class 0..3: kind 0 loses its handle first
    uint16_t flags;       // kOpen*
    int32_t blockSize;    // cache block bytes (with kOpenCached)
    int16_t blockCount;   // cache slots (with kOpenCached)
    KY_FileSys* owner;    // not owned: receives the codes and owns the open file
};

// The nine operations of a file, in slot order. Counts and positions are bytes.
struct KY_FileOps {
    long (*read)(KY_File* f, void* buffer, long count);         // count read, 0 at end, -1 on error
    long (*write)(KY_File* f, const void* buffer, long count);  // count written, -1 on error
    long (*seek)(KY_File* f, long offset, int origin);          // new position, -1 on error
    long (*tell)(KY_File* f);
    int (*getc)(KY_File* f);                                    // 0..255, -1 at end or on error
    int (*ungetc)(int byte, KY_File* f);                        // the byte, -1 when refused
    int (*putc)(int byte, KY_File* f);                          // the byte, -1 on error
    char* (*gets)(char* buffer, int size, KY_File* f);          // null at end or on error
    long (*puts)(const char* text, KY_File* f);                 // bytes written, -1 on error
};

// Open-mode bits (the two low bits are the access: 0 read, 1 write, 2 both).
enum : uint16_t {
    kModeAccess = 3,
    kModeShareAll = 0x40,
    kModeCreatePending = 0x1000,
    kModeAppend = 0x2000,
    kModeTruncatePending = 0x4000,
    kModeBinary = 0x8000,
};

// File state bits.
enum : uint16_t {
    kStateOpen = 1,
    kStateCached = 2,
    kStateLocked = 4,
    kStateCRLines = 8,
    kStateByteTable = 0x20,
    kStateScrambled = 0x80,
    kStateFilter = 0x100,
};

// An open file. Callers use it only through its ops and the KY_ functions.
struct KY_File {
    KY_OpenSpec spec;            // own copy of the request (path owned)
    uint16_t openMode;           // kMode*
    int16_t cacheMode;           // 0 none, 1 read, 2 update, 3 write
    uint16_t state;              // kState*
    long position;               // remembered while the handle is closed
    int16_t refCount;            // opens minus closes
    int16_t lockCount;           // KY_FileLock nesting
    int handle;                  // system handle, -1 while closed
    KY_CacheStream* cache;       // owned, or null
    const KY_FileOps* baseOps;   // direct set while locked, else reopening set; the cache transfers through it
    const KY_FileOps* ops;       // what callers use: cached set with a cache, else baseOps
    const unsigned char* table;  // byte table (not owned) or the filter's bytes below, or null
    KY_Filter* filter;           // referenced while attached, or null
    unsigned char filterBytes[256];  // low bytes of the filter's base table
    long size;                   // measured at each reopen, raised by writes past it
};

struct KY_FileList {
    KY_File** files;  // owned array, files not owned
    long count;
};

// The context: owns the open files' registrations and the last error.
struct KY_FileSys {
    long lastError;
    long openHandles;
    long lockedFiles;
    KY_FileList kinds[4];
    KY_FileOps directOps;
    KY_FileOps reopeningOps;
    KY_FileOps cachedOps;
    uint32_t scrambleKey;  // the given key with its four bytes reversed
};

// Nonzero: writes pass through the file's translation too. Initially 0.
extern int32_t KY_TranslateOnWrite;

// The system calls under the layer (the _lopen family); tests replace them to
// refuse handles or writes, which Wine never does by itself.
struct KY_SystemFileCalls {
    int (*open)(const char* path, int access);  // OF_ access | OF_SHARE_DENY_NONE; handle or -1
    int (*create)(const char* path);            // empties an existing file; handle or -1
    long (*seek)(int handle, long offset, int origin);
    long (*read)(int handle, void* buffer, long count);
    long (*write)(int handle, const void* buffer, long count);
    int (*close)(int handle);  // 0 or -1
};
KY_SystemFileCalls& KY_FileSystemCalls();
void KY_ResetFileSystemCalls();

// What the character-filter module provides for files that translate through
// a filter; all null until it installs them (KY_FileSetFilter then fails).
struct KY_FilterHooks {
    void (*addRef)(KY_Filter* filter);
    void (*release)(KY_Filter* filter);
    // Fills out[b] with the low eight bits of entry b of the filter's base table.
    void (*byteTable)(KY_Filter* filter, unsigned char out[256]);
};
void KY_SetFilterHooks(const KY_FilterHooks* hooks);

// Context. KY_NewFileSys answers null when memory is short; the caller frees
// with KY_FreeFileSys, which closes handles but not the KY_File objects.
KY_FileSys* KY_NewFileSys();
int KY_FreeFileSys(KY_FileSys* fs);
KY_FileSys* KY_GetGlobalFileSys();
int KY_InitGlobalFileSys(long owner);
int KY_TermGlobalFileSys(long owner);
int KY_ReleaseHandles(KY_FileSys* fs, long n);
int KY_ReleaseAllHandles(KY_FileSys* fs);
int KY_UnlockAllFiles(KY_FileSys* fs);
int KY_SetScrambleKey(KY_FileSys* fs, uint32_t key);

// Open requests: 0 or a code; 2006 when a required pointer is null.
int KY_ClearOpenSpec(KY_OpenSpec* spec);
int KY_MakeOpenSpec(KY_FileSys* fs, const KY_FileSpec* path, int kind, int cached, long blockSize, int blockCount,
                    KY_OpenSpec* spec);
int KY_MakeOpenSpecIn(KY_FileSys* fs, const char* name, const char* folder, int kind, int cached, long blockSize,
                      int blockCount, KY_OpenSpec* spec);
int KY_MakeTempOpenSpec(KY_FileSys* fs, const char* prefix, int kind, int cached, long blockSize, int blockCount,
                        KY_OpenSpec* spec);
int KY_CopyOpenSpec(const KY_OpenSpec* from, KY_OpenSpec* to);
int KY_SetOpenSpecParams(int kind, int cached, long blockSize, int blockCount, int scrambled, KY_OpenSpec* spec);
int KY_SetOpenSpecScrambled(int on, KY_OpenSpec* spec);
int KY_SetOpenSpecDeleteOnClose(int on, KY_OpenSpec* spec);
int KY_FreeOpenSpec(KY_OpenSpec* spec);

// Opens by a mode text ('r', 'w', 'a', '+', 'b', 't'); null with the owner's
// lastError set on failure. A mode with 'r' and no '+' opens lazily: a missing
// file shows at the first operation (2001). A write-only file with a write
// cache gets a read-write system handle, so that the cache can read back the
// blocks it has written out. The caller ends with KY_FClose.
KY_File* KY_FOpen(const KY_OpenSpec* spec, const char* mode);
// Drops one reference and closes at zero: 0 or a code. A locked file answers
// 2003 and stays open, locked and referenced.
int KY_FClose(KY_File* f);
int KY_FileAddRef(KY_File* f);
int KY_FileLock(KY_File* f);
int KY_FileUnlock(KY_File* f);
int KY_FileReopen(KY_File* f);
int KY_FileCloseHandle(KY_File* f);
int KY_FileSetCache(KY_File* f, long blockSize, int blockCount);
long KY_FileSize(KY_File* f);  // -1 with the code in lastError
// Writes the cache's dirty blocks back, then closes and reopens the handle so
// that the system commits them: 0 or the first failure (106/107 from the cache).
int KY_FileFlush(KY_File* f);
// The text then CR LF, or LF alone in binary mode: bytes written or -1.
long KY_FPutLine(const char* text, KY_File* f);
int KY_FileSetByteTable(KY_File* f, const unsigned char* table);  // table not owned
int KY_FileSetFilter(KY_File* f, KY_Filter* filter);
int KY_FileClearFilter(KY_File* f);
// The block cache's transfers: the base set without the byte translation, so
// that the cache holds file bytes and translation applies once, at the caller.
long KY_FileReadRaw(KY_File* f, void* buffer, long count);
long KY_FileWriteRaw(KY_File* f, const void* buffer, long count);
// Translates n bytes in place through the file's table, when it has one.
void KY_FileTranslate(const KY_File* f, unsigned char* p, long n);
// Line input, cached or not, reads size - 1 bytes for a buffer of size bytes
// and keeps this many of the n it got: through the first line end, or all. LF
// ends a line, or CR once the file is found to use CR line ends; a CR among
// the n bytes with no LF decides that (kStateCRLines) unless it ends a full buffer.
long KY_LineLength(KY_File* f, const char* buffer, long n, int size);
int KY_CopyFileData(KY_File* to, KY_File* from, long length);
int KY_CopyFileRange(const KY_OpenSpec* toSpec, const KY_OpenSpec* fromSpec, int mode, long offset, long length);

// The owner's last error.
inline long KY_FileError(const KY_File* f) {
    return f->spec.owner->lastError;
}

// Calls through the file's operations.
inline long KY_FRead(KY_File* f, void* buffer, long count) {
    return f->ops->read(f, buffer, count);
}
inline long KY_FWrite(KY_File* f, const void* buffer, long count) {
    return f->ops->write(f, buffer, count);
}
inline long KY_FSeek(KY_File* f, long offset, int origin) {
    return f->ops->seek(f, offset, origin);
}
inline long KY_FTell(KY_File* f) {
    return f->ops->tell(f);
}
inline int KY_FGetc(KY_File* f) {
    return f->ops->getc(f);
}
inline int KY_FUngetc(int byte, KY_File* f) {
    return f->ops->ungetc(byte, f);
}
inline int KY_FPutc(int byte, KY_File* f) {
    return f->ops->putc(byte, f);
}
inline char* KY_FGets(char* buffer, int size, KY_File* f) {
    return f->ops->gets(buffer, size, f);
}
inline long KY_FPuts(const char* text, KY_File* f) {
    return f->ops->puts(text, f);
}
