// The reader's right dock loaded from its layouts in a test main window:
// widths, lock, the links panel's lists by flags and mask, loading and
// selections through the history, clicks on rows; pictures under Xvfb.
#include <gtest/gtest.h>

#include <string>

#include "app/frame/Frame1.h"
#include "app/lists/ALayoutClient.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AReader.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "framework/views/ASizerButton.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/article/DockRightPane.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/docks/right/LR_Ensemble.h"
#include "panes/docks/right/LR_LinkNet.h"
#include "panes/docks/right/LR_Theme.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/docks/right/RightDockTestApp.h"

namespace {

// A main window without the tool bar: only the window's own steps run.
class TestReader : public Frame1 {
    SV_DECLARE_CLASS(TestReader)
public:
    void readFrom(AMemoryStream& stream) override {
        Frame1::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 1);
    }
    void attachItems() override { AWindow::attachItems(); }
    void setUpItems() override { AWindow::setUpItems(); }
};
SV_IMPLEMENT_CLASS(TestReader, 0, Frame1)

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int32_t RightEdge(AComponent* c) {
    return static_cast<ADisplayComponent*>(c)->getSizeSpec().edges[2].value;
}
int32_t LeftEdge(AComponent* c) {
    return static_cast<ADisplayComponent*>(c)->getSizeSpec().edges[0].value;
}

class RightDockTest : public ClusterTest {
protected:
    void SetUp() override {
        ClusterTest::SetUp();
        // Document 1: no flags. Document 2: sets, linked documents, themes,
        // web links (set 0, theme 0). Document 3: captions only. Document 4:
        // linked documents and web links only.
        testApp.infos[2] = "111100000000000\t0\t2\t0\t0";
        testApp.infos[3] = "000000000000100\t0\t3\t-1\t-1";
        testApp.infos[4] = "010100000000000\t0\t4\t-1\t-1";
        testApp.exts[2] = "page#3:9:5,1,7##K2";
        testApp.exts[4] = "page#2:9:8,6##K4";
        testApp.records[std::make_tuple(int16_t(1), int16_t(5), 0L)] = "Ensemble#-1\r\nPremier#5\r\n\tSecond#6\r\n";
        testApp.records[std::make_tuple(int16_t(1), int16_t(6), 0L)] = "Groupe#0:3\n";
        testApp.links[3] = "2:9:8,9";
        makeApp(0, true);
        AComponent* loaded = AComponent::loadLayout(app, "RightDock", 0);
        if (!loaded)
            GTEST_SKIP() << "no display";
        reader = dynamic_cast<TestReader*>(loaded);
        switcher = dynamic_cast<DockLCRPane*>(loaded->findById(1020, 0));
        dock = dynamic_cast<DockRightPane*>(loaded->findById(1205, 0));
        panel = dock ? dynamic_cast<DockRightArtPane*>(dock->findById(1410, 0)) : nullptr;
        ASSERT_TRUE(reader && switcher && dock && panel);
        reader->showUpdate();
        // The main window opens at the size it keeps; the dock must be on the screen.
        SetWindowPos(reader->getHWnd(), nullptr, 0, 0, 900, 560, SWP_NOZORDER);
        app->flushUpdates();
        Pump();
        ADisplayServices::current().flushLayouts();
    }
    void TearDown() override {
        if (reader) {
            AComponent* c = reader;
            DeleteComponent(c);
        }
        ClusterTest::TearDown();
    }
    // A new state of document doc shown in the dock.
    ARightState* show(long doc, int16_t docType = 0) {
        auto* right = new ARightState(1205, -1);
        auto* docPart = new ADocState(1203);
        docPart->fDocType = docType;
        reader->goToState(new AppState(1, 0, docPart, nullptr, right, nullptr, doc), 0);
        // The test window has no content cluster: the state's parts are shown here, new.
        right->fNew = 1;
        dock->updatePane();
        ADisplayServices::current().flushLayouts();
        return right;
    }
    std::string shown() {
        std::string out;
        for (int i = 0; i < DockRightArtPane::kListCount; ++i)
            out += panel->isExpanded(i) ? "E" : (panel->list(i)->getClient()->list ? "c" : "-");
        return out;
    }
    void picture(const char* name) {
        HWND hwnd = reader->getHWnd();
        for (int i = 0; i < 20; ++i) {
            app->flushUpdates();
            Pump();
            Sleep(10);
        }
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r;
        GetWindowRect(hwnd, &r);
        Canvas canvas(r.right - r.left, r.bottom - r.top);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        printf("%s: %s\n", name, canvas.savePng(name).c_str());
    }

