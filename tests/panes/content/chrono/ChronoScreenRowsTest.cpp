// The chronology screen without a window: the event and theme rows, and the
// period boundaries, their placing and the period of a position.
#include <gtest/gtest.h>

#include <string>

#include "framework/components/AActionTable.h"
#include "panes/content/chrono/AChronoScale.h"
#include "panes/content/chrono/ChronoLineGetters.h"
#include "panes/content/chrono/ChronoPane.h"
#include "panes/content/chrono/LR_Chrono_Evemnt.h"

namespace {

TEST(ChronoScreenRows, AnEventRowNamesItsArticleOnlyByANumber) {
    struct Row {
        const char* key;
        long document;
    } rows[] = {
        {"4711:12:3", 4711}, {"0:1789:0", 0}, {"12", 12},
        // An event without an article: its first field is empty, not article 0.
        {":1789:0", -1}, {"", -1}, {nullptr, -1}, {"a:1:1", -1}, {"12x:1:1", -1}, {"-3:1:1", -1},
        {"99999999999:1:1", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key ? row.key : "(none)");
        EXPECT_EQ(row.document, LR_Chrono_Evemnt::EventDocument(row.key));
    }
}

TEST(ChronoScreenRows, EventRowsKeepTheirTitleInsideTheirCell) {
    struct Row {
        const char* heading;
        const char* row;
    } rows[] = {
        {"4711\tPrise de la Bastille\t12\t3",
         "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|Prise de la Bastille]]&/#4711:12:3"},
        {"7\tA*B | [c] & <d>\t1789\t0",
         "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|A\\*B \\| \\[c\\] \\& \\<d\\>]]&/#7:1789:0"},
        // A title never becomes the row's key nor markup.
        {"8\tN#1 {x} a/b\t1\t2", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|N\\#1 \\{x\\} a\\/b]]&/#8:1:2"},
        {"9\tSeul", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|Seul]]&/#9::"},
        {"", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|]]&/#::"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.heading);
        EXPECT_EQ(row.row, std::string(ASVChronoLineGetter::rowOf(row.heading).c_str()));
    }
}

TEST(ChronoScreenRows, ThemeRowsIndentByDepthAndKeepTheirRecord) {
    struct Row {
        const char* line;
        const char* row;
    } rows[] = {
        {"Tous les th\xE8mes", "/&TABLE:100%:N0:[[-8,0,0,0,0:0| *100,0,0,0,0:0|/BTous les th\xE8mes/A]]&/"},
        {"\tHistoire#0", "/&TABLE:100%:N0:[[-24,0,0,0,0:0| *100,0,0,0,0:0|Histoire]]&/#0"},
        {"\t\tArts*d\xE9" "cor#12\r\n", "/&TABLE:100%:N0:[[-40,0,0,0,0:0| *100,0,0,0,0:0|Arts\\*d\xE9" "cor]]&/#12"},
        // Deeper than five levels stands at the fifth.
        {"\t\t\t\t\t\t\tLoin#3", "/&TABLE:100%:N0:[[-88,0,0,0,0:0| *100,0,0,0,0:0|Loin]]&/#3"},
        // Only the last '#' starts the key.
        {"\tN#1#4", "/&TABLE:100%:N0:[[-24,0,0,0,0:0| *100,0,0,0,0:0|N\\#1]]&/#4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(row.row, std::string(ASVThemeChronoLineGetter::rowOf(row.line).c_str()));
    }
}

// The values less the offset (internal years back to real ones).
std::string Years(const ASortedArray& a, long offset = 0) {
    std::string out;
    for (long i = 0; i < a.count(); ++i)
        out += (i ? "," : "") + std::to_string(a.at(i) - offset);
    return out;
}

const char kScale[] = "-3000\t500\n0\t100\n1000\t20\n1500\t2\n1800\t1\n";

TEST(ChronoScreenPeriods, BoundariesSkipEmptyAndDisorderedLines) {
    struct Row {
        const char* text;
        const char* years;
        long complete;  // period buttons with both boundaries
    } rows[] = {
        {"-3000\tA\n0\tB\n500\n1000\n1500\n1650\n1715\n1789\n1815\n1914\n1945\n",
         "-3000,0,500,1000,1500,1650,1715,1789,1815,1914,1945", 9},
        // CR LF leaves no year-0 boundary between its two characters.
        {"-3000\tA\r\n0\tB\r\n500\r\n\r\n1000", "-3000,0,500,1000", 3},
        {"1500\n1400\n1600\n", "1500,1600", 1},
        {"", "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ChronoPane pane;
        auto* scale = new AChronoScale();
        scale->setUnit(200);
        scale->parse(kScale);
        pane.useScale(scale);
        pane.parsePeriods(row.text);
        pane.placePeriods();
        EXPECT_EQ(row.years, Years(pane.periodYears(), scale->offset));
        long complete = 0;
        for (int16_t i = 0; i < ChronoPane::kPeriodButtons; ++i) {
            complete += pane.periodComplete(i) ? 1 : 0;
            // A button without its closing boundary is disabled, not read past the list.
            AActionRecord record = MakeActionRecord(nullptr, 2, ChronoPane::kFirstPeriod, i, 0);
            EXPECT_EQ(!pane.periodComplete(i) ? 2 : i == pane.currentPeriod() ? 5 : 1,
                      pane.commandStatus(ChronoPane::kFirstPeriod, ActionArgument(&record)));
        }
        // A call without the range's record names no button.
        EXPECT_EQ(2, pane.commandStatus(ChronoPane::kFirstPeriod, 0));
        EXPECT_EQ(row.complete, complete);
        for (long i = 0; i < pane.periodYears().count(); ++i)
            EXPECT_EQ(scale->yearToPos(pane.periodYears().at(i)), pane.periodPositions().at(i));
    }
}

TEST(ChronoScreenPeriods, APositionFallsInItsPeriodWithinTheButtons) {
    ChronoPane pane;
    auto* scale = new AChronoScale();
    scale->setUnit(200);
    scale->parse(kScale);
    pane.useScale(scale);
    pane.parsePeriods("-3000\n0\n500\n1000\n1500\n1650\n1715\n1789\n1815\n1914\n1945\n1990\n");
    pane.placePeriods();
    EXPECT_EQ("0,277,540,809,1099,1368,1620,1877,2105", Years(pane.stripPositions()));
    auto at = [&](long year) { return scale->yearToPos(year + scale->offset); };
    struct Row {
        long position;
        int16_t period;
    } rows[] = {
        {at(-4000), 0}, {at(-3000), 0}, {at(-1), 0}, {at(0), 1}, {at(1789) - 1, 6}, {at(1789), 7},
        {at(1850), 8},  {at(1920), 8},  {at(1995), 8},  // past the ninth button stays on it
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        EXPECT_EQ(row.period, pane.periodAt(row.position));
    }
}

}  // namespace
