// Compiled character filters: byte-to-code tables, with optional prefix pages
// for two-byte characters, loaded from ".flt" files and reference-counted.
//
// Output codes: 0..255 one byte; 256 and above two bytes (high, low); -1 the
// character is dropped; -3 it is invalid. Loading answers null for a file or
// block that is not a sound compiled filter; it never reads outside its block.
#pragma once

#include <cstddef>
#include <cstdint>

struct KY_Filter;
struct KY_OpenSpec;
struct KY_RegExp;
struct KY_String;
struct SgmlEntityTable;

const int16_t kKyFilterDrop = -1;
const int16_t kKyFilterInvalid = -3;

struct KY_Filter {
    int16_t version;
    uint16_t references;
    int16_t pageCount;
    int16_t first;                    // prefix range first..last; empty when last < first
    int16_t last;
    void (*release)(KY_Filter* f);    // called just before the filter is freed, or null
    // Called for a rejected byte or sequence with (text consumed so far, its length, code), or null.
    void (*invalidChar)(const char* text, int length, int code);
    SgmlEntityTable* entityTable;     // not owned (the release function frees it)
    KY_RegExp* entityPattern;         // not owned (the release function frees it)
    int16_t entityStart;
    int16_t entityEnd;
    int16_t base[256];
    int16_t** pageOf;                 // last - first + 1 entries inside the filter's block, or null
    int16_t* pages;                   // pageCount x 256 codes inside the filter's block
};

// Reads a compiled ".flt" file whole (file layer, "rb"); the new filter (one
// reference) or null.
KY_Filter* KY_FilterLoad(const KY_OpenSpec* spec);
// The whole content of a filter or filter description file, followed by a
// zero byte; the caller frees it with KY_Free. Null when it cannot be read.
unsigned char* KY_FilterReadFile(const KY_OpenSpec* spec, size_t* size);
// Parses size bytes of a compiled filter; null for a null or short block, a
// version above 1, counts or flags pointing outside the block, or no memory.
KY_Filter* KY_FilterParse(const void* block, size_t size);
// Pages a filter may hold: one for each byte that can be a prefix.
const int kKyFilterMaxPages = 256;
// A new zero-filled filter (one reference) with room for its pages; pageOf
// all null for the caller to fill. Null when memory is short.
KY_Filter* KY_FilterNew(int pageCount, int first, int last);
// A filter mapping each byte b to table[b] (to b for a null table); no prefixes.
KY_Filter* KY_FilterNewIdentity(const unsigned char* table);
// 0; 110 for a null filter or a count at its limit.
int KY_FilterAddRef(KY_Filter* f);
// Drops a reference; the last calls the release function and frees. 0; 110 for null.
int KY_FilterRelease(KY_Filter* f);
// The 256 base codes, or null.
const int16_t* KY_FilterTable(const KY_Filter* f);
// Code of a byte after a preceding prefix (-1 when that prefix has no page);
// a null filter answers the code.
int KY_FilterMapChar(int code, int prefix, const KY_Filter* f);
// Maps a zero-terminated text in place; answers its new length.
long KY_FilterMapString(char* text, const KY_Filter* f);
// The two pass-through queries of a filter: always no.
int KY_FilterNoOp(const KY_Filter* f);
// Maps text (length 0: up to its terminator) into out; answers out's length,
// 0 when the filter package cannot start.
long EXK_FilterString(KY_String* out, const char* text, long length, const KY_Filter* f);

// The filter package: nested start (the first creates the work string;
// non-zero when ready, 0 when it cannot be made) and end (the last frees it).
int EXK_PkgInit();
void EXK_PkgEnd();
// The package's work string (not owned); null while the package is not started.
KY_String* EXK_WorkString();
// Page 0 is the base table; a prefix byte's page, or null.
int16_t* EXK_FilterPage(KY_Filter* f, int page);
// The compiled filters' invalid-character report.
void EXK_InvalidCharWarning(const char* text, int length, int code);

// The compiler of filter description files belongs to the search engine,
// which installs it here; until then KY_CompileFilter answers null.
typedef KY_Filter* (*KY_FilterCompiler)(const KY_OpenSpec* spec);
void KY_SetFilterCompiler(KY_FilterCompiler compiler);
// A new filter (one reference) from a description file, or null.
KY_Filter* KY_CompileFilter(const KY_OpenSpec* spec);
