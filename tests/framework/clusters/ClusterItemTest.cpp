// Cluster items and item clusters without windows: environment strings,
// filing by id, item operations and states, help texts, the focus walk and
// the owner's notifications.
#include <string>

#include "framework/clusters/ACommandItem.h"
#include "framework/clusters/AFocusSearch.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/ATextStyle.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

namespace {

// Records the text-style number that "#env:" asks for instead of loading it.
class EnvProbe : public AClusterItem {
public:
    ATextStyle* loadEnvironment(uint16_t number) override {
        loaded = number;
        return new ATextStyle(nullptr, ATextStyle::kUnset, ATextStyle::kUnset, 0);
    }
    int loaded = -1;
};

// Counts its state changes and hits.
class StateProbe : public AAtomicItem {
public:
    StateProbe(AComponent* parent, int16_t id, uint16_t focus)
        : AAtomicItem(parent, id, Frame(0, 0, 10, 10), 0, 1, nullptr, focus) {}
    void stateChanged(uint16_t state) override {
        ++changes;
        AAtomicItem::stateChanged(state);
    }
    void prepareHit() override { ++hits; }
    void setMarked(uint16_t bit) override { marked = bit; }
    int changes = 0;
    int hits = 0;
    uint16_t marked = 0;
};

ALocalCluster* Cluster(AComponent* parent, int16_t id, const char* env = nullptr) {
    return Open<ALocalCluster>(parent, id, Frame(0, 0, 200, 200), 0, 1, env);
}

}  // namespace

TEST_F(ClusterTest, EnvironmentStringsSetTheFontBackgroundStyleAndGroup) {
    struct Row {
        const char* text;
        const char* face;  // null: no font
        COLORREF back;
        int style;  // the style number loaded, -1 none
        bool group;
        bool environment;
    } rows[] = {
        {"#font:Arial#background:0,0,255", "Arial", 0x02FF0000, -1, false, true},
        {"#background:300,0,0", nullptr, 0x0200002C, -1, false, true},
        {"#env:", nullptr, ATextStyle::kUnset, 0, false, true},
        {"#env:12#background:170,170,170", nullptr, 0x02AAAAAA, 12, false, true},
        {"left#groupright", nullptr, ATextStyle::kUnset, -1, true, false},
        {"", nullptr, ATextStyle::kUnset, -1, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EnvProbe item;
        item.parseEnvironment(row.text);
        ATextStyle* env = item.ownDisplayEnv();
        ASSERT_EQ(row.environment, env != nullptr);
        EXPECT_EQ(row.style, item.loaded);
        EXPECT_EQ(row.group, (item.itemFlags() & AClusterItem::kGroup) != 0);
        if (!env)
            continue;
        EXPECT_EQ(row.back, env->backColor());
        EXPECT_EQ(std::string(row.face ? row.face : ""), env->font() ? env->font()->spec().face.c_str() : "");
    }
    EXPECT_NE(std::string::npos,
              assertionText([] { EnvProbe().parseEnvironment("#background:1,2"); }).find("line 182"));
    EXPECT_NE(std::string::npos, assertionText([] { EnvProbe().parseEnvironment("#background:1"); }).find("line 179"));
}

TEST_F(ClusterTest, ItemsAreFiledByIdInTheirNearestCluster) {
    ALocalCluster* outer = Cluster(app, 100);
    auto* five = Open<StateProbe>(outer, 5, 0x3000);
    Open<StateProbe>(outer, 0, 0x3000);
    ALocalCluster* inner = Cluster(outer, 7);
    auto* innerFive = Open<StateProbe>(inner, 5, 0x3000);
    EXPECT_EQ(five, outer->findItem(5, false));
    EXPECT_EQ(innerFive, inner->findItem(5, false)) << "the same id in a nested cluster is its own";
    EXPECT_EQ(inner, outer->findItem(7, false));
    EXPECT_EQ(outer, five->owner());
    EXPECT_FALSE(outer->hasItem(0)) << "id 0 is shown but not filed";
    EXPECT_EQ(2u, outer->items().size());

    std::string text = assertionText([&] { Open<StateProbe>(outer, 5, 0); });
    EXPECT_NE(std::string::npos, text.find("Duplicate ClusterItem ID : 5")) << text;
    EXPECT_EQ(five, outer->findItem(5, false)) << "the first item stays filed";
    text = assertionText([&] { outer->setCurrentItem(99); });
    EXPECT_NE(std::string::npos, text.find("invalid id 99")) << text;

    struct Row {
        const char* name;
        int16_t id;
        uint16_t set;
        uint16_t expect;
    } rows[] = {
        {"not filed", 99, 1, 0},
        {"current keeps its bit", 5, 0x0001, 0x0101},
        {"marked", 5, 0x0005, 0x0105},
    };
    outer->setCurrentItem(5);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        outer->setItemState(row.id, row.set);
        EXPECT_EQ(row.expect, outer->itemState(row.id));
    }
    outer->setItemText(99, "nothing");
    EXPECT_EQ("", std::string(outer->getItemText(99).c_str()));
    outer->setCurrentItem(0);
    EXPECT_EQ(0x0005, outer->itemState(5)) << "0 clears the current item";

    outer->setCurrentItem(7);
    AComponent* gone = inner;
    DeleteComponent(gone);
    EXPECT_FALSE(outer->hasItem(7));
    EXPECT_EQ(nullptr, outer->currentItem()) << "a removed current item is no longer current";
}

