// The home screen in the real reader on the sample: the home movie's page,
// made once per movie and fitted to the view; the movie's actions; a click
// on its "Index de A à Z"; the last connection in the top dock; the online
// button's complement page from the sample's local service, its day's copy
// and its complement link.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/prefs/APrefManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AIconButton.h"
#include "search/facade/ALoSimple.h"
#include "panes/content/home/AccueilFlashPane.h"
#include "panes/content/home/DockTopAccueilPane.h"
#include "panes/docks/online/ComplWebPane.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/flash/MovieReaderSupport.h"
#include "tests/support/HostProgram.h"
#include "web/browser/AMozillaView.h"
#include "platform/webrt/nsBrowser.h"

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

namespace {

// The sample's local service on the address the sample names, as tools/run.sh
// starts it; one already serving there (the same program) is used as it is.
class LocalService {
public:
    LocalService() {
        pidFile_ = SV_BINARY_DIR "/home-service.pid";
        std::remove(Dos(pidFile_).c_str());
        started_ = StartHostProgram("/bin/sh -c \"/usr/bin/python3 '" SV_SOURCE_DIR "/tools/sample/service.py' '" SV_BINARY_DIR
                                    "/sample-work' >/dev/null 2>&1 & echo $! >'" + pidFile_ + "'\"");
    }
    ~LocalService() {
        if (started_)
            StartHostProgram("/bin/sh -c \"kill $(cat '" + pidFile_ + "')\"");
    }
    bool started() const { return started_; }

private:
    static std::string Dos(const std::string& path) { return "Z:" + path; }
    std::string pidFile_;
    bool started_ = false;
};

// "DD-MM-YY", as the last connection is kept.
std::string Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d", now.wDay % 100, now.wMonth % 100, now.wYear % 100);
    return text;
}

}  // namespace

// The top dock's online button: the complement pane of the home screen shows
// the service's start page, keeps the day's copy (the top dock then shows the
// date), and a link of the page the reader clicks leaves for a web-page state.
TEST_F(HomeReaderTest, TheOnlineButtonShowsTheServicePageInItsSlot) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* dock = paneOf<DockTopAccueilPane>();
        auto* pane = paneOf<ComplWebPane>();
        ANetInfo* net = app->netInfo();
        ASSERT_TRUE(dock && pane && pane->view() && net) << "the home screen holds the web complement pane";
        EXPECT_TRUE(pane->hasFlags(ADisplayComponent::kShown)) << "shown on the home screen";
        auto* slot = frame->findById(3004, 0);
        ASSERT_TRUE(slot && pane->getParent() == slot) << "in slot 3004";

        // The sample's account, known but not logged in, as logged in for the
        // run; the settings and the day's copy go back as they were, failed or
        // not, before the reader writes its settings at its end.
        std::string copyName = Today();
        copyName.erase(5, 1).erase(2, 1);
        struct Kept {
            TheApp* app;
            ANetInfo* net;
            AFileSpec copy;
            int16_t access = net->getServiceAccess(), state = net->getConnectionState();
            AString date = net->getLastConnection();
            long online = app->getPrefManager()->getLong(APrefManager::kWorkOnline);
            bool hadCopy = copy.exists();
            ~Kept() {
                net->setServiceAccess(access);
                net->setConnectionState(state);
                net->setLastConnection(date);
                app->getPrefManager()->setLong(APrefManager::kWorkOnline, online);
                if (hadCopy)
                    return;
                try {
                    std::string parts = copy.path().c_str();
                    if (copy.exists())
                        copy.removeTree(false);
                    AFileSpec folder((parts.substr(0, parts.size() - 4) + "_files").c_str());
                    if (folder.exists())
                        folder.removeTree(true);
                } catch (const AError&) {
                    ADD_FAILURE() << "the day's copy stays in the sample";
                }
            }
        } kept{app, net, AFileSpec(app->getUserFilesFolder(), (copyName + ".htm").c_str())};
        const AFileSpec& copy = kept.copy;
        net->setServiceAccess(1);
        net->setLastConnection(AString());
        app->getPrefManager()->setLong(APrefManager::kWorkOnline, 1);
        LocalService service;
        ASSERT_TRUE(service.started());
        auto waitFor = [&](int milliseconds, const std::function<bool()>& done) {
            for (int waited = 0; waited < milliseconds && !done(); waited += 20) {
                pump();
                Sleep(20);
            }
            return done();
        };
        ASSERT_TRUE(waitFor(10000, [&] {
            app->setupConnectionStatus(nullptr);
            return net->getConnectionState() == 4;
        })) << "the local service answers";

        auto* button = dynamic_cast<AIconButton*>(dock->findItem(DockTopAccueilPane::kOnline, false));
        ASSERT_TRUE(button);
        clickAt(button->localToScreen(APoint(button->getSize().x / 2, button->getSize().y / 2)));
        const std::string start = app->configString("ACCUEIL_WEB_HTML").c_str();
        EXPECT_TRUE(waitFor(20000, [&] {
            return !pane->view()->isLoading() && start == pane->view()->getCurrentUrl().c_str() &&
                   std::string(pane->view()->title().c_str()) == "Savantorium en ligne" && copy.exists();
        })) << pane->view()->getCurrentUrl().c_str() << " " << pane->view()->title().c_str();
        EXPECT_EQ(0, frame->currentState()->getScreenMode()) << "the page shows in the home screen";
        EXPECT_EQ(Today(), net->getLastConnection().c_str()) << "the day's copy is the last connection";
        EXPECT_EQ(Today(), dock->dateText()->getText().c_str());
        settle();
        saveShot("home-web-complement");

        // Clicks down the page, the pointer over it, until one lands on a link
        // that is not the complements' own: it becomes a web-page state.
        void* widget = nullptr;
        nsPtr<nsIBaseWindow> base = QueryAs<nsIBaseWindow>(pane->view()->webBrowser());
        ASSERT_TRUE(base);
        base->GetMainWidget(&widget);
        HWND page = static_cast<HWND>(widget);
        RECT box;
        GetClientRect(page, &box);
        AppState* home = frame->currentState();
        for (long y = 4; y < box.bottom && frame->currentState() == home; y += 5) {
            waitFor(10000, [&] { return !pane->view()->isLoading(); });
            POINT at = {60, y};
            POINT screenAt = at;
            ClientToScreen(page, &screenAt);
            SetCursorPos(screenAt.x, screenAt.y);
            SendMessageA(page, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
            SendMessageA(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            SendMessageA(page, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
            // A link starts a load in the pane or hands its address over.
            waitFor(500, [&] { return frame->currentState() != home || pane->view()->isLoading(); });
        }
        waitFor(5000, [&] { return frame->currentState() != home; });
        AppState* now = frame->currentState();
        ASSERT_NE(home, now) << "a link of the page was handed over; the pane shows "
                             << pane->view()->getCurrentUrl().c_str();
        ASSERT_TRUE(now->getDocState());
        EXPECT_EQ(8, now->getDocState()->fDocType);
        std::string entry = app->getDocNetManager()->getEntry(now->getDocNo()).c_str();
        const std::string site = app->configString("SVSITE").c_str();
        EXPECT_EQ(0u, entry.find(site + "/redirect.php?id=")) << entry;
        EXPECT_EQ(std::string::npos, entry.find("hom_compl")) << "the complements' own pages load in the pane";
    });
}
