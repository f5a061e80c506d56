// Looking up an exported procedure by name, optionally with the name folded to upper case.
#pragma once

// module is an HMODULE. With fold set, the name is upper-cased (ASCII letters
// only) first. Null for a null module or name, a name of 256 characters or
// more, or an absent export.
void* KY_GetProcAddress(void* module, const char* name, int fold);
// A system DLL by full path from the system folder (the current folder may be
// a shared network folder): an HMODULE, or null.
void* KY_LoadSystemLibrary(const char* name);
// The export `name` of the system DLL `dll`, loaded at this first call and kept
// for the process's life, so that the start does not pay for a DLL only some
// commands use. Null when either is missing.
void* KY_SystemProc(const char* dll, const char* name);
