// The chronology's time scale, the random array under its columns, line
// access over a reader, and damaged scale, background and event texts.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/object/ARandomArray.h"
#include "docengine/parser/ALineAccessor.h"
#include "docengine/text/AStringReader.h"
#include "docengine/model/ASegment.h"
#include "panes/content/chrono/AChronoFragment.h"
#include "panes/content/chrono/AChronoScale.h"
#include "panes/content/chrono/AChronoSegParser.h"

namespace {

const char kScale[] = "-5000\t500\n-1000\t100\n0\t10\n";

std::string Conversions(const char* text, long unit, std::initializer_list<long> realYears) {
    AChronoScale scale;
    scale.unit = unit;
    scale.parse(text);
    std::string out = "offset " + std::to_string(scale.offset) + " length " + std::to_string(scale.length()) + ":";
    for (long y : realYears) {
        long p = scale.yearToPos(y + scale.offset);
        out += " " + std::to_string(y) + ">" + std::to_string(p) + ">" + scale.formatYear(scale.posToYear(p)).c_str();
    }
    return out;
}

}  // namespace

TEST(ChronoScaleTest, ConvertsYearsAndPositionsPiecewise) {
    struct Row {
        const char* text;
        long unit;
        std::initializer_list<long> years;
        const char* expected;
    } rows[] = {
        {kScale, 200, {-5000, -1000, -500, 0, 5}, "offset 5000 length 3600: -5000>0>-5000 -1000>1600>-1000 -500>2600>-500 0>3600>0 5>3700>5"},
        // A step that is not a multiple of the factor is truncated before scaling.
        {"0\t100\n150\t10\n", 200, {0, 150}, "offset 0 length 200: 0>0>0 150>200>150"},
        // A later negative year does not change the offset; going back, it is left out.
        {"100\t10\n-50\t10\n200\t10\n", 10, {100, 200}, "offset 0 length 100: 100>0>100 200>100>200"},
        // CR LF, empty lines, a zero factor and a final line end.
        {"-5000\t500\r\n\r\n-1000\t100\r\n500\t0\r\n0\t10\r\n", 200, {-1000, 0}, "offset 5000 length 3600: -1000>1600>-1000 0>3600>0"},
        // Before the first breakpoint and after the last: the end segments extend.
        {"1000\t10\n2000\t5\n", 100, {900, 2010}, "offset 0 length 10000: 900>-1000>900 2010>10200>2010"},
        {"", 200, {0}, "offset 0 length 0: 0>0>0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.expected, Conversions(row.text, row.unit, row.years));
    }
}

TEST(ChronoScaleTest, RefreshKeepsTheConversionsExactInversesAtEveryBreakpoint) {
    AChronoScale scale;
    scale.unit = 200;
    ASSERT_EQ(5, scale.parse("-3000\t500\n-500\t100\n1000\t50\n1500\t10\n1900\t1\n"));
    for (long u = 1; u <= 400; ++u) {
        scale.refresh(u);
        for (long i = 0; i < scale.entryCount(); ++i) {
            ASSERT_EQ(scale.positionAt(i), scale.yearToPos(scale.yearAt(i))) << "unit " << u << " entry " << i;
            ASSERT_EQ(scale.yearAt(i), scale.posToYear(scale.positionAt(i))) << "unit " << u << " entry " << i;
        }
    }
    scale.refresh(0);
    EXPECT_EQ(1, scale.unit) << "a unit below 1 would stall the label loop";
    EXPECT_EQ("-3000", std::string(scale.formatYear(0).c_str()));
}

TEST(ChronoScaleTest, RandomArrayFillsWithTheDefaultAndGrowsInSteps) {
    ARandomArray<long, 10> a(-1);
    EXPECT_EQ(-1, a.capacity());
    EXPECT_EQ(-1, a.at(5));
    a.put(12, 7);
    EXPECT_EQ(13, a.count());
    EXPECT_EQ(20, a.capacity());
    EXPECT_EQ(-1, a.at(3));
    EXPECT_EQ(7, a.at(12));
    a.clear();
    EXPECT_EQ(0, a.count());
    EXPECT_EQ(-1, a.capacity());
}

TEST(ChronoScaleTest, LineAccessorReadsCrLfTextAsLfText) {
    struct Row {
        const char* text;
        const char* lines;
    } rows[] = {
        {"a\nbb\n", "a|bb|"}, {"a\r\nbb\r\n", "a|bb|"}, {"a\n\nc", "a||c|"}, {"", ""}, {"\n", "|"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        AStringReader* reader = new AStringReader(row.text, -1);
        reader->addRef();
        ALineAccessor* lines = new ALineAccessor(reader);
        lines->addRef();
        reader->release();
        std::string out;
        for (long i = 0; i < lines->lineCount(); ++i)
            out += std::string(lines->lineAt(i).c_str()) + "|";
        EXPECT_EQ(row.lines, out);
        EXPECT_EQ("", std::string(lines->lineAt(-1).c_str()));
        EXPECT_EQ("", std::string(lines->lineAt(lines->lineCount()).c_str()));
        lines->release();
    }
}

// Damaged texts: every mutation parses or is refused, never crashes, and
// the conversions of what was kept stay monotonic.
TEST(ChronoScaleTest, MutatedTextsParseOrFailCleanly) {
    const std::string sources[] = {
        "-5000\t500\n-1000\t100\n0\t10\n1500\t2\n",
        "1789|3|7|2|0|Prise de la Bastille|12\t1789|1|2|1|1|A:Serment|\n1815|0|1|4|0|Waterloo|\n",
        "1500,12,1,2\n1600,3,0,0\n1700,4,2,1\n",
    };
    std::mt19937 random(75);
    const char alphabet[] = "0123456789-|\t\r\n,:A ";
    for (int n = 0; n < 10000; ++n) {
        std::string text = sources[n % 3];
        int edits = 1 + int(random() % 6);
        for (int e = 0; e < edits; ++e) {
            size_t at = text.empty() ? 0 : random() % text.size();
            switch (random() % 3) {
            case 0: if (!text.empty()) text[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
            case 1: text.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]); break;
            default: if (!text.empty()) text.erase(at, 1 + random() % 4); break;
            }
        }
        AChronoScale scale;
        scale.unit = 50;
        scale.parse(text.c_str());
        long last = -AChronoScale::kLimit;
        for (long i = 0; i < scale.entryCount(); ++i) {
            ASSERT_GE(scale.factorAt(i), 1) << text;
            ASSERT_GE(scale.positionAt(i), last) << text;
            last = scale.positionAt(i);
            ASSERT_EQ(scale.positionAt(i), scale.yearToPos(scale.yearAt(i))) << text;
        }
        AStringReader* reader = new AStringReader(text.c_str(), -1);
        reader->addRef();
        ALineAccessor* lines = new ALineAccessor(reader);
        reader->release();
        AChronoScale events;
        events.unit = 50;
        events.parse("-100000\t1000\n0\t10\n");
        auto* parser = new AChronoSegParser(lines, &events);
        parser->addRef();
        AChronoFragParser fragments;
        for (long i = 0; i < parser->lineCount(); ++i) {
            for (long p : {parser->lineStart(i) - 1, parser->lineStart(i), parser->lineStart(i) + 3}) {
                ASegment* s = parser->segmentAt(nullptr, p);
                if (s) {
                    ASSERT_LE(s->getStart(), p);
                    ASSERT_LT(p, s->getEnd());
                    AFragment::deleteChain(fragments.parseSegment(s));
                    delete s;
                }
            }
        }
        ASSERT_EQ(nullptr, parser->segmentAt(nullptr, parser->getLength() + 1));
        parser->release();
    }
}
