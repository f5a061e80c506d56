// The file layer's contexts and the direct and reopening operation sets over
// the _lopen family of system calls.
#include "base/procedural/KyFile.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyCache.h"
#include "base/procedural/KyFileInternal.h"

#include <windows.h>

#include <cstring>

int32_t KY_TranslateOnWrite = 0;
int32_t KY_FileBufferSize = 4096;

namespace {

int SysOpen(const char* path, int access) {
    return _lopen(path, access);
}
int SysCreate(const char* path) {
    return _lcreat(path, 0);
}
long SysSeek(int h, long offset, int origin) {
    return _llseek(h, offset, origin);
}
long SysRead(int h, void* buffer, long count) {
    return _hread(h, buffer, count);
}
long SysWrite(int h, const void* buffer, long count) {
    return _hwrite(h, static_cast<const char*>(buffer), count);
}
int SysClose(int h) {
    return _lclose(h) == HFILE_ERROR ? -1 : 0;
}

const KY_SystemFileCalls kDefaultCalls = {SysOpen, SysCreate, SysSeek, SysRead, SysWrite, SysClose};

}  // namespace

KY_SystemFileCalls g_sys = kDefaultCalls;

void SetError(KY_File* f, long code) {
    f->spec.owner->lastError = code;
}

namespace {

KY_FileSys* g_globalFs = nullptr;
long g_globalOwner = 0;

// Scrambling pairs file position q with byte q mod 4 of the stored key (its
// least significant byte first), wherever a transfer starts.
void Scramble(const KY_File* f, long position, unsigned char* p, long n) {
    uint32_t key = f->spec.owner->scrambleKey;
    unsigned shift = 8 * static_cast<unsigned>(position & 3);
    uint32_t k = shift ? (key >> shift) | (key << (32 - shift)) : key;
    long i = 0;
    for (; i + 4 <= n; i += 4) {
        uint32_t w = p[i] | p[i + 1] << 8 | p[i + 2] << 16 | static_cast<uint32_t>(p[i + 3]) << 24;
        w ^= k;
        p[i] = static_cast<unsigned char>(w);
        p[i + 1] = static_cast<unsigned char>(w >> 8);
        p[i + 2] = static_cast<unsigned char>(w >> 16);
        p[i + 3] = static_cast<unsigned char>(w >> 24);
    }
    for (unsigned j = 0; i < n; ++i, ++j)
        p[i] ^= static_cast<unsigned char>(k >> (8 * j));
}

// Reopens a closed handle: 0, or the code (also in lastError).
int EnsureOpen(KY_File* f) {
    if (f->state & kStateOpen)
        return 0;
    int code = KY_FileReopen(f);
    if (code)
        SetError(f, code);
    return code;
}

// After a reopening operation: remembers the position. False on a failed query.
bool RememberPosition(KY_File* f) {
    long pos = g_sys.seek(f->handle, 0, 1);
    if (pos < 0) {
        SetError(f, kFileErrIO);
        return false;
    }
    f->position = pos;
    return true;
}

// --- The direct set: the handle is open.

long DirectRead(KY_File* f, void* buffer, long count) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    if (count <= 0) {
        SetError(f, count < 0 ? kFileErrIO : 0);
        return count < 0 ? -1 : 0;
    }
    long pos = g_sys.seek(f->handle, 0, 1);
    long n = g_sys.read(f->handle, buffer, count);
    if (n < 0) {
        SetError(f, kFileErrIO);
        return -1;
    }
    unsigned char* p = static_cast<unsigned char*>(buffer);
    if (n > 0 && (f->state & kStateScrambled) && pos >= 0)
        Scramble(f, pos, p, n);
    if (n > 0)
        KY_FileTranslate(f, p, n);
    SetError(f, pos < 0 ? kFileErrIO : 0);
    return n;
}

