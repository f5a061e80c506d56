// The atlas panes in the left dock of a main window laid out as the reader's:
// the atlas screen, the tabs, the recorded map, opening a place, the
// preview's movie messages and its temporary files.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/frame/AFrameServices.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/app/AApp.h"
#include "framework/components/AActionTable.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/AContentApp.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/AtlasPrec.h"
#include "panes/search/atlas/DockLeftAtlasAllMap.h"
#include "panes/search/atlas/DockLeftAtlasCurrentMap.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"
#include "panes/search/atlas/LR_AtlasAllMap.h"
#include "panes/search/atlas/LR_AtlasCurrentMap.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"
#include "web/browser/AMozillaView.h"

namespace {

// Maps 10 and 11 are 800 x 400; document 5 is a media document. The target
// texts of "123_10" (map 11, frame 2) and "7_10" (map 10 itself).
class TestAtlasApp : public AAtlasApp {
public:
    bool getDocDimensions(long docNo, long* width, long* height) override {
        *width = docNo == 10 || docNo == 11 ? 800 : 0;
        *height = docNo == 10 || docNo == 11 ? 400 : 0;
        return *width > 0;
    }
    AString getMapFsText(const char* name) override {
        asked += std::string(name) + ";";
        std::string n = name;
        return AString(n == "123_10" ? "0:11:2" : n == "7_10" ? "0:10:4" : n == "9_10" ? "0:5:0" : "");
    }
    std::string asked;
};

// Maps in base 6, record = document; movies and pages are files of the
// installation's folder; registered temporary files are recorded.
class TestContentApp : public AContentApp {
public:
    bool docIsMedia(long docNo) override { return docNo == 5; }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return docNo >= 10 ? 2 : defaultKind; }
    ADocRefInfo getDocRefInfo(long docNo) override {
        ADocRefInfo info(docNo, 6, 0);
        info.fDocBase = 6;
        info.fRecord = docNo;
        return info;
    }
    void openMediaWindow(long docNo, int16_t, int16_t) override { log += "media " + std::to_string(docNo) + ";"; }
    AString extractRecord(int16_t base, int16_t table, long record, const char* extension) override {
        std::string path = Install().path("prec" + std::to_string(++made) + extension);
        write(path);
        log += "extract " + std::to_string(base) + ":" + std::to_string(table) + ":" + std::to_string(record) + ";";
        return AString(path.c_str());
    }
    AString makeMediaPage(const char* key, const AMediaPageValues& values) override {
        std::string path = Install().path("prec" + std::to_string(++made) + ".html");
        write(path);
        log += std::string(key) + " stop=" + values.stop.c_str() + " bg=" + values.background.c_str() +
               " frame=" + std::to_string(values.frame) + ";";
        return AString(path.c_str());
    }
    void registerTempFile(const char* path) override { registered.push_back(path); }
    static void write(const std::string& path) {
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fputs("x", f);
            std::fclose(f);
        }
    }
    std::string log;
    std::vector<std::string> registered;
    int made = 0;
};

