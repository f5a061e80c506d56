// The stop-word list: loading line files whole, whatever their size and line
// ends, and looking words up as whole normalised lines.
#include "base/procedural/KyStopWord.h"
#include "base/procedural/EngineTables.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct StopWordsScope {
    ~StopWordsScope() { KY_FreeStopWords(); }
};

// Looks up each blank-separated word of words; expects found (1) or not (0).
void ExpectStopWords(int found, const std::string& words) {
    for (size_t i = 0, j; i < words.size(); i = j + 1) {
        j = std::min(words.find(' ', i), words.size());
        EXPECT_EQ(found, KY_FindStopWord(words.substr(i, j - i).c_str(), nullptr)) << words.substr(i, j - i);
    }
}

}  // namespace

TEST(KyStopWord, LoadsWholeLinesWhateverTheLineEnds) {
    struct Row {
        const char* what;
        std::string file;
        const char* present;  // words separated by blanks
        const char* absent;
    } const rows[] = {
        {"last line without a line end", "le\nla\nles", "le la les", "l e lesx"},
        {"carriage returns only", "le\rla\rles\r", "le la les", "l"},
        {"both", "le\r\nla\r\n\r\n\nles\r\n", "le la les", "l"},
        {"empty file", "", "", "le"},
        {"letters past 127, words and their prefixes", "a\nz\n\xe0\n\xe2ge\n\xe9t\xe9\n\xe9t\xe9s\nzz\n",
         "a z \xe0 \xe2ge \xe9t\xe9 \xe9t\xe9s zz", "\xe9t \xe2g b \xe9t\xe9sx"},
    };
    TempFolder folder;
    StopWordsScope scope;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ASSERT_EQ(1, KY_LoadStopWordFile(folder.write("stop.txt", r.file).c_str(), nullptr));
        ExpectStopWords(1, r.present);
        ExpectStopWords(0, r.absent);
        EXPECT_EQ(0, KY_FindStopWord("", nullptr));
    }
}

TEST(KyStopWord, LoadsLargeFilesAndSkipsOverlongLines) {
    TempFolder folder;
    StopWordsScope scope;
    std::string file;
    std::string last;
    for (int i = 0; file.size() < 70000; ++i)
        file += (last = "mot" + std::to_string(i)) + "\n";
    file += std::string(200, 'x') + "\n" + "apres\n" + std::string(126, 'y') + "\n" + "fin";
    ClearBoxes();
    ASSERT_EQ(1, KY_LoadStopWordFile(folder.write("big.txt", file).c_str(), nullptr));
    ExpectStopWords(1, "mot0 " + last + " apres " + std::string(126, 'y') + " fin");
    ExpectStopWords(0, std::string(126, 'x'));
    EXPECT_NE(std::string::npos, ShownText().find("#Stop word line too long in "));
}

TEST(KyStopWord, NormalisesThroughTheTableAndReportsFailures) {
    TempFolder folder;
    StopWordsScope scope;
    unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    table['-'] = 255;
    ASSERT_EQ(1, KY_LoadStopWordFile(folder.write("stop.txt", "L'UN\nAU-DEL\xC0\n").c_str(), table));
    for (const char* word : {"l'un", "L'Un", "audel\xC0"})
        EXPECT_EQ(1, KY_FindStopWord(word, table)) << word;
    EXPECT_EQ(0, KY_FindStopWord("L'UN", nullptr)) << "the list holds normalised words";
    EXPECT_EQ(0, KY_FindStopWordDefault("L'UN"));
    EXPECT_EQ(1, KY_FindStopWordDefault("l'un"));

    std::string missing = folder.path("absent.txt");
    EXPECT_EQ(105, KY_LoadStopWordFile(missing.c_str(), table));
    EXPECT_EQ(missing, KY_EngineErrorText);
    EXPECT_EQ(1, KY_FindStopWord("l'un", table)) << "a failed open keeps the list";
    EXPECT_EQ(105, KY_LoadStopWordFile(nullptr, table));
    EXPECT_STREQ("", KY_EngineErrorText);
    KY_FreeStopWords();
    EXPECT_EQ(0, KY_FindStopWord("l'un", table));
}

TEST(KyStopWord, MapsCharacterTablesInPlace) {
    unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    table['x'] = 255;
    table['!'] = 0;
    struct Row {
        const char* text;
        const unsigned char* table;
        const char* expected;
    } const rows[] = {
        {"axbxc", table, "abc"},
        {"ab!cd", table, "ab"},
        {"xxx", table, ""},
        {"axb", nullptr, "axb"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        std::string text = r.text;
        long n = KY_FilterChars(&text[0], r.table);
        EXPECT_EQ(r.expected, std::string(text.c_str()));
        EXPECT_EQ(static_cast<long>(std::string(r.expected).size()), n);
        EXPECT_EQ(n, KY_FilterCharsLength());
    }
}
