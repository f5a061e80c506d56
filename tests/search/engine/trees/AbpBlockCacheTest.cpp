// The B+ tree reader's block cache: what it copies is what the file holds,
// across blocks, at the file's end, and after its blocks were replaced.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/engine/trees/AbpBlockCache.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

class AbpBlockCacheTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        // More blocks than the cache holds, and a last one cut short.
        const long blocks = AbpBlockCache::kSets * AbpBlockCache::kWays + 37;
        data_.resize(static_cast<size_t>(blocks * AbpBlockCache::kBlock + 1000));
        std::mt19937 rng(7);
        for (char& c : data_)
            c = static_cast<char>(rng());
        WriteAll(PathOf("blocks.abp"), data_);
        file_ = KY_FOpen(Spec("blocks.abp"), "rb");
        ASSERT_NE(nullptr, file_);
    }
    void TearDown() override {
        if (file_)
            KY_FClose(file_);
        TempFolderTest::TearDown();
    }
    // What the cache copies at offset, as text: the bytes, or "-1".
    std::string Read(AbpBlockCache* cache, long offset, long n) {
        std::string out(static_cast<size_t>(n), '\0');
        long got = cache->read(file_, static_cast<int32_t>(offset), reinterpret_cast<uint8_t*>(&out[0]), n);
        return got < 0 ? "-1" : out.substr(0, static_cast<size_t>(got));
    }
    std::string Expected(long offset, long n) const {
        long size = static_cast<long>(data_.size());
        return offset < 0 || offset >= size ? "-1" : data_.substr(static_cast<size_t>(offset), static_cast<size_t>(n));
    }

    std::string data_;
    KY_File* file_ = nullptr;
};

TEST_F(AbpBlockCacheTest, CopiesWhatTheFileHoldsWhereverTheBytesLie) {
    const long block = AbpBlockCache::kBlock, size = static_cast<long>(data_.size());
    struct Row {
        const char* what;
        long offset, n;
    } rows[] = {
        {"within a block", 100, 512},
        {"a whole page", 3 * block, block},
        {"across one boundary", 2 * block - 7, 512},
        {"across two boundaries", 5 * block - 1, 2 * block + 2},
        {"the last block, cut short", size - 1000, 1000},
        {"past the end: short", size - 300, 5120},
        {"at the end", size, 512},
        {"beyond the end", size + 5 * block, 512},
        {"a negative offset", -4, 512},
    };
    AbpBlockCache cache;
    for (int pass = 0; pass < 2; ++pass)
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (pass ? ", kept" : ", read"));
            EXPECT_EQ(Expected(row.offset, row.n), Read(&cache, row.offset, row.n));
        }
}

// More blocks than it holds, read at random: every copy matches the file, so
// a replaced block never answers for another.
TEST_F(AbpBlockCacheTest, ReplacedBlocksNeverAnswerForOthers) {
    AbpBlockCache cache;
    std::mt19937 rng(11);
    const long size = static_cast<long>(data_.size());
    int wrong = 0;
    for (int i = 0; i < 6000; ++i) {
        // Half the reads near the start, so that blocks come back after others replaced them.
        long offset = static_cast<long>(rng() % static_cast<uint32_t>(i % 2 ? size : 40 * AbpBlockCache::kBlock));
        long n = 1 + static_cast<long>(rng() % 6000);
        wrong += Read(&cache, offset, n) != Expected(offset, n);
    }
    EXPECT_EQ(0, wrong);
}

}  // namespace
