// The atlas in the real reader on the sample: the history and geography
// room's "Atlas" tab opens the atlas screen; a place opens its map in the
// centre's movie pane; the current-map list follows it; the atlas bar's
// frame buttons show the map's layers; a click on a place of the preview's
// movie opens that place's map.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "app/online/AMozillaTargetView.h"
#include "docengine/text/AReader.h"
#include "panes/content/flash/FlashPane.h"
#include "panes/docks/top/DockTopAtlasPane.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/AtlasPrec.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"
#include "panes/search/atlas/LR_AtlasAllMap.h"
#include "panes/search/atlas/LR_AtlasCurrentMap.h"
#include "platform/flashmovie/FlashMovie.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ASearchBase.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/panes/content/flash/MovieReaderSupport.h"

namespace {

class AtlasReaderTest : public MovieReaderTest {
protected:
    template <class T>
    T* find() {
        AComponent* found = frame->findDescendant(&T::classRecord, nullptr);
        return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
    }
    // The design rectangle of the hotspot sending text in frame 0 of the movie of record, table of base 6.
    bool hotspot(short table, long record, const std::string& text, FlashMovie& movie, FlashHotspot& spot) {
        std::string error;
        if (!movie.read(recorder->getBase(6)->getText(table, record, 1).c_str(), error))
            return false;
        for (const FlashHotspot& h : movie.frames()[0].hotspots)
            if (h.text == text) {
                spot = h;
                return true;
            }
        return false;
    }
};

}  // namespace

