// Memory streams in both byte orders, and the global-memory stream.
#include "base/object/AEdge.h"
#include "base/object/AGlobalMemory.h"
#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "tests/support/TestHooks.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

TEST(AMemoryStream, ByteOrders) {
    unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    struct Row {
        int code;
        int16_t shortValue;
        int32_t longValue;
    } rows[] = {
        {2, 0x3412, static_cast<int32_t>(0xBC9A7856)},
        {1, 0x1234, 0x56789ABC},
        {0, 0x1234, 0x56789ABC},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        AMemoryStream s(bytes, sizeof bytes);
        s.setByteOrder(r.code);
        EXPECT_EQ(r.shortValue, s.readShort());
        EXPECT_EQ(r.longValue, s.readLong());
        EXPECT_EQ(6, s.offset());
    }
}

TEST(AMemoryStream, StringsBlocksAndEdges) {
    const char text[] = "abc\0de";
    AMemoryStream s(const_cast<char*>(text), 6);
    EXPECT_STREQ("abc", s.readString(-1).c_str());
    EXPECT_EQ(4, s.offset());
    s.seek(0);
    EXPECT_STREQ("ab", s.readString(2).c_str());
    EXPECT_EQ(2, s.offset());

    s.seek(5);
    char small[2] = {};
    s.setBlock(small, 2);
    EXPECT_EQ(2, s.offset()) << "a smaller block moves the position to its end";
    EXPECT_GT(FatalExitCodeOf([&] { s.seek(3); }), 0);
    EXPECT_GT(FatalExitCodeOf([&] { s.writeByte(1); }), 0) << "a fixed block does not grow";

    // A layout edge: value i32, mode u16, aux u16, little-endian.
    unsigned char edge[] = {0x29, 0xFF, 0xFF, 0xFF, 0x20, 0x10, 0x07, 0x00};
    AMemoryStream es(edge, sizeof edge);
    es.setByteOrder(2);
    AEdge e;
    e.read(es);
    EXPECT_EQ(-215, e.value);
    EXPECT_EQ(0x1020, e.mode);
    EXPECT_EQ(7, e.aux);
}

TEST(AMemoryStream, ReadsPastTheEndAreErrors) {
    // A string list: count, offsets, then NUL-terminated texts; the second
    // offset points at a text that has no terminator.
    const unsigned char list[] = {2, 0, 6, 0, 9, 0, 'a', 'b', 0, 'c', 'd'};
    char out[8];
    struct Row {
        const char* what;
        long offset;
        std::function<void(AMemoryStream&)> read;
    } rows[] = {
        {"unterminated string", 9, [](AMemoryStream& s) { s.readString(-1); }},
        {"string longer than the rest", 9, [](AMemoryStream& s) { s.readString(3); }},
        {"short at the last byte", 10, [](AMemoryStream& s) { s.readShort(); }},
        {"long at the end", 11, [](AMemoryStream& s) { s.readLong(); }},
        {"bytes", 8, [&](AMemoryStream& s) { s.readBytes(out, 4); }},
        {"negative count", 0, [&](AMemoryStream& s) { s.readBytes(out, -1); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        AMemoryStream s(const_cast<unsigned char*>(list), sizeof list);
        s.seek(r.offset);
        try {
            r.read(s);
            ADD_FAILURE() << "no error";
        } catch (const AMemoryStreamError& e) {
            EXPECT_TRUE(e.isThrowable());
        }
        EXPECT_EQ(r.offset, s.offset()) << "the position does not move";
    }
    AMemoryStream s(const_cast<unsigned char*>(list), sizeof list);
    EXPECT_EQ(2, s.readShort()) << "little-endian until told otherwise";
}

TEST(AGlobalMemoryStream, GrowsInSteps) {
    AGlobalMemoryStream s;
    char ten[10] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(10, s.writeBlock(ten, 10));
    EXPECT_EQ(1024u, s.allocatedSize());
    EXPECT_TRUE(s.ownsBlock());
    void* h = s.detach();
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(10u, GlobalSize(h));
    EXPECT_EQ(0, s.size());
    {
        AGlobalMemory locked(h);
        EXPECT_EQ(0, std::memcmp(locked.data(), ten, 10));
    }

    AGlobalMemoryStream big;
    std::vector<char> block(1024, 'x');
    big.writeBlock(block.data(), 1024);
    EXPECT_EQ(2048u, big.allocatedSize()) << "always strictly above the size needed";
    big.writeByte('y');
    EXPECT_EQ(1025, big.size());

    {
        AGlobalMemoryStream attached(h);
        EXPECT_EQ(10, attached.size());
        EXPECT_FALSE(attached.ownsBlock());
    }
    EXPECT_EQ(10u, GlobalSize(h)) << "a caller's block outlives the stream";
    void* copy = GlobalMemoryFromRange(h, 2, 5);
    EXPECT_EQ(3u, GlobalSize(copy));
    void* text = GlobalMemoryFromBytes("hello\0world", 12);
    EXPECT_EQ(5u, GlobalMemoryTextLength(text));
    GlobalFree(text);
    GlobalFree(copy);
    GlobalFree(h);
}

TEST(AGlobalMemoryStream, RefusedGrowthKeepsTheBlock) {
    AGlobalMemoryStream s;
#if INTPTR_MAX == INT32_MAX
    // Only a 32-bit process is refused 2 GB (the 64-bit test build is given them).
    EXPECT_GT(FatalExitCodeOf([&] { s.grow(0x7FFFFC00); }), 0) << "no block at all yet";
    EXPECT_EQ(0u, s.allocatedSize());
    s.writeBlock("abc", 3);
    EXPECT_GT(FatalExitCodeOf([&] { s.grow(0x7FFFFC00); }), 0);
    ASSERT_FALSE(CapturedBoxes().empty());
    EXPECT_EQ("AMemError", CapturedBoxes().back().caption);
#else
    s.writeBlock("abc", 3);
#endif
    EXPECT_EQ(1024u, s.allocatedSize());
    s.writeBlock("de", 2);
    EXPECT_EQ(5, s.size());
    EXPECT_EQ(0, std::memcmp(s.data(), "abcde", 5)) << "the old bytes are still there";
}
