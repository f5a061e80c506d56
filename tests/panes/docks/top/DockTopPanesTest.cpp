// The top dock over the real layouts: which panes each navigation state
// shows, the article, image and atlas bars' commands and the Flash bar's
// title.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "app/state/ABaseState.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "app/state/AppState.h"
#include "panes/docks/top/DockTopAtlasPane.h"
#include "panes/docks/top/DockTopKycfPane.h"
#include "panes/docks/top/DockTopLeftImgPane.h"
#include "panes/docks/top/DockTopTitlePane.h"
#include "panes/docks/top/DockTopLeftRechPane.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/docks/top/TopDockTestSupport.h"

TEST_F(TopDockTest, EachStateShowsTheLeftEndAndTitleBarThatSuitIt) {
    if (!open())
        GTEST_SKIP() << "no display";
    struct Row {
        int16_t screen, docType, leftMode;
        const char* shown;
    } const rows[] = {
        {0, -1, -1, "rech"},      {2, -1, -1, "rech"},      {0, 0, -1, "rech kycf"}, {2, 4, -1, "rech"},
        {2, 5, -1, "rech"},       {2, 6, -1, "rech"},       {1, 0, 1, "rech kycf"},  {1, 0, 4, "img kycf"},
        {1, -1, 4, ""},           {1, 0, -1, "kycf"},       {3, 3, -1, "img flash"}, {4, 2, 2, "img atlas"},
        {3, -1, -1, ""},          {2, 1, -1, "rech html"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.screen) + "/" + std::to_string(r.docType) + "/" + std::to_string(r.leftMode));
        show(r.screen, r.docType, r.leftMode);
        EXPECT_EQ(r.shown, shownPanes());
    }
}

TEST_F(TopDockTest, FromAnArticleToAMapTheAtlasBarTakesTheSlotAndItsTitle) {
    if (!open())
        GTEST_SKIP() << "no display";
    dock.titles = {{5, "Rome"}, {6, "Europe/Asie"}};
    show(2, 0, -1, 5);
    EXPECT_EQ("/3Rome", std::string(kycf->titleText().c_str()));
    show(2, 2, -1, 6);
    EXPECT_FALSE(Shown(kycf->getParent()));
    EXPECT_TRUE(Shown(atlas->getParent()));
    EXPECT_EQ("Europe\\/Asie", std::string(atlas->titleText().c_str())) << "escaped before markup";
}