    RightDockTestApp testApp;
    TestReader* reader = nullptr;
    DockLCRPane* switcher = nullptr;
    DockRightPane* dock = nullptr;
    DockRightArtPane* panel = nullptr;
};

}  // namespace

TEST_F(RightDockTest, WidthAndLockFollowTheDocumentAndTheButtons) {
    AComponent* article = switcher->findById(1023, 0);
    AComponent* web = switcher->findById(1024, 0);
    AComponent* place = switcher->findById(1025, 0);
    auto* sizer = dynamic_cast<ASizerButton*>(switcher->findById(1013, 0));
    EXPECT_EQ(210, dock->wideWidth());
    EXPECT_EQ(32, dock->narrowWidth());
    int32_t wideArticle = RightEdge(article), wideWeb = RightEdge(web), widePlace = LeftEdge(place);
    ARightState* right = show(1);
    EXPECT_EQ(0, dock->widthMode()) << "no flags: narrow";
    EXPECT_EQ(2, dock->commandStatus(1431, 0));
    EXPECT_EQ(2, dock->commandStatus(1450, 0));
    app->flushUpdates();
    EXPECT_TRUE(dock->findById(1431, 0) &&
                static_cast<ADisplayComponent*>(dock->findById(1431, 0))->hasFlags(ADisplayComponent::kVisible))
        << "disabled, its picture says there are no extensions";
    EXPECT_EQ(wideArticle + 178, RightEdge(article));
    EXPECT_EQ(wideWeb + 178, RightEdge(web));
    EXPECT_EQ(widePlace + 178, LeftEdge(place));
    EXPECT_EQ(32 + 340, sizer->getLimits().second.x);
    dock->setWidthMode(0);
    EXPECT_EQ(widePlace + 178, LeftEdge(place)) << "the same width twice moves nothing";
    dock->doCommand(1450, 0);
    EXPECT_EQ(1, right->fCadenas);
    EXPECT_EQ(1, right->fExtDocNo);
    EXPECT_EQ(1, dock->commandStatus(1431, 0)) << "locked keeps the show button enabled";
    EXPECT_EQ(6, dock->commandStatus(1450, 0));
    auto* lock = dynamic_cast<ADisplayComponent*>(dock->findById(1450, 0));
    auto* showButton = dynamic_cast<ADisplayComponent*>(dock->findById(1431, 0));
    ASSERT_TRUE(lock && showButton);
    EXPECT_TRUE(lock->hasFlags(ADisplayComponent::kVisible)) << "disabled, the padlock stays";
    picture("right-dock-narrow-locked");
    dock->doCommand(1431, 0);
    EXPECT_EQ(1, dock->widthMode());
    EXPECT_EQ(5, dock->commandStatus(1450, 0));
    EXPECT_EQ(wideArticle, RightEdge(article));
    EXPECT_EQ(widePlace, LeftEdge(place));
    EXPECT_EQ(210 + 340, sizer->getLimits().second.x);
    EXPECT_EQ(2, dock->commandStatus(1423, 0)) << "the reference is the document shown";
    dock->doCommand(1450, 0);
    EXPECT_EQ(0, right->fCadenas);
    EXPECT_EQ(-1, right->fExtDocNo);
    EXPECT_EQ(0, dock->widthMode()) << "unlocking shows the document's own extensions: none";
    // A web page and a state without a document part: narrow, no extensions.
    show(2, 8);
    EXPECT_EQ(0, dock->widthMode());
    EXPECT_EQ(0, dock->hasExtensions());
    reader->goToState(new AppState(1, 0, nullptr, nullptr, new ARightState(1205, -1), nullptr, 2), 0);
    dock->updatePane();
    EXPECT_EQ(0, dock->widthMode());
    show(2);
    EXPECT_EQ(1, dock->widthMode());
    EXPECT_EQ(1, dock->hasExtensions());
}

