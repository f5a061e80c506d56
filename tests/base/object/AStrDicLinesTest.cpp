// Word sets read from and written to line files.
#include "base/object/AFileStream.h"
#include "base/object/AStrDic.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class WordSetTest : public TempFolderTest {};
}  // namespace

TEST_F(WordSetTest, ReadsLinesUpToTheFirstEmptyOneAndWritesThemBack) {
    struct Row {
        const char* name;
        const char* content;
        const char* written;  // writeLines of the set
    } rows[] = {
        {"stops at the empty line", "le\r\nla\r\n\r\nignored\r\n", "la\nle\n"},
        {"last line without an end", "les\nde", "de\nles\n"},
        {"repeated words once", "un\nun\n", "un\n"},
        {"empty file", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll(PathOf("words.txt"), row.content);
        AStrDic words;
        {
            AFileStream stream(AFile(fs_, AFileSpec(PathOf("words.txt").c_str()), 0, kPlainFileOptions, false), "rb", 0);
            words.readLines(stream);
        }
        for (Pix p = words.first(); p; words.next(p))
            EXPECT_EQ(nullptr, words.contents(p)) << "a set of words holds no values";
        CaptureStream out;
        words.writeLines(out);
        EXPECT_EQ(row.written, out.text);
    }
}