TEST_F(TopDockTest, TheArticleTitleIsMarkedUpByInstallation) {
    if (!open())
        GTEST_SKIP() << "no display";
    struct Row {
        bool prefixed;
        long docNo;
        const char* title;
        const char* text;
    } const rows[] = {
        {true, 5, "P:T", "/2P : /3T"},   {true, 5, "P:T:U", "/2P : /3T"}, {false, 5, "P:T", "/3P:T"},
        {false, -1, "P:T", ""},          {false, 5, "a/b{c}", "/3a\\/b\\{c\\}"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        dock.prefixed = r.prefixed;
        dock.titles[r.docNo] = r.title;
        show(2, 0, -1, r.docNo);
        EXPECT_EQ(r.text, std::string(kycf->titleText().c_str()));
    }
}

TEST_F(TopDockTest, TheOutlineAndContextButtonsDependOnTheArticle) {
    if (!open())
        GTEST_SKIP() << "no display";
    TestArticleView view;
    kycf->setArticleView(&view);
    dock.infoRecords[7] = "000000000100000\t0\t0\t0\t0\t\t0\t";  // flag 9: an outline
    dock.iconTypes = {{8, 1}, {9, 23}};
    struct Row {
        long docNo;
        long split;  // user-info entry 2 before, -1 absent
        int16_t outline, context;
        long splitAfter;
    } const rows[] = {
        {5, 2, 2, 2, 1}, {7, -1, 1, 2, 0}, {7, 2, 5, 2, 2}, {8, 1, 2, 1, 1}, {9, 1, 2, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.docNo);
        AppState* state = show(2, 0, -1, r.docNo);
        if (r.split >= 0) {
            state->getDocState()->fUserInfo.slot(2) = r.split;
            kycf->updatePane();
        }
        EXPECT_EQ(r.outline, status(kycf, 3128));
        EXPECT_EQ(r.context, status(kycf, 2606));
        EXPECT_EQ(r.splitAfter, state->getDocState()->fUserInfo.slot(2));
    }
    // No entry yet: one press asks for the outline beside the article.
    AppState* state = show(2, 0, -1, 7);
    press(kycf, 3128);
    EXPECT_EQ(2, state->getDocState()->fUserInfo.slot(2));
    EXPECT_EQ("split;", view.log.substr(view.log.size() - 6));
}

TEST_F(TopDockTest, HighlightingIsKeptPerStateAndFontButtonsFollowTheView) {
    if (!open())
        GTEST_SKIP() << "no display";
    TestArticleView view;
    view.hits = 1;
    kycf->setArticleView(&view);
    AppState* first = show(2, 0, -1, 5);
    EXPECT_EQ(5, status(kycf, 3123));
    press(kycf, 3123);
    EXPECT_EQ(1, status(kycf, 3123));
    EXPECT_EQ(1, first->getDocState()->fUserInfo.slot(7));
    show(2, 0, -1, 6);
    EXPECT_EQ(5, status(kycf, 3123));
    frame->goBack(1);
    EXPECT_EQ(1, status(kycf, 3123)) << "going back restores the flag";
    view.hits = 0;
    EXPECT_EQ(2, status(kycf, 3123));

    struct Row {
        int16_t press;
        int16_t reduce, reset, enlarge;
    } const rows[] = {{0, 1, 2, 1}, {3129, 1, 1, 1}, {3129, 1, 1, 2}, {3132, 1, 2, 1}, {3127, 1, 1, 1}, {3127, 2, 1, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.press);
        if (r.press)
            press(kycf, r.press);
        EXPECT_EQ(r.reduce, status(kycf, 3127));
        EXPECT_EQ(r.reset, status(kycf, 3132));
        EXPECT_EQ(r.enlarge, status(kycf, 3129));
    }
    // Back at the initial size the reset button is off: greyed in its place, not gone.
    press(kycf, 3129);
    press(kycf, 3132);
    ASSERT_EQ(2, status(kycf, 3132));
    app->flushUpdates();
    AClusterItem* reset = kycf->findItem(3132, false);
    EXPECT_TRUE(reset->state() & AClusterItem::kOff);
    EXPECT_TRUE(reset->hasFlags(ADisplayComponent::kShown)) << "greyed in its place, not hidden";
}

TEST_F(TopDockTest, TheHistoricalContextIsANewStateAndTheCurrentOneBecomesTemporary) {
    if (!open())
        GTEST_SKIP() << "no display";
    dock.iconTypes = {{8, 23}};
    show(2, 0, -1, 5);
    show(2, 0, 2, 8);
    ASSERT_EQ(1, status(kycf, 2606));
    press(kycf, 2606);
    AppState* context = frame->currentState();
    EXPECT_EQ(8, context->getDocNo());
    EXPECT_EQ(7, context->getDocState()->fDocType);
    // The article, made temporary, gave its place in the history to its context.
    EXPECT_EQ(2, frame->stateCount());
    EXPECT_EQ(5, context->getPrev()->getDocNo());
    EXPECT_EQ("dates8;", dock.log);
    EXPECT_EQ(2, status(kycf, 2606)) << "no context of a context";
}

TEST_F(TopDockTest, TheImageBarNamesTheLeftModeOrLeadsBackToTheRoom) {
    if (!open())
        GTEST_SKIP() << "no display";
    struct Row {
        int16_t screen, leftMode, room;
        int16_t picture, button, status;
    } const rows[] = {
        {4, 2, 3, 0, 1123, 1}, {3, 2, 3, 0, 1123, 2}, {4, 2, 0, 1101, 0, 2}, {4, 2, 10, 1101, 0, 2},
        {1, 4, 0, 1130, 0, 2}, {1, 2, 0, 1132, 0, 2}, {1, 3, 0, 1131, 0, 2}, {1, 5, 0, 1133, 0, 2},
        {1, 7, 0, 1101, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.screen) + "/" + std::to_string(r.leftMode) + "/" + std::to_string(r.room));
        AppState* state = show(r.screen, 0, r.leftMode);
        state->fSalle = r.room;
        EXPECT_EQ(r.status, status(img, 3108));
        EXPECT_EQ(r.picture, img->pictureBitmap());
        EXPECT_EQ(r.button, img->buttonBitmap());
    }
    AppState* page = show(4, 0, 2);
    page->fSalle = 3;
    press(img, 3108);
    ASSERT_NE(page, frame->currentState());
    EXPECT_EQ(3, frame->currentState()->getScreenMode());
    EXPECT_EQ(3, frame->currentState()->fSalle);
}

