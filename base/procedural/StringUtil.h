// In-place edits of C strings by character set, file extensions, and hex digits.
#pragma once

#include <cstddef>

// Removes every character of the set.
void RemoveChars(char* s, const char* set);
// Keeps the first character of every run of set characters.
void CollapseChars(char* s, const char* set);
// Removes set characters from both ends.
void TrimChars(char* s, const char* set);
// Replaces every pattern occurrence, left to right; answers the count. 0 and
// no change when an argument is null or the replacement is longer than the pattern.
int ReplaceSubstring(char* s, const char* pattern, const char* replacement);
// Replaces, removes or appends the extension; name must have room for
// strlen(name) + strlen(extension) + 2 bytes. A ";1" version suffix is kept;
// an empty extension adds nothing to a name without one.
void SetFileExtension(char* name, const char* extension, bool append);
// The value of a hex digit of either case, or -1.
int HexDigit(char c);
