// The client, list and result-list panes loaded from a layout under a real
// application: header commands, the kept selection, row keys, the count
// line, key queries and loading a links list; the look under Xvfb.
#include <gtest/gtest.h>

#include <string>

#include "app/lines/StandardLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/lists/ALayoutPane.h"
#include "app/lists/ASVEditFilter.h"
#include "app/lists/LRExtPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "search/facade/ALo.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"

namespace {

class TestOpener : public APane, public ADocumentOpener {
    SV_DECLARE_CLASS(TestOpener)
public:
    void readFrom(AMemoryStream& stream) override {
        APane::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 1);
    }
    void openDocument(long doc) override { opened += std::to_string(doc) + ";"; }
    std::string opened;
};
SV_IMPLEMENT_CLASS(TestOpener, 0, APane)

class TestDock : public ALayoutPane, public ALinksDock {
    SV_DECLARE_CLASS(TestDock)
public:
    void readFrom(AMemoryStream& stream) override {
        ALayoutPane::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 2);
    }
    void collapseOthers(ListPane* pane) override { collapsed += std::to_string(pane->id()) + ";"; }
    std::string collapsed;
};
SV_IMPLEMENT_CLASS(TestDock, 0, ALayoutPane)

// The application's answers: LINKS records and style sheet 3.
class TestApp : public AListApp {
public:
    TestApp() { sheet->addRef(); }
    ~TestApp() override { sheet->release(); }
    // Shared with the renderers, which hold references of their own.
    AStyleSheet* getStyleSheet(long n) override { return n == 3 ? sheet : nullptr; }
    AString getLinkRecord(long n, long m) override {
        (void)n;
        asked += std::to_string(m) + ";";
        return AString(m == 0 ? "2:9:3,5" : "3:9:8,1,6");
    }
    AStyleSheet* sheet = new AStyleSheet;
    std::string asked;
};

AppState* gState = nullptr;
AppState* CurrentState(APane*) {
    return gState;
}

std::string Frame(ADisplayComponent* c) {
    ARect r = c->getFrame();
    return std::to_string(r.top()) + "-" + std::to_string(r.bottom());
}

class ListPaneTest : public ClusterTest {
protected:
    void SetUp() override {
        ClusterTest::SetUp();
        testApp.sheet->setColor(10, RGB(200, 0, 0));
        AListApp::install(&testApp);
        window = Open<TestWindow>(app, ARect(0, 0, 600, 300), "#background:255,255,255");
        opened = window->openWindow("lists");
        AComponent* loaded = AComponent::loadLayout(window, "ListPanes", 0);
        ASSERT_NE(nullptr, loaded);
        dynamic_cast<ADisplayComponent*>(loaded)->show(false);
        opener = dynamic_cast<TestOpener*>(loaded);
        dock = dynamic_cast<TestDock*>(loaded->findById(101, 0));
        for (int i = 0; i < 3; ++i)
            links[i] = dynamic_cast<LRExtPane*>(loaded->findById(static_cast<int16_t>(110 + 10 * i), 0));
        count = dynamic_cast<LRNbResPane*>(loaded->findById(140, 0));
        edit = dynamic_cast<ListEditPane*>(loaded->findById(150, 0));
        ASSERT_TRUE(opener && dock && links[0] && links[1] && links[2] && count && edit);
        ALayoutClientList* clients = dock->getClients();
        clients->addClient(links[0]->getClient(), 1, 1, nullptr);
        clients->addClient(links[1]->getClient(), 1, 0, nullptr);
        clients->addClient(links[2]->getClient(), 1, 0, nullptr);
        clients->layout();
        ADisplayServices::current().flushLayouts();
    }
    void TearDown() override {
        AListApp::install(nullptr);
        ClusterTest::TearDown();
    }

    TestApp testApp;
    TestWindow* window = nullptr;
    bool opened = false;
    TestOpener* opener = nullptr;
    TestDock* dock = nullptr;
    LRExtPane* links[3] = {};
    LRNbResPane* count = nullptr;
    ListEditPane* edit = nullptr;
};

}  // namespace

