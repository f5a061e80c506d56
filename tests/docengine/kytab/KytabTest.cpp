// The kytab notation: searches, reading, grid placement, text, writer and robustness.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/procedural/AError.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/AMarkupExportWriter.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/kytab/AKytabCell.h"
#include "docengine/kytab/KyTab.h"
#include "tests/docengine/kytab/KytabTestSupport.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/docengine/parser/MarkupGenerator.h"
#include "tests/support/TestHooks.h"

namespace {

TEST(KytabTest, SearchesHonourEscapesAndNesting) {
    struct Row {
        const char* text;
        char c;
        long unescaped;  // offset, or -1 for the NUL
        long unnested;   // offset, or -1 for none
    } rows[] = {
        {"a:b", ':', 1, 1},      {"a\\:b:", ':', 4, 4}, {"[a*b]*c", '*', 2, 5},
        {"{x*}\\**", '*', 2, 6}, {"abc", '*', -1, -1},  {"a\\", '*', -1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const char* end = row.text + strlen(row.text);
        const char* found = KyTab::FindUnescaped(row.text, row.c);
        EXPECT_EQ(row.unescaped < 0 ? end : row.text + row.unescaped, found);
        const char* nested = KyTab::FindUnnested(row.text, row.c, end);
        EXPECT_EQ(row.unnested < 0 ? nullptr : row.text + row.unnested, nested);
    }
    long value = 0;
    KyTab::ParseColour("RGB0000FF", &value);
    EXPECT_EQ(static_cast<long>(0xFF0000FFu), value);
    KyTab::ParseColour("12", &value);
    EXPECT_EQ(12, value);
}

TEST(KytabTest, DescriptionsReadAsTheirFields) {
    struct Row {
        const char* markup;
        const char* described;
    } rows[] = {
        {"/&TABLE:100%:B4:RGB00FF00:5[[0,0,0,0,0|x]]&/",
         "mode=3 width=100 frame=1 margin=4 line=FF00FF00 fill=5 1x1 [0,0,0,0,0,5:15:1|x]"},
        {"/&TABLE:0:N0:[[0,0,0,0,0|x]]&/", "mode=1 width=0 frame=-1 margin=0 line=0 fill=-1 1x1 [0,0,0,0,0,0:0:1|x]"},
        {"/&TABLE:100%:N:[[100,0,0,0,0|x]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 1x1 [100,0,0,0,0,0:0:1|x]"},
        {"/&TABLE:300:2:[[0,0,0,0,0|x]]&/",
         "mode=2 width=300 frame=0 margin=2 line=0 fill=-1 1x1 [0,0,0,0,0,0:15:1|x]"},
        {"/&TABLE:100%:N0:[]&/", "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 0x0"},
        {"/&TABLE:100%:N0:::5[[0,0,0,0,0|x]]&/", "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 0x0"},
        {"/&TABLE:100%:N0:[[0,0,0,0,0|x*]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 1x1 [0,0,0,0,0,0:0:1|x]"},
        {"/&TABLE:100%:N0:[[0,0,0,0,0|[a*b]*0,0,0,0,0|c\\*d]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 1x2 [0,0,0,0,0,0:0:1|[a*b] 0,0,0,0,0,0:0:1|c*d]"},
        {"/&TABLE:100%:N0:[[0,0,0,0,0|a|b]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 1x1 [0,0,0,0,0,0:0:1|a|b]"},
        {"/&TABLE:100%:B0:[[T100,0,0,0,0:0|t*100,0,3,0,0:0|s]]&/",
         "mode=3 width=100 frame=1 margin=0 line=0 fill=-1 1x4 [0,0,0,0,0,0:0:1 T|t 0,0,0,3,0,0:0:1|s ^ ^]"},
        {"/&TABLE:0:B0:[[-120:-30,0,0,2,RGB0000FF:5:RGB00FF00:3|x*50,0,0,0,/!7|y]]&/",
         "mode=1 width=0 frame=1 margin=0 line=0 fill=-1 1x2 [-120,-30,0,0,2,FF0000FF:5:3|x 0,0,0,0,0,0:15:1 pic=7|y]"},
        {"/&TABLE:100%:N0:[[0,2,0,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 2x2 [0,0,2,0,0,0:0:1|a 0,0,0,0,0,0:0:1|b] [^ "
         "0,0,0,0,0,0:0:1|c]"},
        {"/&TABLE:100%:N0:[[0,0,0,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 2x2 [0,0,0,0,0,0:0:1|a 0,0,0,0,0,0:0:1|b] "
         "[0,0,0,0,0,0:0:1|c _]"},
        {"/&TABLE:100%:N0:[[0,2,2,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 2x3 [0,0,2,2,0,0:0:1|a ^ 0,0,0,0,0,0:0:1|b] [^ ^ "
         "0,0,0,0,0,0:0:1|c]"},
        {"/&TABLE:100%:N0:[[0,5,0,0,0|a]]&/",
         "mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 1x1 [0,0,5,0,0,0:0:1|a]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        ParsedTable parsed(row.markup);
        ASSERT_TRUE(parsed.table) << parsed.error;
        EXPECT_EQ(row.described, DescribeTable(parsed.table));
    }
}

TEST(KytabTest, BadDescriptionsAreRefusedWithTheirText) {
    struct Row {
        const char* markup;
        const char* error;
    } rows[] = {
        {"/&TAB:100%:N0:[]&/", "Not an table"},
        {"/&table:100%:N0:[]&/", "Not an table"},
        {"/&TABLE:100%&/", "KyTab error: missing : after the width"},
        {"/&TABLE:100%:N0&/", "KyTab error: missing : after the frame"},
        {"/&TABLE:100%:N0:[[0,0,0,0,0|x]&/", "KyTab error: missing ]"},
        {"/&TABLE:100%:N0:[[0,0,0,0,0|x**0,0,0,0,0|y]]&/", "KyTab error: missing | in a cell"},
        {"/&TABLE:100%:N0:[[0,0,0,0|x]]&/", "KyTab error: missing , in a cell header"},
        {"/&TABLE:-5:N0:[]&/", "KyTab error: bad table width"},
        {"/&TABLE:0%:N0:[]&/", "KyTab error: bad table width"},
        {"/&TABLE:100%:N0:[[0,0,1000000,0,0|x]]&/", "KyTab error: bad column span"},
        {"/&TABLE:100%:N0:[[0,0,499,0,0|x*0,0,9,0,0|y]]&/", "KyTab error: span beyond the grid"},
        {"/&TABLE:100%:N0:[[-99999999,0,0,0,0|x]]&/", "KyTab error: bad cell width"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        ParsedTable parsed(row.markup);
        EXPECT_FALSE(parsed.table);
        EXPECT_EQ(row.error, parsed.error);
        EXPECT_STREQ(row.error, g_errorMessage);
    }
}

TEST(KytabTest, GridsBeyondTheirBoundsAreRefused) {
    std::string wide = "/&TABLE:0:N0:[[";
    for (long c = 0; c <= KyTab::kMaxColumns; ++c)
        wide += c ? "*0,0,0,0,0|x" : "0,0,0,0,0|x";
    std::string tall = "/&TABLE:0:N0:[";
    for (long r = 0; r <= KyTab::kMaxRows; ++r)
        tall += r ? "*[]" : "[]";
    struct Row {
        std::string markup;
        const char* error;
    } rows[] = {
        {wide + "]]&/", "KyTab error: table beyond its bounds"},
        {tall + "]&/", "KyTab error: too many rows"},
        {"/&TABLE:0:N0:[[0,2000,400,0,0|x]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*"
         "[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*"
         "[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*"
         "[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*"
         "[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]*[]]&/",
         "KyTab error: too many cells"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup.substr(0, 40));
        ParsedTable parsed(row.markup);
        EXPECT_FALSE(parsed.table);
        EXPECT_EQ(row.error, parsed.error);
    }
}

TEST(KytabTest, PlainTextEndsCellsWithTabsAndRowsWithLineFeeds) {
    struct Row {
        const char* markup;
        const char* text;
    } rows[] = {
        {"/&TABLE:0:N0:[[0,0,0,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c*0,0,0,0,0|d]]&/", "a\tb\t\nc\td\t\n"},
        {"/&TABLE:0:N0:[[0,2,0,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/", "a\tb\t\n\tc\t\n"},
        {"/&TABLE:0:N0:[[0,0,0,0,0|x\\ny*0,0,0,0,0|z\\n]]&/", "x \r\ny\tz \t\n"},
        {"/&TABLE:0:N0:[[0,0,0,0,0|x\\\\ny]]&/", "x\\ny\t\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        ParsedTable parsed(row.markup);
        ASSERT_TRUE(parsed.table) << parsed.error;
        EXPECT_EQ(row.text, std::string(parsed.table->getText(parsed.table->textRange()).c_str()));
    }
}

// Cells numbered by position; cell n answers "c<n>" and its three values.
class Source : public ATableCellSource {
public:
    AString getCell(int n, int16_t* first, int16_t* fifth, int16_t* sixth, void*) override {
        *first = values[n][0];
        *fifth = values[n][1];
        *sixth = values[n][2];
        return AString(texts[n].c_str());
    }
    int16_t values[50][3] = {};
    std::string texts[50];
};

TEST(KytabTest, WriterEmitsTheNotation) {
    struct Row {
        const char* shape;
        const char* separator;
        const char* markup;
    } rows[] = {
        {"0|1", "\t", "/&TABLE:100%:N0:[[0,0,1,0,0:0|a\t-120,0,1,0,3:15|b]]&/"},
        {"0|-1", "*", "/&TABLE:100%:N0:[[0,0,2,0,0:0|a]]&/"},
        {"-1|0", "*", "/&TABLE:100%:N0:[[0,0,1,0,0:0|*0,0,1,0,0:0|a]]&/"},
        {"0,1", "*", "/&TABLE:100%:N0:[[0,0,1,0,0:0|a]*[-120,0,1,0,3:15|b]]&/"},
        {"0|-1|-1,1|2|3", "*", "/&TABLE:100%:N0:[[0,0,3,0,0:0|a]*[-120,0,1,0,3:15|b*0,0,1,0,0:0|x y*0,0,1,0,0:0|/]]&/"},
    };
    Source source;
    source.texts[0] = "a";
    source.texts[1] = "b";
    source.values[1][0] = -120;
    source.values[1][1] = 3;
    source.values[1][2] = 15;
    source.texts[2] = "x*y";
    source.texts[3] = "/";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shape);
        EXPECT_STREQ(row.markup, KyTab::WriteTable(&source, row.shape, "100%:N0", row.separator, nullptr).c_str());
    }
}

TEST(KytabTest, WrittenTablesReadBackTheSameCells) {
    MarkupGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        int rows = 1 + random.next() % 4, columns = 1 + random.next() % 5;
        std::string shape;
        Source source;
        std::vector<int> spans;  // expected colSpan of each written cell
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                int p = r * columns + c;
                bool extend = c > 0 && random.next() % 3 == 0;
                shape += std::string(c ? "|" : (r ? "," : "")) + (extend ? "-1" : std::to_string(p));
                source.values[p][0] = static_cast<int16_t>(-(static_cast<int>(random.next() % 200)));
                source.values[p][1] = static_cast<int16_t>(random.next() % 9);
                source.values[p][2] = static_cast<int16_t>(random.next() % 16);
                source.texts[p] = "t" + std::to_string(p);
            }
        }
        std::string markup = KyTab::WriteTable(&source, shape.c_str(), "0:N0", "*", nullptr).c_str();
        SCOPED_TRACE(markup);
        ParsedTable parsed(markup);
        ASSERT_TRUE(parsed.table) << parsed.error;
        ASSERT_EQ(rows, parsed.table->rowCount);
        ASSERT_EQ(columns, parsed.table->columnCount);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                AKytabCell* cell = parsed.table->cellAt(r, c);
                int p = r * columns + c;
                if (cell->covered)
                    continue;
                int span = 1;
                while (c + span < columns && shape.size() && parsed.table->cellAt(r, c + span)->covered)
                    ++span;
                EXPECT_EQ(span, cell->colSpan);
                EXPECT_EQ(span > 1 ? 0 : source.values[p][0], cell->width);
                EXPECT_EQ(source.values[p][1], cell->fill);
                EXPECT_EQ(source.values[p][2], cell->sides);
                EXPECT_EQ(source.texts[p], cell->getText(0, 0x7FFFFFFF).c_str());
            }
        }
    }
}

