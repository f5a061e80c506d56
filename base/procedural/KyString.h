// Growable zero-terminated strings of the procedural modules, with printf-style
// formatting through one shared buffer and template expansion from the groups
// of the last regular-expression match.
//
// Every edit is one KY_StringAssign; growth is exact (KY_StringReserve gives
// slack). A failed allocation of a text block or record is fatal (raised from
// "strlib"); a bad interval is traced and answered 0. Lengths are characters.
#pragma once

#include <cstdarg>
#include <cstdint>

struct KY_String {
    char* text;          // owned block of capacity + 1 bytes; never null while initialised
    uint32_t length;     // characters in use; text[length] is the terminator
    uint32_t capacity;   // characters the block holds without the terminator
    int32_t heapOwned;   // 1: the record itself came from KY_NewString
};

// Nested start of the package: the first allocates the shared format buffer
// (wanted size, at least kKyFormatBufferMin bytes). 1 ready, 0 no memory.
int KY_StringPkgInit(uint32_t bufferSize);
// Nested end: the last frees the shared buffer.
void KY_StringPkgEnd();
const uint32_t kKyFormatBufferMin = 10240;
// Size of the shared format buffer; 0 while the package is not started.
uint32_t KY_StringBufferSize();

// A new heap-owned string; null when its text cannot be allocated. Free with KY_FreeString.
KY_String* KY_NewString(uint32_t capacity, const char* text);
// Initialises a caller-owned record: capacity max(capacity, text length). Returns 1.
int KY_InitString(KY_String* s, uint32_t capacity, const char* text);
// Frees the text (and the record when heap-owned); accepts null; returns null.
KY_String* KY_FreeString(KY_String* s);
// Grows the capacity by n characters; false (string unchanged) when the growth is refused.
bool KY_StringReserve(KY_String* s, uint32_t n);

// Replaces [a, b) of s by source[from, to); the source may lie inside s.
// 1 on success; 0 (s unchanged) on a bad interval or failed growth.
int KY_StringAssign(KY_String* s, uint32_t a, uint32_t b, const char* source, uint32_t from, uint32_t to);
int KY_StringReplace(KY_String* s, uint32_t a, uint32_t b, const char* text);
int KY_StringSet(KY_String* s, const char* text);
int KY_StringAppend(KY_String* s, const char* text);
int KY_StringSetPart(KY_String* s, const char* source, uint32_t from, uint32_t to);
int KY_StringSetFirst(KY_String* s, const char* source, uint32_t n);
int KY_StringAppendPart(KY_String* s, const char* source, uint32_t from, uint32_t to);
// End offset (a + inserted length) of the last successful KY_StringAssign.
uint32_t KY_StringLastEnd();
// Sets the length, growing the block when needed; writes no terminator. Answers the text.
char* fixStringLen(KY_String* s, uint32_t newLength);

// Formats and replaces the whole string. A result longer than the shared buffer
// grows the buffer. 1 on success, 0 on a formatting failure.
int KY_StringPrintf(KY_String* s, const char* format, ...);
int KY_StringVPrintf(KY_String* s, const char* format, va_list args);
// Rebuilds s from a template: "$$" is "$", "$d" is group d of the last match.
// Another token is traced ("Error in KY_ReplaceFormatted (Token is ...)") and skipped. Returns 1.
int KY_ReplaceFormatted(KY_String* s, const char* templ);
// Sets or appends group n of the last match (0: the whole match); 0 when absent.
int KY_StringSetRegGroup(KY_String* s, int n);
int KY_StringAppendRegGroup(KY_String* s, int n);

// Predicates of the search engine's question-field records (arrays of 32-bit words).
bool KY_FieldHasText(const intptr_t* record);
bool KY_FieldHasText2(const intptr_t* record);
bool KY_FieldIsState200(const intptr_t* record);
bool KY_FieldIsState201(const intptr_t* record);
