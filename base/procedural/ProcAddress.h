// Looking up an exported procedure by name, optionally with the name folded to upper case.
#pragma once

// module is an HMODULE. With fold set, the name is upper-cased (ASCII letters
// only) first. Null for a null module or name, a name of 256 characters or
// more, or an absent export.
void* KY_GetProcAddress(void* module, const char* name, int fold);
