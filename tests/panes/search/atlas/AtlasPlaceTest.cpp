// The atlas's place locators and map target texts, read with bounds.
#include <gtest/gtest.h>

#include <string>

#include "panes/search/atlas/AtlasPlace.h"

namespace {

std::string Describe(const AtlasPlace& p) {
    if (!p.valid())
        return "invalid";
    return std::to_string(p.doc) + " f" + std::to_string(p.frame) + " x" + std::to_string(p.xValue()) + " y" +
           std::to_string(p.yValue()) + (p.hasPosition() ? " at" : "");
}

}  // namespace

TEST(AtlasPlaceTest, LocatorsAndTargetsReadWithinTheirFields) {
    const struct {
        const char* text;
        const char* expected;
    } rows[] = {
        {"0:4567:3:12.7:-3.9", "4567 f3 x12 y-3"},
        {"0:4567:3:12.7:3.9", "4567 f3 x12 y3 at"},
        {"0:4567:3", "4567 f3 x-1 y-1"},
        {"0:4567", "4567 f-1 x-1 y-1"},
        {"7:0:0:1:1", "0 f0 x1 y1 at"},
        {"", "invalid"},
        {"0", "invalid"},
        {"0::3", "invalid"},
        {"0:45x:3", "invalid"},
        {"0:-4:3", "invalid"},
        {"0:4567:32768", "invalid"},
        {"0:4567:-1", "invalid"},
        {"0:4567:3x", "invalid"},
        {"0:99999999999999999999:3", "invalid"},
        {"0:2147483647:1:nan:inf", "2147483647 f1 x-1 y-1"},
        {"0:12:1:1e300:5", "12 f1 x-1 y5"},
        {"0:12:1:abc:5", "12 f1 x-1 y5"},
        {"0:12:1:5:6:extra:fields", "12 f1 x5 y6 at"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.expected, Describe(AtlasPlace::parse(row.text)));
    }
    EXPECT_EQ("invalid", Describe(AtlasPlace::parse(nullptr)));
}
