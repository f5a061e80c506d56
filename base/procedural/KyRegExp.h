// Classic basic regular expressions (the editor dialect: . * [] ^ $ \( \)
// \1..\9 \{m,n\}, \{m,\} without an upper bound) with the groups of the last
// match kept process-wide.
//
// Patterns come from data files: a syntax error never ends the process. It is
// traced ("regexp error %d : %s\n"), kept (KY_RegLastError) and KY_RegComp
// answers null. Offsets are characters from the start of the subject.
//
// Patterns also come from what the reader types: without back-references a
// search costs at most (pattern states x subject length) steps, a repeated
// element counting one state per repetition it must tell apart; with them, a
// search that runs out of steps ends as too complex.
#pragma once

#include <cstdint>

const int kKyRegMaxGroups = 9;
// Error of a search with back-references that ran out of steps.
const int kKyRegTooComplex = 51;

struct KY_RegExp {
    char* source;            // the pattern text; owned when owned is 1
    unsigned char* program;  // owned compiled form
    int32_t groups;          // bracketed groups, 0 to 9
    int32_t anchored;        // 1 when the pattern begins with ^
    int32_t owned;
};

// A new compiled pattern (free with KY_RegFree); null on a syntax error or
// when memory is short (KY_RegLastError then answers 0). More than 4096
// repeated elements (* or \{ \}) is error 50: the backtracking matcher of
// back-references recurses on each.
KY_RegExp* KY_RegComp(const char* pattern);
// Frees a pattern; accepts null; answers null.
KY_RegExp* KY_RegFree(KY_RegExp* re);

// 1 when re matches subject somewhere from offset on; a null subject or an
// empty rest (offset at or past the end) never matches, not even x* or ^$;
// the whole match's [start, end) goes to the out pointers that are not null.
// -1 when the search ran out of steps (traced and kept as kKyRegTooComplex by
// KY_RegError) or of memory (KY_RegLastError then answers 0). A success makes
// this the last match; anything else forgets the last match.
int KY_RegExecAt(const char* subject, long offset, const KY_RegExp* re, long* start, long* end);
int KY_RegExec(const char* subject, const KY_RegExp* re, long* start, long* end);
// 1 and the offsets of group n of the last match (0: the whole match); 0 when
// there is no last match or n exceeds its pattern's group count.
int KY_RegGroup(int n, long* start, long* end);
// Subject of the last match (not owned: the caller's text), null without one.
const char* KY_RegLastSubject();

// Traces "regexp error %d : %s\n" at level 0 and keeps the number.
void KY_RegError(int number);
// Number of the last syntax error (0 after a successful compile), or
// kKyRegTooComplex after a search that ran out of steps.
int KY_RegLastError();
// Text of an error number ("Unregistered error" for an unknown one).
const char* KY_RegErrorText(int number);
