// What the file layer's modules share: the system calls in use and the error
// slot of a file's context.
#pragma once

#include "base/procedural/KyFile.h"

// The calls every handle operation goes through; KY_FileSystemCalls hands them out.
extern KY_SystemFileCalls g_sys;
// Puts code into the lastError of the file's context.
void SetError(KY_File* f, long code);
// getc and putc go through a buffer of the file (other operations settle it
// first), so that a byte costs no system call. The state bit marks a file
// whose buffer holds bytes read ahead or waiting to be written.
enum : uint16_t { kStateBuffering = 0x4000 };
// Bytes of the buffer a file allocates (4096); 0 or 1 makes every getc and
// putc a system transfer of its own, as the tests' reference.
extern int32_t KY_FileBufferSize;
// Puts the handle at the caller's position: drops what getc read ahead and
// writes what putc left waiting. 0, or -1 with lastError set.
int KY_FileSettle(KY_File* f);
// Frees the file's buffer (settled before): at its final close.
void KY_FileDropBuffer(KY_File* f);