long DirectWrite(KY_File* f, const void* buffer, long count) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    // A zero-byte _hwrite truncates the file at the handle's position.
    if (count <= 0) {
        SetError(f, count < 0 ? kFileErrIO : 0);
        return count < 0 ? -1 : 0;
    }
    if (f->openMode & kModeAppend) {
        if (g_sys.seek(f->handle, 0, 2) < 0) {
            SetError(f, kFileErrIO);
            return -1;
        }
    }
    long pos = g_sys.seek(f->handle, 0, 1);
    bool translate = f->table && KY_TranslateOnWrite;
    bool scramble = (f->state & kStateScrambled) && pos >= 0;
    // The caller's buffer is never changed: translation and scrambling work on a copy.
    unsigned char* copy = nullptr;
    const void* data = buffer;
    if (translate || scramble) {
        copy = static_cast<unsigned char*>(KY_Malloc(static_cast<size_t>(count)));
        if (!copy && scramble) {
            SetError(f, kFileErrArg);
            return -1;
        }
        if (copy) {
            std::memcpy(copy, buffer, static_cast<size_t>(count));
            if (translate)
                KY_FileTranslate(f, copy, count);
            if (scramble)
                Scramble(f, pos, copy, count);
            data = copy;
        }
    }
    long n = g_sys.write(f->handle, data, count);
    KY_Free(copy);
    if (n < 0) {
        SetError(f, kFileErrIO);
        return -1;
    }
    long after = g_sys.seek(f->handle, 0, 1);
    if (after > f->size)
        f->size = after;
    SetError(f, after < 0 ? kFileErrIO : 0);
    return n;
}

long DirectSeek(KY_File* f, long offset, int origin) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    long base;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = g_sys.seek(f->handle, 0, 1);
        if (base < 0) {
            SetError(f, kFileErrIO);
            return -1;
        }
        break;
    case 2:
        base = f->size;
        break;
    default:
        SetError(f, kFileErrIO);
        return -1;
    }
    long target = base + offset;
    if (target > f->size) {
        SetError(f, kFileErrIO);
        return -1;
    }
    long pos = g_sys.seek(f->handle, target, 0);
    SetError(f, pos < 0 ? kFileErrIO : 0);
    return pos < 0 ? -1 : pos;
}

long DirectTell(KY_File* f) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    long pos = g_sys.seek(f->handle, 0, 1);
    SetError(f, pos < 0 ? kFileErrIO : 0);
    return pos;
}

// One line: the file moves back to just after its end.
char* DirectGets(char* buffer, int size, KY_File* f) {
    if (!buffer || size < 2) {
        SetError(f, kFileErrArg);
        return nullptr;
    }
    long n = DirectRead(f, buffer, size - 1);
    if (n <= 0)
        return nullptr;
    long keep = KY_LineLength(f, buffer, n, size);
    buffer[keep] = 0;
    if (keep < n && DirectSeek(f, keep - n, 1) < 0)
        return nullptr;
    return buffer;
}

long DirectPuts(const char* text, KY_File* f) {
    return DirectWrite(f, text, static_cast<long>(std::strlen(text)));
}

// --- The reopening set: reopen when needed, remember the position after.

long ReopenRead(KY_File* f, void* buffer, long count) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    if (EnsureOpen(f))
        return -1;
    long n = DirectRead(f, buffer, count);
    long code = f->spec.owner->lastError;
    if (!RememberPosition(f))
        return -1;
    SetError(f, code);
    return n;
}

long ReopenWrite(KY_File* f, const void* buffer, long count) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    if (EnsureOpen(f))
        return -1;
    long n = DirectWrite(f, buffer, count);
    long code = f->spec.owner->lastError;
    if (!RememberPosition(f))
        return -1;
    SetError(f, code);
    return n;
}

long ReopenSeek(KY_File* f, long offset, int origin) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    if (EnsureOpen(f))
        return -1;
    long pos = DirectSeek(f, offset, origin);
    if (pos >= 0)
        f->position = pos;
    return pos;
}

