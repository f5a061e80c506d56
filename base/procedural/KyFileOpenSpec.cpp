// The file layer's open requests: made for a path, a name in a folder or a
// temporary name, copied, adjusted and freed.
#include "base/procedural/KyFile.h"

#include "base/procedural/KyPath.h"

#include <cstring>

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
