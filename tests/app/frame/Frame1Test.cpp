// The main window's tool bar and commands: tooltips, the data-driven menu
// texts, the export limit, the panes recorded for printing and export, the
// menu entries' states, and clicks on the real buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/data/AppBaseTables.h"
#include "app/data/AppDataManager.h"
#include "app/state/ABaseState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AIconButton.h"
#include "search/facade/ADataLocation.h"
#include "tests/app/frame/FrameTestSupport.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

class LogMenu : public AFrameMenu {
public:
    void clear() override { log = ""; }
    void addEntry(const AString& text, bool enabled) override {
        log += std::string(text.c_str()) + (enabled ? "+;" : "-;");
    }
    std::string log = "untouched";
};

class Refresher : public AFrameMenuRefresher {
public:
    explicit Refresher(Frame1* f) : frame(f) {}
    void refreshMenus() override {
        ++refreshes;
        frame->updatePrintMenus();
    }
    Frame1* frame;
    int refreshes = 0;
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

TEST_F(FrameTest, TheToolBarTakesItsTooltipsFromTheStringListAndItsMenusFromTheData) {
    // The left dock's result lists read the data bases when they are set up.
    TinyInstall install;
    ASSERT_EQ("", install.error());
    ADataLocation location;
    ASSERT_EQ(0, location.open(install.path("sv.sgm").c_str(), nullptr, install.dir().c_str()));
    gBaseDescriptors = SingleDiscBaseTable();
    AppDataManager data(&location, nullptr);
    if (!openFrame("Frame1Fixed"))
        GTEST_SKIP() << "no display";
    struct Row {
        int16_t id;
        const char* tip;
    } const rows[] = {
        {1040, " retourner \xE0 la page d'accueil"}, {1041, " s\xE9lectionner un mode de recherche"},
        {1042, " s\xE9lectionner un parcours \xE0 d\xE9""couvrir"}, {1043, " page pr\xE9""c\xE9""dente"},
        {1044, " historique"}, {1045, " page suivante"}, {1046, " utiliser les outils"},
        {1047, " utiliser les options Internet"}, {1048, " ajouter \xE0 un dossier"}, {1049, " voir mes dossiers"},
        {3017, " imprimer"}, {3125, " ajouter une note"}, {3126, " voir mes notes"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        EXPECT_STREQ(r.tip, frame->findItem(r.id, true)->helpText().c_str());
    }
    for (int16_t id : {1015, 1016, 1200}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(static_cast<AStaticItem*>(frame->findItem(id, true))->hasFlags(ADisplayComponent::kTransparent));
        EXPECT_FALSE(
            static_cast<AStaticItem*>(frame->findItem(id, true))->hasFlags(ADisplayComponent::kEraseBackground));
    }
    struct Menu {
        int16_t id;
        const char* text;
    } const menus[] = {{1041, "menu 0"}, {1042, "menu 1"}, {1046, "menu 2"}, {1047, "menu 3"}, {1040, ""}};
    for (const Menu& m : menus) {
        SCOPED_TRACE(m.id);
        EXPECT_STREQ(m.text, frame->menuText(m.id).c_str());
    }
    EXPECT_NE(nullptr, frame->statusText());
    const Frame1::PaneSlots& slots = frame->paneSlots();
    EXPECT_EQ(1202, slots.leftPane->id());
    EXPECT_EQ(1205, slots.rightPane->id());
    EXPECT_EQ(1201, slots.docPane2->id());
    PopupTreeParams params;
    EXPECT_NE("", assertionText([&] { frame->makeMenuParams(params, 1); })) << "no style sheets";
    g_reportInProgress = 0;
    // The panes go before the data manager they read.
    AComponent* c = frame;
    DeleteComponent(c);
    frame = nullptr;
}

TEST_F(FrameTest, TheExportLimitIsTheSettingOrAHundred) {
    struct Row {
        const char* setting;
        long lines;
    } const rows[] = {{nullptr, 100}, {"0", 100}, {"250", 250}, {"abc", 100}, {"-4", 100}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.setting ? r.setting : "absent");
        services.config.clear();
        if (r.setting)
            services.config["MAX_EXPORT_LIST"] = r.setting;
        if (!openFrame())
            GTEST_SKIP() << "no display";
        EXPECT_EQ(r.lines, frame->maxExportLines());
        AComponent* c = frame;
        DeleteComponent(c);
        frame = nullptr;
    }
}

TEST_F(FrameTest, RecordedPanesAreLinkedOnceAndFillThePrintMenus) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    LogMenu print, exportMenu, third;
    Refresher tools(frame);
    frame->setPrintMenus(&print, &exportMenu, &third);
    frame->setToolPane(&tools);
    ProbePane* article = pane(1201);
    long links = frame->dependentCount();
    frame->setActivePrintPane(article);
    frame->setActivePrintPane(article);
    EXPECT_EQ(links + 1, frame->dependentCount()) << "linked once";
    EXPECT_TRUE(frame->hasDependent(article));
    frame->refreshPrintMenus(nullptr);
    EXPECT_EQ(1, tools.refreshes);
    EXPECT_EQ("+;-;", print.log);
    EXPECT_EQ("-;-;", exportMenu.log);
    EXPECT_EQ("untouched", third.log);
    article->selection = true;
    frame->setActiveExportPane(pane(1204));
    frame->updatePrintMenus();
    EXPECT_EQ("+;+;", print.log);
    EXPECT_EQ("+;-;", exportMenu.log);
    frame->setActivePrintPane(pane(1203));
    EXPECT_FALSE(frame->hasDependent(article)) << "the old pane is unlinked";
    step(1);
    EXPECT_EQ(nullptr, frame->activePrintPane()) << "an update clears the records";
    EXPECT_EQ(nullptr, frame->activeExportPane());
    EXPECT_EQ(links, frame->dependentCount());
    frame->setActiveListPane(pane(1205));
    AComponent* gone = pane(1205);
    DeleteComponent(gone);
    EXPECT_EQ(nullptr, frame->activeListPane()) << "a deleted pane is forgotten";
    EXPECT_EQ(nullptr, frame->paneSlots().rightPane);
    step(2);
    EXPECT_EQ(2, frame->currentState()->getDocNo());
    frame->setPrintMenus(nullptr, nullptr, nullptr);
    frame->setToolPane(nullptr);
}

