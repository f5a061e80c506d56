// A table of texts under 32-bit keys, in ascending key order, with a line
// text form:
//   N        the entry count ("%d" of a 16-bit count)
//   N times: K (the key, "%ld") then the text (line breaks escaped as 0x01/0x02)
// Owns its texts. read raises AStateFormatError on bad text (a count beyond
// the lines that follow or out of the 16-bit range) and then adds nothing.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"

class AFileStream;

class AStringContainer {
public:
    AStringContainer() = default;
    AStringContainer(const AStringContainer&) = delete;
    AStringContainer& operator=(const AStringContainer&) = delete;

    // Stores a copy of text under key (-1: the first key from 0 that no entry
    // uses) and answers the key; -1, storing nothing, when the key is taken.
    long add(const char* text, long key);
    // The text of key, empty when there is none.
    AString get(long key) const { return texts.getString(key); }
    void clear() { texts.removeAll(); }
    long count() const { return texts.count(); }
    long lastKey() const { return last; }
    int16_t isWritten() const { return written; }
    // Calls fn (key, text) for each entry in ascending key order.
    template <class F>
    void forEach(F fn) const {
        for (Pix p = texts.first(); p; texts.next(p))
            fn(texts.keyOf(p), static_cast<const AString*>(texts.contentsOf(p))->c_str());
    }

    void write(AFileStream& stream);
    // Adds each entry read under its key.
    void read(AFileStream& stream);

private:
    AStringLongDic texts;
    long last = -1;
    int16_t written = 0;
};
