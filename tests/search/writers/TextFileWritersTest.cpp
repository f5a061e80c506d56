// The stop-list and character-table writers, read back by the engine's loader.
#include <gtest/gtest.h>

#include "base/procedural/KyStopWord.h"
#include "search/writers/FileImage.h"
#include "search/writers/TextFileWriters.h"
#include "tests/base/procedural/TextTestSupport.h"

TEST(TextFileWriters, StopListsLoadBack) {
    TempFolder folder;
    std::string path = folder.path("stop.sw");
    ASSERT_EQ("", WriteStopList(path, {"le", "la", "les", "de"}));
    ASSERT_EQ(1, KY_LoadStopWordFile(path.c_str(), nullptr));
    struct Row {
        const char* word;
        int stop;
    } rows[] = {{"le", 1}, {"les", 1}, {"de", 1}, {"lexique", 0}, {"l", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.word);
        EXPECT_EQ(row.stop, KY_FindStopWord(row.word, nullptr));
    }
    KY_FreeStopWords();
    EXPECT_NE("", WriteStopList(path, {"a\nb"}));
    EXPECT_NE("", WriteStopList(path, {std::string(126, 'x')}));
    DeleteFileA(path.c_str());
}

TEST(TextFileWriters, CharTablesListTheirRuns) {
    unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
    table[0xE9] = 'E';
    table['-'] = 255;
    table['.'] = 255;
    TempFolder folder;
    std::string path = folder.path("t.flt");
    ASSERT_EQ("", WriteCharTable(path, table));
    std::string text;
    ASSERT_TRUE(LoadFile(path, &text));
    EXPECT_EQ("; character table: from count to\r\n0x2D 2 UNUSED\r\n0x61 26 0x41\r\n0xE9 1 0x45\r\n", text);
    DeleteFileA(path.c_str());
}
