// The file family of the codec streams: bits and bytes through a KY_File.
#include "base/procedural/KyCodec.h"

#include "base/procedural/KyFile.h"

#include <cstring>

namespace {

KY_File* FileOf(const KY_BitFile& stream) {
    return static_cast<KY_File*>(stream.data);
}

int OpenStream(KY_BitFile* stream, KY_File* file, KY_OpenSpec* spec, int32_t length, const char* mode) {
    std::memset(stream, 0, sizeof *stream);
    if (spec) {
        file = KY_FOpen(spec, mode);
        if (!file)
            return spec->owner && spec->owner->lastError ? static_cast<int>(spec->owner->lastError) : kFileErrArg;
    } else if (!file) {
        return kFileErrArg;
    } else {
        stream->borrowed = 1;
    }
    stream->data = file;
    stream->length = length > 0 ? static_cast<uint32_t>(length) : 0;
    stream->mask = 0x80;
    return 0;
}

// The position counts bytes fetched: the input is used up only once the last
// fetched byte has given all its bits, as in the memory family.
bool UsedUp(const KY_BitFile& in) {
    return in.mask == 0x80 && in.position >= in.length;
}

}  // namespace

int KY_BitInOpen(KY_Codec* codec, KY_File* file, KY_OpenSpec* spec, int32_t length) {
    return OpenStream(&codec->input, file, spec, length, "rb");
}

int KY_BitOutOpen(KY_Codec* codec, KY_File* file, KY_OpenSpec* spec, int32_t length) {
    int32_t total = codec->output.count;
    int code = OpenStream(&codec->output, file, spec, length, "wb");
    codec->output.count = total;
    return code;
}

void KY_BitInClose(KY_Codec* codec) {
    if (codec->input.data && !codec->input.borrowed)
        KY_FClose(FileOf(codec->input));
    std::memset(&codec->input, 0, sizeof codec->input);
}

int KY_BitOutClose(KY_Codec* codec) {
    KY_BitFile& out = codec->output;
    int code = 0;
    if (out.mask != 0x80 && codec->outputByte(codec, out.rack, &out) != out.rack)
        code = kCodecFlushFailed;
    if (!code && out.data && KY_FileFlush(FileOf(out)) != 0)
        code = kCodecFlushFailed;
    // Closing writes back what a cache still holds: a failure there loses output as a failed write does.
    if (out.data && !out.borrowed && KY_FClose(FileOf(out)) != 0)
        code = kCodecFlushFailed;
    int32_t total = out.count;
    std::memset(&out, 0, sizeof out);
    out.count = total;
    return code;
}

int KY_BitFileRead(KY_Codec* codec, void* buffer, uint32_t length) {
    KY_BitFile& in = codec->input;
    uint32_t left = in.length > in.position ? in.length - in.position : 0;
    if (length > left)
        length = left;
    if (!length)
        return 0;
    long got = KY_FRead(FileOf(in), buffer, static_cast<long>(length));
    if (got > 0)
        in.position += static_cast<uint32_t>(got);
    return static_cast<int>(got);
}

int KY_FileInputByte(KY_Codec*, KY_BitFile* stream) {
    if (stream->position >= stream->length)
        return -1;
    ++stream->position;
    return KY_FGetc(FileOf(*stream));
}

int KY_FileInputBit(KY_Codec* codec) {
    KY_BitFile& in = codec->input;
    if (in.mask == 0x80) {
        in.rack = KY_FileInputByte(codec, &in);
        // A short record is bad data: the coder stops instead of the process.
        if (in.rack < 0) {
            KY_CodecFail(codec, kCodecCorrupt, "bit past the end of the input");
            in.rack = 0;
        }
    }
    int bit = (in.rack & in.mask) ? 1 : 0;
    in.mask >>= 1;
    if (!in.mask)
        in.mask = 0x80;
    return bit;
}

int32_t KY_FileInputBits(KY_Codec* codec, int count) {
    if (UsedUp(codec->input))
        return KY_CodecEndValue(codec);
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        if (UsedUp(codec->input)) {
            KY_CodecFail(codec, kCodecCorrupt, "code cut by the end of the input");
            return KY_CodecEndValue(codec);
        }
        value = (value << 1) | KY_FileInputBit(codec);
        if (codec->failure)
            return KY_CodecEndValue(codec);
    }
    return static_cast<int32_t>(value);
}

int KY_FileOutputByte(KY_Codec* codec, int byte, KY_BitFile* stream) {
    if (int64_t(codec->output.count) + codec->limitOffset >= codec->outputLimit)
        return byte;
    ++codec->output.count;
    int written = KY_FPutc(byte, FileOf(*stream));
    // Expanders do not look at this result: a lost byte must still fail the expansion.
    if (written < 0)
        KY_CodecFail(codec, kCodecFlushFailed, "write failed");
    return written;
}

void KY_FileOutputBit(KY_Codec* codec, int bit) {
    KY_BitFile& out = codec->output;
    if (bit)
        out.rack |= out.mask;
    out.mask >>= 1;
    if (!out.mask) {
        if (codec->outputByte(codec, out.rack, &out) != out.rack)
            KY_CodecFail(codec, kCodecFlushFailed, "write failed");
        out.rack = 0;
        out.mask = 0x80;
    }
}

void KY_FileOutputBits(KY_Codec* codec, uint32_t value, int count) {
    for (uint32_t mask = 1u << (count - 1); mask; mask >>= 1)
        KY_FileOutputBit(codec, (value & mask) != 0);
}
