// The block cache under the file layer: block reads, write-back order,
// eviction of partial blocks, seeks, ungetc and putc (line input: KyFileTest).
#include "base/procedural/KyCache.h"
#include "base/procedural/KyFile.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <cstring>
#include <string>

namespace {

using BlockCache = TempFolderTest;

std::string Pattern(size_t n) {
    std::string data(n, 0);
    for (size_t i = 0; i < n; ++i)
        data[i] = static_cast<char>('a' + (i * 31 + i / 7) % 26);
    return data;
}

}  // namespace

TEST_F(BlockCache, ReadsWholeBlocksThenTheTail) {
    std::string data = Pattern(5000);
    WriteAll(PathOf("r"), data);
    KY_File* f = KY_FOpen(Spec("r", 0, 2048, 3), "rb");
    ASSERT_NE(nullptr, f);
    ASSERT_NE(nullptr, f->cache);
    std::string counts;
    std::string back;
    char buffer[2048];
    for (int i = 0; i < 4; ++i) {
        long n = KY_FRead(f, buffer, sizeof buffer);
        counts += std::to_string(n) + " ";
        back.append(buffer, static_cast<size_t>(n > 0 ? n : 0));
    }
    EXPECT_EQ("2048 2048 904 0 ", counts);
    EXPECT_EQ(data, back);

    EXPECT_EQ(4904, KY_FSeek(f, -96, 2));
    EXPECT_EQ(4914, KY_FSeek(f, 10, 1));
    EXPECT_EQ(static_cast<unsigned char>(data[4914]), KY_FGetc(f));
    EXPECT_EQ('#', KY_FUngetc('#', f));
    EXPECT_EQ('#', KY_FGetc(f)) << "ungetc is honoured in read mode";
    EXPECT_EQ(-1, KY_FWrite(f, "zz", 2)) << "a read-only cache refuses writes it would drop";
    EXPECT_EQ(kFileErrIO, fs_->lastError);
    EXPECT_EQ(-1, KY_FPutc('z', f));
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_EQ(data, ReadAll(PathOf("r"))) << "an ungetc byte never reaches the file";
}

TEST_F(BlockCache, SequentialBlocksAreWrittenInOrder) {
    KY_File* f = KY_FOpen(Spec("w", 0, 2048, 3), "wb");
    ASSERT_NE(nullptr, f);
    ASSERT_NE(nullptr, f->cache);
    std::string expected;
    for (int block = 0; block < 4; ++block) {
        std::string data(2048, static_cast<char>('A' + block));
        expected += data;
        ASSERT_EQ(2048, KY_FWrite(f, data.data(), 2048));
        if (block == 3) {
            EXPECT_EQ(expected.substr(0, 6144), ReadAll(PathOf("w")))
                << "the victim and the blocks that fill the gap are on disk";
        }
    }
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_EQ(expected, ReadAll(PathOf("w")));
}

TEST_F(BlockCache, PutcUpdatesTheBlocksItCrosses) {
    std::string data = Pattern(20);
    for (long position : {5L, 15L}) {  // inside block 0, then across into block 1
        SCOPED_TRACE(position);
        std::string name = "u" + std::to_string(position);
        WriteAll(PathOf(name), data);
        KY_File* f = KY_FOpen(Spec(name, 0, 16, 1), "r+b");
        ASSERT_NE(nullptr, f);
        char buffer[3];
        ASSERT_EQ(3, KY_FRead(f, buffer, 3));
        ASSERT_EQ(position, KY_FSeek(f, position, 0));
        EXPECT_EQ(-1, KY_FUngetc('x', f)) << "ungetc is refused in update mode";
        for (char c : std::string("PQR"))
            EXPECT_EQ(c, KY_FPutc(c, f));
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ(data.substr(0, position) + "PQR" + data.substr(position + 3), ReadAll(PathOf(name)));
    }
}

