// Path handles: making, normalising, joining and cutting full paths, the
// temporary folder and names, existence and deletion.
#include "base/procedural/KyPath.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/StringUtil.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

const DWORD kPathBuffer = 260;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Takes a KY_Malloc text into the handle, freeing what it held.
int Adopt(char* text, KY_FileSpec* spec) {
    if (!text)
        return kFileErrArg;
    KY_Free(spec->text);
    spec->text = text;
    return 0;
}

char* Duplicate(const char* text, size_t extra = 0) {
    size_t n = std::strlen(text);
    char* copy = static_cast<char*>(KY_Malloc(n + 1 + extra));
    if (copy)
        std::memcpy(copy, text, n + 1);
    return copy;
}

// Copies and normalises text into the handle.
int SetNormalised(const char* text, KY_FileSpec* spec) {
    char* copy = Duplicate(text);
    if (!copy)
        return kFileErrArg;
    KY_NormalizePath(copy);
    return Adopt(copy, spec);
}

}  // namespace

void KY_NormalizePath(char* text) {
    if (!text)
        return;
    char* out = text;
    const char* in = text;
    size_t keep = 0;  // leading separators kept as they are
    if (IsSeparator(in[0]) && IsSeparator(in[1])) {
        *out++ = '\\';
        *out++ = '\\';
        in += 2;
        keep = 2;
    }
    for (; *in; ++in) {
        char c = *in == '/' ? '\\' : *in;
        if (c == '\\' && out > text + keep && out[-1] == '\\')
            continue;
        if (c == '\\' && keep && out == text + keep)
            continue;
        *out++ = c;
    }
    if (out > text + (keep ? keep : 1) && out[-1] == '\\')
        --out;
    *out = 0;
}

bool KY_IsServerRoot(const char* text) {
    if (!text || !IsSeparator(text[0]) || !IsSeparator(text[1]) || !text[2])
        return false;
    for (const char* p = text + 2; *p; ++p) {
        if (IsSeparator(*p))
            return false;
    }
    return true;
}

int KY_NewFileSpec(KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    spec->text = nullptr;
    return 0;
}

int KY_FreeFileSpec(KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    KY_Free(spec->text);
    spec->text = nullptr;
    return 0;
}

int KY_CopyFileSpec(const KY_FileSpec* from, KY_FileSpec* to) {
    if (!to)
        return kFileErrArg;
    if (from == to)
        return 0;
    if (!from || !from->text)
        return KY_FreeFileSpec(to);
    return Adopt(Duplicate(from->text), to);
}

int KY_FullPath(const char* name, KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    if (!name || !*name)
        return kFileErrPath;
    bool asIs = name[0] == ':' || IsSeparator(name[0]) || (std::strlen(name) == 2 && name[1] == ':');
    if (asIs)
        return SetNormalised(name, spec);
    char full[kPathBuffer];
    DWORD n = GetFullPathNameA(name, kPathBuffer, full, nullptr);
    if (n == 0 || n >= kPathBuffer)
        return kFileErrPath;
    return SetNormalised(full, spec);
}

int KY_MakePath(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    if (!name || !*name)
        return KY_CopyFileSpec(folder, spec);
    if (!folder || !folder->text || !*folder->text)
        return KY_FullPath(name, spec);
    char* tail = Duplicate(name);
    if (!tail)
        return kFileErrArg;
    KY_NormalizePath(tail);
    const char* t = tail[0] == '\\' ? tail + 1 : tail;
    size_t n = std::strlen(folder->text);
    bool ends = n > 0 && folder->text[n - 1] == '\\';
    char* joined = static_cast<char*>(KY_Malloc(n + std::strlen(t) + 2));
    if (joined)
        std::sprintf(joined, ends ? "%s%s" : "%s\\%s", folder->text, t);
    KY_Free(tail);
    return Adopt(joined, spec);
}

bool KY_NameStaysInside(const char* name) {
    if (!name || IsSeparator(name[0]) || std::strchr(name, ':'))
        return false;
    int depth = 0;
    for (const char* p = name; *p; p += *p ? 1 : 0) {
        const char* start = p;
        bool dotsOnly = true;  // dots and blanks
        for (; *p && !IsSeparator(*p); ++p)
            dotsOnly = dotsOnly && (*p == '.' || *p == ' ');
        std::string_view part(start, static_cast<size_t>(p - start));
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (--depth < 0)
                return false;
        } else if (dotsOnly) {
            return false;
        } else {
            ++depth;
        }
    }
    return true;
}

int KY_MakePathInside(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    if (!folder || !folder->text || !*folder->text || !KY_NameStaysInside(name))
        return kFileErrPath;
    return KY_MakePath(folder, name, spec);
}

int KY_JoinPathInside(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec) {
    if (!spec || !name)
        return kFileErrArg;
    if (!folder || !folder->text || !*folder->text || !KY_NameStaysInside(name))
        return kFileErrPath;
    return KY_JoinPath(folder, name, spec);
}

int KY_GetParentDir(const KY_FileSpec* spec, KY_FileSpec* parent) {
    if (!parent)
        return kFileErrArg;
    if (!spec || !spec->text || !*spec->text)
        return kFileErrPath;
    const char* text = spec->text;
    size_t n = std::strlen(text);
    if (KY_IsServerRoot(text) || text[n - 1] == ':')
        return KY_CopyFileSpec(spec, parent);
    const char* last = std::strrchr(text, '\\');
    if (!last)
        return kFileErrPath;
    size_t length = static_cast<size_t>(last - text);
    char* head = static_cast<char*>(KY_Malloc(length + 1));
    if (!head)
        return kFileErrArg;
    std::memcpy(head, text, length);
    head[length] = 0;
    int code = KY_FullPath(head, parent);
    KY_Free(head);
    return code;
}

