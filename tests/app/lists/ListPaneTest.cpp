// The client, list and result-list panes loaded from a layout under a real
// application: header commands, the kept selection, row keys, the count
// line, key queries and loading a links list; the look under Xvfb.
#include <gtest/gtest.h>

#include <string>

#include "app/frame/Frame1.h"
#include "app/lines/StandardLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/lists/ALayoutPane.h"
#include "app/lists/ASVEditFilter.h"
#include "app/lists/LRExtPane.h"
#include "app/lists/LROptionsPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/AHotspotRenderer.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ATileRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "framework/display/ADisplayServices.h"
#include "search/facade/ALo.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"

namespace {

// A main window without the tool bar: only the window's own steps run.
class TestOpener : public Frame1, public ADocumentOpener {
    SV_DECLARE_CLASS(TestOpener)
public:
    void readFrom(AMemoryStream& stream) override {
        Frame1::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 1);
    }
    void attachItems() override { AWindow::attachItems(); }
    void setUpItems() override { AWindow::setUpItems(); }
    void openDocument(long doc) override { opened += std::to_string(doc) + ";"; }
    std::string opened;
};
SV_IMPLEMENT_CLASS(TestOpener, 0, Frame1)

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

// An options list whose choice and taken states the tests set and read.
class TestOptions : public LROptionsPane {
    SV_DECLARE_CLASS(TestOptions)
public:
    void readFrom(AMemoryStream& stream) override {
        LROptionsPane::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 3);
    }
    int16_t hasOptionChoice() override { return choice; }
    void takeLeftState(ALeftState* left) override { taken += left ? "left;" : "none;"; }
    AString optionLabel() override {
        ++labels;
        return LROptionsPane::optionLabel();
    }
    int16_t choice = 0;
    int labels = 0;
    std::string taken;
};
SV_IMPLEMENT_CLASS(TestOptions, 0, LROptionsPane)

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

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
        // The main window is a child of the application's frame window.
        makeApp(0, true);
        AComponent* loaded = AComponent::loadLayout(app, "ListPanes", 0);
        if (!loaded)
            GTEST_SKIP() << "no display";
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
        if (opener) {
            AComponent* c = opener;
            DeleteComponent(c);
        }
        AListApp::install(nullptr);
        ClusterTest::TearDown();
    }

    TestApp testApp;
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
    auto* countLine = static_cast<AStaticText*>(count->findItem(LRNbResPane::kCountId, true));
    EXPECT_TRUE(countLine->hasFlags(ADisplayComponent::kTransparent)) << "drawn over the pane";
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
    opener->goToState(new AppState(0, 0, nullptr, nullptr, right, nullptr, 12), 0);
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
    links[0]->resetState(1);
    EXPECT_EQ(0, links[0]->selFirst);
    EXPECT_EQ(-2, links[0]->selLast);
    EXPECT_EQ(dock, links[0]->getDock());
    opener->showUpdate();
    app->flushUpdates();
    UpdateWindow(opener->getHWnd());
    Canvas canvas(600, 300);
    HDC dc = GetDC(opener->getHWnd());
    BitBlt(canvas.dc(), 0, 0, 600, 300, dc, 0, 0, SRCCOPY);
    ReleaseDC(opener->getHWnd(), dc);
    printf("list panes: %s\n", canvas.savePng("list-panes").c_str());
}

TEST_F(ListPaneTest, AClickOnALinkRowOpensItsDocument) {
    links[0]->loadList("3:9:7,2,4");
    opener->showUpdate();
    app->flushUpdates();
    Pump();
    auto* list = dynamic_cast<AListRenderer*>(links[0]->getListView()->renderer());
    ASSERT_TRUE(list && list->model());
    list->layOut();
    ARect row = list->rowRect(1);
    EXPECT_GE(row.bottom() - row.top(), 20) << "rows of 15 and 5";
    APoint at = links[0]->getListView()->localToScreen(APoint(row.left() + 12, (row.top() + row.bottom()) / 2));
    POINT p = {at.x, at.y};
    HWND target = WindowFromPoint(p);
    ASSERT_TRUE(target);
    ScreenToClient(target, &p);
    SetCursorPos(at.x, at.y);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    Pump();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Pump();
    EXPECT_EQ(1, list->selectionStart());
    EXPECT_EQ("4;", opener->opened) << "the second row, sorted";
    EXPECT_EQ("110;", dock->collapsed);
    EXPECT_EQ(1, links[0]->selFirst);
}

