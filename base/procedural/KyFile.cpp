// The file layer: contexts, open requests, handle recycling and the direct and
// reopening operation sets over the _lopen family of system calls.
#include "base/procedural/KyFile.h"

#include "base/object/BAlloc.h"
#include "base/procedural/KyCache.h"
#include "base/procedural/KyPath.h"

#include <windows.h>

#include <cstring>

int32_t KY_TranslateOnWrite = 0;

namespace {

const int kReopenTries = 20;
const long kCopyBlock = 4048;

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
KY_SystemFileCalls g_sys = kDefaultCalls;
KY_FilterHooks g_filterHooks = {nullptr, nullptr, nullptr};
KY_FileSys* g_globalFs = nullptr;
long g_globalOwner = 0;

void SetError(KY_File* f, long code) {
    f->spec.owner->lastError = code;
}

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

void SelectOps(KY_File* f) {
    KY_FileSys* fs = f->spec.owner;
    if (f->baseOps == &fs->directOps || f->baseOps == &fs->reopeningOps || !f->baseOps)
        f->baseOps = (f->state & kStateLocked) ? &fs->directOps : &fs->reopeningOps;
    f->ops = (f->state & kStateCached) ? &fs->cachedOps : f->baseOps;
}

// A write-only file behind a write cache still gets a readable handle, so that
// the cache can read back a block it has already written out.
int SystemAccess(const KY_File* f) {
    int access = f->openMode & kModeAccess;
    return (access == 1 && f->cacheMode == 3 && (f->spec.flags & kOpenCached)) ? 2 : access;
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
    long pos = g_sys.seek(f->handle, 0, 1);
    SetError(f, pos < 0 ? kFileErrIO : 0);
    return pos;
}

int DirectGetc(KY_File* f) {
    unsigned char c;
    return DirectRead(f, &c, 1) == 1 ? c : -1;
}

int NoUngetc(int, KY_File*) {
    return -1;
}

int DirectPutc(int byte, KY_File* f) {
    unsigned char c = static_cast<unsigned char>(byte);
    return DirectWrite(f, &c, 1) == 1 ? c : -1;
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

int ReopenGetc(KY_File* f) {
    unsigned char c;
    return ReopenRead(f, &c, 1) == 1 ? c : -1;
}

int ReopenPutc(int byte, KY_File* f) {
    unsigned char c = static_cast<unsigned char>(byte);
    return ReopenWrite(f, &c, 1) == 1 ? c : -1;
}

char* ReopenGets(char* buffer, int size, KY_File* f) {
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

const KY_FileOps kDirectOps = {DirectRead, DirectWrite, DirectSeek, DirectTell, DirectGetc,
                               NoUngetc,   DirectPutc,  DirectGets, DirectPuts};
const KY_FileOps kReopeningOps = {ReopenRead, ReopenWrite, ReopenSeek, ReopenTell, ReopenGetc,
                                  NoUngetc,   ReopenPutc,  ReopenGets, ReopenPuts};

int AddToKindList(KY_File* f) {
    KY_FileList& list = f->spec.owner->kinds[f->spec.kind];
    void* grown = KY_Realloc(list.files, sizeof(KY_File*) * static_cast<size_t>(list.count + 1));
    if (!grown)
        return kFileErrArg;
    list.files = static_cast<KY_File**>(grown);
    list.files[list.count++] = f;
    return 0;
}

int RemoveFromKindList(KY_File* f) {
    KY_FileList& list = f->spec.owner->kinds[f->spec.kind];
    for (long i = 0; i < list.count; ++i) {
        if (list.files[i] != f)
            continue;
        std::memmove(list.files + i, list.files + i + 1, sizeof(KY_File*) * static_cast<size_t>(list.count - i - 1));
        if (--list.count == 0) {
            KY_Free(list.files);
            list.files = nullptr;
        }
        return 0;
    }
    return kFileErrNotListed;
}

// The base set translates through f->table: held back for one transfer of file bytes.
class TableHeldBack {
public:
    explicit TableHeldBack(KY_File* f) : f_(f), table_(f->table) { f->table = nullptr; }
    ~TableHeldBack() { f_->table = table_; }
    TableHeldBack(const TableHeldBack&) = delete;
    TableHeldBack& operator=(const TableHeldBack&) = delete;

private:
    KY_File* f_;
    const unsigned char* table_;
};

void RemoveTranslation(KY_File* f) {
    if ((f->state & kStateFilter) && f->filter && g_filterHooks.release)
        g_filterHooks.release(f->filter);
    f->filter = nullptr;
    f->table = nullptr;
    f->state &= static_cast<uint16_t>(~(kStateByteTable | kStateFilter));
}

}  // namespace

KY_SystemFileCalls& KY_FileSystemCalls() {
    return g_sys;
}

void KY_ResetFileSystemCalls() {
    g_sys = kDefaultCalls;
}

void KY_SetFilterHooks(const KY_FilterHooks* hooks) {
    g_filterHooks = hooks ? *hooks : KY_FilterHooks{nullptr, nullptr, nullptr};
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

// --- Open requests

int KY_ClearOpenSpec(KY_OpenSpec* spec) {
    if (!spec)
        return kFileErrArg;
    std::memset(spec, 0, sizeof *spec);
    return 0;
}

int KY_MakeOpenSpec(KY_FileSys* fs, const KY_FileSpec* path, int kind, int cached, long blockSize, int blockCount,
                    KY_OpenSpec* spec) {
    if (!fs || !path || !spec)
        return kFileErrArg;
    KY_ClearOpenSpec(spec);
    int code = KY_CopyFileSpec(path, &spec->path);
    if (code)
        return code;
    spec->kind = static_cast<int16_t>(kind);
    spec->owner = fs;
    if (cached) {
        spec->flags = kOpenCached;
        spec->blockSize = blockSize;
        spec->blockCount = static_cast<int16_t>(blockCount);
    }
    return 0;
}

int KY_MakeOpenSpecIn(KY_FileSys* fs, const char* name, const char* folder, int kind, int cached, long blockSize,
                      int blockCount, KY_OpenSpec* spec) {
    KY_FileSpec path = {nullptr};
    int code;
    if (folder && *folder) {
        KY_FileSpec dir = {nullptr};
        code = KY_FullPath(folder, &dir);
        if (!code)
            code = KY_MakePath(&dir, name, &path);
        KY_FreeFileSpec(&dir);
    } else {
        code = KY_FullPath(name, &path);
    }
    if (!code)
        code = KY_MakeOpenSpec(fs, &path, kind, cached, blockSize, blockCount, spec);
    KY_FreeFileSpec(&path);
    return code;
}

int KY_MakeTempOpenSpec(KY_FileSys* fs, const char* prefix, int kind, int cached, long blockSize, int blockCount,
                        KY_OpenSpec* spec) {
    KY_FileSpec dir = {nullptr};
    KY_FileSpec path = {nullptr};
    int code = KY_GetTempDir(&dir);
    if (!code)
        code = KY_MakeTempName(prefix, &dir, &path);
    if (!code)
        code = KY_MakeOpenSpec(fs, &path, kind, cached, blockSize, blockCount, spec);
    KY_FreeFileSpec(&dir);
    KY_FreeFileSpec(&path);
    return code;
}

int KY_CopyOpenSpec(const KY_OpenSpec* from, KY_OpenSpec* to) {
    if (!to)
        return kFileErrArg;
    if (!from)
        return KY_ClearOpenSpec(to);
    KY_OpenSpec copy = *from;
    copy.path.text = nullptr;
    int code = KY_CopyFileSpec(&from->path, &copy.path);
    if (code)
        return code;
    *to = copy;
    return 0;
}

int KY_SetOpenSpecParams(int kind, int cached, long blockSize, int blockCount, int scrambled, KY_OpenSpec* spec) {
    if (!spec)
        return kFileErrArg;
    if (kind != -1)
        spec->kind = static_cast<int16_t>(kind);
    if (cached) {
        spec->flags |= kOpenCached;
        spec->blockSize = blockSize;
        spec->blockCount = static_cast<int16_t>(blockCount);
    } else {
        spec->flags &= static_cast<uint16_t>(~kOpenCached);
    }
    return KY_SetOpenSpecScrambled(scrambled, spec);
}

int KY_SetOpenSpecScrambled(int on, KY_OpenSpec* spec) {
    if (!spec)
        return kFileErrArg;
    spec->flags = on ? (spec->flags | kOpenScrambled) : (spec->flags & ~kOpenScrambled);
    return 0;
}

int KY_SetOpenSpecDeleteOnClose(int on, KY_OpenSpec* spec) {
    if (!spec)
        return kFileErrArg;
    spec->flags = on ? (spec->flags | kOpenDeleteOnClose) : (spec->flags & ~kOpenDeleteOnClose);
    return 0;
}

int KY_FreeOpenSpec(KY_OpenSpec* spec) {
    if (!spec)
        return kFileErrArg;
    KY_FreeFileSpec(&spec->path);
    return KY_ClearOpenSpec(spec);
}

// --- Open files

KY_File* KY_FOpen(const KY_OpenSpec* spec, const char* mode) {
    if (!spec || !spec->path.text || !spec->owner || !mode)
        return nullptr;
    KY_FileSys* fs = spec->owner;
    fs->lastError = 0;
    if (spec->kind >= 4 || spec->kind < 0) {
        fs->lastError = kFileErrKind;
        return nullptr;
    }
    KY_File* f = static_cast<KY_File*>(KY_Calloc(1, sizeof(KY_File)));
    if (!f) {
        fs->lastError = kFileErrArg;
        return nullptr;
    }
    uint16_t openMode;
    int16_t cacheMode;
    bool lazy = false;
    if (std::strchr(mode, '+')) {
        openMode = 2;
        cacheMode = (spec->blockSize == 2048 && spec->blockCount == 3) ? 0 : 2;
    } else if (std::strchr(mode, 'r')) {
        openMode = 0;
        cacheMode = 1;
        lazy = true;
    } else {
        openMode = 1;
        cacheMode = 0;
    }
    if (std::strchr(mode, 'a')) {
        openMode |= kModeCreatePending | kModeAppend;
        cacheMode = 0;
    } else if (std::strchr(mode, 'w')) {
        openMode |= kModeCreatePending | kModeTruncatePending;
        cacheMode = 3;
    }
    if (std::strchr(mode, 'b')) {
        openMode |= kModeBinary;
    } else if (std::strchr(mode, 't')) {
        cacheMode = 0;
    } else {
        openMode |= kModeBinary;
    }
    int code = KY_CopyOpenSpec(spec, &f->spec);
    if (code) {
        KY_Free(f);
        fs->lastError = code;
        return nullptr;
    }
    f->handle = -1;
    f->openMode = openMode | kModeShareAll;
    f->cacheMode = cacheMode;
    if (spec->flags & kOpenScrambled)
        f->state = kStateScrambled;
    SelectOps(f);
    // Listed before the first open so that a failing open can close it through KY_FClose.
    code = AddToKindList(f);
    if (code) {
        KY_FreeFileSpec(&f->spec.path);
        KY_Free(f);
        fs->lastError = code;
        return nullptr;
    }
    f->refCount = 1;
    if (!lazy)
        code = KY_FileReopen(f);
    if (!code && cacheMode != 0 && (spec->flags & kOpenCached))
        code = KY_FileSetCache(f, spec->blockSize, spec->blockCount);
    if (code) {
        KY_FClose(f);
        fs->lastError = code;
        return nullptr;
    }
    return f;
}

int KY_FileReopen(KY_File* f) {
    KY_FileSys* fs = f->spec.owner;
    const char* path = f->spec.path.text;
    for (int attempt = 1;; ++attempt) {
        if (f->openMode & kModeCreatePending) {
            int h = -1;
            if (!(f->openMode & kModeTruncatePending))
                h = g_sys.open(path, OF_READ | OF_SHARE_DENY_NONE);
            if (h == -1)
                h = g_sys.create(path);
            if (h != -1) {
                g_sys.close(h);
                f->openMode &= static_cast<uint16_t>(~(kModeCreatePending | kModeTruncatePending));
            }
        }
        int h = g_sys.open(path, SystemAccess(f) | OF_SHARE_DENY_NONE);
        if (h != -1) {
            f->handle = h;
            if (f->position)
                g_sys.seek(h, f->position, 0);
            ++fs->openHandles;
            f->state |= kStateOpen;
            long size = KY_FileSize(f);
            if (size >= 0)
                f->size = size;
            fs->lastError = 0;
            return 0;
        }
        if (attempt == kReopenTries || KY_ReleaseHandles(fs, 1))
            return kFileErrOpen;
    }
}

int KY_FileCloseHandle(KY_File* f) {
    if (!(f->state & kStateOpen))
        return 0;
    long pos = g_sys.seek(f->handle, 0, 1);
    if (pos >= 0)
        f->position = pos;
    int closed = g_sys.close(f->handle);
    f->handle = -1;
    f->state &= static_cast<uint16_t>(~kStateOpen);
    --f->spec.owner->openHandles;
    return (pos < 0 || closed != 0) ? kFileErrIO : 0;
}

int KY_FClose(KY_File* f) {
    if (!f)
        return kFileErrArg;
    if (--f->refCount > 0)
        return 0;
    if (f->state & kStateLocked) {
        f->refCount = 1;
        return kFileErrLocked;
    }
    // Every step runs even after a failure, so that nothing leaks; the first code wins.
    int result = 0;
    if (f->cache) {
        result = KY_CacheClose(&f->cache);
        f->state &= static_cast<uint16_t>(~kStateCached);
    }
    int code = KY_FileCloseHandle(f);
    if (!result)
        result = code;
    RemoveTranslation(f);
    code = RemoveFromKindList(f);
    if (!result)
        result = code;
    if (f->spec.flags & kOpenDeleteOnClose) {
        code = KY_DeleteFile(&f->spec.path);
        if (!result)
            result = code;
    }
    KY_FreeFileSpec(&f->spec.path);
    KY_Free(f);
    return result;
}

int KY_FileAddRef(KY_File* f) {
    if (!f)
        return kFileErrArg;
    ++f->refCount;
    return 0;
}

int KY_FileLock(KY_File* f) {
    if (!f)
        return kFileErrArg;
    if (++f->lockCount > 1)
        return 0;
    if (!(f->state & kStateOpen)) {
        int code = KY_FileReopen(f);
        if (code) {
            --f->lockCount;
            return code;
        }
    }
    f->state |= kStateLocked;
    ++f->spec.owner->lockedFiles;
    SelectOps(f);
    return 0;
}

int KY_FileUnlock(KY_File* f) {
    if (!f)
        return kFileErrArg;
    if (f->lockCount <= 0)
        return 0;
    if (--f->lockCount > 0 || !(f->state & kStateLocked))
        return 0;
    long pos = g_sys.seek(f->handle, 0, 1);
    if (pos >= 0)
        f->position = pos;
    f->state &= static_cast<uint16_t>(~kStateLocked);
    --f->spec.owner->lockedFiles;
    SelectOps(f);
    return 0;
}

int KY_FileSetCache(KY_File* f, long blockSize, int blockCount) {
    if (!f)
        return kFileErrArg;
    if (f->cache)
        return 0;
    if (blockSize <= 0 || blockCount <= 0)
        return kFileErrArg;
    int access = SystemAccess(f);
    f->spec.flags |= kOpenCached;
    f->spec.blockSize = blockSize;
    f->spec.blockCount = static_cast<int16_t>(blockCount);
    int code = KY_CacheOpen(&f->cache, f, blockSize, blockCount);
    if (!code)
        code = KY_CacheSetMode(f->cache, f->cacheMode);
    if (code) {
        if (f->cache)
            KY_CacheClose(&f->cache);
        return code;
    }
    f->state |= kStateCached;
    SelectOps(f);
    // A handle opened before the cache came reopens with the access the cache needs.
    if ((f->state & kStateOpen) && !(f->state & kStateLocked) && SystemAccess(f) != access)
        return KY_FileCloseHandle(f);
    return 0;
}

// Measures at the end and moves back to where the handle was (the remembered
// position of a locked file is stale, so the handle's own position is used).
long KY_FileSize(KY_File* f) {
    SetError(f, 0);
    if (!(f->state & kStateOpen)) {
        int code = KY_FileReopen(f);
        if (code) {
            SetError(f, code);
            return -1;
        }
    }
    long here = g_sys.seek(f->handle, 0, 1);
    long end = g_sys.seek(f->handle, 0, 2);
    long back = here >= 0 ? g_sys.seek(f->handle, here, 0) : -1;
    if (here < 0 || end < 0 || back < 0) {
        SetError(f, kFileErrIO);
        return -1;
    }
    return end;
}

int KY_FileFlush(KY_File* f) {
    if (!f)
        return kFileErrArg;
    int cached = f->cache ? KY_CacheFlush(f->cache) : 0;
    if (f->state & kStateOpen) {
        bool locked = (f->state & kStateLocked) != 0;
        int code = KY_FileCloseHandle(f);
        if (!code)
            code = KY_FileReopen(f);
        if (locked && !(f->state & kStateOpen)) {
            f->state &= static_cast<uint16_t>(~kStateLocked);
            --f->spec.owner->lockedFiles;
            f->lockCount = 0;
            SelectOps(f);
        }
        if (code && !cached)
            return code;
    }
    return cached;
}

long KY_FPutLine(const char* text, KY_File* f) {
    if (!text || !f)
        return -1;
    const char* end = (f->openMode & kModeBinary) ? "\n" : "\r\n";
    long n = static_cast<long>(std::strlen(text));
    long endLength = static_cast<long>(std::strlen(end));
    if (n > 0 && f->ops->write(f, text, n) != n)
        return -1;
    if (f->ops->write(f, end, endLength) != endLength)
        return -1;
    return n + endLength;
}

int KY_FileSetByteTable(KY_File* f, const unsigned char* table) {
    if (!f)
        return kFileErrArg;
    RemoveTranslation(f);
    if (table) {
        f->table = table;
        f->state |= kStateByteTable;
    }
    return 0;
}

int KY_FileSetFilter(KY_File* f, KY_Filter* filter) {
    if (!f)
        return kFileErrArg;
    if (filter && f->filter == filter)
        return 0;
    RemoveTranslation(f);
    if (!filter)
        return 0;
    if (!g_filterHooks.addRef || !g_filterHooks.byteTable)
        return kFileErrArg;
    g_filterHooks.byteTable(filter, f->filterBytes);
    g_filterHooks.addRef(filter);
    f->filter = filter;
    f->table = f->filterBytes;
    f->state |= kStateFilter;
    return 0;
}

int KY_FileClearFilter(KY_File* f) {
    if (!f)
        return kFileErrArg;
    RemoveTranslation(f);
    return 0;
}

long KY_FileReadRaw(KY_File* f, void* buffer, long count) {
    TableHeldBack raw(f);
    return f->baseOps->read(f, buffer, count);
}

long KY_FileWriteRaw(KY_File* f, const void* buffer, long count) {
    TableHeldBack raw(f);
    return f->baseOps->write(f, buffer, count);
}

void KY_FileTranslate(const KY_File* f, unsigned char* p, long n) {
    if (!f->table)
        return;
    for (long i = 0; i < n; ++i)
        p[i] = f->table[p[i]];
}

long KY_LineLength(KY_File* f, const char* buffer, long n, int size) {
    const void* end = nullptr;
    if (!(f->state & kStateCRLines)) {
        end = std::memchr(buffer, '\n', static_cast<size_t>(n));
        if (!end) {
            end = std::memchr(buffer, '\r', static_cast<size_t>(n));
            // A CR that ends a full buffer may be the first half of a CR LF
            // split by the buffer: it ends this piece without deciding the file.
            if (end && !(end == buffer + n - 1 && n == size - 1))
                f->state |= kStateCRLines;
        }
    } else {
        end = std::memchr(buffer, '\r', static_cast<size_t>(n));
    }
    return end ? static_cast<const char*>(end) - buffer + 1 : n;
}

int KY_CopyFileData(KY_File* to, KY_File* from, long length) {
    if (!to || !from)
        return kFileErrArg;
    long block = length < kCopyBlock ? length : kCopyBlock;
    if (block <= 0)
        return 0;
    char* buffer = static_cast<char*>(KY_Malloc(static_cast<size_t>(block)));
    if (!buffer)
        return kFileErrArg;
    long remaining = length;
    while (remaining > 0) {
        long n = from->ops->read(from, buffer, block);
        if (n <= 0)
            break;
        if (to->ops->write(to, buffer, n) != n)
            break;
        remaining -= n;
        if (n < block)
            break;
        if (remaining < block)
            block = remaining;
    }
    KY_Free(buffer);
    return remaining == 0 ? 0 : kFileErrIO;
}

int KY_CopyFileRange(const KY_OpenSpec* toSpec, const KY_OpenSpec* fromSpec, int mode, long offset, long length) {
    if (!toSpec || !fromSpec)
        return kFileErrArg;
    KY_File* from = KY_FOpen(fromSpec, "rb");
    if (!from)
        return kFileErrIO;
    long size = KY_FileSize(from);
    if (size < 0) {
        KY_FClose(from);
        return kFileErrIO;
    }
    int code = 0;
    if (mode == 0) {
        offset = 0;
        length = size;
    } else if (mode == 1) {
        if (offset < 0 || length < 0 || offset > size || length > size - offset)
            code = kFileErrRange;
        else if (from->ops->seek(from, offset, 0) != offset)
            code = kFileErrOpen;
    } else {
        length = 0;
    }
    // Emptying the destination would lose a source copied onto itself, under
    // any of its names: the whole file is already there, and a part of it
    // cannot be made the file.
    bool same = KY_SameFile(&toSpec->path, &fromSpec->path);
    if (!code && same) {
        code = mode == 0 ? 0 : kFileErrOpen;
    } else if (!code) {
        KY_File* to = KY_FOpen(toSpec, "wb");
        if (!to) {
            code = kFileErrOpen;
        } else {
            code = KY_CopyFileData(to, from, length);
            int closed = KY_FClose(to);
            if (!code)
                code = closed;
        }
    }
    KY_FClose(from);
    return code;
}
