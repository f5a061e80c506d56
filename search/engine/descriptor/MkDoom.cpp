// Mounting: the mount record, resolution of path variables (REL, SGN, INI,
// DBG and predefined), file specifications, and the key=value settings files.
#include "search/engine/descriptor/MkDoom.h"

#include <strings.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyPath.h"
#include "base/procedural/KyString.h"
#include "base/procedural/Trace.h"
#include "search/engine/descriptor/AssocValue.h"
#include "search/engine/descriptor/MkDoomInternal.h"
#include "search/engine/descriptor/StringPut.h"

namespace {

const char* const kDefaultExtensions[14] = {"abp", "fmt", "of7", "uf7", "hdg", "hd7", "uh7",
                                            "hdg", "hd7", "uh7", "flt", "rck", "stp", "cor"};

void FreeCacheEntry(KY_AssocEntry* e, void*) {
    KY_Free(e->value);
}

void FreeMountedPath(KY_AssocEntry* e, void*) {
    KyMountedPath* p = static_cast<KyMountedPath*>(e->value);
    KY_FreeFileSpec(&p->spec);
    KY_Free(p);
}

// Empties the mounted set, keeping the record and its overrides.
void Release(KyMount* m) {
    KY_ForEachAssoc(m->cache, FreeCacheEntry, nullptr);
    KY_FreeAssoc(m->cache);
    m->cache = nullptr;
    KY_ForEachAssoc(m->paths, FreeMountedPath, nullptr);
    KY_FreeAssoc(m->paths);
    m->paths = nullptr;
    KY_ForEachAssoc(m->subpaths, FreeCacheEntry, nullptr);
    KY_FreeAssoc(m->subpaths);
    m->subpaths = nullptr;
    for (char*& e : m->extensions) {
        KY_Free(e);
        e = nullptr;
    }
    FreeResources(m);
    if (m->bases)
        for (int32_t i = 0; i < m->bases->count; ++i)
            FreeMountedBase(static_cast<KyMountedBase*>(m->bases->entries[i].value));
    KY_FreeAssoc(m->bases);
    m->bases = nullptr;
    KY_ForEachAssoc(m->userStrings, FreeCacheEntry, nullptr);
    KY_FreeAssoc(m->userStrings);
    m->userStrings = nullptr;
    m->links = nullptr;
    KY_FreeDescriptor(m->desc);
    m->desc = nullptr;
}

void CacheSet(KyMount* m, const char* key, const char* path) {
    if (KY_AssocEntry* e = m->cache ? KY_FindAssoc(m->cache, key) : nullptr) {
        KY_Free(e->value);
        e->value = nullptr;
        KY_RemoveAssoc(m->cache, key);
    }
    char* copy = MkDup(path, "cpPath");
    MkEnter(&m->cache, key, copy, "cpPath");
}

const char* CacheGet(KyMount* m, const char* key) {
    return static_cast<const char*>(MkFind(m->cache, key));
}

// "X:\" followed by relative, of the drive holding it; empty when none does.
bool SearchDrives(const char* relative, char* out, size_t size) {
    int drive = KY_FindDriveWith(relative, 2, 25);
    if (drive < 0)
        return false;
    int n = std::snprintf(out, size, "%c:\\%s", 'A' + drive, relative);
    return n > 0 && static_cast<size_t>(n) < size;
}

// The part of a signature path the drives are searched for.
const char* SignatureRelative(const char* value) {
    const char* slash = std::strchr(value, '\\');
    return slash && slash[1] ? slash + 1 : value;
}

void SetSpec(KY_FileSpec* spec, const char* text, const char* routine) {
    KY_FreeFileSpec(spec);
    if (text && *text && KY_FullPath(text, spec) != 0)
        MkFail(kMkErrMemory, routine);
}

int Predefined(KyMount* m, const char* name, KY_FileSpec* spec) {
    if (strcasecmp(name, "_APPLIPATH_") == 0 && m->appFolder)
        return KY_FullPath(m->appFolder, spec);
    if (strcasecmp(name, "_PREFPATH_") == 0)
        return KY_GetWindowsDir(spec);
    if (strcasecmp(name, "_TMPPATH_") == 0)
        return KY_GetTempDir(spec);
    if (strcasecmp(name, "_LOCAL_APPDATAPATH_") == 0)
        return KY_GetLocalAppDataDir(spec);
    if (strcasecmp(name, "_COMMON_APPDATAPATH_") == 0)
        return KY_GetCommonAppDataDir(spec);
    return KY_GetCurrentDir(spec);
}

// INI: the folder named by a key of a key file in the current, then the Windows folder.
bool IniFolder(KyMount* m, const KyPathVar* p, char* out, size_t size) {
    KY_FileSpec folders[2] = {{nullptr}, {nullptr}};
    KY_GetCurrentDir(&folders[0]);
    KY_GetWindowsDir(&folders[1]);
    bool found = false;
    char signature[300] = "";
    for (KY_FileSpec& folder : folders) {
        KY_FileSpec file{nullptr};
        if (!found && KY_MakePath(&folder, p->value, &file) == 0 &&
            GetKeyFromfile(&file, 0, p->key, out, size, nullptr) == 0) {
            found = true;
            GetKeyFromfile(&file, 0, "SGN", signature, sizeof signature, nullptr);
        }
        KY_FreeFileSpec(&file);
        KY_FreeFileSpec(&folder);
    }
    (void)m;
    if (!found)
        return false;
    if (signature[0]) {
        char joined[600];
        std::snprintf(joined, sizeof joined, "%s\\%s", out, signature);
        char drive[300];
        if (!KY_PathExists(joined) && SearchDrives(SignatureRelative(signature), drive, sizeof drive))
            std::snprintf(out, size, "%.3s", drive);
    }
    return true;
}

int ResolvePath(KyMount* m, KyMountedPath* mp) {
    KyPathVar* p = mp->parsed;
    const char* value = p->value ? p->value : "";
    char text[600] = "";
    bool tested = true;
    if (m->volumePath && (p->type == kKyPathSgn || p->type == kKyPathIni)) {
        std::snprintf(text, sizeof text, "%s", m->volumePath);
        tested = false;
    } else if (p->type == kKyPathRel) {
        if (!p->root)
            MkFail(kMkErrMissing, "cpPath");
        KyMountedPath* root = static_cast<KyMountedPath*>(MkFind(m->paths, p->root));
        if (!root)
            MkFail(kMkErrUndeclared, "cpPath");
        mp->mountable = static_cast<int8_t>(mp->mountable || root->mountable);
        if (root->spec.text) {
            KY_FileSpec joined{nullptr};
            if (KY_MakePath(&root->spec, value, &joined) != 0)
                MkFail(kMkErrMemory, "cpPath");
            std::snprintf(text, sizeof text, "%s", joined.text ? joined.text : "");
            KY_FreeFileSpec(&joined);
        }
    } else if (p->type == kKyPathSgn) {
        char key[300];
        std::snprintf(key, sizeof key, "SGN:%s", value);
        if (const char* cached = CacheGet(m, key)) {
            std::snprintf(text, sizeof text, "%s", cached);
        } else if (SearchDrives(SignatureRelative(value), text, sizeof text)) {
            CacheSet(m, key, text);
        }
    } else if (p->type == kKyPathIni) {
        char key[300];
        std::snprintf(key, sizeof key, "INI:%s:%s", value, p->key ? p->key : "");
        if (const char* cached = CacheGet(m, key))
            std::snprintf(text, sizeof text, "%s", cached);
        else if (p->key && IniFolder(m, p, text, sizeof text))
            CacheSet(m, key, text);
    } else if (p->type == kKyPathDbg) {
        std::snprintf(text, sizeof text, "%s", value);
    } else {
        KY_FileSpec spec{nullptr};
        if (Predefined(m, p->name, &spec) == 0 && spec.text)
            std::snprintf(text, sizeof text, "%s", spec.text);
        KY_FreeFileSpec(&spec);
        TraceLevel(5, "Path create %s\n", text);
    }
    SetSpec(&mp->spec, text, "cpPath");
    if (p->toCreate && mp->spec.text) {
        char folder[600];
        std::snprintf(folder, sizeof folder, "%s\\", mp->spec.text);
        KY_CreateDirs(folder);
        p->toCreate = 0;  // once
    }
    mp->exists = static_cast<int8_t>(mp->spec.text && KY_PathExists(mp->spec.text));
    if (!tested)
        mp->exists = 1;
    if (!mp->exists && !mp->mountable) {
        size_t n = std::strlen(text);
        if (n > 0 && text[n - 1] == '\\')
            text[n - 1] = 0;
        KY_SetEngineErrorText(text);
        return kMkErrNoFolder;
    }
    return 0;
}

// Resolves every path variable in declaration order, then the sub-paths.
int CpPathInfo(KyMount* m) {
    KyDescriptor* d = m->desc;
    if (!d->paths)
        return 0;
    for (uint16_t i = 0; i < d->paths->count; ++i) {
        KyPathVar* p = d->paths->items[i];
        KyMountedPath* mp = static_cast<KyMountedPath*>(KY_Calloc(1, sizeof(KyMountedPath)));
        if (!mp)
            MkFail(kMkErrMemory, "cpPathes");
        mp->parsed = p;
        mp->mountable = p->mountable;
        KyMountedPath* old = static_cast<KyMountedPath*>(MkFind(m->paths, p->name));
        if (old) {
            KY_FreeFileSpec(&old->spec);
            KY_Free(old);
            KY_RemoveAssoc(m->paths, p->name);
        }
        MkEnter(&m->paths, p->name, mp, "cpPathes");
        if (int code = ResolvePath(m, mp))
            return code;
    }
    for (uint16_t i = 0; d->subpaths && i < d->subpaths->count; ++i) {
        KyPathVar* p = d->subpaths->items[i];
        if (!MkFind(m->subpaths, p->name))
            MkEnter(&m->subpaths, p->name, MkDup(p->value ? p->value : "", "cpSubPathes"), "cpSubPathes");
    }
    return 0;
}

void CopyUserString(KY_AssocEntry* e, void* mount) {
    KyMount* m = static_cast<KyMount*>(mount);
    MkEnter(&m->userStrings, e->key, MkDup(static_cast<const char*>(e->value), "CpUserStr"), "CpUserStr");
}

// Settings files are read whole lines at a time; a line this long is no setting.
const size_t kKeyLineMax = 65536;

// Reads one line, its line feed included; bytes past kKeyLineMax are read but
// not kept, and *bytes tells how many the line really has.
bool ReadKeyLine(KY_File* f, KY_String* line, long* bytes = nullptr) {
    KY_StringSet(line, "");
    int c = KY_FGetc(f);
    if (c < 0)
        return false;
    long n = 0;
    for (; c >= 0; c = KY_FGetc(f)) {
        ++n;
        if (line->length < kKeyLineMax && !StringPut(line, static_cast<char>(c)))
            return false;
        if (c == '\n')
            break;
    }
    if (bytes)
        *bytes = n;
    return true;
}

// The file's last byte, or -1 when it is empty or cannot be read.
int LastByte(const KY_OpenSpec* spec) {
    KY_File* f = KY_FOpen(spec, "rb");
    if (!f)
        return -1;
    int last = -1;
    for (int c; (c = KY_FGetc(f)) >= 0;)
        last = c;
    KY_FClose(f);
    return last;
}

bool IsTrimmed(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of a "name=value" line whose name is the key, or null.
const char* KeyValue(char* line, const char* key, size_t* length) {
    size_t n = std::strlen(key);
    if (strncasecmp(line, key, n) != 0)
        return nullptr;
    char* eq = std::strchr(line, '=');
    if (!eq)
        return nullptr;
    char* end = eq;
    while (end > line && (end[-1] == ' ' || end[-1] == '\t'))
        --end;
    if (static_cast<size_t>(end - line) != n)
        return nullptr;
    char* v = eq + 1;
    while (IsTrimmed(*v))
        ++v;
    size_t l = std::strlen(v);
    while (l > 0 && IsTrimmed(v[l - 1]))
        --l;
    *length = l;
    return v;
}

int OpenKeyFile(const KY_FileSpec* file, int crypt, KY_OpenSpec* spec) {
    KY_ClearOpenSpec(spec);
    if (KY_MakeOpenSpec(KY_GetGlobalFileSys(), file, 1, 1, 2048, 1, spec) != 0)
        return kFileErrOpen;
    KY_SetOpenSpecScrambled(crypt, spec);
    return 0;
}

}  // namespace

void MkFail(int32_t code, const char* routine) {
    char message[kEngineErrorTextSize];
    std::snprintf(message, sizeof message, "MkDoom Error no %d in %s", code, routine);
    TraceLevel(0, "%s\n", message);
    KY_SetEngineErrorText(message);
    throw MkError{code};
}

char* MkDup(const char* text, const char* routine) {
    if (!text)
        return nullptr;
    char* copy = KY_StrDup(text, "mkdoom", __LINE__);
    if (!copy)
        MkFail(kMkErrMemory, routine);
    return copy;
}

void MkEnter(KY_Assoc** table, const char* key, void* value, const char* routine) {
    if (!AssocEnter(table, key, value))
        MkFail(kMkErrMemory, routine);
}

void* MkFind(const KY_Assoc* table, const char* key) {
    return AssocValue(table, key);
}

int MkFileSpec(KyMount* m, const KyFileSettings& s, const char* name, int slot, KY_OpenSpec* out, const char* routine) {
    KY_ClearOpenSpec(out);
    if (!s.path) {
        KY_SetEngineErrorText(name);
        return kMkErrNoPathVar;
    }
    KyMountedPath* mp = static_cast<KyMountedPath*>(MkFind(m->paths, s.path->name));
    if (!mp)
        MkFail(kMkErrUndeclared, routine);
    int result = 0;
    if (mp->mountable) {
        if (!mp->exists || !mp->spec.text)
            return kMkErrVolumeAbsent;
        result = kMkErrMountable;
    }
    // Open settings come from the descriptor: a cache it cannot mean is refused.
    if (s.nbcache > 4096 || (s.nbcache > 0 && (s.sizecache <= 0 || s.sizecache > (1 << 20))))
        MkFail(kMkErrMemory, routine);
    KY_FileSpec folder{nullptr};
    KY_FileSpec file{nullptr};
    int code = KY_CopyFileSpec(&mp->spec, &folder);
    if (code == 0 && s.subpath && s.subpath->value && *s.subpath->value) {
        code = KY_MakePath(&mp->spec, s.subpath->value, &folder);
    }
    if (code == 0)
        code = KY_MakePath(&folder, name ? name : "", &file);
    if (code == 0 && slot != kSlotNone)
        code = KY_SetPathExtension(m->extensions[slot] ? m->extensions[slot] : kDefaultExtensions[slot], &file, false);
    int priority = s.priority < 0 ? 0 : s.priority > 3 ? 3 : s.priority;
    if (code == 0)
        code = KY_MakeOpenSpec(KY_GetGlobalFileSys(), &file, priority, s.nbcache > 0, s.sizecache,
                               s.nbcache > 0 ? s.nbcache : 0, out);
    if (code == 0)
        KY_SetOpenSpecScrambled(s.crypt, out);
    KY_FreeFileSpec(&folder);
    KY_FreeFileSpec(&file);
    if (code != 0)
        MkFail(kMkErrMemory, routine);
    return result;
}

void MkWithExtension(KyMount* m, const KY_OpenSpec& from, int slot, KY_OpenSpec* out, const char* routine) {
    KY_ClearOpenSpec(out);
    if (KY_CopyOpenSpec(&from, out) != 0 ||
        KY_SetPathExtension(m->extensions[slot] ? m->extensions[slot] : kDefaultExtensions[slot], &out->path, false) !=
            0)
        MkFail(kMkErrMemory, routine);
}

KyMount* KY_NewMount(const char* volumePath, const char* appFolder) {
    KyMount* m = static_cast<KyMount*>(KY_Calloc(1, sizeof(KyMount)));
    if (!m)
        return nullptr;
    m->volumePath = volumePath ? KY_StrDup(volumePath, "mkdoom", __LINE__) : nullptr;
    m->appFolder = appFolder ? KY_StrDup(appFolder, "mkdoom", __LINE__) : nullptr;
    if ((volumePath && !m->volumePath) || (appFolder && !m->appFolder)) {
        KY_FreeMount(m);
        return nullptr;
    }
    return m;
}

void KY_FreeMount(KyMount* m) {
    if (!m)
        return;
    Release(m);
    KY_Free(m->volumePath);
    KY_Free(m->appFolder);
    KY_Free(m);
}

int CpCommon(KyDescriptor* desc, KyMount* m) {
    if (!m) {
        KY_FreeDescriptor(desc);
        return kMkErrMissing;
    }
    Release(m);
    m->desc = desc;
    if (!desc)
        return kMkErrMissing;
    int code = 0;
    try {
        m->connect = desc->connect;
        if (!(m->cache = KY_NewAssoc(nullptr, 0)))
            MkFail(kMkErrMemory, "CpCommon");
        m->links = desc->links;
        code = CpPathInfo(m);
        if (code == 0) {
            for (int i = 0; i < 14; ++i)
                m->extensions[i] = MkDup(desc->extensions ? desc->extensions[i] : kDefaultExtensions[i], "CpCommon");
            CpResInfo(m);
            for (int32_t i = 0; desc->bases && i < desc->bases->count; ++i)
                CpBase(m, static_cast<KyBase*>(desc->bases->entries[i].value));
            KY_ForEachAssoc(desc->userStrings, CopyUserString, m);
        }
    } catch (const MkError& e) {
        code = e.code;
    } catch (const AError&) {
        KY_SetEngineErrorText("MkDoom Error no 110 in CpCommon");
        code = kMkErrMemory;
    }
    if (code != 0)
        Release(m);  // the descriptor goes with it
    return code;
}

void KY_ForEachBase(KyMount* m) {
    if (!m || !m->bases)
        return;
    for (int32_t i = 0; i < m->bases->count; ++i) {
        KyMountedBase* b = static_cast<KyMountedBase*>(m->bases->entries[i].value);
        if (b->hasMountable && !b->released && b->users == 0) {
            ReleaseBaseFiles(b);
            b->released = 1;
        }
    }
}

int mountBase(KyMount* m, const char* name) {
    KyBase* b = m && m->desc ? static_cast<KyBase*>(MkFind(m->desc->bases, name)) : nullptr;
    if (!b) {
        char message[kEngineErrorTextSize];
        std::snprintf(message, sizeof message, "MkDoom Error no %d in mountBase", kMkErrUndeclared);
        KY_SetEngineErrorText(message);
        return kMkErrUndeclared;
    }
    // A base in use stays as it is: mounting it again would free the files
    // and forms that its users read.
    KyMountedBase* mounted = static_cast<KyMountedBase*>(MkFind(m->bases, name));
    if (mounted && mounted->users > 0 && !mounted->released)
        return 0;
    try {
        CpBase(m, b);
    } catch (const MkError& e) {
        return e.code;
    } catch (const AError&) {
        KY_SetEngineErrorText("MkDoom Error no 110 in mountBase");
        return kMkErrMemory;
    }
    return 0;
}

void KY_ForgetVolumes(KyMount* m) {
    if (!m || !m->paths || !m->cache)
        return;
    for (int32_t i = 0; i < m->paths->count; ++i) {
        KyMountedPath* mp = static_cast<KyMountedPath*>(m->paths->entries[i].value);
        if (mp->parsed->type != kKyPathSgn || !mp->mountable)
            continue;
        char key[300];
        std::snprintf(key, sizeof key, "SGN:%s", mp->parsed->value ? mp->parsed->value : "");
        if (KY_AssocEntry* e = KY_FindAssoc(m->cache, key)) {
            KY_Free(e->value);
            KY_RemoveAssoc(m->cache, key);
        }
    }
}

const KY_FileSpec* KY_FindPathSpec(KyMount* m, const char* name) {
    KyMountedPath* mp = m ? static_cast<KyMountedPath*>(MkFind(m->paths, name)) : nullptr;
    return mp && mp->spec.text ? &mp->spec : nullptr;
}

int GetKeyFromfile(const KY_FileSpec* file, int crypt, const char* key, char* value, size_t size, long* position) {
    if (position)
        *position = -1;
    if (!key || !*key)
        return kMkErrMissing;
    KY_OpenSpec spec;
    // Reading opens lazily: a missing file would only show as an empty one.
    if (!file || !KY_FileExists(file) || OpenKeyFile(file, crypt, &spec) != 0)
        return kFileErrOpen;
    KY_File* f = KY_FOpen(&spec, "rb");
    KY_FreeOpenSpec(&spec);
    if (!f)
        return kFileErrOpen;
    KY_String line;
    KY_InitString(&line, 300, "");
    int result = kMkKeyAbsent;
    long offset = 0, bytes = 0;
    while (ReadKeyLine(f, &line, &bytes)) {
        size_t length = 0;
        if (const char* v = KeyValue(line.text, key, &length)) {
            if (length >= size) {
                result = kFileErrArg;
            } else {
                std::memcpy(value, v, length);
                value[length] = 0;
                result = 0;
                if (position)
                    *position = offset;
            }
            break;
        }
        offset += bytes;
    }
    KY_FreeString(&line);
    KY_FClose(f);
    return result;
}

int SetKeyTofile(const KY_FileSpec* file, int crypt, const char* key, const char* value) {
    if (!key || !*key || !value || std::strpbrk(value, "\r\n") || std::strpbrk(key, "=\r\n"))
        return kMkErrMissing;
    char found[8];
    long position = 0;
    int got = GetKeyFromfile(file, crypt, key, found, sizeof found, &position);
    bool present = got == 0 || got == kFileErrArg;
    KY_OpenSpec spec;
    if (OpenKeyFile(file, crypt, &spec) != 0)
        return kFileErrOpen;
    if (!present) {
        // A last line without its line break would take the new key as its own value.
        int last = LastByte(&spec);
        KY_File* f = KY_FOpen(&spec, "a+b");
        KY_FreeOpenSpec(&spec);
        if (!f)
            return kFileErrOpen;
        KY_String line;
        KY_InitString(&line, 0, "");
        KY_StringPrintf(&line, "%s%s=%s\r\n", last >= 0 && last != '\n' ? "\r\n" : "", key, value);
        long written = KY_FWrite(f, line.text, static_cast<long>(line.length));
        bool ok = written == static_cast<long>(line.length);
        KY_FreeString(&line);
        ok = KY_FClose(f) == 0 && ok;
        return ok ? 0 : kFileErrIO;
    }
    // Rewritten beside the file and renamed over it: a crash leaves the old file whole.
    KY_FileSpec temp{nullptr};
    char tempPath[MAX_PATH + 8];
    std::snprintf(tempPath, sizeof tempPath, "%s.tmp", file->text);
    KY_FullPath(tempPath, &temp);
    KY_OpenSpec tempSpec;
    KY_ClearOpenSpec(&tempSpec);
    int code = OpenKeyFile(&temp, crypt, &tempSpec);
    KY_File* in = code == 0 ? KY_FOpen(&spec, "rb") : nullptr;
    KY_File* out = in ? KY_FOpen(&tempSpec, "wb") : nullptr;
    code = in && out ? 0 : kFileErrOpen;
    KY_String line;
    KY_InitString(&line, 300, "");
    long bytes = 0;
    while (code == 0 && ReadKeyLine(in, &line, &bytes)) {
        size_t length = 0;
        // A line too long to hold is refused rather than cut: the old file stays.
        if (bytes != static_cast<long>(line.length))
            code = kFileErrIO;
        else if (KeyValue(line.text, key, &length))
            KY_StringPrintf(&line, "%s=%s\r\n", key, value);
        if (code == 0 && KY_FWrite(out, line.text, static_cast<long>(line.length)) != static_cast<long>(line.length))
            code = kFileErrIO;
    }
    KY_FreeString(&line);
    if (in)
        KY_FClose(in);
    if (out && KY_FClose(out) != 0 && code == 0)
        code = kFileErrIO;
    KY_FreeOpenSpec(&spec);
    KY_FreeOpenSpec(&tempSpec);
    KY_ReleaseAllHandles(KY_GetGlobalFileSys());
    if (code == 0 && !MoveFileExA(temp.text, file->text, MOVEFILE_REPLACE_EXISTING))
        code = kFileErrIO;
    if (code != 0 && temp.text)
        DeleteFileA(temp.text);
    KY_FreeFileSpec(&temp);
    return code;
}

int KY_GetKeyFromPathFile(const char* path, int crypt, const char* key, char* value, size_t size, long* position) {
    KY_FileSpec file{nullptr};
    if (!path || KY_FullPath(path, &file) != 0)
        return kFileErrOpen;
    int code = GetKeyFromfile(&file, crypt, key, value, size, position);
    KY_FreeFileSpec(&file);
    return code;
}

int KY_SetKeyToPathFile(const char* path, int crypt, const char* key, const char* value) {
    KY_FileSpec file{nullptr};
    if (!path || KY_FullPath(path, &file) != 0)
        return kFileErrOpen;
    int code = SetKeyTofile(&file, crypt, key, value);
    KY_FreeFileSpec(&file);
    return code;
}
