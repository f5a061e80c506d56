// The process-wide stop-word list of the search engine: one word a line in a
// text file, normalised through a character table, looked up as whole lines.
//
// Files are read with the system's simple file calls (_lopen, _lread). Sizes
// are 32-bit; an over-long line (127 characters or more with its line end) is
// traced and skipped; a last line without a line end is loaded.
#pragma once

#include <windows.h>

// Flag of KY_ReadLine: lines end at carriage returns.
const int kKyLineEndsAtCR = 1;

// Loads the list (replacing any loaded one), each word normalised with table
// (KY_FilterChars; null: unchanged). 1 loaded; 105 when the file cannot be
// opened (path in KY_EngineErrorText); 110 when memory is short (text emptied).
int KY_LoadStopWordFile(const char* path, const unsigned char* table);
// 1 when the normalised word is a line of the list; 0 otherwise or without a list.
int KY_FindStopWord(const char* word, const unsigned char* table);
// KY_FindStopWord with the engine's stop-word table.
int KY_FindStopWordDefault(const char* word);
void KY_FreeStopWords();

// Length of an open file; its position is left where it was. -1 on failure.
long KY_FileLength(HFILE file);
// Reads the next line into buffer (at most size - 1 bytes, terminated) and
// leaves the file just after its line end. Answers its length with the line
// end; a block without a line end (the last line, or the start of an
// over-long one) is answered whole. -1 at the end of the file or on error.
// Once a block holds a carriage return but no line feed, *flags gets
// kKyLineEndsAtCR and lines end at carriage returns.
int KY_ReadLine(char* buffer, int size, HFILE file, int* flags);
