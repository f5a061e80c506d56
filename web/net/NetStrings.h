// Small string helpers of the network code: concatenation in front of a
// string, and the wiping of texts that held credentials.
#pragma once

#include <cstddef>

#include "base/object/AString.h"

// The C text (null: nothing) followed by the string, in a new string.
AString operator+(const char* text, const AString& string);

// Overwrites the string's text with zeros when this string is its only
// holder, then empties it; a body shared with other strings is left to them.
void WipeString(AString& string);

// Zeros size bytes in a way the compiler keeps.
void WipeBytes(void* bytes, size_t size);

// True when the first 7 characters are "http://", in any case.
bool HasHttpScheme(const char* text);