long ReopenTell(KY_File* f) {
    SetError(f, 0);
    return f->position;
}

char* ReopenGets(char* buffer, int size, KY_File* f) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return nullptr;
    if (EnsureOpen(f))
        return nullptr;
    char* line = DirectGets(buffer, size, f);
    long code = f->spec.owner->lastError;
    if (!RememberPosition(f))
        return nullptr;
    SetError(f, code);
    return line;
}

long ReopenPuts(const char* text, KY_File* f) {
    return ReopenWrite(f, text, static_cast<long>(std::strlen(text)));
}

// The buffer of a file's getc and putc.
struct ByteBuffer {
    KY_File* file;
    unsigned char* bytes;
    long start;  // file position of bytes[0]
    int32_t capacity;
    int32_t fill;  // bytes read ahead, or bytes waiting to be written
    int32_t at;    // next byte a getc answers
    int8_t mode;   // 0 idle, 1 reading ahead, 2 writing
};

// Few files read or write by the byte at once: the last one found answers
// first. A plain array, so that files closed by static destructors find it.
ByteBuffer** g_buffers = nullptr;  // owned, and each buffer
long g_bufferCount = 0;
ByteBuffer* g_lastBuffer = nullptr;

ByteBuffer* FindBuffer(const KY_File* f) {
    if (g_lastBuffer && g_lastBuffer->file == f)
        return g_lastBuffer;
    for (long i = 0; i < g_bufferCount; ++i) {
        if (g_buffers[i]->file == f)
            return g_lastBuffer = g_buffers[i];
    }
    return nullptr;
}

void SetMode(KY_File* f, ByteBuffer* b, int mode) {
    b->mode = static_cast<int8_t>(mode);
    if (mode)
        f->state |= kStateBuffering;
    else
        f->state &= static_cast<uint16_t>(~kStateBuffering);
}

// The file's idle buffer of KY_FileBufferSize bytes; null when the size asks
// for none or memory is short (the byte then goes alone).
ByteBuffer* IdleBuffer(KY_File* f) {
    if (KY_FileBufferSize <= 1)
        return nullptr;
    ByteBuffer* b = FindBuffer(f);
    if (b && b->capacity != KY_FileBufferSize) {
        KY_FileDropBuffer(f);
        b = nullptr;
    }
    if (b)
        return b;
    b = static_cast<ByteBuffer*>(KY_Calloc(1, sizeof(ByteBuffer)));
    unsigned char* bytes = static_cast<unsigned char*>(KY_Malloc(static_cast<size_t>(KY_FileBufferSize)));
    void* grown = b && bytes ? KY_Realloc(g_buffers, sizeof(ByteBuffer*) * static_cast<size_t>(g_bufferCount + 1))
                             : nullptr;
    if (!grown) {
        KY_Free(bytes);
        KY_Free(b);
        return nullptr;
    }
    g_buffers = static_cast<ByteBuffer**>(grown);
    g_buffers[g_bufferCount++] = b;
    b->file = f;
    b->bytes = bytes;
    b->capacity = KY_FileBufferSize;
    return g_lastBuffer = b;
}

