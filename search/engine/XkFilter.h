// The filter package of the search engine: its nested start and end, the work
// string that filtering uses for texts it must copy first, and the compiler of
// filter description files.
#pragma once

#include <cstdint>

struct KY_Filter;
struct KY_OpenSpec;
struct KY_String;

// Nested start: the first creates the work string; non-zero when ready, 0 when
// it cannot be made (the start is then undone).
int EXK_PkgInit();
// Nested end: the last frees the work string.
void EXK_PkgEnd();
// The package's work string (not owned); null while the package is not started.
KY_String* EXK_WorkString();

// Compiles a filter description file into a new filter (one reference, freed
// with KY_FilterRelease). Errors in the description are traced with
// "File %s; Line %d\n" and the line skipped; null only when the package
// cannot start, the file cannot be read or memory is short.
KY_Filter* EXK_CompileFilter(const KY_OpenSpec* spec);
// Page 0 is the base table; a prefix byte's page, or null.
int16_t* EXK_FilterPage(KY_Filter* f, int page);
// The compiled filters' invalid-character report.
void EXK_InvalidCharWarning(const char* text, int length, int code);
