// The atlas panes over the sample encyclopedia's atlas: the place index
// behind the all-places list, the current-map filter against the maps base's
// place lists, the map-name index's targets and the maps' movies. Skipped
// when the sample (tools/sample/build.sh) is not built.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <set>
#include <string>

#include "app/data/AppDataManager.h"
#include "app/lines/ASVAtlasFilterLexLineGetter.h"
#include "panes/content/article/AContentApp.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/LR_AtlasAllMap.h"
#include "panes/search/atlas/LR_AtlasCurrentMap.h"
#include "platform/flashmovie/FlashMovie.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ASearchBase.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

namespace {

std::string Sample() {
    return std::string("Z:") + SV_BINARY_DIR + "/sample";
}

// The sample's own index and maps base, through the test's data location and manager.
class SampleAtlasApp : public AAtlasApp {
public:
    AKeyIndex* openIndex(const char* key) override { return location ? location->openIndex(key) : nullptr; }
    ADataLocation* location = nullptr;
};

class SampleContentApp : public AContentApp {
public:
    ADocRefInfo getDocRefInfo(long docNo) override { return data->getDocRefInfo(docNo); }
    ASearchBase* getBase(int16_t index) override { return data->getBase(index); }
    AppDataManager* data = nullptr;
};

class SampleAtlasTest : public LeftDockTest {
protected:
    std::string dataFolder() override { return Sample(); }
    void SetUp() override {
        if (GetFileAttributesA((Sample() + "/data/topo.abp").c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no sample atlas: tools/sample/build.sh builds it";
        atlasApp.location = &location;
        AAtlasApp::install(&atlasApp);
        AContentApp::install(&contentApp);
        LeftDockTest::SetUp();
        contentApp.data = data;
        if (frame) {
            allList = dynamic_cast<LR_AtlasAllMap*>(frame->findById(0xa97, 0));
            currentList = dynamic_cast<LR_AtlasCurrentMap*>(frame->findById(0xaa1, 0));
        }
    }
    void TearDown() override {
        LeftDockTest::TearDown();
        AContentApp::install(nullptr);
        AAtlasApp::install(nullptr);
    }
    std::string row(ListPane* list, long n) {
        AString text;
        list->getLineGetter()->getLine(text, n);
        return text.c_str();
    }

    SampleAtlasApp atlasApp;
    SampleContentApp contentApp;
    LR_AtlasAllMap* allList = nullptr;
    LR_AtlasCurrentMap* currentList = nullptr;
};

}  // namespace

TEST_F(SampleAtlasTest, ParisLeadsToTheEuropeMapWhoseListAndTargetsAgree) {
    ASSERT_TRUE(allList && currentList && allList->index());
    ASSERT_GT(allList->getLineGetter()->getLineCount(), 300) << "the cities of the time-zone table";
    // Typing "Pari" finds Paris: the index entry is the row.
    long paris = allList->index()->find("Pari");
    EXPECT_NE(std::string::npos, row(allList, paris).find("Paris (France)"));
    AtlasPlace place = AtlasPlace::parse(allList->getLineKey(paris).c_str());
    ASSERT_TRUE(place.valid());
    EXPECT_TRUE(place.hasPosition());
    ASearchBase* maps = data->getBase(6);
    ASSERT_TRUE(maps);
    long europe = data->getDocRefInfo(place.doc).fRecord;
    EXPECT_EQ("L'Europe", std::string(maps->getText(2, europe, 1).c_str()));
    long w = 0, h = 0;
    std::string dim = maps->getText(4, europe, 1).c_str();
    ASSERT_EQ(2, std::sscanf(dim.c_str(), "%ld:%ld", &w, &h));
    EXPECT_TRUE(place.x < w && place.y < h);

    // The current-map list holds exactly the places of the map's list (table 7).
    std::string places = maps->getText(7, europe, 1).c_str();
    std::set<long> listed;
    for (size_t at = 0; at < places.size();) {
        listed.insert(std::atol(places.c_str() + at));
        size_t comma = places.find(',', at);
        at = comma == std::string::npos ? places.size() : comma + 1;
    }
    currentList->filterOnMap(place.doc);
    ASSERT_EQ(static_cast<long>(listed.size()), currentList->getLineGetter()->getLineCount());
    EXPECT_TRUE(listed.count(paris));
    for (long n = 0; n < currentList->getLineGetter()->getLineCount(); ++n) {
        AtlasPlace shown = AtlasPlace::parse(currentList->getLineKey(n).c_str());
        SCOPED_TRACE(row(currentList, n));
        EXPECT_EQ(place.doc, shown.doc) << "every place listed lies on the map";
    }

    // The map-name index: Paris on the world map opens the Europe map; on its own map, that map.
    std::unique_ptr<AKeyIndex> targets(location.openIndex("CARTESFS"));
    long world = place.doc - europe;
    for (long map : {world, place.doc}) {
        SCOPED_TRACE(map);
        long record = targets->findExact((std::to_string(paris) + "_" + std::to_string(map)).c_str());
        ASSERT_GE(record, 0);
        AtlasPlace target = AtlasPlace::parse(maps->getText(6, record, 1).c_str());
        EXPECT_EQ(place.doc, target.doc);
        EXPECT_EQ(1, target.frame);
    }

    // Each map's movie and preview read, with a hotspot per place on each frame.
    for (long k = 0; k < maps->getRecordCount(0); ++k) {
        SCOPED_TRACE(k);
        std::string list = maps->getText(7, k, 1).c_str();
        size_t count = list.empty() ? 0 : 1 + std::count(list.begin(), list.end(), ',');
        for (short table : {short(0), short(5)}) {
            FlashMovie movie;
            std::string error;
            ASSERT_TRUE(movie.read(maps->getText(table, k, 1).c_str(), error)) << error;
            // The map's three layers (plot, place names, countries); the preview one.
            ASSERT_EQ(table == 0 ? 3u : 1u, movie.frames().size());
            for (const FlashFrame& layer : movie.frames())
                EXPECT_EQ(count, layer.hotspots.size());
            if (table == 0) {
                EXPECT_NE(movie.frames()[0].data, movie.frames()[1].data);
                EXPECT_NE(movie.frames()[1].data, movie.frames()[2].data);
            }
        }
    }
}
