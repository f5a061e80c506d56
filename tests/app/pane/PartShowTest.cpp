// Showing the parts of a navigation state: each part updates its wanted
// panes in the main window's cluster 1002, in its order, then is no longer new.
#include <gtest/gtest.h>

#include <string>

#include "app/pane/APane.h"
#include "app/state/ABaseState.h"
#include "framework/components/ALayoutLoader.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

class ShowPane : public APane {
    SV_DECLARE_CLASS(ShowPane)
public:
    void readFrom(AMemoryStream& stream) override {
        APane::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "showpane", 1);
    }
    void updatePane() override { log += std::to_string(getId()) + (visible ? "+" : "") + ";"; }

    static std::string log;
    int16_t visible = 0;
};

std::string ShowPane::log;

SV_IMPLEMENT_CLASS(ShowPane, 0, APane)

bool NotLeft(APane* pane) {
    return pane->getId() != 1202 && pane->getId() != 1201;
}

void SetVisible(APane* pane, int16_t visible) {
    static_cast<ShowPane*>(pane->castTo(&ShowPane::classRecord))->visible = visible;
}

class PartShowTest : public ClusterTest {
protected:
    void TearDown() override {
        gPartPaneHooks = {nullptr, nullptr};
        ClusterTest::TearDown();
    }
};

}  // namespace

TEST_F(PartShowTest, EachPartUpdatesItsWantedPanesInOrder) {
    auto* w = Open<TestWindow>(app, ARect(0, 0, 220, 120), nullptr);
    if (!w->openWindow("Cadre"))
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, AComponent::loadLayout(w, "PartFrame", 0));
    struct Row {
        ABaseState* part;
        APartPaneHooks hooks;
        const char* log;
    } const rows[] = {
        {new ADocState(), {nullptr, nullptr}, "1206;1201;1203;1204;"},
        {new ADocState(), {&NotLeft, &SetVisible}, "1206+;1203+;1204+;"},
        {new ALeftState(), {nullptr, nullptr}, "1202;"},
        {new ALeftState(), {&NotLeft, nullptr}, ""},
        {new AListeState(7), {nullptr, nullptr}, ""},
        {new ABaseState(7), {nullptr, nullptr}, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.log);
        ShowPane::log.clear();
        gPartPaneHooks = r.hooks;
        r.part->fClone = 1;
        r.part->fHisto = 1;
        bool plain = !dynamic_cast<ADocState*>(r.part) && !dynamic_cast<ALeftState*>(r.part);
        r.part->show(w);
        EXPECT_EQ(r.log, ShowPane::log);
        EXPECT_EQ(plain ? 3 : 0, r.part->fNew + r.part->fClone + r.part->fHisto) << "a shown part's flags are cleared";
        delete r.part;
    }
    ARightState right(1205, 3);
    EXPECT_NE(-1, FatalExitCodeOf([&] { right.show(w); })) << "1205 is no pane";
    ClearBoxes();
    g_reportInProgress = 0;
    EXPECT_EQ(1, right.fNew) << "nothing further is shown";
    ADocState doc;
    auto* bare = Open<TestWindow>(app, ARect(0, 0, 20, 20), nullptr);
    EXPECT_NE(-1, FatalExitCodeOf([&] { doc.show(bare); })) << "no cluster 1002";
    ClearBoxes();
    g_reportInProgress = 0;
}