int KY_GetFileName(const KY_FileSpec* spec, char* buffer, size_t size) {
    if (!buffer || size == 0)
        return kFileErrArg;
    buffer[0] = 0;
    if (!spec || !spec->text || !*spec->text)
        return kFileErrPath;
    if (KY_IsServerRoot(spec->text))
        return 0;
    const char* last = std::strrchr(spec->text, '\\');
    if (!last)
        return 0;
    size_t n = std::strlen(last + 1);
    if (n >= size)
        return kFileErrArg;
    std::memcpy(buffer, last + 1, n + 1);
    return 0;
}

int KY_SetPathExtension(const char* extension, KY_FileSpec* spec, bool keepOld) {
    if (!extension || !spec || !spec->text)
        return kFileErrArg;
    if (*extension == '.')
        ++extension;
    size_t n = std::strlen(spec->text) + std::strlen(extension) + 2;
    void* grown = KY_Realloc(spec->text, n);
    if (!grown)
        return kFileErrArg;
    spec->text = static_cast<char*>(grown);
    SetFileExtension(spec->text, extension, keepOld);
    return 0;
}

bool KY_FileExists(const KY_FileSpec* spec) {
    if (!spec || !spec->text || !*spec->text)
        return false;
    return KY_IsServerRoot(spec->text) || KY_PathExists(spec->text);
}

bool KY_GetFileIdentity(const char* path, bool ownLink, KY_FileIdentity* identity) {
    if (!path || !*path || !identity)
        return false;
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (ownLink ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool known = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (known)
        *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow, info.dwFileAttributes};
    return known;
}

bool KY_SameFile(const KY_FileSpec* a, const KY_FileSpec* b) {
    if (!a || !b || !a->text || !b->text)
        return false;
    KY_FileIdentity ia;
    KY_FileIdentity ib;
    if (KY_GetFileIdentity(a->text, false, &ia) && KY_GetFileIdentity(b->text, false, &ib))
        return ia.volume == ib.volume && ia.indexHigh == ib.indexHigh && ia.indexLow == ib.indexLow;
    char longA[kPathBuffer];
    char longB[kPathBuffer];
    DWORD na = GetLongPathNameA(a->text, longA, kPathBuffer);
    DWORD nb = GetLongPathNameA(b->text, longB, kPathBuffer);
    const char* textA = na > 0 && na < kPathBuffer ? longA : a->text;
    const char* textB = nb > 0 && nb < kPathBuffer ? longB : b->text;
    return lstrcmpiA(textA, textB) == 0;
}

int KY_DeleteFile(const KY_FileSpec* spec) {
    if (!spec || !spec->text)
        return kFileErrArg;
    if (!KY_FileExists(spec))
        return 0;
    if (DeleteFileA(spec->text))
        return 0;
    DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION)
        return 0;
    int number = error == ERROR_ACCESS_DENIED ? EACCES : error == ERROR_FILE_NOT_FOUND ? ENOENT : EIO;
    return kFileErrSystem + number;
}

int KY_GetTempDir(KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    char buffer[kPathBuffer];
    DWORD n = GetTempPathA(kPathBuffer, buffer);
    if (n == 0 || n >= kPathBuffer)
        return kFileErrIO;
    return KY_FullPath(buffer, spec);
}

int KY_MakeTempName(const char* prefix, const KY_FileSpec* folder, KY_FileSpec* spec) {
    if (!spec || !folder || !folder->text)
        return kFileErrArg;
    if (!prefix)
        prefix = "KY";
    if (std::strlen(prefix) > 2)
        return kFileErrPath;
    char buffer[MAX_PATH];
    if (GetTempFileNameA(folder->text, prefix, 0, buffer) == 0)
        return kFileErrPath;
    return KY_FullPath(buffer, spec);
}

int KY_GetCurrentDir(KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    char buffer[kPathBuffer];
    DWORD n = GetCurrentDirectoryA(kPathBuffer, buffer);
    if (n == 0 || n >= kPathBuffer)
        return kFileErrSystem + (n == 0 ? ENOENT : ERANGE);
    return KY_FullPath(buffer, spec);
}

int KY_GetProgramDir(KY_FileSpec* spec) {
    return KY_GetCurrentDir(spec);
}

int KY_GetStartDir(KY_FileSpec* spec) {
    return KY_GetCurrentDir(spec);
}

int KY_GetAppTempDir(KY_FileSpec* spec) {
    return KY_GetCurrentDir(spec);
}

int KY_GetPersonalDir(KY_FileSpec* spec) {
    if (!spec)
        return kFileErrArg;
    char buffer[1024];
    const int kPersonal = 5;
    if (SHF_FolderFromRegistry(2, kPersonal, buffer, sizeof buffer) != 0 || !*buffer)
        return -1;
    return KY_FullPath(buffer, spec);
}

int KY_GetLocalAppDataDir(KY_FileSpec* spec) {
    return SHF_GetLocalAppData(spec);
}

int KY_GetCommonAppDataDir(KY_FileSpec* spec) {
    return SHF_GetCommonAppData(spec);
}

int KY_GetWindowsDir(KY_FileSpec* spec) {
    return SHF_GetWindowsDir(spec);
}
