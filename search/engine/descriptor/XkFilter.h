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
// Value of a description keyword (names compared without regard to case:
// TABLE -8 ... CASE -19, as the compiler reads them); 0 for another token.
int EXK_KeywordValue(const char* token);
// A byte of one character set in another (ISO -5, MAC -6, PC -7, the
// keywords' values): its code, the byte itself below 0x80 or for equal sets,
// -1 when the target set lacks the character or a set is unknown.
int EXK_ConvertChar(int from, int to, int byte);
// Installs EXK_CompileFilter as the procedural layer's filter compiler, so
// that AFilter can load description files; the engine's set-up calls it.
void EXK_InstallCompiler();
// Writes a filter in the compiled ".flt" layout that KY_FilterLoad reads
// (header, base table, pages in prefix order, prefix flags), through a
// temporary sibling renamed over the file. The association table is not part
// of that layout. 0; 2001 when the file cannot be written; 110 for a null filter.
int EXK_WriteFilter(const KY_Filter* f, const char* path);
