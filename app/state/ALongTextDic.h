// Texts under small indices: the user texts of the navigation states.
//
// Text form (each line ended by the file layer's line end):
//   N                 the entry count ("%ld")
//   N times:  K       the stored key: index + 1 ("%ld"), ascending
//             text    line feed as 0x01, carriage return as 0x02
// Owns its texts. read raises AStateFormatError on bad text (a count beyond
// the lines that follow, a key outside the 16-bit indices) and is then empty.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"

class AFileStream;

class ALongTextDic {
public:
    ALongTextDic() = default;
    ALongTextDic(const ALongTextDic&) = delete;
    ALongTextDic& operator=(const ALongTextDic&) = delete;

    // The text of index, empty when there is none.
    AString get(int16_t index) const;
    // Replaces the text of index by a copy of text.
    void set(int16_t index, const char* text);
    // Replaces every entry by a copy of other's.
    void copyFrom(const ALongTextDic& other);
    void clear() { texts.removeAll(); }
    bool has(int16_t index) const { return texts.contains(index + 1L); }
    long count() const { return texts.count(); }
    bool operator==(const ALongTextDic& other) const;

    void write(AFileStream& stream) const;
    void read(AFileStream& stream);

private:
    AStringLongDic texts;  // under index + 1
};