TEST(KytabTest, MutatedDescriptionsParseOrFailWithTheErrorText) {
    MarkupGenerator random(11);
    const std::string seed =
        "/&TABLE:100%:B2:RGB00FF00:5[[T100:50,2,0,1,RGB0000FF:5:3:2|for\\\xEAt{x*y}\\nchene*-20,0,2,0,/!3|b]*"
        "[0,0,0,0,0|c*[0,0,0,0,0|d]]*[0,1,1,1,1|e]]&/";
    int parsed = 0, refused = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string text = random.mutate(i % 2 ? seed : random.mutate(seed));
        SCOPED_TRACE(text);
        int fatal = FatalExitCodeOf([&] { ParsedTable probe(text); });
        ASSERT_EQ(-1, fatal) << g_errorMessage;
        ParsedTable table(text);
        if (table.table) {
            ++parsed;
        } else if (table.error.rfind("KyTab error:", 0) == 0 || table.error == "Not an table") {
            EXPECT_EQ(table.error, std::string(g_errorMessage));  // the table's own refusals
            ++refused;
        }
    }
    EXPECT_GT(parsed, 100);
    EXPECT_GT(refused, 100);
}

}  // namespace

namespace {

std::string Exported(const std::string& markup, bool rtf) {
    ParsedTable parsed(markup);
    if (!parsed.table)
        return "error: " + parsed.error;
    Held<AStringExportSink> sink(new AStringExportSink);
    if (rtf) {
        ARtfExportWriter writer(sink.get(), nullptr);
        writer.exportModel(parsed.model, AExportContext());
    } else {
        AMarkupExportWriter writer(sink.get(), nullptr, false);
        writer.exportModel(parsed.model, AExportContext());
    }
    return sink->getString().c_str();
}

TEST(KytabTest, TablesExportCellByCell) {
    struct Row {
        const char* markup;
        bool rtf;
        const char* contains;
    } rows[] = {
        {"/&TABLE:100%:N0:[[-40,0,0,0,3:0|a*0,0,0,0,0:0|b]*[0,0,0,0,0:0|c*0,0,0,0,0:0|d]]&/", false,
         "/&TABLE:100%:N "
         "0:[[-40,0,0,0,3:0|/@S0//@C0/a\\n*0,0,0,0,0:0|/@S0//@C0/b\\n]*[0,0,0,0,0:0|/@S0//@C0/c\\n*0,0,0,"
         "0,0:0|/@S0//@C0/d\\n]]&/"},
        {"/&TABLE:0:B0:[[0,2,0,1,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/", false,
         "/&TABLE:0:B 0:[[0,2,0,1,0:15|/@S0//@C0/a\\n*0,0,0,0,0:15|/@S0//@C0/b\\n]*[0,0,0,0,0:15|/@S0//@C0/c\\n]]&/"},
        {"/&TABLE:0:B0:[[0,2,0,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/", true, "\\clvmgf"},
        {"/&TABLE:0:B0:[[0,2,0,0,0|a*0,0,0,0,0|b]*[0,0,0,0,0|c]]&/", true, "\\clvmrg"},
        {"/&TABLE:451:N0:[[-40,0,0,0,0|a*0,0,0,0,0|b]]&/", true, "\\cellx800\r\n"},
        {"/&TABLE:451:N0:[[-40,0,0,0,0|a*0,0,0,0,0|b]]&/", true, "\\cellx9020\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        std::string out = Exported(row.markup, row.rtf);
        EXPECT_NE(std::string::npos, out.find(row.contains)) << out;
    }
    // The markup writer's head ("N 0") reads back as the notation's own ("N0"); its "\n" cell ends add a blank.
    std::string again = Exported("/&TABLE:100%:N0:[[-40,0,0,0,3:0|a*0,0,0,0,0:0|b]]&/", false);
    ParsedTable reread(again);
    ASSERT_TRUE(reread.table) << reread.error;
    EXPECT_EQ("mode=3 width=100 frame=-1 margin=0 line=0 fill=-1 1x2 [-40,0,0,0,0,3:0:1|a  0,0,0,0,0,0:0:1|b ]",
              DescribeTable(reread.table));
}

}  // namespace
