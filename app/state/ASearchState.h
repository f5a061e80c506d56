// The record of one search as the history keeps it: texts under small keys
// (the query as typed, the query as shown, ...) and one 16-bit value whose
// meaning is the subclass's. Reference counted.
//
// Text form (each line ended by the file layer's line end):
//   N                 the text count ("%d")
//   N times:  K       the stored key: key * 65536 ("%ld"), ascending
//             text    line feed as 0x01, carriage return as 0x02
//   V                 the value ("%d")
// read raises AStateFormatError on bad text (a count beyond the lines that
// follow, a key that is no stored key) and leaves no text.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AFileStream;

class ASearchState : public ARefObj {
public:
    ASearchState() = default;

    // Replaces the text of key by a copy of text.
    void setText(int16_t key, const char* text);
    // The text of key, empty when there is none.
    AString getText(int16_t key) const;
    long textCount() const { return texts.count(); }
    int16_t getValue() const { return value; }
    void setValue(int16_t v) { value = v; }
    // 1 once the state has been written.
    int16_t isSaved() const { return saved; }

    void write(AFileStream& stream);
    // Adds the texts read and sets the value.
    void read(AFileStream& stream);

    static long storedKey(int16_t key) { return static_cast<long>(key) * 65536L; }

private:
    void readInto(AFileStream& stream, AStringLongDic& read);

    AStringLongDic texts;  // under storedKey
    int16_t value = 0;
    int16_t saved = 0;
};
