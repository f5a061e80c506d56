// Paths of the procedural layer: path handles, joining and cutting, drives,
// folder chains, the current folder and the shell's special folders.
//
// Paths are 8-bit texts in the Windows code page with "\\" separators. A
// normalised path has "/" turned into "\\", doubled separators collapsed (after
// a leading "\\\\") and one trailing separator removed ("C:\\" is held as "C:").
// Results are the file layer's codes (KyFile.h) unless a boolean is stated.
#pragma once

#include "base/procedural/KyFile.h"

#include <cstdint>

enum : int {
    kPathErrFolder = 106,  // a folder of a chain cannot be created (or removed, in AFileSpec)
};

// Path handles. The text of a handle is freed by KY_FreeFileSpec.
int KY_NewFileSpec(KY_FileSpec* spec);
int KY_FreeFileSpec(KY_FileSpec* spec);
// Duplicates the text; a null source clears the target.
int KY_CopyFileSpec(const KY_FileSpec* from, KY_FileSpec* to);
// An absolute, normalised path; 2009 for a null or empty name.
int KY_FullPath(const char* name, KY_FileSpec* spec);
// The folder joined with the name; without a name a copy of the folder,
// without a folder text the full path of the name.
int KY_MakePath(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec);
// KY_MakePath for names read from files (descriptors, articles, reader
// files): 2009, spec untouched, for a null name, one that could leave the
// folder (KY_NameStaysInside) or no folder text to hold it.
int KY_MakePathInside(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec);
// False for a name that is absolute ("\\" or "/" first), holds a colon (a
// drive, a stream), climbs above its folder with ".." or has another part of
// dots and blanks only (Windows may trim one into "..").
bool KY_NameStaysInside(const char* name);
// The folder holding the path; a bare server root or "X:" is its own parent.
int KY_GetParentDir(const KY_FileSpec* spec, KY_FileSpec* parent);
// The text after the last separator ("" for a server root or a path without
// one) into buffer of size bytes; 2006 when it does not fit (buffer emptied).
int KY_GetFileName(const KY_FileSpec* spec, char* buffer, size_t size);
// Sets or appends the extension (a leading dot is ignored).
int KY_SetPathExtension(const char* extension, KY_FileSpec* spec, bool keepOld);
bool KY_FileExists(const KY_FileSpec* spec);
// What a handle to an existing path tells: a file is the same file wherever
// volume and index agree, whatever names lead to it (8.3 names, hard links).
struct KY_FileIdentity {
    uint32_t volume;
    uint32_t indexHigh;
    uint32_t indexLow;
    uint32_t attributes;  // FILE_ATTRIBUTE_* of what the handle opened
};
// false when the path cannot be opened. With ownLink set the handle is asked
// for a link itself rather than its target (Wine 8 opens the target anyway).
bool KY_GetFileIdentity(const char* path, bool ownLink, KY_FileIdentity* identity);
// Whether the two paths name one file: by identity when both can be opened,
// else by their long full paths, ignoring case.
bool KY_SameFile(const KY_FileSpec* a, const KY_FileSpec* b);
// 0 when the file is missing, deleted or in use; else errno + 0x10000.
int KY_DeleteFile(const KY_FileSpec* spec);
bool KY_IsServerRoot(const char* text);
void KY_NormalizePath(char* text);
int KY_GetTempDir(KY_FileSpec* spec);
// A new, unique, empty file in folder; prefix of at most two characters ("KY" when null).
int KY_MakeTempName(const char* prefix, const KY_FileSpec* folder, KY_FileSpec* spec);
int KY_GetCurrentDir(KY_FileSpec* spec);
// The current folder, under the names the special-folder classes use.
int KY_GetProgramDir(KY_FileSpec* spec);
int KY_GetStartDir(KY_FileSpec* spec);
int KY_GetAppTempDir(KY_FileSpec* spec);
// "Personal" under the user's "Shell Folders" key; -1 when missing.
int KY_GetPersonalDir(KY_FileSpec* spec);
int KY_GetLocalAppDataDir(KY_FileSpec* spec);
int KY_GetCommonAppDataDir(KY_FileSpec* spec);
int KY_GetWindowsDir(KY_FileSpec* spec);

// Folder chains, drives and the current folder.
// Creates every missing folder of path (components ending at a separator);
// 106 with KY_LastFailedDir() set when one cannot be made.
int KY_CreateDirs(const char* path);
const char* KY_LastFailedDir();
int KY_MakeDirPath(const char* path, KY_FileSpec* spec);
int KY_NewDirSpec(const char* path, KY_FileSpec* spec);
int KY_JoinPath(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec);
// KY_JoinPath for names read from files: 2009, nothing made, for a name that
// could leave the folder (KY_NameStaysInside) or no folder text.
int KY_JoinPathInside(const KY_FileSpec* folder, const char* name, KY_FileSpec* spec);
// Copies the path into buffer of size bytes: false for a null handle or when
// it does not fit; true, buffer untouched, for an empty handle.
bool KY_FileSpecText(const KY_FileSpec* spec, char* buffer, size_t size);
// A new KY_Malloc text holding the current folder; the caller frees it. Null on failure.
char* KY_GetCwd();
// Makes text the current folder and frees it (takes ownership). 0 or errno + 0x10000.
int KY_ChDir(char* text);
bool KY_PathExists(const char* text);
bool KY_IsWritable(const char* text);
// Drive n (0 for A): 1 removable, 2 fixed, 3 remote, 4 CD-ROM, 6 RAM disk, else 0.
int KY_DriveKind(int n);
// A drive (0 for A) whose root holds the relative path: the current drive, or
// one numbered first..last; -1 when none.
int KY_FindDriveWith(const char* relative, int first, int last);

// Special folders, numbered as the shell numbers them (CSIDL values).
int SHF_GetFolderPath(KY_FileSpec* spec, int number);
int SHF_GetLocalAppData(KY_FileSpec* spec);
int SHF_GetCommonAppData(KY_FileSpec* spec);
int SHF_GetWindowsDir(KY_FileSpec* spec);
// SHGetFolderPathA from the system folder's SHELL32.DLL, else the registry. 0 or a failure code.
long SHF_LoadGetFolderPath(int platform, int number, char* buffer, size_t size);
// The "Shell Folders" value of the number: 0 or the system's error (E_FAIL without a name).
long SHF_FolderFromRegistry(int platform, int number, char* buffer, size_t size);
