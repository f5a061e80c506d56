// A reader over a range of a file, read through its own open stream.
//
// charAt answers from a window of the range read by one transfer, so that a
// walk either way reads each part of the file once; getText reads what it
// asks for. A read that fails answers 0 (charAt) or an empty string (getText). Opening failures
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

private:
    static const long kWindow = 4096;

    AFileStream stream_;  // owns its open file
    long first_;          // file offset of position 0
    long windowStart_;    // range position of window_[0]
    long windowLength_;   // bytes the window holds, 0 when none
    char window_[kWindow];
};
