// Style sheets and tab stops: defaults, size steps, copies and stop lists.
#include <gtest/gtest.h>

#include <string>

#include "docengine/styles/AStyleSheet.h"

namespace {

std::string Font(AStyleSheet& sheet, long style, int16_t sub = 0) {
    const AFontDesc& d = sheet.getFont(style, sub)->desc();
    return std::string(d.face.c_str()) + " " + std::to_string(d.size) + " " + std::to_string(d.style);
}

std::string Stops(const ATabStops& stops, long extra = 0) {
    std::string out;
    for (long i = 0; i < stops.count() + extra; ++i) {
        ATabStop s = stops.stopAt(i);
        out += (out.empty() ? "" : " ") + std::to_string(s.position);
        if (s.justification)
            out += "j" + std::to_string(s.justification);
        if (s.percent)
            out += "%";
    }
    return out;
}

TEST(StyleSheet, EmptySheetAnswersDefaults) {
    AStyleSheet sheet;
    struct Row {
        long style;
        const char* font;
    } rows[] = {{0, "Times 12 0"}, {2, "Times 12 3"},   {3, "Courier New 10 0"},
                {6, "Arial 11 1"}, {7, "Courier 12 4"}, {-1, "Courier 12 4"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.style);
        EXPECT_EQ(row.font, Font(sheet, row.style));
    }
    EXPECT_EQ(0xFF0000u, sheet.getColor(1));
    EXPECT_EQ(0u, sheet.getColor(9));
    longa_pvoidAVLMap keys;
    sheet.collectColorKeys(keys);
    std::string listed;
    for (Pix p = keys.first(); p; keys.next(p))
        listed += std::to_string(keys.keyOf(p)) + " ";
    EXPECT_EQ("0 1 2 3 4 9 ", listed);
    sheet.setColor(2, 0xFF000000u);
    EXPECT_EQ(0x0000FFu, sheet.getColor(2)) << "an unset value gives the default again";
    EXPECT_EQ("bmp_close", std::string(sheet.getBitmap(2)->spec().name.c_str()));
    EXPECT_EQ("bmp_ref", std::string(sheet.getBitmap(77)->spec().name.c_str()));
    EXPECT_EQ(32, sheet.getTabStops(5)->tabWidth());
}

TEST(StyleSheet, SizeStepsStayInTheRangeAndCopiesAreApart) {
    AStyleSheet* sheet = new AStyleSheet;
    sheet->addRef();
    AFontDesc desc("Arial", 12, 1);
    sheet->setStyleFont(0, desc, AFontSizeRange(desc, 10, 14));
    std::string sizes;
    for (int i = 0; i < 3; ++i) {
        sheet->addSizeDelta(1);
        sizes += std::to_string(sheet->getFont(0, 0)->desc().size) + " ";
    }
    EXPECT_EQ("13 14 14 ", sizes);
    EXPECT_EQ(3, sheet->sizeDelta());
    EXPECT_EQ("Courier 12 4", Font(*sheet, 9)) << "a default made after a step starts at its table size";
    sheet->addSizeDelta(0);
    EXPECT_EQ(12, sheet->getFont(0, 0)->desc().size);
    EXPECT_EQ(0, sheet->sizeDelta());

    AStyleSheet* copy = new AStyleSheet(*sheet);
    copy->addRef();
    EXPECT_EQ(1, copy->changeStamp());
    copy->addSizeDelta(2);
    EXPECT_EQ(14, copy->getFont(0, 0)->desc().size);
    EXPECT_EQ(12, sheet->getFont(0, 0)->desc().size);
    copy->release();
    sheet->release();
}

TEST(StyleSheet, SubStylesTakeThePlainFontAndAddFlags) {
    AStyleSheet sheet;
    AFontDesc plain("Arial", 11, 1);
    sheet.setStyleFont(4, plain, AFontSizeRange(plain, 0, 0));
    sheet.setSubStyle(0x0E, AFontDesc("", 0, 2));
    sheet.setSubStyle(0x0F, AFontDesc("Symbol", 9, 0x8000 | 4));
    EXPECT_EQ("Arial 11 3", Font(sheet, 4, 0x0E));
    EXPECT_EQ("Symbol 9 1", Font(sheet, 4, 0x0F));
    EXPECT_EQ("Courier 12 4", Font(sheet, 8, 0x11)) << "an undefined sub-style adds nothing";
}

TEST(TabStops, ListsGivePositionsAndJustifications) {
    struct Row {
        const char* list;
        bool cumulative;
        const char* stops;
    } rows[] = {
        {"100,+20,+20", false, "100 120 140"},
        {"-10,-20,100", false, "70 80 100"},
        {"100,-20", false, "100 80"},
        {"(50 )100 =150", false, "50j2 100j4 150j8"},
        {",100", false, "0 100"},
        {"10;;20: 30 ,", false, "10 20 30"},
        {"%10 |25 7x 8", false, "10% 25j1 7 8"},
        {"10 20 30", true, "10 30 60"},
        {"", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list);
        ATabStops stops(row.list, row.cumulative, 0, 0);
        EXPECT_EQ(row.stops, Stops(stops));
    }
}

TEST(TabStops, TabsReachRepeatedStopsAfterTheList) {
    ATabStops stops(30, 0, 0, 0);
    stops.parseList("100 200", false, 0);
    EXPECT_EQ("100 200 230 260", Stops(stops, 2));
    struct Row {
        long x, index, next;
    } rows[] = {{250, 1, 3}, {150, 0, 1}, {100, -1, 1}, {10, 0, 1}, {90, -1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + " after " + std::to_string(row.index));
        EXPECT_EQ(row.next, stops.nextStopIndex(row.x, row.index));
    }
    ATabStops truncating(30, 0, 1, 0);
    truncating.parseList("100 200", false, 0);
    EXPECT_EQ(5, truncating.nextStopIndex(10, 4));
    ATabStops scaled(stops, 50, 100);
    EXPECT_EQ("50 100 115", Stops(scaled, 1));
}

}  // namespace