TEST_F(ClusterTest, StatesShowByStateAndMarkAtomicItems) {
    auto* cluster = Open<TestWindow>(app, ARect(0, 0, 200, 200), nullptr);
    if (!cluster->openWindow("states"))
        GTEST_SKIP() << "no display";
    cluster->show(false);
    auto* item = Open<StateProbe>(cluster, 3, 0x8000);
    EXPECT_EQ(AClusterItem::kShownByState, item->itemFlags()) << "0x8000 alone: shown by state, not focusable";
    EXPECT_FALSE(item->hasFlags(ADisplayComponent::kShown)) << "a new item is off";
    int before = item->changes;
    item->setStateBits(AClusterItem::kOff, false);
    EXPECT_EQ(before, item->changes) << "the same state runs nothing";
    item->setStateBits(AClusterItem::kOff, true);
    EXPECT_EQ(before + 1, item->changes) << "force runs it again";
    item->setOn(true);
    EXPECT_TRUE(item->hasFlags(ADisplayComponent::kShown | ADisplayComponent::kVisible));
    item->setStateBits(0, false);
    EXPECT_TRUE(item->hasFlags(ADisplayComponent::kShown)) << "a state of 0 leaves the visibility";
    item->setStateBits(AClusterItem::kOn | AClusterItem::kOff, false);
    EXPECT_FALSE(item->hasFlags(ADisplayComponent::kShown)) << "off wins over on";
    cluster->setItemStateBit4(3, true);
    EXPECT_EQ(AClusterItem::kMarked, item->marked);
    cluster->setItemStateBit4(3, false);
    EXPECT_EQ(0, item->marked);
    EXPECT_EQ(-2, item->getCursor(1));
    EXPECT_EQ(-3, item->getCursor(0));
    EXPECT_EQ("", std::string(item->getText().c_str())) << "no native window, no text";
}

TEST_F(ClusterTest, TheFocusWalkFindsTabStopsAndWrapsOnRequest) {
    auto* cluster = Open<TestWindow>(app, ARect(0, 0, 200, 200), nullptr);
    if (!cluster->openWindow("walk"))
        GTEST_SKIP() << "no display";
    auto* a = Shown(Open<StateProbe>(cluster, 1, 0x3000));
    auto* b = Shown(Open<StateProbe>(cluster, 2, 0x2000));
    auto* c = Shown(Open<StateProbe>(cluster, 3, 0x1000));
    Shown(Open<StateProbe>(cluster, 4, 0x8000));
    Shown(Open<StateProbe>(cluster, 5, 0));
    cluster->show(false);
    EXPECT_EQ(2, cluster->tabStopCount());
    struct Row {
        const char* name;
        AComponent* start;
        bool forward;
        bool wrap;
        AClusterItem* expect;
    } rows[] = {
        {"next tab stop", a, true, false, c},         {"after the last, no wrap", c, true, false, nullptr},
        {"after the last, wrap", c, true, true, a},   {"before the first, wrap", a, false, true, c},
        {"from a focusable item", b, true, false, c},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AClusterItem* r = row.forward ? cluster->nextFocusTarget(row.start, row.wrap)
                                      : cluster->previousFocusTarget(row.start, row.wrap);
        EXPECT_EQ(row.expect, r);
    }
    EXPECT_EQ(a, cluster->focusTarget());

    auto* plain = Shown(Cluster(cluster, 101));
    Shown(Open<StateProbe>(plain, 1, 0));
    auto* focusable = Shown(Open<StateProbe>(plain, 2, 0x2000));
    EXPECT_EQ(focusable, plain->focusTarget()) << "without tab stops, the first focusable item";
}

