// Codec front end, bit streams and coders: round trips, return codes, stream
// formats and robustness against damaged records.
#include "base/procedural/AImageLibError.h"
#include "base/procedural/KyCodec.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyFileInternal.h"
#include "tests/base/procedural/CodecSamples.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Chunked expansion; the last code in *code.
std::string Expand(int mode, const std::string& in, size_t chunk, int* code, int32_t limit = INT32_MAX) {
    std::vector<int> codes;
    std::string out = Unpack(mode, in, chunk, &codes, limit);
    *code = codes.back();
    return out;
}

// Reads a stream of LZW codes: the codes and whether a reset (258) came by.
std::vector<int> LzwCodes(const std::string& stream) {
    std::vector<int> codes;
    size_t bit = 0;
    int width = 9;
    while (bit + width <= stream.size() * 8) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit)
            code = (code << 1) | ((static_cast<unsigned char>(stream[bit / 8]) >> (7 - bit % 8)) & 1);
        codes.push_back(code);
        if (code == 256)
            break;
        if (code == 257)
            ++width;
        if (code == 258)
            width = 9;
    }
    return codes;
}

// What a bit reader of each mode answers once its input is used up.
const struct InputEnd {
    int mode;
    int32_t end;
} kInputEnds[] = {{1, 256}, {3, 0}, {2, -1}};

TEST(CodecRoundTrip, EachModeRestoresEachInput) {
    const std::string french = FrenchText(1 << 20);
    struct Row {
        const char* name;
        std::string data;
    } rows[] = {
        {"empty", ""},
        {"twenty a", std::string(20, 'a')},
        {"random 100 KB", RandomBytes(100 * 1024)},
        {"French 1 MB", french},
    };
    for (int mode = 1; mode <= 4; ++mode) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string("mode ") + std::to_string(mode) + ", " + row.name);
            std::string packed = Pack(mode, row.data);
            int code = 0;
            std::string whole = Expand(mode, packed, row.data.size() + 1, &code);
            EXPECT_EQ(kCodecDone, code) << KY_ErrorDetail;
            EXPECT_TRUE(whole == row.data);
            std::string bytewise = Expand(mode, packed, 1, &code);
            EXPECT_EQ(kCodecDone, code) << KY_ErrorDetail;
            EXPECT_TRUE(bytewise == row.data);
        }
    }
}

TEST(CodecFrontEnd, AnswersTheChunkCodes) {
    const std::string text = FrenchText(5000, 7);
    for (int mode = 1; mode <= 4; ++mode) {
        SCOPED_TRACE(mode);
        std::string packed = Pack(mode, text);
        KY_Codec codec = {};
        std::vector<uint8_t> buffer(text.size());
        int32_t length = 10;
        EXPECT_EQ(kCodecWrongKind, KY_CodecExpandMemNext(&codec, buffer.data(), &length));

        KY_CodecSetMode(&codec, mode);
        length = static_cast<int32_t>(text.size());
        const uint8_t* in = reinterpret_cast<const uint8_t*>(packed.data());
        int32_t inLength = static_cast<int32_t>(packed.size());
        EXPECT_EQ(kCodecDone, KY_CodecExpandMemStart(&codec, in, inLength, buffer.data(), &length, INT32_MAX, 0));
        EXPECT_EQ(static_cast<int32_t>(text.size()), length);
        EXPECT_EQ(0, std::memcmp(buffer.data(), text.data(), text.size()));

        KY_CodecSetMode(&codec, mode);
        length = static_cast<int32_t>(text.size()) - 1;
        EXPECT_EQ(kCodecMore, KY_CodecExpandMemStart(&codec, in, inLength, buffer.data(), &length, INT32_MAX, 0));
        EXPECT_EQ(kCodecWrongKind, KY_CodecExpandToMemNext(&codec, buffer.data(), &length));
        uint8_t last = 0;
        length = 1;
        EXPECT_EQ(kCodecDone, KY_CodecExpandMemNext(&codec, &last, &length));
        EXPECT_EQ(1, length);
        EXPECT_EQ(text.back(), static_cast<char>(last));
        EXPECT_TRUE(KY_CodecIsIdle(&codec));
        EXPECT_EQ(kCodecWrongKind, KY_CodecExpandMemNext(&codec, &last, &length));
    }
}