TEST_F(RightDockTest, ThePanelShowsTheFlaggedListsAndKeepsTheMask) {
    show(3);
    EXPECT_EQ("-E----", shown()) << "captions alone, expanded";
    show(2);
    EXPECT_EQ("E-EEE-", shown());
    // Collapse the theme list; the mask goes with the state and applies by position.
    panel->list(DockRightArtPane::kThemes)->doCommand(2540, 0);
    EXPECT_EQ("E-EcE-", shown());
    panel->saveState(reader->currentState()->getRightState());
    EXPECT_EQ(0xB, reader->currentState()->getRightState()->fUserInfo.slot(2000));
    show(4);
    EXPECT_EQ("--E-E-", shown()) << "a three-list mask on two lists: its first two bits";
    panel->list(DockRightArtPane::kDocLinks)->doCommand(2540, 0);
    panel->saveState(nullptr);
    show(4);
    EXPECT_EQ("--c-E-", shown());
    // A mask that would close every list opens them all.
    panel->savedMask = 0x4;
    show(4);
    EXPECT_EQ("--E-E-", shown());
}

TEST_F(RightDockTest, ListsLoadFromTheRecordsAndKeepTheirSelectionsInTheHistory) {
    ARightState* right = show(2);
    LRExtPane* sets = panel->list(DockRightArtPane::kSets);
    LRExtPane* links = panel->list(DockRightArtPane::kDocLinks);
    LRExtPane* themes = panel->list(DockRightArtPane::kThemes);
    LRExtPane* web = panel->list(DockRightArtPane::kWebLinks);
    ASSERT_TRUE(sets->getLineGetter() && links->getLineGetter() && themes->getLineGetter());
    EXPECT_EQ(3, sets->getLineGetter()->getLineCount());
    EXPECT_EQ("5", std::string(sets->getLineKey(1).c_str()));
    EXPECT_EQ(3, links->getLineGetter()->getLineCount());
    EXPECT_EQ(3, themes->getLineGetter()->getLineCount());
    EXPECT_EQ(-1, right->fUserInfo.slot(2010)) << "a new state stores no selection";
    EXPECT_EQ(-2, right->fUserInfo.slot(2011));
    // The web list's one row opens the links page of its key.
    auto* webList = dynamic_cast<AListRenderer*>(web->getListView()->renderer());
    ASSERT_TRUE(webList && webList->model());
    // Opening a row clears the other lists' selections.
    links->selFirst = links->selLast = 1;
    themes->selFirst = themes->selLast = 2;
    panel->clearOtherSelections(themes);
    EXPECT_EQ(-2, links->selLast);
    EXPECT_EQ(2, themes->selLast);
    panel->clearOtherSelections(links);
    EXPECT_EQ(-2, themes->selLast);
    // A state from the history gives the stored rows back.
    right->fNew = 0;
    right->fHisto = 1;
    right->fUserInfo.slot(2010) = 2;
    right->fUserInfo.slot(2011) = 2;
    sets->loadListHook(0);
    EXPECT_EQ(2, sets->selFirst);
    EXPECT_EQ(2, sets->selLast);
    // An EXT field without a fourth item leaves the web list's rows.
    testApp.exts[2] = "page#3:9:5,1,7";
    show(2);
    EXPECT_EQ(webList->model(), web->getListView()->renderer()->model());
    picture("right-dock-wide");
}

// Document 7 is a media document: it goes to the media window.
class MediaContent : public AContentApp {
public:
    bool docIsMedia(long docNo) override { return docNo == 7; }
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        log += "media " + std::to_string(docNo) + " " + std::to_string(frame) + " " + std::to_string(forceNew) + ";";
    }
    std::string log;
};

TEST_F(RightDockTest, ClicksOnRowsOpenTheirLinks) {
    MediaContent content;
    AContentApp::install(&content);
    show(2);
    reader->showUpdate();
    app->flushUpdates();
    Pump();
    // The web link's row (a table row linked as a whole) opens its links page.
    Click(panel->list(DockRightArtPane::kWebLinks), 0, 60);
    EXPECT_EQ("K2;", testApp.opened);
    // Linked documents, sorted 1, 5, 7: the media opens its window and the article stays.
    LRExtPane* links = panel->list(DockRightArtPane::kDocLinks);
    Click(links, 2, 12);
    EXPECT_EQ("media 7 0 0;", content.log);
    EXPECT_EQ(2, reader->currentState()->getDocNo());
    EXPECT_EQ(2, links->selFirst);
    // A set member naming the document shown changes nothing.
    testApp.records[std::make_tuple(int16_t(1), int16_t(5), 0L)] = "Ensemble#-1\r\nCe document#2\r\n";
    show(2);
    AppState* shown = reader->currentState();
    Click(panel->list(DockRightArtPane::kSets), 1, 60);
    EXPECT_EQ(shown, reader->currentState());
    AContentApp::install(nullptr);
}
