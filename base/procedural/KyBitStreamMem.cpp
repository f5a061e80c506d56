// The memory family of the codec streams: bits and bytes in a caller's buffer.
#include "base/procedural/KyCodec.h"

#include <cstring>

void KY_BitMemOpen(KY_BitFile* stream, const uint8_t* buffer, int32_t length) {
    std::memset(stream, 0, sizeof *stream);
    stream->data = const_cast<uint8_t*>(buffer);
    stream->length = length > 0 ? static_cast<uint32_t>(length) : 0;
    stream->mask = 0x80;
}

void KY_BitMemClose(KY_BitFile* stream) {
    std::memset(stream, 0, sizeof *stream);
}

int KY_MemInputByte(KY_Codec*, KY_BitFile* stream) {
    if (stream->position >= stream->length)
        return -1;
    return static_cast<const uint8_t*>(stream->data)[stream->position++];
}

int KY_MemInputBit(KY_Codec* codec) {
    KY_BitFile& in = codec->input;
    // A bit past the end is bad data, not a broken invariant: flag it and let the coder stop.
    if (in.position >= in.length) {
        KY_CodecFail(codec, kCodecCorrupt, "bit past the end of the input");
        return 0;
    }
    int bit = (static_cast<const uint8_t*>(in.data)[in.position] & in.mask) ? 1 : 0;
    in.mask >>= 1;
    if (!in.mask) {
        in.mask = 0x80;
        ++in.position;
    }
    return bit;
}

int32_t KY_MemInputBits(KY_Codec* codec, int count) {
    KY_BitFile& in = codec->input;
    if (in.position >= in.length)
        return KY_CodecEndValue(codec);
    const uint8_t* data = static_cast<const uint8_t*>(in.data);
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        if (in.position >= in.length) {
            KY_CodecFail(codec, kCodecCorrupt, "code cut by the end of the input");
            return KY_CodecEndValue(codec);
        }
        value = (value << 1) | ((data[in.position] & in.mask) ? 1 : 0);
        in.mask >>= 1;
        if (!in.mask) {
            in.mask = 0x80;
            ++in.position;
        }
    }
    return static_cast<int32_t>(value);
}

int KY_MemOutputByte(KY_Codec* codec, int byte, KY_BitFile* stream) {
    if (stream->position < stream->length) {
        static_cast<uint8_t*>(stream->data)[stream->position++] = static_cast<uint8_t>(byte);
        return static_cast<int8_t>(byte);
    }
    int64_t reached = int64_t(codec->output.count) + stream->position + codec->limitOffset;
    if (reached < codec->outputLimit) {
        codec->outputFull = 1;
        return -3;
    }
    return static_cast<int8_t>(byte);
}

void KY_MemOutputBit(KY_Codec* codec, int bit) {
    KY_BitFile& out = codec->output;
    if (out.position >= out.length) {
        codec->outputFull = 1;
        return;
    }
    uint8_t* p = static_cast<uint8_t*>(out.data) + out.position;
    // A fresh byte is cleared first, so the caller's buffer need not start zero-filled.
    if (out.mask == 0x80)
        *p = 0;
    if (bit)
        *p |= out.mask;
    out.mask >>= 1;
    if (!out.mask) {
        out.mask = 0x80;
        ++out.position;
    }
}

void KY_MemOutputBits(KY_Codec* codec, uint32_t value, int count) {
    KY_BitFile& out = codec->output;
    if (int64_t(count / 8) + out.position + 1 > int64_t(out.length) - 1) {
        codec->outputFull = 1;
        return;
    }
    for (uint32_t mask = 1u << (count - 1); mask; mask >>= 1)
        KY_MemOutputBit(codec, (value & mask) != 0);
}
