// What the file layer's modules share: the system calls in use and the error
// slot of a file's context.
#pragma once

#include "base/procedural/KyFile.h"

// The calls every handle operation goes through; KY_FileSystemCalls hands them out.
extern KY_SystemFileCalls g_sys;
// Puts code into the lastError of the file's context.
void SetError(KY_File* f, long code);
