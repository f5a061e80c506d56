// Entry-point lookup by name, optionally folded to upper case first.
#pragma once

// module: an HMODULE. With fold set, ASCII letters of the name are upper-cased
// before the lookup; such names are at most 255 characters (longer: null).
// Null when the entry is missing.
void* KY_GetProcAddress(void* module, const char* name, int fold);
