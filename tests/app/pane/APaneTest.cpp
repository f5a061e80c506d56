// The pane base: its class record, the framework's answers through it, and
// when a pane may look its child items up during a layout load.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/data/ADataManager.h"
#include "app/pane/APane.h"
#include "framework/app/AWindow.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

// Records what each step of a layout load finds of item 7.
class ProbePane : public APane {
    SV_DECLARE_CLASS(ProbePane)
public:
    void readFrom(AMemoryStream& stream) override {
        APane::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "probe", 1);
    }
    void attachItems() override {
        APane::attachItems();
        note("attach", findItem(7, false));
    }
    void setUpItems() override {
        APane::setUpItems();
        text = findItem(7, false);
        note("setUp", text);
    }
    void bindActions() override {
        APane::bindActions();
        steps += "bind;";
    }
    void detachItems() override {
        text = nullptr;
        steps += "detach;";
        APane::detachItems();
    }
    void note(const char* step, AClusterItem* found) { steps += std::string(step) + (found ? "+;" : "-;"); }

    static std::string steps;
    AClusterItem* text = nullptr;  // not owned
};

std::string ProbePane::steps;

SV_IMPLEMENT_CLASS(ProbePane, 0, APane)

class PaneTest : public ClusterTest {};

}  // namespace

TEST_F(PaneTest, IsRegisteredUnderItsNameAndCastsWithinItsFamily) {
    const AClass* record = AClass::findByName("APane");
    ASSERT_EQ(&APane::classRecord, record);
    EXPECT_EQ(0, record->classNumber());
    EXPECT_EQ(&ALocalCluster::classRecord, record->parents()[0]);
    EXPECT_EQ(nullptr, record->parents()[1]);
    AObject* made = AClass::createByName("APane");
    ASSERT_NE(nullptr, made);
    APane* pane = static_cast<APane*>(made->castTo(&APane::classRecord));
    EXPECT_NE(nullptr, pane);
    delete made;

    pane = Open<APane>(app, 100, Frame(0, 0, 50, 50), 0, 1, nullptr);
    struct Row {
        const AClass* cls;
        bool answers;
    } const rows[] = {{&APane::classRecord, true},     {&ALocalCluster::classRecord, true},
                      {&AItemCluster::classRecord, true}, {&AObject::classRecord, true},
                      {&AWindow::classRecord, false},    {&ProbePane::classRecord, false},
                      {&AStaticText::classRecord, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls->name());
        EXPECT_EQ(r.answers, pane->castTo(r.cls) != nullptr);
    }
    EXPECT_EQ(static_cast<void*>(pane), pane->castTo(&APane::classRecord));
    EXPECT_STREQ("APane", pane->getClass()->name());
}

TEST_F(PaneTest, AnswersCommandsAsTheFrameworkCluster) {
    APane* pane = Open<APane>(app, 100, Frame(0, 0, 50, 50), 0, 1, nullptr);
    ALocalCluster* cluster = Open<ALocalCluster>(app, 101, Frame(0, 0, 50, 50), 0, 1, nullptr);
    for (int16_t id : {int16_t(0), int16_t(17), int16_t(18), int16_t(19), int16_t(25), int16_t(1203)}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(cluster->commandStatus(id, 0), pane->commandStatus(id, 0));
    }
    for (int16_t id : {int16_t(25), int16_t(1203), int16_t(0)}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(cluster->doCommand(id, 0), pane->doCommand(id, 0));
    }
    AKindSet kinds;
    kinds.add(6);
    pane->linkChanged(cluster, kinds);
    pane->updatePane();
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(PaneTest, FindsItsChildItemsOnlyOnceTheLayoutIsLoaded) {
    auto* w = Open<TestWindow>(app, ARect(0, 0, 220, 120), nullptr);
    if (!w->openWindow("Panneau"))
        GTEST_SKIP() << "no display";
    ProbePane::steps.clear();
    AComponent* loaded = AComponent::loadLayout(w, "APaneProbe", 0);
    ASSERT_NE(nullptr, loaded);
    auto* probe = static_cast<ProbePane*>(loaded->castTo(&ProbePane::classRecord));
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ("attach-;setUp+;bind;", ProbePane::steps);
    ASSERT_NE(nullptr, probe->text);
    EXPECT_EQ(7, probe->text->getId());
    EXPECT_EQ(probe->text, probe->findItem(7, true));
    EXPECT_STREQ("Recherche", probe->getItemText(7).c_str());
    EXPECT_FALSE(probe->hasItem(8)) << "the inner pane files its own items";
    auto* inner = static_cast<APane*>(probe->findItem(301, true)->castTo(&APane::classRecord));
    ASSERT_NE(nullptr, inner);
    EXPECT_TRUE(inner->hasItem(8));
    AComponent* root = w;
    DeleteComponent(root);
    EXPECT_EQ("attach-;setUp+;bind;detach;", ProbePane::steps);
}

TEST_F(PaneTest, TheDataManagerShowsTheSearchCursorWhileAChannelRuns) {
    ADataManager dm(nullptr);
    EXPECT_EQ(nullptr, dm.beginWait()) << "no cursor owner, no cursor";
    dm.setCursorOwner(app);
    std::unique_ptr<ASearchWait> wait(dm.beginWait());
    ASSERT_NE(nullptr, wait);
    EXPECT_EQ(312, app->cursorId());
}