// The next byte read ahead, or a new buffer filled by one read of the set.
// The remembered position follows the bytes answered, for tell and reopening.
int BufferedGetc(KY_File* f, bool reopening) {
    if (f->state & kStateBuffering) {
        ByteBuffer* b = FindBuffer(f);
        if (b->mode == 1 && b->at < b->fill) {
            int c = b->bytes[b->at++];
            f->position = b->start + b->at;
            SetError(f, 0);
            return c;
        }
        if (KY_FileSettle(f) < 0)
            return -1;
    }
    unsigned char c;
    ByteBuffer* b = IdleBuffer(f);
    if (!b)
        return (reopening ? ReopenRead(f, &c, 1) : DirectRead(f, &c, 1)) == 1 ? c : -1;
    long start = 0;
    if (!reopening && (start = g_sys.seek(f->handle, 0, 1)) < 0)
        return DirectRead(f, &c, 1) == 1 ? c : -1;
    long n = reopening ? ReopenRead(f, b->bytes, b->capacity) : DirectRead(f, b->bytes, b->capacity);
    if (n <= 0)
        return -1;
    // A read that reported a failure (an unknown position: no descrambling)
    // keeps nothing ahead; its first byte is what a one-byte read answered.
    long code = KY_FileError(f);
    if (code) {
        if (n > 1 && g_sys.seek(f->handle, -(n - 1), 1) >= 0 && reopening)
            RememberPosition(f);
        SetError(f, code);
        return b->bytes[0];
    }
    b->start = reopening ? f->position - n : start;
    b->fill = static_cast<int32_t>(n);
    b->at = 1;
    SetMode(f, b, 1);
    f->position = b->start + 1;
    return b->bytes[0];
}

// Collects the byte for one write of the set at settling. Appending files,
// read-only files and failing positions write the byte at once.
int BufferedPutc(int byte, KY_File* f, bool reopening) {
    unsigned char c = static_cast<unsigned char>(byte);
    if (f->state & kStateBuffering) {
        ByteBuffer* b = FindBuffer(f);
        if (b->mode == 2 && b->fill < b->capacity) {
            b->bytes[b->fill++] = c;
            f->position = b->start + b->fill;
            SetError(f, 0);
            return c;
        }
        if (KY_FileSettle(f) < 0)
            return -1;
    }
    bool alone = (f->openMode & kModeAppend) || (f->openMode & kModeAccess) == 0;
    ByteBuffer* b = alone ? nullptr : IdleBuffer(f);
    if (b && reopening && EnsureOpen(f))
        return -1;
    long start = !b ? -1 : reopening ? f->position : g_sys.seek(f->handle, 0, 1);
    if (start < 0)
        return (reopening ? ReopenWrite(f, &c, 1) : DirectWrite(f, &c, 1)) == 1 ? c : -1;
    b->start = start;
    b->bytes[0] = c;
    b->fill = 1;
    b->at = 0;
    SetMode(f, b, 2);
    f->position = start + 1;
    SetError(f, 0);
    return c;
}

int DirectGetc(KY_File* f) {
    return BufferedGetc(f, false);
}

int NoUngetc(int, KY_File*) {
    return -1;
}

int DirectPutc(int byte, KY_File* f) {
    return BufferedPutc(byte, f, false);
}

int ReopenGetc(KY_File* f) {
    return BufferedGetc(f, true);
}

int ReopenPutc(int byte, KY_File* f) {
    return BufferedPutc(byte, f, true);
}

const KY_FileOps kDirectOps = {DirectRead, DirectWrite, DirectSeek, DirectTell, DirectGetc,
                               NoUngetc,   DirectPutc,  DirectGets, DirectPuts};
const KY_FileOps kReopeningOps = {ReopenRead, ReopenWrite, ReopenSeek, ReopenTell, ReopenGetc,
                                  NoUngetc,   ReopenPutc,  ReopenGets, ReopenPuts};

}  // namespace

int KY_FileSettle(KY_File* f) {
    if (!(f->state & kStateBuffering))
        return 0;
    ByteBuffer* b = FindBuffer(f);
    int mode = b->mode;
    long start = b->start, fill = b->fill, at = b->at;
    SetMode(f, b, 0);
    b->fill = b->at = 0;
    if (mode == 1) {
        // The handle stands after the bytes read ahead.
        if (at < fill && g_sys.seek(f->handle, start + at, 0) < 0) {
            SetError(f, kFileErrIO);
            return -1;
        }
        return 0;
    }
    // The handle still stands at the first waiting byte.
    long n = DirectWrite(f, b->bytes, fill);
    long code = KY_FileError(f);
    if (f->baseOps == &f->spec.owner->reopeningOps && !RememberPosition(f))
        return -1;
    if (n != fill) {
        SetError(f, code ? code : static_cast<long>(kFileErrIO));
        return -1;
    }
    SetError(f, code);
    return 0;
}