TEST_F(AtlasReaderTest, TheAtlasOpensFromItsRoomAndFollowsThePlacesChosen) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        frame->doMenuAction(2, 4);
        pump();
        FlashPane* centre = find<FlashPane>();
        ASSERT_TRUE(centre && waitForStandIn(centre->view()));
        // The room's second tab, "Atlas" (tools/sample/movies.py: 290, 140, 230 x 80 of 800 x 500).
        ASSERT_TRUE(clickMovie(centre->view(), 800, 500, 290, 140, 230, 80));
        pump();
        AppState* atlas = frame->currentState();
        ASSERT_TRUE(IsAtlasScreen(atlas));
        EXPECT_EQ(1, atlas->getUserInfo(DockLeftAtlasPane::kRoomPageKey));
        LR_AtlasAllMap* all = find<LR_AtlasAllMap>();
        LR_AtlasCurrentMap* current = find<LR_AtlasCurrentMap>();
        AtlasPrec* preview = find<AtlasPrec>();
        ASSERT_TRUE(all && current && preview && all->index());
        saveShot("atlas-reader-places");

        // "Pari" finds Paris; its row opens the Europe map in the centre, at the place's frame.
        long paris = all->index()->find("Pari");
        AtlasPlace place = AtlasPlace::parse(all->getLineKey(paris).c_str());
        ASSERT_TRUE(place.valid());
        all->openPlace(place);
        pump();
        AppState* europe = frame->currentState();
        EXPECT_EQ(place.doc, europe->getDocNo());
        EXPECT_TRUE(IsAtlasScreen(europe));
        EXPECT_EQ(place.doc, europe->getLeftState()->fUserInfo.slot(DockLeftAtlasPane::kMapKey));
        EXPECT_FALSE(centre->movieFile().empty()) << "the map's movie comes from its record";
        ASSERT_TRUE(waitForStandIn(centre->view()));
        EXPECT_FALSE(standIn(centre->view()).empty()) << "the map's movie plays in the centre";
        EXPECT_EQ(1, europe->fNumFrame);
        EXPECT_FALSE(preview->moviePath().empty());
        long europeRecord = recorder->getDocRefInfo(place.doc).fRecord;
        std::string places = recorder->getBase(6)->getText(7, europeRecord, 1).c_str();
        current->filterOnMap(place.doc);
        EXPECT_EQ(static_cast<long>(std::count(places.begin(), places.end(), ',') + 1),
                  current->getLineGetter()->getLineCount());
        saveShot("atlas-reader-europe");

        // The atlas bar's frame buttons, clicked where they are drawn, each
        // show one of the map's three layers (the plot, the place names, the
        // countries) and stand pressed; the names' layer comes back last.
        FlashMovie map;
        std::string error;
        ASSERT_TRUE(map.read(recorder->getBase(6)->getText(0, europeRecord, 1).c_str(), error)) << error;
        ASSERT_EQ(3u, map.frames().size()) << "the map has its three layers";
        auto* bar = find<DockTopAtlasPane>();
        ASSERT_TRUE(bar);
        struct Layer {
            int16_t button;
            int16_t frame;
            const char* shot;
        } layers[] = {{3143, 2, "atlas-reader-countries-layer"}, {3141, 0, nullptr}, {3142, 1, nullptr}};
        for (const Layer& layer : layers) {
            SCOPED_TRACE(layer.button);
            AComponent* item = bar->findById(layer.button, 0);
            auto* button = item ? static_cast<ADisplayComponent*>(item->castTo(&ADisplayComponent::classRecord)) : nullptr;
            ASSERT_TRUE(button && button->hasFlags(ADisplayComponent::kVisible)) << "the button is drawn";
            ClickMiddle(button, [&] { pump(); });
            settle();
            EXPECT_EQ(europe, frame->currentState()) << "the same map, another layer";
            EXPECT_EQ(layer.frame, europe->fNumFrame);
            EXPECT_EQ("frame " + std::to_string(layer.frame), standIn(centre->view()).substr(0, 7));
            EXPECT_EQ(5, bar->commandStatus(layer.button, 0)) << "shown pressed";
            if (layer.shot)
                saveShot(layer.shot);
        }

        // A place of the world map opens the world; Paris clicked in its preview opens Europe.
        long pago = all->index()->find("Pago");
        AtlasPlace worldPlace = AtlasPlace::parse(all->getLineKey(pago).c_str());
        all->openPlace(worldPlace);
        pump();
        ASSERT_NE(place.doc, frame->currentState()->getDocNo());
        ASSERT_TRUE(waitForStandIn(preview->view()));
        FlashMovie movie;
        FlashHotspot spot;
        long worldRecord = recorder->getDocRefInfo(worldPlace.doc).fRecord;
        ASSERT_TRUE(hotspot(5, worldRecord, "x:atl?p=" + std::to_string(paris), movie, spot));
        ASSERT_TRUE(clickMovie(preview->view(), movie.width(), movie.height(), spot.x, spot.y, spot.w, spot.h));
        pump();
        EXPECT_EQ(place.doc, frame->currentState()->getDocNo()) << "the preview's Paris opens Europe";
        saveShot("atlas-reader-preview-click");

        // The countries button, clicked where it is drawn, opens the countries
        // page: the maps tab of the history and geography room files it.
        auto* atlasPane = find<DockLeftAtlasPane>();
        ASSERT_TRUE(atlasPane);
        AComponent* found = atlasPane->getParent()->findById(DockLeftAtlasPane::kCountries, 0);
        auto* button = found ? static_cast<ADisplayComponent*>(found->castTo(&ADisplayComponent::classRecord)) : nullptr;
        ClickMiddle(button, [&] { pump(); });
        AppState* countries = frame->currentState();
        ASSERT_TRUE(countries && countries->getLeftState());
        EXPECT_EQ(4, countries->getScreenMode());
        EXPECT_EQ(4, countries->fSalle) << "the history and geography room";
        EXPECT_EQ('A', countries->getLeftState()->fSalleType) << "its maps tab, with its choices";
        EXPECT_FALSE(IsAtlasScreen(countries));
        EXPECT_TRUE(waitForStandIn(centre->view())) << "the room's movie shows in the centre";
        saveShot("atlas-reader-countries");
    });
}
