// Appending one character to a procedural string with room made ahead: the
// string layer grows exactly, so a character at a time would copy the text
// again for every character read.
#pragma once

#include "base/procedural/KyString.h"

// Appends c, first growing s by its length or by step, the larger, when it is
// full; false when the growth is refused (s unchanged).
inline bool StringPut(KY_String* s, char c, uint32_t step = 256) {
    if (s->length >= s->capacity && !KY_StringReserve(s, s->length > step ? s->length : step))
        return false;
    char* text = fixStringLen(s, s->length + 1);
    text[s->length - 1] = c;
    text[s->length] = 0;
    return true;
}
