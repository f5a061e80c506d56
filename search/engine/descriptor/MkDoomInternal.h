// What the mounting modules share: raising their errors, owned copies and the
// file specification of a resource or base file.
#pragma once

#include <cstdint>

#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"

struct MkError {
    int32_t code;
};

// Raises "MkDoom Error no %d in %s".
[[noreturn]] void MkFail(int32_t code, const char* routine);
char* MkDup(const char* text, const char* routine);
void MkEnter(KY_Assoc** table, const char* key, void* value, const char* routine);
void* MkFind(const KY_Assoc* table, const char* key);

// Extension slots of the kinds of files.
enum : int {
    kSlotAbp = 0,
    kSlotData = 1,     // 1-3: data, catalogue, companion
    kSlotHeading = 4,  // 4-6
    kSlotLexicon = 7,  // 7-9
    kSlotFlt = 10,
    kSlotFilter = 11,
    kSlotStp = 12,
    kSlotNone = -1,  // the name keeps its own extension
};

// The full specification and open settings of a file: 0, 1325 (no path
// variable, the name in KY_EngineErrorText), 1329 (volume absent, out left
// empty) or 1330 (built, on a mountable volume).
int MkFileSpec(KyMount* m, const KyFileSettings& s, const char* name, int slot, KY_OpenSpec* out, const char* routine);
// The same specification with another slot's extension.
void MkWithExtension(KyMount* m, const KY_OpenSpec& from, int slot, KY_OpenSpec* out, const char* routine);

// Resources and bases (MkDoomBases.cpp).
void CpResInfo(KyMount* m);
// Mounts one parsed base into its mounted record (made when absent).
void CpBase(KyMount* m, KyBase* b);
void ReleaseBaseFiles(KyMountedBase* b);
void FreeMountedBase(KyMountedBase* b);
void FreeResources(KyMount* m);
