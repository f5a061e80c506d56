// Pools: chunk growth and release, assertions, and the memory checker's reports.
#include "base/object/AFixedPool.h"
#include "base/object/AString.h"
#include "base/procedural/AMemoryChecker.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(AFixedPool, ChunksComeAndGo) {
    static AFixedPool* pool = nullptr;
    std::vector<void*> items;
    for (int i = 0; i < 11; ++i) {
        void* p = AFixedPool::allocIn(&pool, 12, 5, "test", 1);
        std::memset(p, 0xEE, 12);
        items.push_back(p);
    }
    ASSERT_NE(nullptr, pool);
    EXPECT_EQ(3, pool->chunkCount());
    EXPECT_EQ(11, pool->live());
    AFixedPool::freeIn(&pool, items[2]);  // a full chunk returns to the list
    void* again = AFixedPool::allocIn(&pool, 12, 5, "test", 1);
    EXPECT_EQ(items[2], again) << "the freed slot of the full chunk is reused";
    EXPECT_EQ(3, pool->chunkCount());
    EXPECT_GT(FatalExitCodeOf([&] { pool->alloc(13); }), 0) << "one byte above the element size";
    for (void* p : items)
        AFixedPool::freeIn(&pool, p);
    EXPECT_EQ(nullptr, pool) << "the pool is deleted with its last element";
}

TEST(AFixedPool, StringBodiesFillASecondChunk) {
    long before = _AString::instanceCount();
    ASSERT_EQ(0, before) << "no string bodies should be alive between tests";
    std::vector<AString*> strings;
    for (int i = 0; i < 201; ++i)
        strings.push_back(new AString(static_cast<long>(i)));
    EXPECT_EQ(201, _AString::instanceCount());
    ASSERT_NE(nullptr, _AString::pool());
    EXPECT_EQ(2, _AString::pool()->chunkCount());
    for (AString* s : strings)
        delete s;
    EXPECT_EQ(0, _AString::instanceCount());
    EXPECT_EQ(nullptr, _AString::pool()) << "freeing them all deletes the pool";
}

TEST(AMemoryChecker, ReportsOnTheErrorStream) {
    CaptureStream stream;
    SetErrorStream(&stream);
    {
        AMemoryChecker checker;
        EXPECT_TRUE(CheckAllMemoryBlocks());
        checker.reportStatistics();
    }
    EXPECT_EQ(
        "0 bytes in 0 Free Blocks\n0 bytes in 0 New Blocks\n0 bytes in 0 Malloc Blocks\n0 bytes in 0 Fixed Blocks\n"
        "Largest number used: 0 bytes\nTotal allocations: 0 bytes\nNo memory leaks detected!\n",
        stream.text);

    // A tracked block with a damaged guard and one leaked after the snapshot.
    stream.text.clear();
    alignas(8) unsigned char raw[sizeof(AMemBlockRecord) + 4 + 8 + 4];
    AMemBlockRecord* r = reinterpret_cast<AMemBlockRecord*>(raw);
    std::memset(raw, 0xFD, sizeof raw);
    *r = AMemBlockRecord{nullptr, nullptr, "dobject", 12, 8, 1, 7};
    {
        AMemoryChecker checker;
        g_memBlocks = r;
        r->data()[8] = 0;
        EXPECT_FALSE(CheckAllMemoryBlocks());
    }
    g_memBlocks = nullptr;
    SetErrorStream(nullptr);
    EXPECT_NE(std::string::npos, stream.text.find("DAMAGE: after New block at $"));
    EXPECT_NE(std::string::npos, stream.text.find("New allocated at : File dobject; line 12\n"));
    EXPECT_NE(std::string::npos,
              stream.text.find(
                  "Detected memory leaks!\nDumping objects ->\nFile dobject; Line 12 # {7} : object block at $"));
    EXPECT_NE(std::string::npos, stream.text.find(", 8 bytes long\nObject dump complete.\n"));
}

// A reused slot reads as zero over the whole element, odd sizes included.
TEST(AFixedPool, ReusedSlotsAreZeroFilled) {
    for (size_t size : {1u, 2u, 3u, 7u, 15u}) {
        SCOPED_TRACE(size);
        static AFixedPool* pool = nullptr;
        auto alloc = [&] { return static_cast<unsigned char*>(AFixedPool::allocIn(&pool, size, 4, "test", 1)); };
        void* keep = alloc();  // keeps the chunk alive
        unsigned char* used = alloc();
        std::memset(used, 0xFF, size);
        AFixedPool::freeIn(&pool, used);
        unsigned char* again = alloc();
        ASSERT_EQ(used, again);
        for (size_t i = 0; i < size; ++i)
            EXPECT_EQ(0, again[i]) << i;
        AFixedPool::freeIn(&pool, again);
        AFixedPool::freeIn(&pool, keep);
        EXPECT_EQ(nullptr, pool);
    }
}

// Elements start where any type of their size may start: a double or a
// 64-bit integer on 8 bytes, a pointer pair on 4, in every slot of every chunk.
TEST(AFixedPool, ElementsAreAlignedForTheirSize) {
    struct Row {
        size_t size;
        uintptr_t align;
    } rows[] = {{1, 2}, {2, 2}, {3, 2}, {4, 4}, {6, 2}, {8, 8}, {12, 4}, {16, 8}, {24, 8}, {40, 8}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        static AFixedPool* pool = nullptr;
        std::vector<void*> items;
        for (int i = 0; i < 9; ++i) {
            void* p = AFixedPool::allocIn(&pool, row.size, 4, "test", 1);
            EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % row.align) << "element " << i;
            std::memset(p, 0xEE, row.size);
            items.push_back(p);
        }
        EXPECT_EQ(3, pool->chunkCount());
        for (void* p : items)
            AFixedPool::freeIn(&pool, p);
        EXPECT_EQ(nullptr, pool);
    }
}