TEST_F(FrameTest, MenuEntriesAndCommandsFollowTheStateAndTheServices) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    EXPECT_EQ(2, frame->commandStatus(1044, 0)) << "no history";
    EXPECT_EQ(2, frame->commandStatus(1048, 0));
    EXPECT_EQ(0, frame->menuItemEnabled(1046, 9)) << "no document part";
    CountedState* s = step(12);
    s->getDocState()->fDocType = 8;
    pane(1201)->show(false);
    pane(1204)->editable = true;
    frame->setActiveExportPane(pane(1204));
    services.connection = 4;
    services.workFolder = true;
    struct Row {
        int16_t button, line, enabled;
    } const rows[] = {
        {1041, 7, 1}, {1042, 99, 1}, {1044, 3, 1}, {1046, 1, 1}, {1046, 3, 1}, {1046, 4, 1}, {1046, 5, 0},
        {1046, 6, 1}, {1046, 7, 1},  {1046, 8, 1},  {1046, 9, 1}, {1046, 10, 1}, {1046, 11, 1}, {1046, 12, 0},
        {1047, 1, 0}, {1047, 2, 1},  {1047, 3, 1},  {1047, 4, 1}, {1047, 5, 0},  {1047, 6, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.button) + "/" + std::to_string(r.line));
        EXPECT_EQ(r.enabled, frame->menuItemEnabled(r.button, r.line));
    }
    services.connection = 1;
    EXPECT_EQ(0, frame->menuItemEnabled(1047, 2));
    EXPECT_EQ(1, frame->menuItemEnabled(1047, 5));
    s->getDocState()->fDocType = 2;
    EXPECT_EQ(0, frame->menuItemEnabled(1046, 9));
    struct Status {
        int16_t id, status;
    } const statuses[] = {{1040, 1}, {1044, 1}, {1048, 1}, {1049, 1}, {3125, 1}, {3126, 1}, {3017, 1}};
    for (const Status& st : statuses) {
        SCOPED_TRACE(st.id);
        EXPECT_EQ(st.status, frame->commandStatus(st.id, 0));
    }
    s->setDocNo(-1);
    EXPECT_EQ(2, frame->commandStatus(1048, 0));
    EXPECT_EQ(2, frame->commandStatus(3125, 0));
    EXPECT_EQ(2, frame->commandStatus(3017, 0));

    // The connection entry while offline tells the reader and changes nothing.
    services.config["MSG_NO_ACTIVE_CONNECTION"] = "hors ligne";
    ClearBoxes();
    frame->doMenuAction(4, 5);
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("hors ligne", CapturedBoxes()[0].text);
    EXPECT_EQ("Connection Internet", CapturedBoxes()[0].caption);
    ClearBoxes();
}

