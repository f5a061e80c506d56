// Folder chains, drives, the current folder and path texts.
#include "base/procedural/KyPath.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

char g_lastFailedDir[MAX_PATH];

class QuietErrors {
public:
    QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~QuietErrors() { SetErrorMode(old_); }

private:
    UINT old_;
};

bool IsFolder(const char* path) {
    QuietErrors quiet;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A normalised copy without its leading separator: the joinable tail of a name.
char* JoinableName(const char* name) {
    size_t n = std::strlen(name);
    char* copy = static_cast<char*>(KY_Malloc(n + 1));
    if (!copy)
        return nullptr;
    std::memcpy(copy, name, n + 1);
    KY_NormalizePath(copy);
    if (copy[0] == '\\')
        std::memmove(copy, copy + 1, std::strlen(copy));
    return copy;
}

}  // namespace

// Each folder is tested by its attributes rather than by entering it, so the
// current folder never moves and relative chains stay relative.
int KY_CreateDirs(const char* path) {
    if (!path || !*path)
        return 0;
    size_t n = std::strlen(path);
    char* chain = static_cast<char*>(KY_Malloc(n + 2));
    if (!chain)
        return kFileErrArg;
    std::memcpy(chain, path, n + 1);
    if (chain[n - 1] != '\\' && chain[n - 1] != '/') {
        chain[n] = '\\';
        chain[n + 1] = 0;
    }
    size_t start = 0;
    if (const char* colon = std::strchr(chain, ':'))
        start = static_cast<size_t>(colon - chain) + 1;
    int skip = 0;  // a server path's server and share names cannot be made
    if ((chain[0] == '\\' || chain[0] == '/') && (chain[1] == '\\' || chain[1] == '/')) {
        start = 2;
        skip = 2;
    }
    int code = 0;
    for (size_t i = start; chain[i] && !code; ++i) {
        if (chain[i] != '\\' && chain[i] != '/')
            continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        bool driveRoot = i > 0 && chain[i - 1] == ':';
        if (i == 0 || driveRoot)
            continue;
        char saved = chain[i];
        chain[i] = 0;
        if (!IsFolder(chain) && !CreateDirectoryA(chain, nullptr) && !IsFolder(chain)) {
            std::snprintf(g_lastFailedDir, sizeof g_lastFailedDir, "%s", chain);
            code = kPathErrFolder;
        }
        chain[i] = saved;
    }
    KY_Free(chain);
    return code;
}

const char* KY_LastFailedDir() {
    return g_lastFailedDir;
}

int KY_MakeDirPath(const char* path, KY_FileSpec* spec) {
    if (!path || !spec)
        return kFileErrArg;
    char* text = JoinableName(path);
    if (!text)
        return kFileErrArg;
    KY_FreeFileSpec(spec);
    spec->text = text;
    return KY_CreateDirs(text);
}

int KY_NewDirSpec(const char* path, KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    if (!path || !*path)
        return kFileErrPath;
    size_t n = std::strlen(path);
    char* text = static_cast<char*>(KY_Malloc(n + 1));
    if (!text)
        return kFileErrArg;
    std::memcpy(text, path, n + 1);
    KY_NormalizePath(text);
    KY_FreeFileSpec(spec);
    spec->text = text;
    return KY_CreateDirs(text);
}

int KY_JoinPath(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec) {
    if (!spec || !name)
        return kFileErrArg;
    if (!folder || !folder->text || !*folder->text)
        return KY_NewDirSpec(name, spec);
    char* tail = JoinableName(name);
    if (!tail)
        return kFileErrArg;
    char* joined = static_cast<char*>(KY_Malloc(std::strlen(folder->text) + std::strlen(tail) + 2));
    if (joined)
        std::sprintf(joined, "%s\\%s", folder->text, tail);
    KY_Free(tail);
    if (!joined)
        return kFileErrArg;
    KY_FreeFileSpec(spec);
    spec->text = joined;
    return KY_CreateDirs(joined);
}

bool KY_FileSpecText(const KY_FileSpec* spec, char* buffer, size_t size) {
    if (!spec || !buffer)
        return false;
    if (!spec->text)
        return true;
    size_t n = std::strlen(spec->text);
    if (n >= size)
        return false;
    std::memcpy(buffer, spec->text, n + 1);
    return true;
}

char* KY_GetCwd() {
    DWORD need = GetCurrentDirectoryA(0, nullptr);
    DWORD size = need + 1 > MAX_PATH + 1 ? need + 1 : MAX_PATH + 1;
    char* text = static_cast<char*>(KY_Malloc(size));
    if (!text)
        return nullptr;
    DWORD n = GetCurrentDirectoryA(size, text);
    if (n == 0 || n >= size) {
        KY_Free(text);
        return nullptr;
    }
    return text;
}

int KY_ChDir(char* text) {
    if (!text)
        ThrowAssert("kyfadd", 585);
    BOOL done;
    {
        QuietErrors quiet;
        done = SetCurrentDirectoryA(text);
    }
    KY_Free(text);
    return done ? 0 : kFileErrSystem + ENOENT;
}

bool KY_PathExists(const char* text) {
    if (!text || !*text)
        return false;
    QuietErrors quiet;
    return GetFileAttributesA(text) != INVALID_FILE_ATTRIBUTES;
}

bool KY_IsWritable(const char* text) {
    if (!text || !*text)
        return false;
    QuietErrors quiet;
    DWORD attributes = GetFileAttributesA(text);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

int KY_DriveKind(int n) {
    if (n < 0 || n >= 26)
        return 0;
    char root[4] = {static_cast<char>('A' + n), ':', '\\', 0};
    switch (GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE:
        return 1;
    case DRIVE_FIXED:
        return 2;
    case DRIVE_REMOTE:
        return 3;
    case DRIVE_CDROM:
        return 4;
    case DRIVE_RAMDISK:
        return 6;
    default:
        return 0;
    }
}

int KY_FindDriveWith(const char* relative, int first, int last) {
    if (!relative)
        return -1;
    char path[MAX_PATH + 8];
    if (char* cwd = KY_GetCwd()) {
        int drive = std::isalpha(static_cast<unsigned char>(cwd[0])) && cwd[1] == ':'
                        ? std::toupper(static_cast<unsigned char>(cwd[0])) - 'A'
                        : -1;
        cwd[3 < std::strlen(cwd) ? 3 : std::strlen(cwd)] = 0;
        std::snprintf(path, sizeof path, "%s%s", cwd, relative);
        KY_Free(cwd);
        if (drive >= 0 && KY_PathExists(path))
            return drive;
    }
    // Each letter is tried directly: Wine lists only the drives its mount
    // manager knew at start-up, but resolves a drive linked later.
    for (int drive = first < 0 ? 0 : first; drive <= last && drive < 26; ++drive) {
        std::snprintf(path, sizeof path, "%c:\\%s", 'A' + drive, relative);
        if (KY_PathExists(path))
            return drive;
    }
    return -1;
}