TEST_F(TopDockTest, TheAtlasBarDrivesTheMapAndStepsBackToTheReference) {
    if (!open())
        GTEST_SKIP() << "no display";
    TestMapView map;
    atlas->setMapView(&map);
    dock.infoRecords[6] = "000000000000000\t0\t0\t0\t0\t\t0\t12:-1";
    AppState* state = show(2, 2, -1, 6);
    struct Row {
        long mapMode;
        int16_t frame;
        int16_t s3140, s3141, s3142, s3143;
    } const rows[] = {{0, 0, 2, 5, 1, 1}, {1, 0, 5, 2, 2, 1}, {1, 1, 1, 2, 2, 5}, {0, 2, 2, 1, 1, 5}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.mapMode) + "/" + std::to_string(r.frame));
        state->fUserInfo.slot(1066) = r.mapMode;
        state->fNumFrame = r.frame;
        EXPECT_EQ(r.s3140, status(atlas, 3140));
        EXPECT_EQ(r.s3141, status(atlas, 3141));
        EXPECT_EQ(r.s3142, status(atlas, 3142));
        EXPECT_EQ(r.s3143, status(atlas, 3143));
    }
    press(atlas, 3142);
    EXPECT_EQ(1, state->fNumFrame);
    EXPECT_EQ("frame1;", map.log);
    EXPECT_EQ(1, status(atlas, 3144));
    EXPECT_EQ(2, status(atlas, 3145));
    press(atlas, 3144);
    press(atlas, 3145);
    EXPECT_EQ("media12;", dock.log);
    EXPECT_EQ(2, status(atlas, 3148));
    press(atlas, 3146);
    EXPECT_EQ(1, status(atlas, 3148));
    press(atlas, 3148);
    EXPECT_EQ(1, map.zoom);

    // Back to the reference document 3, or to the oldest state when it is gone.
    for (long reference : {3L, 99L}) {
        SCOPED_TRACE(reference);
        show(2, 0, -1, 2);
        show(2, 0, -1, 3);
        show(2, 0, -1, 4);
        AppState* map2 = show(2, 2, -1, 6);
        map2->fLink = 1;
        map2->fUserInfo.slot(1310) = reference;
        EXPECT_EQ(1, status(atlas, 3151));
        press(atlas, 3151);
        EXPECT_EQ(reference == 3 ? 3 : frame->oldestState()->getDocNo(), frame->currentState()->getDocNo());
        if (reference != 3) {
            EXPECT_FALSE(frame->canGoBack());
        }
    }
}

TEST_F(TopDockTest, TheFlashBarShowsTheRoomOrTheDocumentTitle) {
    if (!open())
        GTEST_SKIP() << "no display";
    dock.titles = {{5, "Film"}};
    struct Row {
        int16_t screen, room;
        long key;  // user-info key set to 1, 0 for none
        const char* title;
    } const rows[] = {{3, 2, 0, "Salle 2"}, {4, 6, 1176, "Salle 6"}, {4, 6, 1175, "Salle 6"},
                      {4, 7, 1174, "Salle 7"}, {4, 7, 1176, "Film"},  {2, 6, 1176, "Film"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.title);
        ADocState* doc = new ADocState(1201);
        doc->fDocType = 3;
        auto* state = new AppState(r.screen, 2, doc, nullptr, nullptr, nullptr, 5);
        state->fSalle = r.room;
        if (r.key)
            state->fUserInfo.slot(r.key) = 1;
        frame->goToState(state, 1);
        EXPECT_EQ(r.title, std::string(flash->titleText().c_str()));
    }
}

namespace {

// Paints what is pending, then saves the top of the frame's screen area.
void Shot(Frame1* frame, AApp* app, int height, const char* name) {
    frame->select();
    frame->showUpdate();
    app->flushUpdates();
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    ARect bounds = frame->getScreenBounds();
    Canvas::saveScreen(ARect(bounds.left(), bounds.top(), bounds.right(), bounds.top() + height), name);
}

}  // namespace

TEST_F(TopDockTest, PicturesOfTheArticleAndRoomBars) {
    if (!open())
        GTEST_SKIP() << "no display";
    TestArticleView view;
    view.hits = 1;
    kycf->setArticleView(&view);
    dock.titles = {{5, "Calque (retouche d'image)"}};
    show(2, 0, 1, 5);
    kycf->updatePane();
    Shot(frame, app, 120, "topdock-article");
    AppState* room = show(4, 3, 2, 5);
    room->fSalle = 3;
    status(img, 3108);
    Shot(frame, app, 120, "topdock-room");
    AStyleSheetSet sheets(AFileSpec(SV_SOURCE_DIR "/tools/sample/svstyles.xml"), 0);
    dock.sheets = &sheets;
    dock.found = {{"calque", "calque"}, {"retouche ET photo", "retouche ET photo"}};
    show(2, -1, -1);
    rech->setSearchText("calque");
    rech->setSearchText("retouche ET photo");
    // The history popup opens over its own window (its picture comes from the real reader).
    press(rech, 3151);
    dock.sheets = nullptr;
}