TEST(CodecFrontEnd, LimitsAndModes) {
    const std::string text = FrenchText(3000, 3);
    std::string packed = Pack(3, text);
    int code = 0;
    // The buffer fills when the limit is reached: the rest is decoded and dropped.
    std::string limited = Expand(3, packed, 100, &code, 100);
    EXPECT_EQ(kCodecDone, code);
    EXPECT_EQ(text.substr(0, 100), limited);

    // Modes 2 and 4 are one coder.
    std::string arith = Pack(2, text);
    EXPECT_EQ(arith, Pack(4, text));
    EXPECT_EQ(text, Expand(4, arith, 4096, &code));

    for (int mode : {0, 6, -1}) {
        SCOPED_TRACE(mode);
        Expand(mode, packed, 100, &code);
        EXPECT_EQ(kCodecBadMode, code);
    }
    KY_Codec codec = {};
    KY_CodecSetMode(&codec, 5);
    uint8_t out[16];
    int32_t length = sizeof out;
    EXPECT_EQ(kCodecBadMode, KY_CodecCompressMem(&codec, out, 0, out, &length));
}

TEST(CodecFormat, ItemsAsDocumented) {
    struct Row {
        int mode;
        std::string input;
        std::string prefix;
    } rows[] = {
        // 12-bit end item: flag 0, position 0.
        {3, "", std::string("\x00\x00", 2)},
        // Literal 'a' (1 01100001), then a match at position 1 of 9 bytes (0 00000000001 111).
        {3, std::string(20, 'a'), "\xB0\x80\x0F"},
        // Two 9-bit end codes: 100000000 100000000.
        {1, "", std::string("\x80\x40\x00", 3)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        EXPECT_EQ(row.prefix, Pack(row.mode, row.input).substr(0, row.prefix.size()));
    }
}

TEST(CodecFormat, LzwResetsPastTheLargestCode) {
    const std::string data = RandomBytes(100 * 1024, 5);
    std::string packed = Pack(1, data);
    std::vector<int> codes = LzwCodes(packed);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(256, codes.back());
    EXPECT_GE(std::count(codes.begin(), codes.end(), 258), 1) << "reset";
    EXPECT_GE(std::count(codes.begin(), codes.end(), 257), 6) << "width bumps";
    int code = 0;
    EXPECT_TRUE(Expand(1, packed, 65536, &code) == data);
    EXPECT_EQ(kCodecDone, code);
}

TEST(CodecStreams, MemoryInputAtItsEnd) {
    const uint8_t input[1] = {0xA5};
    for (const InputEnd& row : kInputEnds) {
        SCOPED_TRACE(row.mode);
        KY_Codec in = {};
        KY_CodecSetMode(&in, row.mode);
        KY_BitMemOpen(&in.input, input, 1);
        EXPECT_EQ(0xA, KY_MemInputBits(&in, 4));
        EXPECT_EQ(row.end, KY_MemInputBits(&in, 9)) << "cut by the end";
        EXPECT_EQ(kCodecCorrupt, in.failure);
        in.failure = 0;
        EXPECT_EQ(row.end, KY_MemInputBits(&in, 3)) << "used up";
        EXPECT_EQ(0, in.failure);
        EXPECT_EQ(0, KY_MemInputBit(&in));
        EXPECT_EQ(kCodecCorrupt, in.failure);
    }
}

class CodecFileTest : public TempFolderTest {};

TEST_F(CodecFileTest, FileFamilyAndOneShotExpansion) {
    // Nine bits written and closed take two bytes, the ninth bit in bit 7.
    KY_Codec codec = {};
    codec.outputLimit = INT32_MAX;
    codec.outputByte = KY_FileOutputByte;
    ASSERT_EQ(0, KY_BitOutOpen(&codec, nullptr, Spec("bits"), 0));
    KY_FileOutputBits(&codec, 0x1FF, 9);
    EXPECT_EQ(0, KY_BitOutClose(&codec));
    EXPECT_EQ(std::string("\xFF\x80", 2), ReadAll(PathOf("bits")));

    // Input used up: each mode's end value.
    WriteAll(PathOf("in"), "\xA5");
    for (const InputEnd& row : kInputEnds) {
        SCOPED_TRACE(row.mode);
        KY_Codec in = {};
        KY_CodecSetMode(&in, row.mode);
        ASSERT_EQ(0, KY_BitInOpen(&in, nullptr, Spec("in"), 1));
        EXPECT_EQ(0xA5, KY_FileInputBits(&in, 8));
        EXPECT_EQ(row.end, KY_FileInputBits(&in, 8));
        KY_BitInClose(&in);
    }

    const std::string text = FrenchText(20000, 9);
    for (int mode = 1; mode <= 4; ++mode) {
        SCOPED_TRACE(mode);
        std::string packed = Pack(mode, text);
        WriteAll(PathOf("packed"), "head" + packed + "tail");
        KY_File* in = KY_FOpen(Spec("packed"), "rb");
        ASSERT_NE(nullptr, in);
        KY_FSeek(in, 4, 0);
        KY_CodecSetMode(&codec, mode);
        int32_t written = 0;
        EXPECT_EQ(kCodecDone, KY_CodecExpand(&codec, in, nullptr, static_cast<int32_t>(packed.size()), nullptr,
                                             Spec("out"), &written, 1000 + 16, 16));
        EXPECT_EQ(1000, written) << "limit minus offset";
        EXPECT_EQ(text.substr(0, 1000), ReadAll(PathOf("out")));

        // From the file into memory, in 777-byte chunks.
        KY_FSeek(in, 4, 0);
        KY_CodecSetMode(&codec, mode);
        std::vector<uint8_t> buffer(777);
        std::string out;
        int32_t length = 777;
        int code = KY_CodecExpandToMemStart(&codec, in, nullptr, static_cast<int32_t>(packed.size()), buffer.data(),
                                            &length, INT32_MAX, 0);
        while (code == kCodecMore) {
            out.append(buffer.begin(), buffer.end());
            EXPECT_EQ(kCodecWrongKind, KY_CodecExpandMemNext(&codec, buffer.data(), &length));
            length = 777;
            code = KY_CodecExpandToMemNext(&codec, buffer.data(), &length);
        }
        EXPECT_EQ(kCodecDone, code);
        out.append(buffer.begin(), buffer.begin() + length);
        EXPECT_TRUE(out == text);
        EXPECT_EQ(0, KY_FClose(in)) << "the caller's file stays open";
    }
}

// A cut record and a refused write, direct or behind a cache, fail a one-shot expansion.
TEST_F(CodecFileTest, DamagedInputOrRefusedWriteIsAnError) {
    const std::string text = FrenchText(4000, 2);
    const struct Row {
        const char* name;
        bool refuse;
        long blockSize;  // output cache blocks, 0 for none
    } rows[] = {
        {"cut record", false, 0},
        {"refused write", true, 0},
        // Two blocks hold the whole output: the refusal shows only when the file is closed.
        {"refused write behind a cache", true, 4096},
    };
    KY_OpenSpec* packedSpec = Spec("packed");
    KY_OpenSpec* outSpec = Spec("out");
    KY_OpenSpec* cachedOutSpec = Spec("cached out", 0, 4096, 2);
    for (const Row& row : rows) {
        for (int mode = 1; mode <= 4; ++mode) {
            SCOPED_TRACE(std::string(row.name) + ", mode " + std::to_string(mode));
            std::string packed = Pack(mode, text);
            WriteAll(PathOf("packed"), row.refuse ? packed : packed.substr(0, packed.size() / 2));
            if (row.refuse)
                KY_FileSystemCalls().write = [](int, const void*, long) -> long { return -1; };
            KY_Codec codec = {};
            KY_CodecSetMode(&codec, mode);
            int32_t written = 0;
            EXPECT_EQ(row.refuse ? kCodecFlushFailed : kCodecCorrupt,
                      KY_CodecExpand(&codec, nullptr, packedSpec, static_cast<int32_t>(packed.size()), nullptr,
                                     row.blockSize ? cachedOutSpec : outSpec, &written, INT32_MAX, 0));
            EXPECT_TRUE(KY_CodecIsIdle(&codec));
            KY_ResetFileSystemCalls();
        }
    }
}

// One expansion into a buffer of `size` bytes preset to 0xEE, from memory or
// (file non-null) from the file's first `length` bytes: the code, the count
// placed on 1151, and the buffer, which also shows what a failed run placed.
std::string ExpandOnce(int mode, const std::string& record, size_t length, KY_File* file, size_t size) {
    KY_Codec codec = {};
    KY_CodecSetMode(&codec, mode);
    std::string out(size, '\xEE');
    uint8_t* buffer = reinterpret_cast<uint8_t*>(&out[0]);
    int32_t placed = static_cast<int32_t>(size);
    int code = 0;
    try {
        if (file) {
            KY_FSeek(file, 0, 0);
            code = KY_CodecExpandToMemStart(&codec, file, nullptr, static_cast<int32_t>(length), buffer, &placed,
                                            INT32_MAX, 0);
        } else {
            code = KY_CodecExpandMemStart(&codec, reinterpret_cast<const uint8_t*>(record.data()),
                                          static_cast<int32_t>(length), buffer, &placed, INT32_MAX, 0);
        }
    } catch (const AImageLibError&) {
        code = -1;
    }
    KY_CodecAbandon(&codec);
    out.erase(out.find_last_not_of('\xEE') + 1);  // shorter messages; both sides are cut alike
    return std::to_string(code) + (code == kCodecDone ? " " + std::to_string(placed) : "") + ": " + out;
}

// Both stream families give one answer for a record and for each of its cuts.
TEST_F(CodecFileTest, FileInputAnswersAsMemoryInputAtEveryCut) {
    const struct Row {
        const char* name;
        int mode;
        std::string record;
        int whole;  // the code of the whole record
    } rows[] = {
        {"French, LZW", 1, Pack(1, FrenchText(300, 21)), kCodecDone},
        {"random, LZW", 1, Pack(1, RandomBytes(80, 22)), kCodecDone},
        // One 9-bit code (14), then seven bits of the next.
        {"LZW cut inside its second code", 1, "\x07\x61", kCodecCorrupt},
        {"French, arithmetic", 2, Pack(2, FrenchText(300, 23)), kCodecDone},
        {"French, LZSS", 3, Pack(3, FrenchText(300, 24)), kCodecDone},
        {"random, LZSS", 3, Pack(3, RandomBytes(80, 25)), kCodecDone},
        // Its last item is a lone flag 0 at the record's end: the position read there is the end value.
        {"damaged LZSS", 3, "\xFF\x07\xFF\x10\x0A", kCodecDone},
        {"PNG", 5, MakePng(5, 4, 2, RandomBytes(5 * 4 * 3, 26)), kCodecDone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll(PathOf("record"), row.record);
        KY_File* file = KY_FOpen(Spec("record"), "rb");
        ASSERT_NE(nullptr, file);
        for (size_t cut = 0; cut <= row.record.size(); ++cut) {
            std::string memory = ExpandOnce(row.mode, row.record, cut, nullptr, 512);
            std::string fromFile = ExpandOnce(row.mode, row.record, cut, file, 512);
            EXPECT_EQ(memory, fromFile) << "first " << cut << " bytes";
            if (memory != fromFile)
                break;  // the first differing cut tells the story
            if (cut == row.record.size()) {
                EXPECT_EQ(std::to_string(row.whole), memory.substr(0, 4));
            }
        }
        EXPECT_EQ(0, KY_FClose(file));
    }
}

// A one-shot expansion reads its record with getc and writes with putc: the
// buffered transfers give the answers and files of one transfer per byte, for
// the record and each of its cuts.
TEST_F(CodecFileTest, FileToFileExpansionIsTheSameBufferedOrNot) {
    struct Restore {
        ~Restore() { KY_FileBufferSize = size; }
        int32_t size = KY_FileBufferSize;
    } restore;
    const std::string text = FrenchText(3000, 31);
    KY_OpenSpec* in = Spec("record");
    KY_OpenSpec* out = Spec("out");
    for (int mode = 1; mode <= 4; ++mode) {
        std::string record = Pack(mode, text);
        WriteAll(PathOf("record"), record);
        for (size_t cut = 0; cut <= record.size(); cut += 1 + cut / 8) {
            std::string answers[3];
            const int32_t sizes[3] = {0, 3, 4096};
            for (int i = 0; i < 3; ++i) {
                KY_FileBufferSize = sizes[i];
                KY_Codec codec = {};
                KY_CodecSetMode(&codec, mode);
                int32_t written = 0;
                int code = KY_CodecExpand(&codec, nullptr, in, static_cast<int32_t>(cut), nullptr, out, &written,
                                          INT32_MAX, 0);
                answers[i] = std::to_string(code) + " " + std::to_string(written) + ": " + ReadAll(PathOf("out"));
            }
            EXPECT_EQ(answers[0], answers[1]) << "mode " << mode << ", first " << cut << " bytes";
            EXPECT_EQ(answers[0], answers[2]) << "mode " << mode << ", first " << cut << " bytes";
            if (cut == record.size()) {
                EXPECT_EQ(std::to_string(kCodecDone) + " 3000: " + text, answers[2]);
            }
            if (HasFailure())
                return;
        }
    }
}

}  // namespace
