// The pane base: which panes a pane's list holds, the refresh and save walks,
// the static item that holds a pane, and the base answers of a bare pane.
#include <gtest/gtest.h>

#include <string>

#include "app/state/ABaseState.h"
#include "framework/clusters/AStaticItem.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace {

std::string Ids(AComponent* c) {
    std::string s;
    for (SVPane* p : ASVPaneList(c))
        s += std::to_string(p->id()) + ";";
    return s;
}

}  // namespace

TEST_F(FrameTest, APaneListHoldsTheNearestPanesThroughPlainComponents) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    struct Row {
        int16_t id;
        const char* panes;
    } const rows[] = {
        {1002, "1202;1221;1201;1203;1204;1206;1231;1205;"},
        {1202, "1210;"},
        {1210, ""},
        {1220, "1221;"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        AComponent* c = r.id == 1220 ? frame->findById(1002, 0)->findById(1220, 0) : pane(r.id);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(r.panes, Ids(c));
    }
    EXPECT_EQ("1001;1002;", Ids(frame));
    EXPECT_NE("", assertionText([] { ASVPaneList list(nullptr); }));
}

TEST_F(FrameTest, TheRefreshWalkShowsWantedBranchesAndSkipsTheOthers) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    struct Row {
        int16_t unwanted;
        const char* log;
    } const rows[] = {
        {0, "1202:show;1202:update;1210:show;1210:update;1221:show;1221:update;1201:show;1201:update;"
            "1203:show;1203:update;1204:show;1204:update;1206:show;1206:update;1231:show;1231:update;"
            "1205:show;1205:update;"},
        {1202, "1202:hide;1221:show;1221:update;1201:show;1201:update;1203:show;1203:update;1204:show;"
               "1204:update;1206:show;1206:update;1231:show;1231:update;1205:show;1205:update;"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.unwanted);
        if (r.unwanted)
            pane(r.unwanted)->wanted = 0;
        ProbePane::log.clear();
        static_cast<SVPane*>(pane(1002))->SVPane::updatePane();
        EXPECT_EQ(r.log, ProbePane::log);
    }
    ProbePane::log.clear();
    pane(1002)->showWantedChildren();
    EXPECT_EQ("1202:hide;1221:show;1201:show;1203:show;1204:show;1206:show;1231:show;1205:show;", ProbePane::log)
        << "no descent, no update";

    ADocState part;
    ProbePane::log.clear();
    pane(1002)->saveTreeState(&part);
    EXPECT_EQ("1221:save;1201:save;1203:save;1204:save;1206:save;1231:save;1205:save;", ProbePane::log);
    EXPECT_EQ(0, part.fUserInfo.slot(1210)) << "an unwanted pane's subtree is not saved";
    pane(1202)->wanted = 1;
    ProbePane::log.clear();
    pane(1002)->saveTreeState(&part);
    EXPECT_NE(std::string::npos, ProbePane::log.find("1202:save;1210:save;"));
}

TEST_F(FrameTest, APaneHidesTheStaticItemThatHoldsIt) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    auto holder = [&](int16_t id) {
        return static_cast<AStaticItem*>(frame->findById(1002, 0)->findById(id, 0));
    };
    pane(1231)->setPaneVisible(1);
    EXPECT_TRUE(holder(1230)->displayFlags() & ADisplayComponent::kShown);
    pane(1231)->setPaneVisible(0);
    EXPECT_FALSE(pane(1231)->displayFlags() & ADisplayComponent::kShown);
    EXPECT_FALSE(holder(1230)->displayFlags() & ADisplayComponent::kShown) << "the holding item goes too";
    pane(1231)->setPaneVisible(1);
    EXPECT_TRUE(holder(1230)->displayFlags() & ADisplayComponent::kShown);
    // A pane held by no static item below the frame's holders hides only itself and its nearest holder.
    pane(1210)->setPaneVisible(0);
    EXPECT_FALSE(pane(1210)->displayFlags() & ADisplayComponent::kShown);
    EXPECT_TRUE(pane(1202)->displayFlags() & ADisplayComponent::kShown);
}

TEST_F(FrameTest, ABarePaneAnswersNoHitsAndNoStateWithoutOne) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    SVPane* p = pane(1201);
    ACommand* none = AComponent::noChangeCommand();
    EXPECT_EQ(frame, p->getFrame());
    EXPECT_EQ(0, p->SVPane::hasSearchHits() + p->SVPane::hasPreviousHit() + p->SVPane::hasNextHit() +
                     p->SVPane::canFindText());
    EXPECT_EQ(none, p->SVPane::goToPreviousHit());
    EXPECT_EQ(none, p->SVPane::goToNextHit());
    EXPECT_EQ(none, p->SVPane::findText("x"));
    EXPECT_EQ(nullptr, p->currentState());
    EXPECT_EQ(nullptr, p->leftState());
    EXPECT_EQ(nullptr, p->docState());
    EXPECT_EQ(nullptr, p->rightState());
    step(3);
    EXPECT_EQ(frame->currentState(), p->currentState());
    EXPECT_EQ(frame->currentDocState(), p->docState());

    SVPane loose;
    EXPECT_NE("", assertionText([&] { loose.getFrame(); })) << "no frame before attachItems";
}

TEST_F(FrameTest, ItemTextsAndTooltipsComeFromTheStringList) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    SVPane* p = pane(1001);
    p->setItemHelp(1099, 6007, 16, 0);
    p->setItemText(1099, 6007, 18, 0);
    EXPECT_STREQ(" page pr\xE9""c\xE9""dente", p->findItem(1099, true)->helpText().c_str());
    EXPECT_STREQ(" page suivante", p->findItem(1099, true)->getText().c_str());
    EXPECT_NE("", assertionText([&] { p->setItemText(1043, 6007, 18, 0); })) << "not an item of the pane";
}