TEST_F(ListPaneTest, HeaderCommandsCollapseAndExpandTheLists) {
    struct Case {
        int pane;
        int16_t command;
        int16_t status;
    } const cases[] = {{0, 2121, 2}, {1, 2121, 1}, {0, 2540, 6}, {1, 2540, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pane) + " " + std::to_string(c.command));
        EXPECT_EQ(c.status, links[c.pane]->commandStatus(c.command, 0));
    }
    EXPECT_EQ("0-254 254-277 277-300",
              Frame(links[0]) + " " + Frame(links[1]) + " " + Frame(links[2]));
    links[1]->doCommand(LRPane::kIconCommand, 0);
    ADisplayServices::current().flushLayouts();
    EXPECT_EQ("0-138 138-276 276-299", Frame(links[0]) + " " + Frame(links[1]) + " " + Frame(links[2]));
    EXPECT_EQ(5, links[0]->commandStatus(2540, 0)) << "may toggle now, expanded";
    links[0]->doCommand(AClientPane::kToggleCommand, 0);
    ADisplayServices::current().flushLayouts();
    EXPECT_EQ("0-23 23-277 277-300", Frame(links[0]) + " " + Frame(links[1]) + " " + Frame(links[2]));

    ABaseState part;
    dock->maskKey = 1200;
    dock->textKey = 3;
    dock->setPaneText("liens");
    dock->saveState(&part);
    EXPECT_EQ(2, part.fUserInfo.slot(1200)) << "the second list alone is expanded";
    EXPECT_STREQ("liens", part.getUserTxtInfo(3).c_str());
    dock->getClients()->setShownMask(7);
    dock->restoreShownMask();
    EXPECT_EQ(2u, dock->getClients()->shownMask());
    EXPECT_EQ(0, dock->setPaneText("liens"));
}

TEST_F(ListPaneTest, ListsKeepSelectionsKeysAndEmptiness) {
    ABaseState part;
    links[0]->saveState(&part);
    EXPECT_EQ(0, part.fUserInfo.count()) << "both keys -1: nothing written";
    links[0]->selFirstKey = 10;
    links[0]->selLastKey = 11;
    links[0]->selFirst = 4;
    links[0]->selLast = 6;
    links[0]->saveState(&part);
    EXPECT_EQ(4, part.fUserInfo.slot(10));
    EXPECT_EQ(6, part.fUserInfo.slot(11));
    links[0]->clearSavedSelection(&part);
    EXPECT_EQ(-1, part.fUserInfo.slot(10));

    EXPECT_STREQ("", edit->getLineKey(0).c_str()) << "no line getter";
    EXPECT_EQ(1, edit->isListEmpty());
    edit->setLineGetter(new BufferedLineGetter("Titre#1234\na#b#c\nsans", -1));
    struct Key {
        long line;
        const char* key;
    } const keys[] = {{0, "1234"}, {1, "b#c"}, {2, ""}};
    for (const Key& k : keys) {
        SCOPED_TRACE(k.line);
        EXPECT_STREQ(k.key, edit->getLineKey(k.line).c_str());
    }
    testApp.setResultCount(0);
    EXPECT_EQ(1, edit->isListEmpty()) << "a result count of 0 even with lines";
    testApp.setResultCount(3);
    EXPECT_EQ(0, edit->isListEmpty());

    struct Number {
        const char* text;
        int16_t set;
    } const numbers[] = {{"", 0}, {"-1", 0}, {"-1x", 0}, {"0", 1}, {"abc", 1}, {"17", 1}};
    for (const Number& n : numbers) {
        SCOPED_TRACE(n.text);
        EXPECT_EQ(n.set, IsSetNumberText(n.text));
    }
    struct Clean {
        const char* text;
        const char* clean;
    } const cleans[] = {{"a\tb", "a b"}, {"ab\xA9" "cd", "ab"}, {"l1\r\nl2", "l1  l2"}, {"\xA9", ""}};
    for (const Clean& c : cleans) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(c.clean, ASVEditFilter::Clean(AString(c.text)).c_str());
    }
    ASSERT_NE(nullptr, edit->getEditField());
    ASVEditFilter filter(edit->getEditField());
    EXPECT_FALSE(filter.acceptChar(0xA9));
    EXPECT_TRUE(filter.acceptChar('a'));
}

