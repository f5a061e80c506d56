// Type-ahead: typing, the pause, Return and Tab, which characters count, the
// prefix character and where a found line is shown.
#include <gtest/gtest.h>

#include <string>

#include "app/lexicon/LexDelegator.h"
#include "app/lexicon/SearchInList.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "base/object/InputRecords.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/clusters/AStaticItem.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

// A cluster that logs the item commands it is asked for, with the target's text then.
class LoggingCluster : public ALocalCluster {
public:
    LoggingCluster(AComponent* parent) : ALocalCluster(parent, 40, ASizeSpec(ARect(0, 0, 200, 100)), 0, 0, "") {}
    long itemCommand(int16_t id, long argument, AClusterItem*) override {
        AClusterItem* target = findItem(10, false);
        log += std::to_string(id) + ":" + std::to_string(argument) + ":" + target->getText().c_str() + " ";
        return 1;
    }
    std::string log;
};

class LexDelegatorTest : public ClusterTest {
protected:
    void build() {
        cluster = new LoggingCluster(app);
        AObject::completeNew(cluster);
        target = new AStaticText(cluster, 10, ASizeSpec(ARect(0, 0, 100, 20)), "Ancien", 0);
        AObject::completeNew(target);
        delegator = new LexDelegator(cluster, 11, 12, 10);
        AObject::completeNew(delegator);
    }
    ACommand* type(const char* text) {
        ACommand* last = nullptr;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
            AKeyEvent event(0, *p, 1);
            last = delegator->charToCommand(event);
        }
        return last;
    }
    void key(uint16_t code) {
        AKeyEvent event(code, 0, 1);
        delegator->keyToCommand(event);
    }
    LoggingCluster* cluster = nullptr;
    AStaticText* target = nullptr;
    LexDelegator* delegator = nullptr;
};

}  // namespace

TEST_F(LexDelegatorTest, ThePauseReturnAndTab) {
    build();
    ASSERT_NE(nullptr, delegator->catcher()) << "a static text takes no focus: a catcher is made";
    EXPECT_EQ(1010, delegator->catcher()->id());

    type("Dup");
    EXPECT_STREQ("Dup", target->getText().c_str());
    EXPECT_EQ("", cluster->log) << "nothing fires while typing";
    ASSERT_NE(0, delegator->timer());
    delegator->timerFired(uint16_t(delegator->timer() + 1), 0);
    EXPECT_EQ("", cluster->log) << "another timer";
    delegator->timerFired(delegator->timer(), 0);
    EXPECT_EQ("12:1:Dup ", cluster->log) << "the pause fires once, with the typed text";
    EXPECT_STREQ("Ancien", target->getText().c_str()) << "the old text comes back";
    EXPECT_EQ(0, delegator->timer());

    cluster->log.clear();
    type("ab");
    key(VK_RETURN);
    EXPECT_EQ("12:1:ab ", cluster->log) << "Return fires at once";
    EXPECT_EQ(0, delegator->timer());

    cluster->log.clear();
    type("xy");
    key(VK_TAB);
    EXPECT_STREQ("Ancien", target->getText().c_str());
    EXPECT_EQ(0, delegator->timer());
    EXPECT_EQ("", cluster->log) << "Tab fires nothing";
}

TEST_F(LexDelegatorTest, WhichCharactersCount) {
    build();
    struct Row {
        unsigned char ch;
        bool counts;
    } rows[] = {{'a', true}, {'7', true}, {0xE9, true}, {' ', false}, {'-', false}, {'.', false}, {'\t', false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.ch));
        AKeyEvent event(0, row.ch, 1);
        ACommand* answer = delegator->charToCommand(event);
        EXPECT_EQ(row.counts ? AComponent::noChangeCommand() : AComponent::passThroughCommand(), answer);
    }
    EXPECT_STREQ("a7\xE9", delegator->typed().c_str());
}

namespace {

class RecordingFinder : public ALineFinder {
public:
    long lineOfText(const char* text, long) override {
        texts += std::string(text) + " ";
        return 42;
    }
    std::string texts;
};

class RecordingSearch : public SearchInList {
public:
    using SearchInList::SearchInList;
    void showLine(long line) override { shown += std::to_string(line) + " "; }
    std::string shown;
};

}  // namespace

TEST_F(LexDelegatorTest, TheEditBoxTextWithItsPrefixFindsTheLine) {
    auto* window = new TestWindow(app, ARect(0, 0, 300, 200), "");
    AObject::completeNew(window);
    if (!window->openWindow("liste"))
        GTEST_SKIP() << "no X display";
    auto* edit = new AEditBox(window, 20, ASizeSpec(ARect(0, 0, 100, 20)), 0, "");
    AObject::completeNew(edit);
    auto* list = new AStandardView(window, 21, ASizeSpec(ARect(0, 30, 300, 200)));
    AObject::completeNew(list);
    RecordingFinder finder;
    auto* search = new RecordingSearch(window, 20, 21, &finder, '@');
    AObject::completeNew(search);
    EXPECT_EQ("@ ", finder.texts) << "set-up signals a change";
    edit->setText("Dupont");
    AKindSet kinds;
    kinds.add(6);
    edit->notify(kinds);
    EXPECT_EQ("@ @Dupont ", finder.texts);
    EXPECT_EQ("42 42 ", search->shown);
    EXPECT_EQ(edit, search->editBox());
}

TEST(SearchInListPlace, TheFoundLineStandsHalfAPageDown) {
    struct Row {
        long height, pitch, rows;
    } rows[] = {{380, 19, 10}, {100, 28, 1}, {380, 0, 10}, {10, 28, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pitch);
        EXPECT_EQ(row.rows, SearchInList::rowsAbove(row.height, row.pitch));
    }
}
