// The compiler of filter description files. The filter package it runs in
// (start and end, work string, pages) is the procedural layer's (KyFilter.h).
#pragma once

struct KY_Filter;
struct KY_OpenSpec;

// Compiles a filter description file into a new filter (one reference, freed
// with KY_FilterRelease). Errors in the description are traced with
// "File %s; Line %d\n" and the line skipped; null only when the package
// cannot start, the file cannot be read or memory is short.
KY_Filter* EXK_CompileFilter(const KY_OpenSpec* spec);
// Installs EXK_CompileFilter as the procedural layer's filter compiler, so
// that AFilter can load description files; the engine's set-up calls it.
void EXK_InstallCompiler();
// Writes a filter in the compiled ".flt" layout that KY_FilterLoad reads
// (header, base table, pages in prefix order, prefix flags), through a
// temporary sibling renamed over the file. The association table is not part
// of that layout. 0; 2001 when the file cannot be written; 110 for a null filter.
int EXK_WriteFilter(const KY_Filter* f, const char* path);
