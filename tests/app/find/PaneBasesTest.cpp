// The centred and Flash pane bases in the test frame: the centring rule,
// the Flash requests' names and targets, links and the document popup.
#include <gtest/gtest.h>

#include <string>

#include "app/find/AFlashServices.h"
#include "app/find/CenterPane.h"
#include "app/find/SVFlashPane.h"
#include "app/state/ABaseState.h"
#include "base/object/AFileSpec.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/display/ASizing.h"
#include "search/facade/ALoSimple.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace {

// Logs what the pane asks; answers from its tables.
class FakeFlashServices : public AFlashServices {
public:
    AString getMapFsText(const char* name) override {
        log += std::string("map ") + name + ";";
        return AString(maps[name].c_str());
    }
    AString getLinkFsText(const char* name) override {
        log += std::string("link ") + name + ";";
        return AString(links[name].c_str());
    }
    AString getLinkRecord(long record) override { return AString(records[record].c_str()); }
    bool showDocument(SVPane&, long docNo) override {
        log += "show " + std::to_string(docNo) + ";";
        return true;
    }
    std::string log;
    std::map<std::string, std::string> maps, links;
    std::map<long, std::string> records;
};

class PaneBasesTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        gFlashServices = &flash;
    }
    void TearDown() override {
        gFlashServices = nullptr;
        FrameTest::TearDown();
    }
    template <class T>
    T* paneOf(int16_t id) {
        AComponent* c = frame->findById(id, 0);
        return c ? static_cast<T*>(c->castTo(&T::classRecord)) : nullptr;
    }
    FakeFlashServices flash;
};

}  // namespace

TEST_F(PaneBasesTest, ACentredPaneTakesEdgesFromItsParentsCentre) {
    struct Row {
        int32_t w, h;
        int32_t left, top, right, bottom;
    } const rows[] = {{201, 100, -100, -50, 101, 50}, {0, 0, 0, 0, 0, 0}, {1, 3, 0, -1, 1, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.w);
        ASizeSpec rule = CenterPane::centredRule(APoint(r.w, r.h));
        EXPECT_EQ(r.left, rule.edges[0].value);
        EXPECT_EQ(r.top, rule.edges[1].value);
        EXPECT_EQ(r.right, rule.edges[2].value);
        EXPECT_EQ(r.bottom, rule.edges[3].value);
        for (const AEdge& e : rule.edges) {
            EXPECT_EQ(0x1440, e.mode);
            EXPECT_EQ(0x1000, e.aux);
        }
    }
    if (!openFrame("FindFrame"))
        GTEST_SKIP() << "no display";
    auto* pane = paneOf<CenterPane>(1270);
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ(-100, pane->getSizeSpec().edges[0].value);
    EXPECT_EQ(101, pane->getSizeSpec().edges[2].value);
}

TEST_F(PaneBasesTest, FlashRequestsLookUpTheirNamesAndOpenTheirTargets) {
    if (!openFrame("FindFrame"))
        GTEST_SKIP() << "no display";
    auto* pane = paneOf<SVFlashPane>(1260);
    ASSERT_NE(nullptr, pane);
    step(3456);
    flash.maps["12_3456"] = "0:77";
    flash.links["ab"] = "";
    flash.links["cd"] = "0:78";
    struct Row {
        int16_t code;
        const char* text;
        const char* log;
        const char* urls;
        long docNo;  // the document shown after the request
    } const rows[] = {
        {5, "12", "map 12_3456;", "", 77},
        {2, " a b ", "link ab;", " a b ;", -1},
        {3, "c d", "link cd;", "", 78},
        {7, "12", "", "", 78},
        {5, "x", "", "", 78},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        flash.log.clear();
        services.urls.clear();
        pane->onFlashCommand(r.code, r.text);
        EXPECT_EQ(r.log, flash.log);
        EXPECT_EQ(r.urls, services.urls);
        EXPECT_EQ(r.docNo, frame->currentState()->getDocNo());
    }
    services.urls.clear();
    pane->onFlashNetCommand(4, "http://a/");
    EXPECT_EQ("", services.urls) << "no connection";
    services.connected = true;
    pane->onFlashNetCommand(4, "http://a/");
    pane->onFlashNetCommand(5, "http://b/");
    EXPECT_EQ("http://a/;", services.urls);
}

TEST_F(PaneBasesTest, TargetsOpenDocumentsAndLinksAndRefuseTheRest) {
    if (!openFrame("FindFrame"))
        GTEST_SKIP() << "no display";
    auto* pane = paneOf<SVFlashPane>(1260);
    ASSERT_NE(nullptr, pane);
    AStyleSheetSet sheets(AFileSpec(SV_SOURCE_DIR "/tools/sample/svstyles.xml"), 0);
    services.sheets = &sheets;
    CountedState* start = step(5);
    start->setUserInfo(1310, 9);
    struct Row {
        const char* text;
        int16_t answer;
        long docNo;
    } const rows[] = {
        {"", 0, 5}, {"2:5", 0, 5}, {"0:abc", 0, 5}, {"0:-3", 0, 5}, {"0:99999999999", 0, 5}, {"0:42", 1, 42},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(r.answer, pane->openTarget(r.text));
        EXPECT_EQ(r.docNo, frame->currentState()->getDocNo());
    }
    AppState* opened = frame->currentState();
    EXPECT_EQ(1, opened->fLink);
    EXPECT_EQ(9, opened->getUserInfo(1310));

    // A link record is a document list; one of a single document may open directly.
    flash.records[3] = "1:61:61";
    flash.records[4] = "2:62:61,62";
    EXPECT_EQ(0, pane->openTarget("1:5")) << "an empty link record";
    EXPECT_EQ(1, pane->openTarget("1:3"));
    EXPECT_EQ("", flash.log) << "without user info 1174 the record is a popup";
    ASSERT_NE(nullptr, pane->popupList());
    EXPECT_EQ(1, pane->popupList()->getCount());
    EXPECT_EQ(1, pane->openTarget("1:4"));
    EXPECT_EQ(2, pane->popupList()->getCount()) << "the new popup's list replaces the old one";
    frame->currentState()->setUserInfo(1174, 1);
    EXPECT_EQ(1, pane->openTarget("1:3"));
    EXPECT_EQ("show 61;", flash.log);

    const long shown = frame->currentState()->getDocNo();
    AppState* before = frame->currentState();
    pane->openChosenDocument(0, std::to_string(shown).c_str());
    EXPECT_EQ(before, frame->currentState()) << "the document already shown";
    pane->openChosenDocument(0, "43");
    EXPECT_EQ(43, frame->currentState()->getDocNo());
    services.sheets = nullptr;
}