TEST_F(FrameTest, ClicksOnTheToolBarMoveThroughTheChain) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->setMaxStates(20);
    frame->showUpdate();
    HWND hwnd = frame->getHWnd();
    ASSERT_TRUE(IsWindow(hwnd));
    for (long doc : {10, 11, 12})
        step(doc);
    auto click = [&](int16_t id) {
        AClusterItem* button = frame->findItem(id, true);
        button->setOn(true);
        ARect r = button->getFrame();
        int x = (r.first.x + r.second.x) / 2, y = (r.first.y + r.second.y) / 2;
        POINT p = {x, y};
        ClientToScreen(hwnd, &p);
        SetCursorPos(p.x, p.y);
        Pump();
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
        PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    };
    struct Row {
        int16_t button;
        long doc;
        int16_t screenMode;
    } const rows[] = {{1043, 11, 1}, {1043, 10, 1}, {1045, 11, 1}, {1040, -1, 0}, {1043, 11, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.button);
        click(r.button);
        ASSERT_NE(nullptr, frame->currentState());
        EXPECT_EQ(r.doc, frame->currentState()->getDocNo());
        EXPECT_EQ(r.screenMode, frame->currentState()->getScreenMode());
    }
}

// A fresh window has no page to go back to: its back and forward buttons are
// off and greyed in their places, and a click on one does nothing.
TEST_F(FrameTest, UnavailableToolBarButtonsStayInPlaceGreyed) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->showUpdate();
    app->flushUpdates();
    Pump();
    for (int16_t id : {1043, 1045}) {
        SCOPED_TRACE(id);
        auto* button = static_cast<AIconButton*>(frame->findItem(id, true)->castTo(&AIconButton::classRecord));
        ASSERT_TRUE(button);
        EXPECT_TRUE(button->state() & AClusterItem::kOff);
        EXPECT_TRUE(button->hasFlags(ADisplayComponent::kShown)) << "drawn, not left out";
    }
    EXPECT_TRUE(frame->findItem(1040, true)->state() & AClusterItem::kOn);
}

// The main window's new size reaches the centre switcher, which fits its left
// dock to it; without a switcher the resize asks nothing more.
TEST_F(FrameTest, AResizedWindowFitsTheLeftDock) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    ProbePane* dock = pane(1201);
    ARect before = frame->getFrame();
    frame->setDockPane(dock);
    frame->setFrame(ARect(before.left(), before.top(), before.right() + 40, before.bottom() + 30), false);
    EXPECT_EQ(1, dock->dockSyncs);
    frame->setDockPane(nullptr);
    frame->setFrame(before, false);
    EXPECT_EQ(1, dock->dockSyncs);
}

// The tools menu's export (entry 4) saves a shown web or HTML page when no
// article is to be exported.
TEST_F(FrameTest, TheExportEntryTakesAShownHtmlPage) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    step(12);
    EXPECT_EQ(0, frame->menuItemEnabled(1046, 4)) << "nothing to export";
    frame->setActiveHtmlPane(pane(1204));
    pane(1204)->show(true);
    EXPECT_EQ(1, frame->menuItemEnabled(1046, 4));
    frame->setActiveHtmlPane(nullptr);
    EXPECT_EQ(0, frame->menuItemEnabled(1046, 4)) << "the page is gone";
}
