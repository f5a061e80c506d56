// Word-match ranking: how well a word typed by the reader matches a text cut
// into pieces by four marker strings; list rows are ordered by the grade.
#pragma once

#include "base/object/AString.h"

class AFilter;

// The word separators: blank, no-break space . ; , : ' ! [ ] ( ) -; the trim
// set is its first eight.
extern const char kWordSeparators[];

// A copy of text with the Windows-1252 ligatures spelled out: 0xE6 "ae",
// 0xC6 "AE", 0x9C "oe", 0x8C "OE".
AString ExpandLigatures(const char* text);
// Grade 1 (best) to 7 (not found) of word in text whose pieces open with the
// markers a, b, c, d; the text is read as opening with a c piece. filter, when
// not null, is applied to the text and the markers.
int KyTextMatch(const char* word, const char* text, const AFilter* filter, const char* a, const char* b, const char* c,
                const char* d);
// Offset of the first whole-word occurrence of word in text, or -1.
long FindWord(const char* word, const char* text, const char* separators);
// 1 when word's first whole-word occurrence lies between open and close.
int IsWordInside(const char* word, const char* text, char open, char close, const char* separators);

// Fills markers with the application's four markers A, B, C and D (texts that
// stay valid until the hook is called again).
using TextMatchMarkersHook = void (*)(const char* markers[4]);
// The application installs its markers' reader; null takes it away.
void SetTextMatchMarkersHook(TextMatchMarkersHook hook);
// KyTextMatch with the application's markers, read at each call; empty
// markers while no hook is installed.
int KyBasicTextMatch(const char* word, const char* text, const AFilter* filter);