void KY_FileDropBuffer(KY_File* f) {
    f->state &= static_cast<uint16_t>(~kStateBuffering);
    for (long i = 0; i < g_bufferCount; ++i) {
        ByteBuffer* b = g_buffers[i];
        if (b->file != f)
            continue;
        if (g_lastBuffer == b)
            g_lastBuffer = nullptr;
        g_buffers[i] = g_buffers[--g_bufferCount];
        if (!g_bufferCount) {
            KY_Free(g_buffers);
            g_buffers = nullptr;
        }
        KY_Free(b->bytes);
        KY_Free(b);
        return;
    }
}

KY_SystemFileCalls& KY_FileSystemCalls() {
    return g_sys;
}

void KY_ResetFileSystemCalls() {
    g_sys = kDefaultCalls;
}

// --- Context

KY_FileSys* KY_NewFileSys() {
    KY_FileSys* fs = static_cast<KY_FileSys*>(KY_Calloc(1, sizeof(KY_FileSys)));
    if (!fs)
        return nullptr;
    fs->directOps = kDirectOps;
    fs->reopeningOps = kReopeningOps;
    fs->cachedOps = KY_CachedFileOps();
    return fs;
}

int KY_FreeFileSys(KY_FileSys* fs) {
    if (!fs)
        return kFileErrArg;
    KY_UnlockAllFiles(fs);
    if (fs->openHandles > 0)
        KY_ReleaseHandles(fs, fs->openHandles);
    for (KY_FileList& list : fs->kinds)
        KY_Free(list.files);
    KY_Free(fs);
    return 0;
}

KY_FileSys* KY_GetGlobalFileSys() {
    if (!g_globalFs)
        KY_InitGlobalFileSys(0);
    return g_globalFs;
}

int KY_InitGlobalFileSys(long owner) {
    if (owner)
        g_globalOwner = owner;
    if (!g_globalFs)
        g_globalFs = KY_NewFileSys();
    return g_globalFs ? 0 : kFileErrArg;
}

int KY_TermGlobalFileSys(long owner) {
    if (owner != g_globalOwner)
        return 0;
    if (g_globalFs)
        KY_FreeFileSys(g_globalFs);
    g_globalFs = nullptr;
    g_globalOwner = 0;
    return 0;
}

int KY_ReleaseHandles(KY_FileSys* fs, long n) {
    if (fs->openHandles < n || fs->openHandles - fs->lockedFiles < n)
        return kFileErrNoHandle;
    long closed = 0;
    for (KY_FileList& list : fs->kinds) {
        for (long i = 0; i < list.count && closed < n; ++i) {
            KY_File* f = list.files[i];
            if (!(f->state & kStateOpen) || (f->state & kStateLocked))
                continue;
            int code = KY_FileCloseHandle(f);
            if (code)
                return code;
            ++closed;
        }
    }
    return 0;
}

int KY_ReleaseAllHandles(KY_FileSys* fs) {
    long n = fs->openHandles - fs->lockedFiles;
    return n > 0 ? KY_ReleaseHandles(fs, n) : 0;
}

int KY_UnlockAllFiles(KY_FileSys* fs) {
    for (KY_FileList& list : fs->kinds) {
        for (long i = 0; i < list.count && fs->lockedFiles > 0; ++i)
            KY_FileUnlock(list.files[i]);
    }
    return 0;
}

int KY_SetScrambleKey(KY_FileSys* fs, uint32_t key) {
    if (!fs)
        return kFileErrArg;
    fs->scrambleKey = (key >> 24) | ((key >> 8) & 0xFF00) | ((key << 8) & 0xFF0000) | (key << 24);
    return 0;
}
