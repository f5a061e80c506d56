// Chunked expansion of compressed data for the object layer.
#include "base/object/ACodecReader.h"

#include <cstring>

ACodecReader::ACodecReader(int mode)
    : codec_{}, mode_(mode), source_(nullptr), inputLength_(0), limit_(0), memoryInput_(nullptr), inProgress_(0) {
    KY_CodecSetMode(&codec_, mode);
}

ACodecReader::~ACodecReader() {
    reset();
}

void ACodecReader::reset() {
    if (!KY_CodecIsIdle(&codec_))
        KY_CodecAbandon(&codec_);
    inProgress_ = 0;
    source_ = nullptr;
    memoryInput_ = nullptr;
    inputLength_ = 0;
    limit_ = 0;
}

void ACodecReader::setSource(AFileStream* source, long inputLength, long limit) {
    reset();
    source_ = source;
    inputLength_ = static_cast<int32_t>(inputLength);
    limit_ = static_cast<int32_t>(limit);
}

void ACodecReader::setMemorySource(const uint8_t* input, long inputLength, long limit) {
    reset();
    memoryInput_ = input;
    inputLength_ = static_cast<int32_t>(inputLength);
    limit_ = static_cast<int32_t>(limit);
}

int ACodecReader::expand(uint8_t* buffer, int32_t* size) {
    int code;
    try {
        if (inProgress_) {
            code = memoryInput_ ? KY_CodecExpandMemNext(&codec_, buffer, size)
                                : KY_CodecExpandToMemNext(&codec_, buffer, size);
        } else {
            // The mode goes with every start: a finished start clears the codec.
            KY_CodecSetMode(&codec_, mode_);
            if (memoryInput_) {
                code = KY_CodecExpandMemStart(&codec_, memoryInput_, inputLength_, buffer, size, limit_, 0);
            } else {
                if (!source_ || !source_->file())
                    ThrowAssert("bstream", 1423);
                code =
                    KY_CodecExpandToMemStart(&codec_, source_->file(), nullptr, inputLength_, buffer, size, limit_, 0);
            }
        }
    } catch (...) {
        inProgress_ = 0;
        throw;
    }
    inProgress_ = code == kCodecMore;
    return code == kCodecMore || code == kCodecDone ? 0 : code;
}
