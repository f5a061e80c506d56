// String functions on NUL-terminated strings used by the style sheets, the
// search engine and the application. Each writer takes the capacity of its
// output and never writes past it.
#pragma once

// Cuts s in place at every run of separator bytes; pieces[] receives the start
// of each non-empty piece and a null after the last. At most capacity - 1
// pieces are stored (capacity counts the null); the rest stays in the last piece.
int splitAtChars(char* s, const char* separators, char** pieces, int capacity);
// Replaces every oldChar by newChar; answers s (null and empty as they are).
char* replaceChar(char* s, char oldChar, char newChar);
// Records in positions[] the offsets before and after each occurrence in text
// of a token of tokenList (cut in place at the separators; the first token in
// list order that matches wins), an offset equal to the last recorded one not
// repeated, then -1. Stores at most capacity entries, the -1 included;
// answers the count of offsets stored.
int findTokenBoundaries(const char* text, char* tokenList, long* positions, int capacity, const char* tokenSeparators);
// Copies the common prefix of a and b into buffer (NUL-terminated); answers its length.
int commonPrefix(const char* a, const char* b, char* buffer);
// Copies into destination the part of a after its common prefix with b.
void copyAfterCommonPrefix(char* destination, const char* a, const char* b);
// When a and b start with the same byte, ends b one byte after its common prefix with a.
void cutAfterCommonPrefix(const char* a, char* b);
// Index of the first entry of a null-terminated list equal to s ignoring
// (ASCII) case; -1 when none.
int findStringInList(const char* const* list, const char* s);
// With '?' or '*' in pattern: copies what comes before the first of them into
// buffer, stores its length, answers 1. Otherwise copies the whole pattern,
// stores 0, answers 0.
int wildcardPrefix(const char* pattern, char* buffer, int* length);
// n == 0: strcmp; otherwise strncmp over n bytes.
int compareStrings(const char* a, const char* b, int n);
// 1 when text matches pattern ('*' any rest, '?' any one byte); 0 when it does
// not; -1 when text sorts after every text that matches, so that a walk over
// ascending keys can stop.
int wildcardMatch(const char* text, const char* pattern);
