// A reader over a range of a file, read through its own open stream.
//
// While locked, a walk from the start to the end reads the file once,
// sequentially; unlocked, every read positions the file again. A read that
// fails answers 0 (charAt) or an empty string (getText). Opening failures
// raise AFileSpecError (recoverable).
#pragma once

#include "base/object/AFileStream.h"
#include "docengine/text/AReader.h"

class AStreamReader : public AReader {
public:
    // Reads bytes [first, end) of the file; first == end means the whole file.
    AStreamReader(const AFilteredFile& file, long first, long end);

    char charAt(long index) override;
    AString getText(long start, long count) override;
    void lock() override;
    void unlock() override;

private:
    AFileStream stream_;  // owns its open file
    long first_;          // file offset of position 0
    long cursor_;         // position the file is at, -1 when unknown
};