TEST_F(ListPaneTest, ListPositionsAreCentredSavedAndTakenBack) {
    std::string docs = "40:40:";
    for (int i = 1; i <= 40; ++i)
        docs += std::to_string(i) + (i < 40 ? "," : "");
    links[0]->loadList(docs.c_str());
    app->flushUpdates();
    ARendererView* view = links[0]->getListView();
    ARenderer* list = view->renderer();
    ASSERT_TRUE(list && list->model());
    list->layOut();
    EXPECT_EQ(0, list->currentPosition());
    testApp.centerListLine(view, 30, 30);
    EXPECT_EQ(30, list->selectionStart());
    long top = list->currentPosition();
    EXPECT_GT(top, 20) << "scrolled";
    EXPECT_LT(top, 30) << "the line is below the top, near the middle";
    testApp.centerListLine(view, top + 1, top + 1);
    EXPECT_EQ(top, list->currentPosition()) << "a shown line does not scroll";

    ABaseState part;
    testApp.saveListPosition(list, &part, 9, 10);
    EXPECT_EQ(top, part.fUserInfo.slot(9));
    EXPECT_EQ(top + 2, part.fUserInfo.slot(10)) << "the selected line plus 1";
    testApp.scrollListToLine(list, 0);
    list->selectLines(-1, 0);
    EXPECT_EQ(0, list->currentPosition());
    struct Row {
        int16_t fresh;
        int16_t onlyWhenNotNew;
        long top;
        long selected;
    } const rows[] = {{1, 1, 0, -1}, {1, 0, top, top + 1}, {0, 1, top, top + 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.fresh) + " " + std::to_string(r.onlyWhenNotNew));
        testApp.scrollListToLine(list, 0);
        list->selectLines(-1, 0);
        part.fNew = r.fresh;
        testApp.restoreListPosition(list, &part, 9, 10, r.onlyWhenNotNew, 1);
        EXPECT_EQ(r.top, list->currentPosition());
        EXPECT_EQ(r.selected, list->selectionStart());
    }
    ABaseState empty;
    testApp.restoreListPosition(list, &empty, 9, 10, 0, 0);
    EXPECT_EQ(0, list->currentPosition()) << "nothing saved: the top, no selection";
    EXPECT_EQ(-1, list->selectionStart());

    // The other renderers the application makes for a view take its place.
    ATileRenderer* tiles = testApp.createTileRenderer(view, 3);
    ASSERT_NE(nullptr, tiles);
    EXPECT_EQ(tiles, view->renderer());
    EXPECT_EQ(testApp.sheet, tiles->styleSheet());
    AHotspotRenderer* spots = testApp.createHotspotRenderer(view);
    ASSERT_NE(nullptr, spots);
    EXPECT_EQ(spots, view->renderer());
    EXPECT_EQ(nullptr, testApp.createTileRenderer(nullptr, 3));
    int16_t expression = 1;
    EXPECT_STREQ("", testApp.getHighlightQuery(&expression).c_str());
    EXPECT_EQ(0, expression);
}

TEST_F(ListPaneTest, OptionsButtonsShowByStateAndChoiceAndOpenThePanel) {
    auto* options = dynamic_cast<TestOptions*>(opener->findById(160, 0));
    ASSERT_NE(nullptr, options);
    options->setLineGetter(new BufferedLineGetter("a#1\nb#2", -1));
    auto* plain = static_cast<AIconButton*>(options->findItem(LROptionsPane::kOptionsCommand, true));
    auto* chosen = static_cast<AIconButton*>(options->findItem(LROptionsPane::kChoiceOptionsCommand, true));
    struct Row {
        const char* what;
        int16_t screenMode;  // -1: no state
        int16_t salle;
        int16_t choice;
        long count;
        int16_t plainStatus;
        int16_t chosenStatus;
    } const rows[] = {
        {"no state, no choice", -1, 0, 0, 3, 1, 2},
        {"a choice set", -1, 0, 1, 3, 2, 1},
        {"a count of -1 passes", -1, 0, 0, -1, 1, 2},
        {"no document", -1, 0, 0, 0, 2, 2},
        {"the room of screen 4", 4, 2, 0, 3, 2, 2},
        {"another room of screen 4", 4, 1, 0, 3, 1, 2},
        {"room 2 of another screen", 1, 2, 1, 3, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.screenMode >= 0) {
            auto* state = new AppState(r.screenMode, 0, nullptr, nullptr, nullptr, nullptr, -1);
            state->fSalle = r.salle;
            opener->goToState(state, 0);
        }
        options->choice = r.choice;
        options->showResultCount(r.count, 0);
        EXPECT_EQ(r.plainStatus, options->commandStatus(LROptionsPane::kOptionsCommand, 0));
        EXPECT_EQ(r.chosenStatus, options->commandStatus(LROptionsPane::kChoiceOptionsCommand, 0));
        EXPECT_EQ(r.plainStatus != 2, plain->hasFlags(ADisplayComponent::kShown));
        EXPECT_EQ(r.chosenStatus != 2, chosen->hasFlags(ADisplayComponent::kShown));
    }

    auto* area = static_cast<ADisplayComponent*>(options->findItem(LRPane::kListAreaId, true));
    auto* panel = static_cast<ADisplayComponent*>(options->findItem(LROptionsPane::kPanelId, true));
    options->choice = 0;
    options->doCommand(LROptionsPane::kOptionsCommand, 0);
    ADisplayServices::current().flushLayouts();
    EXPECT_EQ(1, options->optionsOpen);
    EXPECT_EQ(5, options->commandStatus(LROptionsPane::kOptionsCommand, 0));
    EXPECT_EQ(41, area->getSizeSpec().edges[1].value) << "below the 40-pixel panel";
    EXPECT_TRUE(panel->hasFlags(ADisplayComponent::kShown));
    EXPECT_EQ(1, options->labels) << "the caption is written again";
    EXPECT_STREQ("Todo", options->LROptionsPane::optionLabel().c_str());
    options->doCommand(LROptionsPane::kChoiceOptionsCommand, 0);
    EXPECT_EQ(0, options->optionsOpen);
    EXPECT_EQ(0, area->getSizeSpec().edges[1].value);
    EXPECT_FALSE(panel->hasFlags(ADisplayComponent::kShown));

    // The left part of a state from the history is handed on; a fresh one is not.
    auto* left = new ALeftState;
    opener->goToState(new AppState(1, 0, nullptr, left, nullptr, nullptr, -1), 0);
    options->updatePane();
    left->fHisto = 1;
    options->updatePane();
    EXPECT_EQ("none;left;", options->taken);
}
