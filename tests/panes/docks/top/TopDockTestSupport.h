// Shared set-up of the top dock's tests: the application's answers the tests
// set, an article view and a map view that log what they are asked, and a
// fixture that opens a main window holding the real top dock.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/state/ASiReqSearch.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "panes/docks/top/ATopDockApp.h"
#include "panes/docks/top/ATopDockViews.h"
#include "tests/app/frame/FrameTestSupport.h"

class DockTopAtlasPane;
class DockTopFlashPane;
class DockTopHtmlPane;
class DockTopKycfPane;
class DockTopLeftImgPane;
class DockTopLeftRechPane;

class TestTopDockApp : public ATopDockApp {
public:
    ASVLoSearchState* runFullTextSearch(int16_t offerOnline, const char* query, int16_t noPhonetic) override;
    ASiReqSearch& queryHistory() override { return *history; }
    AString getDocTitle(long docNo) override;
    bool titlesPrefixed() override { return prefixed; }
    AString getSalleTitle(int16_t room, AppState* state) override;
    int16_t getDocIconType(long docNo) override;
    ADocRefInfo getDocRefInfo(long docNo) override;
    void fillDocDates(AppState* state) override;
    void openMediaWindow(long docNo, int16_t first, int16_t second) override;
    AStyleSheet* getStyleSheet(long number) override;

    // Queries that find something, each to the query the search settles on.
    std::map<std::string, std::string> found;
    std::map<long, std::string> titles;
    std::map<long, int16_t> iconTypes;
    std::map<long, std::string> infoRecords;  // HDGINFO records
    std::unique_ptr<ASiReqSearch> history = std::make_unique<ASiReqSearch>(0);
    bool prefixed = false;
    int searches = 0;
    std::string log;
    AStyleSheetSet* sheets = nullptr;  // not owned
};

class TestArticleView : public ATopArticleView {
public:
    void applySplitMode() override { log += "split;"; }
    void setViewStyles(int16_t off) override { log += "styles" + std::to_string(off) + ";"; }
    void changeFontSize(int16_t step) override;
    bool canReduceFont() override { return font > -2; }
    bool canEnlargeFont() override { return font < 2; }
    bool isFontChanged() override { return font != 0; }
    void toggleMedia() override { media = media ? 0 : 1; }
    int16_t mediaFlag() override { return media; }
    int16_t hasSearchHits() override { return hits; }
    int16_t hasPreviousHit() override { return hits; }
    int16_t hasNextHit() override { return hits; }
    void showPreviousHit() override { log += "previous;"; }
    void showNextHit() override { log += "next;"; }

    int16_t font = 0;
    int16_t media = 0;
    int16_t hits = 0;
    std::string log;
};

class TestMapView : public ATopMapView {
public:
    void gotoFrame(int16_t frame) override { log += "frame" + std::to_string(frame) + ";"; }
    bool canZoom(int16_t direction) override { return direction ? zoom < 3 : zoom > 1; }
    void zoomStep(int16_t direction) override { zoom = static_cast<int16_t>(zoom + (direction ? 1 : -1)); }
    void resetZoom(int16_t position) override { zoom = position; }
    int16_t zoomPosition() override { return zoom; }

    int16_t zoom = 1;
    std::string log;
};

class TopDockTest : public FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens the frame; false without a display.
    bool open();
    // A new state shown: docType -1 gives no document part, leftMode -1 no left part.
    AppState* show(int16_t screenMode, int16_t docType, int16_t leftMode, long docNo = 5);
    // The panes of the top dock shown now, as "rech img kycf html atlas flash" names.
    std::string shownPanes();
    int16_t status(SVPane* pane, int16_t id) { return pane->commandStatus(id, 0); }
    void press(SVPane* pane, int16_t id) { pane->doCommand(id, 0); }

    TestTopDockApp dock;
    DockTopLeftRechPane* rech = nullptr;
    DockTopLeftImgPane* img = nullptr;
    DockTopKycfPane* kycf = nullptr;
    DockTopHtmlPane* html = nullptr;
    DockTopAtlasPane* atlas = nullptr;
    DockTopFlashPane* flash = nullptr;
};

bool Shown(AComponent* component);
