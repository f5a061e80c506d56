// Lexicon windows over a generated word table: group rows open windows with
// their records, bad group rows open nothing, a term fills the opener's
// fields and queues one search, and the whole chain goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lexicon/Lexique.h"
#include "app/lexicon/SearchInList.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/controls/AEditBox.h"
#include "tests/app/lines/LinesTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

class Provider : public ALexiqueProvider {
public:
    LexiqueOwner* ownerRecord() override { return &owner; }
    void runSearch(int16_t fieldId, int32_t value) override {
        searches += std::to_string(fieldId) + ":" + std::to_string(value) + " ";
    }
    LexiqueOwner owner;
    std::string searches;
};

std::vector<std::string> Words() {
    std::vector<std::string> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back("mot " + std::to_string(i) + "#" + std::to_string(i));
    rows[5] = "Histoire#>120:15";
    return rows;
}

class LexiqueTest : public ClusterTest {
protected:
    void TearDown() override {
        if (first && alive(first)) {
            AComponent* p = first;
            DeleteComponent(p);
        }
        app->commandQueue().run();
        ClusterTest::TearDown();
    }
    int windows() {
        int n = 0;
        Alist& children = app->children();
        for (ALink* l = children.firstLink(); l != children.sentinel(); l = l->next)
            n += dynamic_cast<Lexique*>(ChildOf(l)) ? 1 : 0;
        return n;
    }
    bool alive(AComponent* c) {
        Alist& children = app->children();
        for (ALink* l = children.firstLink(); l != children.sentinel(); l = l->next)
            if (ChildOf(l) == c)
                return true;
        return false;
    }
    Lexique* open() {
        auto* window = dynamic_cast<Lexique*>(AComponent::loadLayout(app, "Lexique", 0));
        EXPECT_NE(nullptr, window);
        window->setProvider(&provider, 7);
        return window;
    }
    long rows(Lexique* window) {
        ARenderer* r = window->listView()->renderer();
        return r && r->model() ? r->model()->getLength() : -1;
    }
    AEditBox* field(int16_t id) {
        auto* box = new AEditBox(fields, id, ASizeSpec(ARect(0, 0, 100, 20)), 0, "");
        AObject::completeNew(box);
        return box;
    }
    Provider provider;
    Lexique* first = nullptr;
    TestWindow* fields = nullptr;
};

}  // namespace

TEST_F(LexiqueTest, GroupsOpenTheirRecordsAndATermFillsTheFieldsOnce) {
    LinesBase words(Words());
    ASSERT_EQ(0, words.code) << words.error;
    provider.owner.base = words.open();
    ASSERT_NE(nullptr, provider.owner.base);
    fields = new TestWindow(app, ARect(0, 0, 200, 60), "");
    AObject::completeNew(fields);
    if (!fields->openWindow("champs"))
        GTEST_SKIP() << "no X display";
    provider.owner.firstField = field(31);
    provider.owner.secondField = field(32);

    first = open();
    if (!first->getHWnd())
        GTEST_SKIP() << "no X display";
    provider.owner.style = "lexique";
    first->fillRange(0, 200);
    EXPECT_EQ(200, rows(first));
    first->showUpdate();
    auto* list = dynamic_cast<AListRenderer*>(first->listView()->renderer());
    ASSERT_NE(nullptr, list);
    // A row is at least 16 pixels high, and 12 more pixels part it from the next.
    const long pitch = list->rowRect(1).top() - list->rowRect(0).top();
    EXPECT_GE(pitch, 28);
    EXPECT_STREQ("lexique", list->styleSheet()->name.c_str()) << "the owner's style text";

    struct Bad {
        const char* text;
    } bad[] = {{"Neg#>-3:2"}, {"Past#>190:50"}, {"Nan#>x:1"}, {"Vide#>4:"}, {"Zero#>4:0"}, {"Grand#>99999999999:1"}};
    for (const Bad& row : bad) {
        SCOPED_TRACE(row.text);
        first->rowClicked(row.text);
        EXPECT_EQ(nullptr, first->childLexique());
    }

    first->rowClicked("Histoire#>120:15");
    Lexique* second = first->childLexique();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(15, rows(second)) << "records 120 to 134";
    EXPECT_STREQ("Histoire", second->getTitle().c_str());
    second->rowClicked("Suite#>130:3");
    Lexique* third = second->childLexique();
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(3, rows(third));
    app->flushUpdates();
    Pump();
    {
        ARect a = first->getScreenBounds(), c = third->getScreenBounds();
        ARect area(a.left() - 4, a.top() - 4, c.right() + 4, c.bottom() + 4);
        EXPECT_FALSE(Canvas::saveScreen(area, "lexicon-windows").empty());
    }

    third->rowClicked("Paris:France");
    EXPECT_STREQ("Paris", provider.owner.firstField->getText().c_str()) << "written by the first window";
    EXPECT_STREQ("France", provider.owner.secondField->getText().c_str());
    EXPECT_EQ("", provider.searches) << "the search is queued";
    app->commandQueue().run();
    EXPECT_EQ("31:7 ", provider.searches);
    EXPECT_EQ(0, windows()) << "all three go";
    first = nullptr;

    provider.owner.secondField = nullptr;
    first = open();
    first->rowClicked("Paris:France");
    EXPECT_STREQ("Paris:France", provider.owner.firstField->getText().c_str()) << "one field gets the whole text";
    app->commandQueue().run();
    first = nullptr;

    provider.owner.base = nullptr;
    first = open();
    first->fillRange(0, 10);
    EXPECT_EQ(-1, rows(first)) << "no base: an empty list";
}

TEST(LexiqueGroups, GroupRowsAreReadSafely) {
    struct Row {
        const char* text;
        bool group;
        long start, count;
    } rows[] = {
        {"Histoire#>120:15", true, 120, 15}, {">3:4", true, 3, 4},          {"Paris#12", false, 0, 0},
        {"A#>-1:3", false, 0, 0},            {"A#>1:-3", false, 0, 0},      {"A#>1", false, 0, 0},
        {"A#>:5", false, 0, 0},              {"A#>1234567890:1", false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        long start = -9, count = -9;
        EXPECT_EQ(row.group, Lexique::parseGroup(row.text, start, count));
        if (row.group) {
            EXPECT_EQ(row.start, start);
            EXPECT_EQ(row.count, count);
        }
    }
}