TEST_F(ClusterTest, OwnersRunTheCommandsBoundToItemIds) {
    ALocalCluster* cluster = Cluster(app, 100);
    auto* on = Open<StateProbe>(cluster, 3, 0x3000);
    auto* off = Open<StateProbe>(cluster, 4, 0x3000);
    auto* probe = Open<LogProbe>(cluster, int16_t(9));
    probe->answers[500] = probe->answers[501] = AComponent::noChangeCommand();
    probe->statuses[500] = 1;
    probe->statuses[501] = 2;
    cluster->addAction(500, probe, 3, nullptr);
    cluster->addAction(501, probe, 4, nullptr);
    app->flushUpdates();
    EXPECT_EQ(AClusterItem::kOn, on->state()) << "an enabled command switches its item on";
    EXPECT_EQ(AClusterItem::kOff, off->state()) << "a disabled one switches it off";
    LogProbe::log.clear();
    EXPECT_EQ(1, on->notifyOwner(1));
    EXPECT_EQ("9:do500 ", LogProbe::log);
    EXPECT_EQ(1, cluster->itemCommand(3, 1, nullptr));
    EXPECT_EQ(1, on->hits) << "a hit is prepared";
    EXPECT_EQ(0, off->notifyOwner(1)) << "an off item stays silent";
    EXPECT_EQ(0, cluster->itemCommand(4, 1, nullptr));
    EXPECT_EQ(0, off->hits) << "no hit is prepared for an off item";
    EXPECT_EQ(0, cluster->itemNotify(77, 1, nullptr)) << "nothing bound";

    auto* orphan = Open<StateProbe>(cluster, 0, 0);
    EXPECT_EQ(0, orphan->notifyOwner(1));
    orphan->setOn(true);
    EXPECT_NE(std::string::npos, assertionText([&] { orphan->notifyOwner(1); }).find("line 582"));
}

TEST_F(ClusterTest, HelpTextsComeFromTheClustersStringList) {
    makeApp(AApp::kHelpBox);
    ALocalCluster* numbered = Open<ALocalCluster>(app, 1, Frame(0, 0, 10, 10), 0, 1200, nullptr);
    auto* item = Open<AAtomicItem>(numbered, 25, Frame(0, 0, 5, 5), 0, 0, nullptr, 0);
    auto* other = Open<AAtomicItem>(numbered, 26, Frame(0, 0, 5, 5), 0, 0, nullptr, 0);
    EXPECT_EQ("Aide de l'\xe9l\xe9ment 25", std::string(item->helpText().c_str()));
    EXPECT_EQ("premi\xe8re#seconde", std::string(other->helpText().c_str())) << "the text runs from the first #";
    AHelpRecord record = item->getHelp(APoint(2, 3));
    EXPECT_EQ(item, record.owner);
    EXPECT_EQ(1, record.valid);
    EXPECT_EQ(ARect(0, 0, 5, 5), record.area);
    item->setHelpText("ici", 1);
    EXPECT_EQ(ARect(2, 3, 2, 3), item->getHelp(APoint(2, 3)).area) << "help at the point";
    item->setHelpText("", 0);
    EXPECT_EQ("", std::string(item->helpText().c_str()));

    ALocalCluster* small = Open<ALocalCluster>(app, 2, Frame(0, 0, 10, 10), 0, 999, nullptr);
    auto* unhelped = Open<AAtomicItem>(small, 25, Frame(0, 0, 5, 5), 0, 0, nullptr, 0);
    EXPECT_EQ("", std::string(unhelped->helpText().c_str())) << "a cluster below 1000 loads none";

    // The main window's tool bar (1001) has no list of its own: it attaches all the same.
    ALocalCluster* listless = Open<ALocalCluster>(app, 3, Frame(0, 0, 10, 10), 0, 1001, nullptr);
    auto* bare = Open<AAtomicItem>(listless, 25, Frame(0, 0, 5, 5), 0, 0, nullptr, 0);
    EXPECT_EQ("", std::string(bare->helpText().c_str()));
}