class AtlasPanesTest : public LeftDockTest {
protected:
    void SetUp() override {
        AAtlasApp::install(&atlasApp);
        AContentApp::install(&contentApp);
        LeftDockTest::SetUp();
        if (!frame)
            return;
        atlas = dynamic_cast<DockLeftAtlasPane*>(frame->findById(DockLeftAtlasPane::kPaneId, 0));
        ASSERT_TRUE(atlas);
        // Other panes of the left dock use the same numbers (the chronology's 2601 and 2602).
        allMaps = dynamic_cast<DockLeftAtlasAllMap*>(atlas->findById(0xa29, 0));
        currentMap = dynamic_cast<DockLeftAtlasCurrentMap*>(atlas->findById(0xa2a, 0));
        allList = dynamic_cast<LR_AtlasAllMap*>(atlas->findById(0xa97, 0));
        currentList = dynamic_cast<LR_AtlasCurrentMap*>(atlas->findById(0xaa1, 0));
        ASSERT_TRUE(atlas && allMaps && currentMap && allList && currentList && atlas->preview());
    }
    void TearDown() override {
        LeftDockTest::TearDown();
        AContentApp::install(nullptr);
        AAtlasApp::install(nullptr);
    }
    // An atlas screen state: map doc (-1: the room's own page, value 1066 = 1), kind 2.
    AppState* showAtlas(long doc, int16_t docType = 2, int16_t histo = 0) {
        auto* left = new ALeftState;
        left->fMode = 1;
        left->fExpand = 1;
        left->fNew = histo ? 0 : 1;
        left->fHisto = histo;
        left->fSalleType = 'P';
        auto* docPart = new ADocState(1203);
        docPart->fDocType = docType;
        auto* state = new AppState(4, 2, docPart, left, new ARightState(1205, -1), nullptr, -1);
        state->fSalle = 4;
        state->setDocNo(doc);
        state->setUserInfo(DockLeftAtlasPane::kRoomPageKey, doc < 0 ? 1 : 0);
        frame->goToState(state, 1);
        Pump();
        return frame->currentState();
    }
    long leftValue(long key) { return frame->currentState()->getLeftState()->fUserInfo.slot(key); }
    int16_t tabStatus(int16_t position) {
        AActionRecord record = MakeActionRecord(nullptr, 0, DockLeftAtlasPane::kAllMapsTab, position, 0);
        return atlas->commandStatus(DockLeftAtlasPane::kTabCommand, ActionArgument(&record));
    }
    void clickTab(int16_t position) {
        AActionRecord record = MakeActionRecord(nullptr, 0, DockLeftAtlasPane::kAllMapsTab, position, 0);
        atlas->doCommand(DockLeftAtlasPane::kTabCommand, ActionArgument(&record));
        Pump();
    }
    // The preview receives the movie's message; 1 when its handler took it.
    int16_t observe(const char* text, bool shown) {
        AMozillaView* view = atlas->preview()->view();
        view->setVisibleFlag(shown);
        AMozillaObserveEvent event;
        event.data = text;
        // The view itself drops messages while the pointer is elsewhere: the handler directly.
        int16_t taken = atlas->preview()->handler()->onEvent(view, &event);
        app->commandQueue().run();
        Pump();
        return taken;
    }

    TestAtlasApp atlasApp;
    TestContentApp contentApp;
    DockLeftAtlasPane* atlas = nullptr;
    DockLeftAtlasAllMap* allMaps = nullptr;
    DockLeftAtlasCurrentMap* currentMap = nullptr;
    LR_AtlasAllMap* allList = nullptr;
    LR_AtlasCurrentMap* currentList = nullptr;
};

}  // namespace

TEST_F(AtlasPanesTest, TheAtlasScreenShowsOneListByItsTabAndRecordsTheShownMap) {
    AppState* search = newSearch(nullptr);
    EXPECT_FALSE(atlas->isPaneWanted()) << "a search screen is not the atlas";
    (void)search;
    showAtlas(-1);
    EXPECT_TRUE(atlas->isPaneWanted());
    EXPECT_EQ(1, leftValue(DockLeftAtlasPane::kTabKey)) << "a state made before the atlas shows all places";
    EXPECT_TRUE(allMaps->isPaneWanted());
    EXPECT_FALSE(currentMap->isPaneWanted());
    EXPECT_EQ(-1, leftValue(DockLeftAtlasPane::kMapKey));

    const struct {
        long doc;
        int16_t docType, histo;
        long recorded;
    } rows[] = {{10, 2, 0, 10}, {11, 3, 0, 11}, {12, 1, 0, -1}, {13, 2, 1, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.doc);
        AppState* state = showAtlas(row.doc, row.docType, row.histo);
        state->getLeftState()->fUserInfo.slot(DockLeftAtlasPane::kMapKey) = -1;
        state->getLeftState()->fHisto = row.histo;
        atlas->updatePane();
        EXPECT_EQ(row.recorded, leftValue(DockLeftAtlasPane::kMapKey));
    }
}

TEST_F(AtlasPanesTest, TabsSwitchTheListAndTheirStatusFollowsTheState) {
    showAtlas(-1);
    EXPECT_EQ(5, tabStatus(0));
    EXPECT_EQ(2, tabStatus(1)) << "no map shown: no current-map tab";
    EXPECT_EQ(2, atlas->commandStatus(DockLeftAtlasPane::kCountries, 0)) << "the room's own page";
    showAtlas(10);
    EXPECT_EQ(1, tabStatus(1));
    EXPECT_EQ(1, atlas->commandStatus(DockLeftAtlasPane::kCountries, 0));
    clickTab(1);
    EXPECT_EQ(2, leftValue(DockLeftAtlasPane::kTabKey));
    EXPECT_EQ(5, tabStatus(1));
    EXPECT_EQ(1, tabStatus(0));
    EXPECT_TRUE(currentMap->isPaneWanted());
    EXPECT_FALSE(allMaps->isPaneWanted());
    clickTab(1);
    EXPECT_EQ(2, leftValue(DockLeftAtlasPane::kTabKey)) << "the shown tab again changes nothing";
    frame->currentState()->setUserInfo(DockLeftAtlasPane::kRoomPageKey, 1);
    EXPECT_FALSE(currentMap->isPaneWanted()) << "the room's own page shows no current map";
    EXPECT_EQ(2, tabStatus(1));
    frame->currentState()->setUserInfo(DockLeftAtlasPane::kRoomPageKey, 0);
    frame->currentState()->setDocNo(-1);
    EXPECT_EQ(2, tabStatus(1));
    // Without a state for the countries page (no page service here) nothing moves.
    AppState* before = frame->currentState();
    atlas->doCommand(DockLeftAtlasPane::kCountries, 0);
    EXPECT_EQ(before, frame->currentState());
}

