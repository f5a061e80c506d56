// The file layer's open files: opening, handle recycling, locks, caches, size,
// byte translation, line input and copies.
#include "base/procedural/KyFile.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyCache.h"
#include "base/procedural/KyFileInternal.h"
#include "base/procedural/KyPath.h"

#include <windows.h>

#include <cstring>

namespace {

const int kReopenTries = 20;
const long kCopyBlock = 4048;

KY_FilterHooks g_filterHooks = {nullptr, nullptr, nullptr};

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
    // Bytes read ahead or waiting were translated, or are to be, by the old table.
    KY_FileSettle(f);
    if ((f->state & kStateFilter) && f->filter && g_filterHooks.release)
        g_filterHooks.release(f->filter);
    f->filter = nullptr;
    f->table = nullptr;
    f->state &= static_cast<uint16_t>(~(kStateByteTable | kStateFilter));
}

}  // namespace

void KY_SetFilterHooks(const KY_FilterHooks* hooks) {
    g_filterHooks = hooks ? *hooks : KY_FilterHooks{nullptr, nullptr, nullptr};
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
    int settled = KY_FileSettle(f);
    long pos = g_sys.seek(f->handle, 0, 1);
    if (pos >= 0)
        f->position = pos;
    int closed = g_sys.close(f->handle);
    f->handle = -1;
    f->state &= static_cast<uint16_t>(~kStateOpen);
    --f->spec.owner->openHandles;
    return (settled < 0 || pos < 0 || closed != 0) ? kFileErrIO : 0;
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
    KY_FileDropBuffer(f);
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
    KY_FileSettle(f);
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
    KY_FileSettle(f);
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
    if (KY_FileSettle(f) < 0)
        return kFileErrIO;
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
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
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
    if (!cached && (f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        cached = kFileErrIO;
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
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
    TableHeldBack raw(f);
    return f->baseOps->read(f, buffer, count);
}

long KY_FileWriteRaw(KY_File* f, const void* buffer, long count) {
    if ((f->state & kStateBuffering) && KY_FileSettle(f) < 0)
        return -1;
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
