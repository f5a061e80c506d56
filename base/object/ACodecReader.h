// Expands compressed data in chunks into the caller's buffers through the
// codec front end, from a bound file stream (at its current position) or
// from memory. The bitmap reader uses it with mode 5 (PNG rows).
//
// expand answers 0 while the expansion goes on or when it ends, else the
// front end's error code (1154 corrupt input, 1155 buffer too small for one
// row, 110...), which ends the expansion. A PNG library error raises
// AImageLibError; the reader is then idle.
#pragma once

#include "base/object/AFileStream.h"
#include "base/procedural/KyCodec.h"

class ACodecReader {
public:
    explicit ACodecReader(int mode);
    ACodecReader(const ACodecReader&) = delete;
    ACodecReader& operator=(const ACodecReader&) = delete;
    ~ACodecReader();

    // Abandons an expansion under way and forgets the source.
    void reset();
    // source: not owned, bound, positioned at the compressed data.
    void setSource(AFileStream* source, long inputLength, long limit);
    // input: not owned, inputLength bytes, kept alive until the expansion ends.
    void setMemorySource(const uint8_t* input, long inputLength, long limit);
    // *size in: the buffer's size; out: the bytes placed once the expansion
    // ends (while it goes on the buffer is full and *size unchanged).
    int expand(uint8_t* buffer, int32_t* size);
    bool inProgress() const { return inProgress_ != 0; }

private:
    KY_Codec codec_;
    int mode_;
    AFileStream* source_;  // not owned
    int32_t inputLength_;
    int32_t limit_;
    const uint8_t* memoryInput_;  // not owned; null: read from source_
    short inProgress_;
};