TEST_F(AtlasPanesTest, APlaceOpensItsMapOrMovesTheShownOne) {
    showAtlas(10);
    const struct {
        const char* locator;
        long doc;
        int16_t frameNo, nbFrame;
        long w, h, x, y;
        const char* log;
    } rows[] = {
        // Another map: a new state on it; no movie pane here, so no centring point.
        {"0:11:3:12.7:3.9", 11, 3, 3, 800, 400, -1, -1, ""},
        {"0:11:3", 11, 3, 3, 800, 400, -1, -1, ""},
        // A media document opens its window; the state stays.
        {"0:5:0:1:1", 10, 0, 0, 0, 0, 0, 0, "media 5;"},
        // A damaged locator opens nothing.
        {"0:x:3", 10, 0, 0, 0, 0, 0, 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locator);
        AppState* before = showAtlas(10);
        contentApp.log.clear();
        allList->openPlace(AtlasPlace::parse(row.locator));
        Pump();
        AppState* now = frame->currentState();
        if (row.doc == 10)
            EXPECT_EQ(row.log, contentApp.log);
        else
            EXPECT_EQ("extract 6:5:11;HTMLFLASHMEDIAWIN stop=stop() bg=#FFFFFF frame=-1;", contentApp.log)
                << "the preview follows the new map";
        EXPECT_EQ(row.doc, now->getDocNo());
        if (row.doc == 10) {
            EXPECT_EQ(before, now);
            continue;
        }
        EXPECT_NE(before, now);
        EXPECT_EQ(4, now->getScreenMode());
        EXPECT_EQ(row.nbFrame, now->fNbFrame);
        EXPECT_EQ(row.frameNo, now->fNumFrame);
        EXPECT_EQ(row.w, now->getUserInfo(26));
        EXPECT_EQ(row.h, now->getUserInfo(27));
        EXPECT_EQ(row.x, now->getUserInfo(28));
        EXPECT_EQ(row.y, now->getUserInfo(29));
        EXPECT_EQ(0, now->getLeftState()->fClone);
        EXPECT_EQ('P', now->getLeftState()->fSalleType) << "the new map stays on the atlas screen";
    }
    // The map already shown: the state moves to the place's frame, no new state.
    AppState* shown = showAtlas(10);
    allList->openPlace(AtlasPlace::parse("0:10:4:12.7:-3.9"));
    EXPECT_EQ(shown, frame->currentState());
    EXPECT_EQ(3, shown->fNbFrame);
    EXPECT_EQ(4, shown->fNumFrame);
    EXPECT_EQ(800, shown->getUserInfo(26));
    EXPECT_EQ(-1, shown->getUserInfo(28));
    // Without the centre's movie pane the current-map list moves nothing.
    currentList->openPlace(AtlasPlace::parse("0:10:6:12.7:-3.9"));
    EXPECT_EQ(4, shown->fNumFrame);
}

