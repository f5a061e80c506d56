// The home screen in the real reader on the sample: the home movie's page,
// made once per movie and fitted to the view; the movie's actions; a click
// on its "Index de A à Z"; the last connection in the top dock.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/online/ANetInfo.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "search/facade/ALoSimple.h"
#include "panes/content/home/AccueilFlashPane.h"
#include "panes/content/home/DockTopAccueilPane.h"
#include "tests/panes/content/flash/MovieReaderSupport.h"
#include "web/browser/AMozillaView.h"

namespace {

class HomeReaderTest : public MovieReaderTest {
protected:
    // As the toolbar's home button does.
    void goHome() {
        frame->doMenuAction(0, 0);
        pump();
    }
    // "mode M room R", with " tab T" when the left part holds entry 1149.
    std::string where() {
        AppState* state = frame->currentState();
        std::string text = "mode " + std::to_string(state->getScreenMode()) + " room " + std::to_string(state->fSalle);
        if (ALeftState* left = state->getLeftState())
            if (long tab = left->fUserInfo.slot(1149))
                text += " tab " + std::to_string(tab);
        return text;
    }
};

}  // namespace

TEST_F(HomeReaderTest, TheHomePageIsMadeOncePerMovieAndFitsTheView) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* home = paneOf<AccueilFlashPane>();
        ASSERT_TRUE(home);
        ASSERT_EQ(0, frame->currentState()->getScreenMode()) << "the reader opens on its home screen";
        ASSERT_TRUE(waitForStandIn(home->view()));
        saveShot("home-screen");
        EXPECT_STREQ("accueil.swf", home->movieName().c_str());
        const std::string first = home->pagePath().c_str();
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(first.c_str()));
        home->updatePane();
        EXPECT_EQ("", recorder->pages) << "an unchanged movie makes no new page";
        EXPECT_EQ(first, home->pagePath().c_str());

        ARect view = home->view()->getFrame();
        struct Row {
            const char* movie;
            std::string width, height, page;
        } const rows[] = {
            {"salle_art.swf", std::to_string(2 * view.width()), std::to_string(view.height()),
             std::to_string(view.width()) + "x" + std::to_string(view.height() / 2)},
            {"accueil.swf", std::to_string(view.width()), std::to_string(2 * view.height()),
             std::to_string(view.width() / 2) + "x" + std::to_string(view.height())},
            // Without a design size the movie keeps its own.
            {"salle_art.swf", "", "", "0x0"},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.movie + (" " + r.width) + "x" + r.height);
            recorder->config = {{"SALLE_ACCUEIL", r.movie}, {"ACCUEIL_W", r.width}, {"ACCUEIL_H", r.height}};
            recorder->pages.clear();
            home->updatePane();
            EXPECT_EQ("HTMLFLASHACCUEILWIN " + r.page + ";", recorder->pages);
            EXPECT_STREQ(r.movie, home->movieName().c_str());
        }
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(first.c_str()))
            << "a replaced page stays until the next start";
    });
}

TEST_F(HomeReaderTest, TheMoviesActionsOpenTheirScreens) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* home = paneOf<AccueilFlashPane>();
        ASSERT_TRUE(home);
        recorder->links = {{"go_univers", 12}};
        struct Row {
            long kind;
            const char* action;
            std::string where;  // the screen after it ("" the home screen, unchanged)
            const char* media;
        } const rows[] = {
            {2, "go_chrono", "mode 4 room 6", ""},
            {2, "go_genea", "mode 4 room 6", ""},
            {2, "go_sculp", "mode 4 room 1 tab 2", ""},
            {3, "go_scient", "mode 4 room 5", ""},
            {2, "go_sculpt", "mode 3 room 1", ""},
            {2, "go_sciences", "mode 3 room 7", ""},
            {2, "rech_alpha", "mode 1 room 0", ""},
            {2, "go_univers", "", "12 0 0;"},
            {2, "go_anato", "", ""},  // no document under the link
            {2, "go_nowhere", "", ""},
            {2, "", "", ""},
            {4, "http://example.org/", "", ""},  // a web page only from a room screen
            {6, "go_art", "", ""},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.action);
            goHome();
            AppState* before = frame->currentState();
            recorder->media.clear();
            home->runMessage(r.kind, r.action);
            pump();
            if (r.where.empty())
                EXPECT_EQ(before, frame->currentState());
            else
                EXPECT_EQ(r.where, where());
            EXPECT_EQ(r.media, recorder->media);
        }

        // The movie's own "Index de A à Z" goes through the command queue.
        goHome();
        ASSERT_TRUE(waitForStandIn(home->view()));
        // Clicked again while the movie under load has not taken the click.
        for (int click = 0; click < 3 && frame->currentState()->getScreenMode() == 0; ++click) {
            ASSERT_TRUE(clickMovie(home->view(), 1024, 768, 60, 390, 400, 60));
            for (int i = 0; i < 200 && frame->currentState()->getScreenMode() == 0; ++i) {
                pump();
                Sleep(10);
            }
        }
        EXPECT_EQ("mode 1 room 0", where());
        saveShot("home-rech-alpha");
    });
}

TEST_F(HomeReaderTest, TheTopDockShowsTheLastConnection) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* dock = paneOf<DockTopAccueilPane>();
        ANetInfo* net = app->netInfo();
        ASSERT_TRUE(dock && dock->dateText() && net);
        const AString kept = net->getLastConnection();
        struct Row {
            const char* stored;
            const char* shown;
        } const rows[] = {{"", "Jamais connect\xE9"}, {"05-12-26", "05-12-26"}};
        for (const Row& r : rows) {
            SCOPED_TRACE(r.stored);
            net->setLastConnection(AString(r.stored));
            app->showLastConnection();
            EXPECT_STREQ(r.shown, dock->dateText()->getText().c_str());
        }
        net->setLastConnection(kept);
    });
}

// The home movie's "go_univers" and its kin open the document of their link name.
TEST_F(HomeReaderTest, LinkNamesLeadToTheirDocuments) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        AString record = app->getDataManager()->getLinkRecord(0);
        ASSERT_FALSE(record.empty()) << "the sample's links base has a first record";
        // Two key fields, then the document list.
        std::string text = record.c_str();
        ARefHold<ALoSimple> list(new ALoSimple(text.substr(text.find(':', text.find(':') + 1) + 1).c_str()));
        ASSERT_GT(list->getCount(), 0) << text;
        const long first = list->seek(0);
        struct Row {
            const char* text;  // the name's link text (null: none registered)
            long docNo;
        } const rows[] = {
            {"0:12", 12},    {"1:0", first}, {nullptr, -1}, {"", -1},         {"0:-3", -1}, {"0:x", -1},
            {"2:5", -1},     {"1:", -1},     {"1:99999999", -1}, {"0:12:7", -1}, {":", -1},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.text ? r.text : "(none)");
            const char* name = r.text ? "go_anato" : "go_classif";
            if (r.text)
                app->setLinkFsText(name, r.text);
            EXPECT_EQ(r.docNo, app->resolveDocLink(name));
        }
    });
}
