// Mounting of bases: turns a parsed descriptor into the mounted set the
// engine searches (path variables resolved, every file given its full
// specification and open settings), and the key=value settings-file routines.
//
// Every record is owned by the mount (KY_FreeMount frees it with the parsed
// descriptor). Failures answer a code with a text in KY_EngineErrorText
// ("MkDoom Error no %d in %s" for the mounting's own faults).
#pragma once

#include <cstdint>

#include "base/procedural/KyFile.h"

struct KY_Assoc;
struct KyDescriptor;
struct KyPathVar;
struct KySupport;

enum : int32_t {
    kMkErrMemory = 110,
    kMkErrMissing = 1301,
    kMkErrUndeclared = 1302,
    kMkErrNoLexicon = 1311,
    kMkErrNoPathVar = 1325,     // a file without a path variable
    kMkErrVolumeAbsent = 1329,  // the file lies on a mountable volume that is absent
    kMkErrMountable = 1330,     // the file lies on a mountable volume that is present
    kMkErrNoFolder = 2013,      // a path variable resolves to no existing folder
    kMkKeyAbsent = -1,
};

struct KyMountedPath {
    KyPathVar* parsed;  // not owned
    KY_FileSpec spec;   // empty when unresolved
    int8_t exists;
    int8_t mountable;
};

struct KyMountedFilter {
    KY_OpenSpec file;
};

struct KyMountedThes {
    KY_OpenSpec file;
    KyMountedFilter* flt;  // not owned
};

struct KyMountedLex {
    KY_OpenSpec abp;
    KyMountedFilter* filterKey;  // not owned
    KY_OpenSpec fltKey;          // the file of the fltkey filter's "win" variant
    KY_OpenSpec hdg[3];          // catalogue, data, companion
};

// A data file on one support.
struct KyMountedData {
    int8_t present;
    int8_t nodb;
    KY_OpenSpec catalogue;
    KY_OpenSpec data;
    KY_OpenSpec companion;
    int32_t compression;
    int32_t medium;
    int32_t access;
    int32_t adjust;
    int32_t clean;
    int8_t tabcor;
    KyMountedFilter* filter;  // not owned
};

struct KyMountedIndex {
    struct KyMountedBase* base;  // not owned
    int32_t type;
    int32_t searched;
    KY_OpenSpec* files;  // one per searched support
};

struct KyMountedField {
    int32_t bloc;
    int32_t opdef;
    int32_t direct;  // index number in the form, -1 none
    int32_t indirect;
    KyMountedLex* lexdir;  // not owned
    KyMountedLex* lexind;
    char directPrefix;
    char indirectPrefix;
    int32_t minkey;
    int32_t poids;
    int8_t thes, prox, date, norecup, noscore, nosearch;
};

struct KyMountedForm {
    struct KyMountedBase* base;  // not owned
    KyMountedThes* thes;         // not owned
    KY_OpenSpec stp;
    KyMountedFilter* stpflt;
    KyMountedFilter* keyflt;
    char* op;
    char* proxop;
    char* dateop;
    uint16_t fieldCount;
    int32_t netlim;
    KyMountedField* fields;
    KyMountedIndex** indexes;  // not owned; the indexes the form uses, by number
    uint16_t indexCount;
    uint16_t indexSum;
};

struct KyMountedConnect {
    char* server;
    char* script;
    char* user;     // "ky"
    char* options;  // "edel=1"
};

struct KyMountedSupport {
    int32_t first;
    int32_t end;
    int32_t where;
    KyMountedFilter* reqFilter;  // not owned
    KyMountedConnect* connect;
};

struct KyMountedBase {
    char name[100];
    char* hdg;
    char* docDb;
    uint8_t supports;
    uint8_t searched;
    int16_t order;
    int16_t consOrder;
    KY_Assoc* data;    // name -> KyMountedData[supports]
    char** dataNames;  // declaration order
    int32_t dataCount;
    KY_Assoc* indexes;  // name -> KyMountedIndex*
    KY_Assoc* forms;    // name -> KyMountedForm*
    KyMountedForm* mapping;
    KyMountedSupport* supportArray;
    int8_t hasMountable;
    int8_t released;
    // Open engine uses (KY_OpenMountedBase): their tables and requests hold the
    // base's files and forms, so the base is neither released nor mounted
    // again while any is open.
    int32_t users;
};

struct KyMount {
    int8_t connect;
    KY_Assoc* cache;     // lookup key -> owned resolved path text
    KY_Assoc* links;     // the descriptor's links (KyLink*, not owned)
    KY_Assoc* paths;     // name -> KyMountedPath*
    KY_Assoc* subpaths;  // name -> owned text
    char* extensions[14];
    KY_Assoc* filters;  // KyMountedFilter*
    KY_Assoc* flts;
    KY_Assoc* thes;         // KyMountedThes*
    KY_Assoc* stps;         // KY_OpenSpec*
    KY_Assoc* lexs;         // KyMountedLex*
    KY_Assoc* files;        // KY_OpenSpec*: the files registered by key, empty on an absent volume
    KY_Assoc* bases;        // KyMountedBase*
    KY_Assoc* userStrings;  // owned texts
    KyDescriptor* desc;     // owned
    char* volumePath;       // overrides SGN and INI paths, or null
    char* appFolder;        // replaces _APPLIPATH_, or null
};

// A new empty mount record (free with KY_FreeMount), null when memory is short.
KyMount* KY_NewMount(const char* volumePath, const char* appFolder);
// Mounts the parsed descriptor, which the mount then owns. 0; 2013 when a path
// variable cannot be resolved (the mount is emptied first); another code when
// the descriptor cannot be mounted.
int CpCommon(KyDescriptor* desc, KyMount* mount);
// Frees the mounted set and the parsed descriptor; null is ignored.
void KY_FreeMount(KyMount* mount);
// Releases every base with a mountable volume that is not released yet and
// that no engine use holds.
void KY_ForEachBase(KyMount* mount);
// Mounts one base of the descriptor again; 1302 for an unknown name. A base
// that is mounted and held by an engine use is left as it is.
int mountBase(KyMount* mount, const char* name);
// Makes the next resolution of every mountable SGN path search the drives again.
void KY_ForgetVolumes(KyMount* mount);
// The resolved folder of a path variable, or null.
const KY_FileSpec* KY_FindPathSpec(KyMount* mount, const char* name);

// Key files: lines "name=value". 0 when found (value copied, position of its
// line), -1 when absent (position -1), 2001 when the file cannot be opened,
// 2006 when the value does not fit size bytes; 1301 for a null or empty key.
int GetKeyFromfile(const KY_FileSpec* file, int crypt, const char* key, char* value, size_t size, long* position);
// Appends "key=value\r\n" when the key is absent; otherwise rewrites the file
// through a temporary sibling renamed over it, replacing each line whose name
// is the key; every other line is kept byte for byte, and a line longer than
// 64 KiB fails the rewrite (2012) rather than be cut. 0, 2001, 2012; 1301 for
// a null or empty key or a value with a line break.
int SetKeyTofile(const KY_FileSpec* file, int crypt, const char* key, const char* value);
int KY_GetKeyFromPathFile(const char* path, int crypt, const char* key, char* value, size_t size, long* position);
int KY_SetKeyToPathFile(const char* path, int crypt, const char* key, const char* value);