TEST_F(AtlasPanesTest, ThePreviewTakesPlaceMessagesOnlyWhileShown) {
    showAtlas(10);
    const struct {
        const char* data;
        bool shown;
        int16_t taken;
        const char* asked;
        long doc;
    } rows[] = {
        {"x:atl?p=123", false, 0, "", 10},
        {"x:atl", true, 1, "", 10},
        {"x:atl?p", true, 1, "", 10},
        {"xatl?p=123", true, 1, "", 10},
        {"x:atl?p=12a", true, 1, "", 10},
        {"x:cmd?p=123", true, 1, "", 10},
        {"x:atl?p=7", true, 1, "7_10;", 10},
        {"x:atl?p=9", true, 1, "9_10;", 10},
        {"x:atl?p=44", true, 1, "44_10;", 10},
        {"x:atl?p=123", true, 1, "123_10;", 11},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.data);
        showAtlas(10);
        atlasApp.asked.clear();
        EXPECT_EQ(row.taken, observe(row.data, row.shown));
        EXPECT_EQ(row.asked, atlasApp.asked);
        EXPECT_EQ(row.doc, frame->currentState()->getDocNo());
    }
    EXPECT_EQ(3, frame->currentState()->fNbFrame);
    EXPECT_EQ(2, frame->currentState()->fNumFrame);
    EXPECT_EQ(11, leftValue(DockLeftAtlasPane::kMapKey)) << "the preview follows the map it opened";
    EXPECT_NE(std::string::npos, contentApp.log.find("media 5;")) << "place 9 is a media document";
    AMozillaUpdateTitleEvent title;
    EXPECT_EQ(1, atlas->preview()->handler()->onEvent(atlas->preview()->view(), &title));
    AMozillaUpdateUrlEvent other;
    EXPECT_EQ(0, atlas->preview()->handler()->onEvent(atlas->preview()->view(), &other));
}

TEST_F(AtlasPanesTest, EachPreviewReplacesAndListsTheFormerFiles) {
    showAtlas(-1);
    AtlasPrec* preview = atlas->preview();
    preview->releaseFiles();
    contentApp.log.clear();
    contentApp.registered.clear();
    preview->showMap(10);
    EXPECT_EQ("extract 6:5:10;HTMLFLASHMEDIAWIN stop=stop() bg=#FFFFFF frame=-1;", contentApp.log);
    std::string movie = preview->moviePath().c_str(), page = preview->pagePath().c_str();
    EXPECT_NE(std::string::npos, movie.find(".swf"));
    EXPECT_TRUE(contentApp.registered.empty());
    preview->showMap(11);
    ASSERT_EQ(2u, contentApp.registered.size());
    EXPECT_EQ(movie, contentApp.registered[0]);
    EXPECT_EQ(page, contentApp.registered[1]);
    DeleteFileA(preview->moviePath().c_str());
    preview->releaseFiles();
    EXPECT_EQ(3u, contentApp.registered.size()) << "a file already gone is not listed";
    EXPECT_TRUE(preview->moviePath().empty() && preview->pagePath().empty());
}

namespace {

// Answers the countries page with a new state of the frame and records the address.
class CountriesServices : public AFrameServices {
public:
    AppState* makeUrlNavState(Frame1& window, const AString& address, int16_t kind, long value) override {
        asked += std::string(address.c_str()) + " " + std::to_string(kind) + " " + std::to_string(value) + ";";
        return window.makeNavState(0, 0, 0, 0, -1, kind, 4);
    }
    std::string asked;
};

}  // namespace

TEST_F(AtlasPanesTest, TheCountriesButtonOpensTheCountriesPage) {
    CountriesServices services;
    gFrameServices = &services;
    AppState* map = showAtlas(10);
    atlas->doCommand(DockLeftAtlasPane::kCountries, 0);
    Pump();
    gFrameServices = nullptr;
    EXPECT_EQ("hg_lespays 3 -1;", services.asked);
    EXPECT_NE(map, frame->currentState());
}

TEST_F(AtlasPanesTest, AReplayedStateBringsBackTheTypedTextAndSelection) {
    AppState* first = showAtlas(10);
    allList->searchField()->setText("Pari");
    allList->selFirst = 3;
    allList->selLast = 4;
    allList->saveState(first->getLeftState());
    EXPECT_EQ("Pari", std::string(first->getLeftState()->getUserTxtInfo(1054).c_str()));
    EXPECT_EQ(4, first->getLeftState()->fUserInfo.slot(1053));
    const struct {
        int16_t histo;
        const char* text;
        long selFirst, selLast;
    } rows[] = {{1, "Pari", 3, 4}, {0, "", 0, -2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.histo);
        allList->searchField()->setText("other");
        AppState* state = showAtlas(10);
        ALeftState* left = state->getLeftState();
        left->fHisto = row.histo;
        left->fNew = row.histo ? 0 : 1;
        left->setUserTxtInfo(1054, "Pari");
        left->fUserInfo.slot(1052) = 3;
        left->fUserInfo.slot(1053) = 4;
        allList->updatePane();
        EXPECT_EQ(row.text, std::string(allList->searchField()->getText().c_str()));
        EXPECT_EQ(row.selFirst, allList->selFirst);
        EXPECT_EQ(row.selLast, allList->selLast);
    }
}