TEST_F(ListPaneTest, CountLinesAndKeyQueries) {
    EXPECT_EQ(-1, testApp.getResultCount()) << "set up shows -1";
    EXPECT_EQ(RGB(200, 0, 0), count->highlightColour);
    struct Shown {
        long n;
        const char* text;
    } const shown[] = {{0, "Aucun document \xE0 afficher"}, {-1, "Aucun document \xE0 afficher"}, {1, "1 Document"},
                       {2, "2 Documents"}};
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.n);
        count->showResultCount(s.n, 1);
        auto* line = static_cast<AStaticText*>(count->findItem(LRNbResPane::kCountId, true));
        EXPECT_STREQ(s.text, line->getText().c_str());
        EXPECT_EQ(s.n, testApp.getResultCount());
    }

    EXPECT_EQ(1, links[0]->runQuery("7"));
    EXPECT_EQ("0;", testApp.asked) << "no ':' reads record 0";
    ALo* first = links[0]->getLo();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(2, first->getCount());
    EXPECT_EQ(0, links[0]->runQuery("x:-1"));
    EXPECT_EQ(first, links[0]->getLo()) << "m = -1 keeps the list";
    EXPECT_EQ(1, links[0]->runQuery("1:4"));
    EXPECT_EQ(3, links[0]->getLo()->getCount());

    EXPECT_EQ(1, count->runQuery("0:4"));
    EXPECT_EQ(0, count->fromSearch);
    EXPECT_EQ(0, count->runQuery("0:-2")) << "no search state";
    EXPECT_EQ(1, count->fromSearch);
    EXPECT_EQ(nullptr, count->getLo());
    EXPECT_EQ(1, count->runQuery("0:-5")) << "other negative values change nothing";
}

TEST_F(ListPaneTest, LinksListsLoadSortedRowsAndShowThem) {
    links[0]->loadList(" ");
    links[0]->loadList("");
    EXPECT_EQ(nullptr, links[0]->getLo()) << "nothing to load";
    EXPECT_EQ(nullptr, links[0]->getLineGetter());
    links[0]->loadList("3:9:7,2,4");
    ASSERT_NE(nullptr, links[0]->getLineGetter());
    EXPECT_EQ(3, links[0]->getLineGetter()->getLineCount());
    std::string keys;
    for (long i = 0; i < 3; ++i)
        keys += std::string(links[0]->getLineKey(i).c_str()) + ";";
    EXPECT_EQ("2;4;7;", keys) << "sorted on the document field";
    links[0]->loadList(" ");
    EXPECT_EQ(3, links[0]->getLineGetter()->getLineCount()) << "a blank key keeps the list";
    // The right part of the state: a new one starts at the top and keeps that,
    // one from the history gives the selection back.
    auto* right = new ARightState(1205, 12);
    AppState state(0, 0, nullptr, nullptr, right, nullptr, 12);
    gState = &state;
    ASVPaneSeam::setStateHook(CurrentState);
    links[1]->selFirstKey = 20;
    links[1]->selLastKey = 21;
    right->fNew = 1;
    links[1]->loadList("2:9:5,1");
    EXPECT_EQ(-1, right->fUserInfo.slot(20));
    EXPECT_EQ(-2, right->fUserInfo.slot(21));
    right->fNew = 0;
    right->fHisto = 1;
    right->fUserInfo.slot(20) = 1;
    right->fUserInfo.slot(21) = 1;
    links[1]->loadList("2:9:5,1");
    EXPECT_EQ(1, links[1]->selFirst);
    EXPECT_EQ(1, links[1]->selLast);
    ASVPaneSeam::setStateHook(nullptr);
    gState = nullptr;
    links[0]->resetState(1);
    EXPECT_EQ(0, links[0]->selFirst);
    EXPECT_EQ(-2, links[0]->selLast);
    EXPECT_EQ(dock, links[0]->getDock());
    if (!opened)
        GTEST_SKIP() << "no X display";
    window->showUpdate();
    app->flushUpdates();
    UpdateWindow(window->hwnd());
    Canvas canvas(600, 300);
    HDC dc = GetDC(window->hwnd());
    BitBlt(canvas.dc(), 0, 0, 600, 300, dc, 0, 0, SRCCOPY);
    ReleaseDC(window->hwnd(), dc);
    printf("list panes: %s\n", canvas.savePng("list-panes").c_str());
}
