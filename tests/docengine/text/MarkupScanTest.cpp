// Delimiter searches over markup text and reader positions, and the parser error.
#include <gtest/gtest.h>

#include <string>

#include "docengine/text/AStringReader.h"
#include "docengine/text/MarkupScan.h"
#include "tests/support/TestHooks.h"

namespace {

bool IsHash(char c) {
    return c == '#';
}

long Offset(const std::string& text, const char* found) {
    return found ? static_cast<long>(found - text.data()) : -1;
}

}  // namespace

TEST(MarkupScanTest, EscapedBytesAndNestedBracesHideDelimiters) {
    struct Row {
        std::string text;
        bool outsideBraces;
        long want;
    } rows[] = {
        {"a\\#b#c", false, 4}, {std::string("a\x0E#b#", 5), false, 4},
        {"{x#y}#z", true, 5},  {"{x#y}#z", false, 2},
        {"{{#}}", true, -1},   {"ab\\", false, -1},
        {"#", false, 0},       {"", true, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const char* b = row.text.data();
        const char* e = b + row.text.size();
        const char* found = row.outsideBraces ? findUnescapedOutsideBraces(b, e, '#', isEscapeByte)
                                              : findUnescaped(b, e, '#', isEscapeByte);
        EXPECT_EQ(row.want, Offset(row.text, found));
        // The reader form agrees with the pointer form.
        if (!row.outsideBraces) {
            AStringReader* reader = new AStringReader(row.text.data(), static_cast<long>(row.text.size()));
            reader->addRef();
            AReaderPos at = findUnescapedAt({reader, 0}, {reader, reader->length()}, '#', isEscapeByte);
            EXPECT_EQ(row.want, at.reader ? at.index : -1);
            reader->release();
        }
    }
}

TEST(MarkupScanTest, PlainSearchesStayInsideTheirRange) {
    std::string text = "ab#cd#ef";
    const char* b = text.data();
    EXPECT_EQ(2, Offset(text, findFirstMatching(b, b + 8, IsHash)));
    EXPECT_EQ(-1, Offset(text, findFirstMatching(b, b + 2, IsHash)));
    EXPECT_EQ(5, Offset(text, findLastMatching(b + 8, b, IsHash)));
    EXPECT_EQ(2, Offset(text, findLastMatching(b + 5, b, IsHash)));
    EXPECT_EQ(-1, Offset(text, findLastMatching(b + 5, b + 3, IsHash)));

    AStringReader* reader = new AStringReader(text.c_str(), -1);
    reader->addRef();
    // The backward search never reads the byte at its start.
    EXPECT_EQ(2, findLastMatchingAt({reader, 5}, {reader, 0}, IsHash).index);
    EXPECT_EQ(nullptr, findLastMatchingAt({reader, 2}, {reader, 0}, IsHash).reader);
    EXPECT_EQ(5, findFirstMatchingAt({reader, 3}, {reader, 8}, IsHash).index);
    EXPECT_EQ(nullptr, findFirstMatchingAt({reader, 6}, {reader, 8}, IsHash).reader);
    EXPECT_EQ(0, byteAt({nullptr, 3}));
    reader->release();
}

TEST(MarkupScanTest, PairUpperBoundFindsTheFirstPairEndingAfterTheKey) {
    const ARange pairs[] = {{0, 5}, {8, 10}, {20, 30}};
    struct Row {
        long key;
        long want;
    } rows[] = {{-1, 0}, {4, 0}, {5, 1}, {9, 1}, {10, 2}, {29, 2}, {30, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.want, findPairUpperBound(pairs, pairs + 3, row.key) - pairs);
    }
}

TEST(MarkupScanTest, AParserErrorCarriesTheMessageAndTheText) {
    std::string text = "{Bxx} suite";
    try {
        RaiseParserError(42, "Found no # for bitmap spec at :", text.data() + 2, text.data() + 5, "\n");
        FAIL() << "no error raised";
    } catch (const AParserError& e) {
        EXPECT_STREQ("Found no # for bitmap spec at :xx}\n", e.message().c_str());
        EXPECT_STREQ("gparser", e.file());
        EXPECT_EQ(42, e.line());
        CaptureStream stream;
        e.report(stream);
        EXPECT_EQ("Found no # for bitmap spec at :xx}\n\n", stream.text);
    }
}
