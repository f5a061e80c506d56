// Correspondence tables: entries beyond the end, growth by chunks, damaged files.
#include <gtest/gtest.h>

#include <random>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "search/engine/records/KyTabCor.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"

TEST(KyTabCor, EntriesReadBackAndTheFileGrowsByChunks) {
    TempFolder folder;
    OpenSpecOf spec(folder.write("t.cor", std::string("\x05\x00\x00\x00", 4)));
    KY_File* f = KY_FOpen(spec.get(), "r+b");
    ASSERT_NE(nullptr, f);
    struct Row {
        int32_t n, written, read;
        long size;  // after the write
    } rows[] = {
        {0, 7, 7, 4},
        {1, 9, 9, kTabCorGrowth + 4},
        {2047, 3, 3, kTabCorGrowth + 4},
        {2049, -1, -1, 2 * kTabCorGrowth + 4},
        {3000, 0x12345678, 0x12345678, 2 * kTabCorGrowth + 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.n);
        int32_t entry = 0;
        ASSERT_EQ(0, KyTabCorWrite(f, row.n, row.written));
        EXPECT_EQ(row.size, KY_FileSize(f));
        ASSERT_EQ(0, KyTabCorRead(f, row.n, &entry));
        EXPECT_EQ(row.read, entry);
        ASSERT_EQ(0, KyTabCorRead(f, row.n + 1, &entry));
        EXPECT_EQ(-1, entry);
    }
    int32_t entry = 0;
    EXPECT_EQ(0, KyTabCorRead(f, 1000000, &entry));
    EXPECT_EQ(-1, entry);
    EXPECT_EQ(106, KyTabCorRead(f, -1, &entry));
    EXPECT_STREQ("tabcor", KY_EngineErrorText);
    EXPECT_EQ(103, KyTabCorRead(nullptr, 0, &entry));
    KY_FClose(f);
}

TEST(KyTabCor, DamagedTablesAnswer) {
    TempFolder folder;
    std::mt19937 rng(5);
    for (int m = 0; m < 10000; ++m) {
        std::string bytes(rng() % 64, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        OpenSpecOf spec(folder.rewrite("m.cor", bytes));
        KY_File* f = KY_FOpen(spec.get(), "rb");
        ASSERT_NE(nullptr, f);
        for (int32_t n = 0; n < 20; ++n) {
            int32_t entry = 0;
            ASSERT_EQ(0, KyTabCorRead(f, n, &entry));
            if (static_cast<size_t>(n) * 4 + 4 > bytes.size()) {
                ASSERT_EQ(-1, entry);
            } else {
                ASSERT_EQ(static_cast<int32_t>(GetWord(bytes, n * 4)), entry);
            }
        }
        KY_FClose(f);
    }
}