// Each row appends `written` bytes, seeks to `position` (-1: the end) and writes ten more: a
// write-only cache reads back the blocks it evicted, an evicted partial block keeps its length,
// and the end counts bytes not yet written out.
TEST_F(BlockCache, WritesLandWhereTheySeek) {
    struct Row {
        const char* what;
        const char* mode;
        std::string before;  // file content at open
        long written;
        int blocks;  // cache slots of 2048 bytes
        long position;
        bool cacheAfterOpen;
    } rows[] = {
        {"rewrite in evicted block 0, write-only", "wb", "", 3 * 2048, 1, 1000, false},
        {"rewrite in evicted block 1, write-only", "wb", "", 3 * 2048, 1, 3000, false},
        {"rewrite in evicted block 0, read-write", "w+b", "", 3 * 2048, 1, 1000, false},
        {"rewrite with the cache attached after the open", "wb", "", 3 * 2048, 1, 1000, true},
        {"end of a new file, one partial block", "wb", "", 100, 2, -1, false},
        {"end of a new file, past the first block", "wb", "", 2100, 2, -1, false},
        {"end of an updated file, in its last block", "r+b", Pattern(300), 50, 2, -1, false},
        {"append to a partial block, then rewrite an earlier one", "r+b", Pattern(2100), 2, 1, 1000, false},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string name = "w" + std::to_string(i++);
        WriteAll(PathOf(name), r.before);
        KY_File* f = KY_FOpen(r.cacheAfterOpen ? Spec(name) : Spec(name, 0, 2048, r.blocks), r.mode);
        ASSERT_NE(nullptr, f);
        if (r.cacheAfterOpen) {
            ASSERT_EQ(0, KY_FileSetCache(f, 2048, r.blocks));
        }
        ASSERT_NE(nullptr, f->cache);
        long size = static_cast<long>(r.before.size());
        std::string expected = r.before + Pattern(static_cast<size_t>(r.written));
        ASSERT_EQ(size, KY_FSeek(f, 0, 2));
        ASSERT_EQ(r.written, KY_FWrite(f, expected.data() + size, r.written));
        ASSERT_EQ(0, KY_FSeek(f, 0, 0));
        long position = r.position < 0 ? size + r.written : r.position;
        EXPECT_EQ(position, r.position < 0 ? KY_FSeek(f, 0, 2) : KY_FSeek(f, position, 0));
        EXPECT_EQ(10, KY_FWrite(f, "0123456789", 10));
        expected.replace(static_cast<size_t>(position), 10, "0123456789");
        EXPECT_EQ(static_cast<long>(expected.size()) - 4, KY_FSeek(f, -4, 2));
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ(expected, ReadAll(PathOf(name)));
    }
}

// Each row writes `before` at the end, then seeks one byte or more past the end of the data:
// refused as a direct seek is, the next write lands at the end, so the file has no hole.
TEST_F(BlockCache, SeeksStopAtTheEndOfTheData) {
    struct Row {
        const char* what;
        const char* mode;
        std::string content;  // at open
        const char* before;
        long blockSize;
        long offset;
        int origin;
    } rows[] = {
        {"end + 1 of an updated file, on a block start", "r+b", Pattern(25), "", 13, 1, 2},
        {"from the start to the next block", "r+b", Pattern(25), "", 13, 26, 0},
        {"written bytes not yet on disk", "wb", "", "abc", 4, 4, 0},
        {"from the position", "w+b", "", "abc", 4, 1, 1},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string name = "e" + std::to_string(i++);
        WriteAll(PathOf(name), r.content);
        KY_File* f = KY_FOpen(Spec(name, 0, r.blockSize, 2), r.mode);
        ASSERT_NE(nullptr, f);
        ASSERT_NE(nullptr, f->cache);
        long end = static_cast<long>(r.content.size() + std::strlen(r.before));
        ASSERT_EQ(static_cast<long>(r.content.size()), KY_FSeek(f, 0, 2));
        ASSERT_EQ(end - static_cast<long>(r.content.size()), KY_FPuts(r.before, f));
        EXPECT_EQ(-1, KY_FSeek(f, r.offset, r.origin));
        EXPECT_EQ(kFileErrIO, fs_->lastError);
        EXPECT_EQ(end, KY_FTell(f));
        EXPECT_EQ(1, KY_FWrite(f, "X", 1));
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ(r.content + r.before + "X", ReadAll(PathOf(name)));
    }
}

// A flush writes the cache's dirty blocks and keeps them: a refused write-back is reported and
// tried again by the next flush.
TEST_F(BlockCache, FlushWritesDirtyBlocks) {
    int i = 0;
    for (const char* mode : {"wb", "w+b", "r+b"}) {
        SCOPED_TRACE(mode);
        std::string name = "f" + std::to_string(i++);
        WriteAll(PathOf(name), "");
        KY_File* f = KY_FOpen(Spec(name, 0, 16, 2), mode);
        ASSERT_NE(nullptr, f);
        ASSERT_NE(nullptr, f->cache);
        EXPECT_EQ(10, KY_FWrite(f, "0123456789", 10));
        EXPECT_EQ(0, KY_FileFlush(f));
        EXPECT_EQ("0123456789", ReadAll(PathOf(name)));

        EXPECT_EQ(3, KY_FWrite(f, "abc", 3));
        KY_FileSystemCalls().write = [](int, const void*, long) -> long { return -1; };
        EXPECT_EQ(kCacheErrShortWrite, KY_FileFlush(f));
        KY_ResetFileSystemCalls();
        EXPECT_EQ("0123456789", ReadAll(PathOf(name)));
        EXPECT_EQ(0, KY_FileFlush(f));
        EXPECT_EQ("0123456789abc", ReadAll(PathOf(name)));
        EXPECT_EQ(0, KY_FClose(f));
    }
}
