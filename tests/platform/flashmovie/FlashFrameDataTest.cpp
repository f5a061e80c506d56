// Stand-in movies whose frame pictures are written in the movie itself.
#include <gtest/gtest.h>

#include <string>

#include "platform/flashmovie/FlashMovie.h"

TEST(FlashFrameDataTest, InlinePicturesDecodeOrFailNamingTheirLine) {
    const struct {
        const char* line;
        const char* bytes;  // null: the movie fails on line 3 with "bad frame data"
    } rows[] = {
        {"FRAMEDATA iVBORw==", "\x89PNG"},
        {"FRAMEDATA QUI=", "AB"},
        {"FRAMEDATA QUJD", "ABC"},
        {"FRAMEDATA QUJDRA==", "ABCD"},
        {"FRAMEDATA", nullptr},
        {"FRAMEDATA QUJ", nullptr},
        {"FRAMEDATA QU=D", nullptr},
        {"FRAMEDATA QQ==QUJD", nullptr},
        {"FRAMEDATA QU!D", nullptr},
        {"FRAMEDATA ====", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        FlashMovie movie;
        std::string error;
        std::string text = std::string("SVMOVIE 1\nSIZE 10 10\n") + row.line + "\nHOT 1 1 2 2 x:atl?p=3\n";
        bool read = movie.read(text, error);
        if (!row.bytes) {
            EXPECT_FALSE(read);
            EXPECT_EQ("line 3: bad frame data", error);
            continue;
        }
        ASSERT_TRUE(read) << error;
        ASSERT_EQ(1u, movie.frames().size());
        EXPECT_EQ(row.bytes, movie.frames()[0].data);
        EXPECT_EQ("", movie.frames()[0].picture);
        EXPECT_EQ("x:atl?p=3", *movie.hotspotAt(0, 2, 2));
    }
}

TEST(FlashFrameDataTest, AWorldMapHoldsAHotspotPerPlace) {
    std::string text = "SVMOVIE 1\nSIZE 900 400\nFRAME a.png\n";
    for (int i = 0; i < 1024; ++i)
        text += "HOT " + std::to_string(i % 890) + " 1 5 5 x:atl?p=" + std::to_string(i) + "\n";
    FlashMovie movie;
    std::string error;
    EXPECT_TRUE(movie.read(text, error)) << error;
    text += "HOT 1 1 5 5 x:atl?p=1024\n";
    EXPECT_FALSE(movie.read(text, error));
    EXPECT_EQ("line 1028: too many hotspots", error);
}
