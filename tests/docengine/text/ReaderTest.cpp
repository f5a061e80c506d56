// Text sources over strings, movable blocks and file ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "docengine/text/AStreamReader.h"
#include "docengine/text/AStringReader.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// Holds the creator's reference for the test's life.
template <class T>
struct Held {
    explicit Held(T* p) : ptr(p) { ptr->addRef(); }
    ~Held() { ptr->release(); }
    T* operator->() const { return ptr; }
    T* ptr;
};

}  // namespace

TEST(ReaderTest, StringReadersChooseTheirHolderByLengthAndReadInsideOnly) {
    struct Row {
        long length;
        bool inBlock;
    } rows[] = {{0, false}, {3, false}, {32766, false}, {32767, true}, {40000, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.length);
        std::string text(static_cast<size_t>(row.length), 'x');
        for (long i = 0; i < row.length; ++i)
            text[static_cast<size_t>(i)] = static_cast<char>('a' + i % 26);
        Held<AStringReader> reader(new AStringReader(text.c_str(), row.length));
        EXPECT_EQ(row.length, reader->length());
        EXPECT_EQ(row.inBlock, dynamic_cast<AMemoryBlockReader*>(reader->inner()) != nullptr);
        AReaderLock lock(reader.ptr);
        EXPECT_EQ(0, reader->charAt(-1));
        EXPECT_EQ(0, reader->charAt(row.length));
        if (row.length >= 2) {
            EXPECT_EQ(text[1], reader->charAt(1));
            EXPECT_EQ(text.substr(static_cast<size_t>(row.length - 2)), reader->getText(row.length - 2, 2).c_str());
            EXPECT_GT(FatalExitCodeOf([&] { reader->getText(row.length - 1, 2); }), 0);
        }
    }
    Held<AStringReader> measured(new AStringReader("abc", -1));
    EXPECT_EQ(3, measured->length());
}

TEST(ReaderTest, ABlockIsReadOnlyWhilePinned) {
    std::string text(40000, '\xE9');
    Held<AStringReader> reader(new AStringReader(text.c_str(), -1));
    EXPECT_GT(FatalExitCodeOf([&] { reader->charAt(0); }), 0);
    reader->lock();
    EXPECT_EQ('\xE9', reader->charAt(39999));
    EXPECT_LT(reader->charAt(0), 0) << "bytes are sign-extended";
    reader->unlock();
    EXPECT_GT(FatalExitCodeOf([&] { reader->charAt(0); }), 0);
    EXPECT_GT(FatalExitCodeOf([&] { reader->getText(0, 1); }), 0);
}

class StreamReaderTest : public TempFolderTest {
protected:
    AFilteredFile Request(const std::string& name) {
        return AFilteredFile(AFile(fs_, AFileSpec(PathOf(name).c_str()), 0, kPlainFileOptions, false), 0, 0, 0,
                             AFilter());
    }
};

TEST_F(StreamReaderTest, AFileRangeReadsLikeTheBytesItCovers) {
    std::string data;
    for (int i = 0; i < 300; ++i)
        data += static_cast<char>(i * 7);
    WriteAll(PathOf("article"), data);
    struct Row {
        long first, end;
        long wantFirst, wantLength;
    } rows[] = {{0, 0, 0, 300}, {100, 200, 100, 100}, {250, 400, 250, 150}, {50, 20, 50, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.first);
        Held<AStreamReader> reader(new AStreamReader(Request("article"), row.first, row.end));
        ASSERT_EQ(row.wantLength, reader->length());
        // Unlocked, each read positions the file; locked, a walk reads on.
        for (int locked = 0; locked < 2; ++locked) {
            if (locked)
                reader->lock();
            for (long i = 0; i < row.wantLength; i += 13) {
                size_t at = static_cast<size_t>(row.wantFirst + i);
                EXPECT_EQ(at < data.size() ? data[at] : 0, reader->charAt(i)) << i;
            }
            if (locked)
                reader->unlock();
        }
        AReaderLock lock(reader.ptr);
        std::string walk;
        for (long i = 0; i < row.wantLength; ++i)
            walk += reader->charAt(i);
        long inFile = std::min<long>(row.wantLength, static_cast<long>(data.size()) - row.wantFirst);
        EXPECT_EQ(data.substr(static_cast<size_t>(row.wantFirst), static_cast<size_t>(inFile)),
                  walk.substr(0, static_cast<size_t>(inFile)));
        // Bytes a short file does not hold are not invented.
        AString tail = reader->getText(0, row.wantLength);
        EXPECT_EQ(inFile, tail.length());
        EXPECT_EQ(0, reader->charAt(row.wantLength));
    }
}

// Walks forwards, backwards and by jumps over windows of the file answer its
// bytes, also where the range starts inside a window and the file ends early.
TEST_F(StreamReaderTest, WalksAcrossWindowsReadTheBytesOfTheRange) {
    std::string data;
    for (int i = 0; i < 10000; ++i)
        data += static_cast<char>(i * 31 + i / 251);
    WriteAll(PathOf("long"), data);
    const long first = 1000, end = 12000;  // the range ends 2000 bytes past the file
    Held<AStreamReader> reader(new AStreamReader(Request("long"), first, end));
    ASSERT_EQ(end - first, reader->length());
    auto expected = [&](long i) { return first + i < 10000 ? data[static_cast<size_t>(first + i)] : 0; };
    std::string forwards, backwards, wanted;
    for (long i = 0; i < reader->length(); ++i) {
        forwards += reader->charAt(i);
        wanted += expected(i);
    }
    for (long i = reader->length() - 1; i >= 0; --i)
        backwards += reader->charAt(i);
    EXPECT_TRUE(forwards == wanted);
    EXPECT_TRUE(std::string(backwards.rbegin(), backwards.rend()) == wanted);
    uint32_t state = 7;
    for (int n = 0; n < 2000 && !HasFailure(); ++n) {
        state = state * 1664525u + 1013904223u;
        long i = static_cast<long>(state >> 8) % (reader->length() + 10) - 5;
        EXPECT_EQ(i >= 0 && i < reader->length() ? expected(i) : 0, reader->charAt(i)) << i;
        if (n % 100 == 0) {
            long start = i < 0 ? 0 : i >= reader->length() ? reader->length() : i;
            long count = std::min<long>(300, reader->length() - start);
            long inFile = std::max<long>(0, std::min<long>(count, 10000 - first - start));
            EXPECT_EQ(
                data.substr(static_cast<size_t>(std::min<long>(first + start, 10000)), static_cast<size_t>(inFile)),
                [&] {
                    AString t = reader->getText(start, count);
                    return std::string(t.c_str(), static_cast<size_t>(t.length()));
                }());
        }
    }
}
