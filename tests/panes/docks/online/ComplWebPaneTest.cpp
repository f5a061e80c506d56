// The web complement pane in a test main window over the runtime: the state
// walk's loads, the view's events, the complement links, the day's copy, the
// page search; and a picture of the local service's start page, kept as
// build/artifacts/web-complement-pane.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/state/AppState.h"
#include "panes/docks/online/ComplWebPane.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/docks/online/OnlinePanesTestSupport.h"

namespace {

std::string ServiceUrl(const char* rest) {
    if (!ServerPorts().origin)
        return std::string();
    return "http://127.0.0.1:" + std::to_string(ServerPorts().origin) + rest;
}

// A state of screen mode 0 with its walk flags.
AppState* HomeState(int16_t fresh, int16_t histo) {
    auto* state = new AppState(0, 1, nullptr, nullptr, nullptr, nullptr, -1);
    state->fNew = fresh;
    state->fHisto = histo;
    return state;
}

using ComplWebPaneTest = OnlinePaneTest;

TEST_F(ComplWebPaneTest, StatesLoadThePageAndANetworkPageIsCopiedOnceADay) {
    std::string start = ServiceUrl("/sv/accueil?filter=3&data=v10");
    if (start.empty())
        GTEST_SKIP() << "no test server";
    host.statusPage = start;
    ComplWebPane* pane = openPane();
    if (!pane)
        GTEST_SKIP() << "no display";
    EXPECT_EQ(pane, frame->paneSlots().webComplementPane);
    frame->showUpdate();
    ShowWindow(frame->getHWnd(), SW_SHOW);
    // A new home state loads the start page through the queue, then copies it once.
    frame->goToState(HomeState(1, 0), 1);
    EXPECT_EQ("status(0);", host.calls);
    EXPECT_STREQ(start.c_str(), pane->currentUrl().c_str());
    ASSERT_TRUE(pumpUntil(20000, [&] {
        app->flushUpdates();
        return host.saves == 1;
    })) << "the page never finished loading";
    pump(300);
    EXPECT_EQ(1, host.saves);
    // The page is drawn in the runtime's own window: the picture is taken from the screen.
    pump(500);
    {
        RECT r;
        GetWindowRect(frame->getHWnd(), &r);
        Canvas canvas(640, 480);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, 640, 480, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        canvas.savePng("web-complement-pane");
    }
    // A history state brings back the address last announced, not the start page.
    host.calls.clear();
    AMozillaUpdateUrlEvent moved;
    moved.url = ServiceUrl("/sv/liens_compl?ref=12").c_str();
    view->dispatchEvent(&moved);
    frame->goToState(HomeState(0, 1), 1);
    EXPECT_EQ("", host.calls);
    EXPECT_STREQ(moved.url.c_str(), pane->currentUrl().c_str());
    ASSERT_TRUE(pumpUntil(20000, [&] {
        app->flushUpdates();
        return host.saves == 2;
    })) << "a second network page posts the copy again (the application keeps the day's copy)";
    // A page from a file is never copied.
    pane->setCurrentUrl(AString("FILE:///c:/accueil.htm"));
    AMozillaIsLoadedEvent loaded;
    view->dispatchEvent(&loaded);
    pump();
    EXPECT_EQ(2, host.saves);
}

TEST_F(ComplWebPaneTest, EventsAndComplementLinksFollowTheServicesRules) {
    host.config["SVSITE"] = "http://127.0.0.1:5";
    host.config["ACCUEIL_WEB_HTML"] = "http://127.0.0.1:5/sv/accueil";
    host.config["ACCUEIL_WEB_HTML2"] = "http://127.0.0.1:5/sv/accueil2";
    ComplWebPane* pane = openPane();
    if (!pane)
        GTEST_SKIP() << "no display";
    frame->showUpdate();
    ShowWindow(frame->getHWnd(), SW_SHOW);
    // The handler as the view calls it (whether the view passes "Observe" on is the view's rule).
    auto* handler = new AComplWebPaneHandler(pane);
    handler->addRef();
    struct Row {
        const char* name;
        AMozillaEvent* event;
        int16_t result;
        const char* calls;
        const char* url;  // the pane's address after it
    };
    AMozillaUpdateProgressEvent progress;
    AMozillaUpdateTitleEvent title;
    title.title = "Autre";
    AMozillaUpdateUrlEvent url;
    url.url = "http://127.0.0.1:5/sv/home";
    AMozillaObserveEvent home2, upper, other, foreign, noLoad, scheme;
    home2.data = "load=http://127.0.0.1:5/sv/accueil2";
    upper.data = "LOAD=http://127.0.0.1:5/sv/accueil";
    other.data = "load=http://127.0.0.1:5/sv/liens_compl?ref=3";
    foreign.data = "load=http://127.0.0.1:55/ailleurs";
    scheme.data = "Load=javascript:alert(1)";
    noLoad.data = "autre chose";
    AMozillaStatusChangedEvent status;
    status.status = "Chargement";
    AMozillaLinkChangedEvent link;
    const Row rows[] = {
        {"progress", &progress, 1, "", "x"},
        {"title", &title, 1, "", "x"},
        {"url", &url, 1, "", "http://127.0.0.1:5/sv/home"},
        {"start page 2", &home2, 1, "status(0);", "http://127.0.0.1/start"},
        {"capitals", &upper, 1, "status(0);", "http://127.0.0.1/start"},
        {"complement link", &other, 1, "show(http://127.0.0.1:5/sv/liens_compl?ref=3,0,1);", "x"},
        {"another host", &foreign, 1, "", "x"},
        {"not a web address", &scheme, 1, "", "x"},
        {"no load", &noLoad, 1, "home(0);", "x"},
        {"status", &status, 1, "", "x"},
        {"unknown", &link, 0, "", "x"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        pane->setCurrentUrl(AString("x"));
        host.calls.clear();
        EXPECT_EQ(r.result, handler->onEvent(view, r.event));
        EXPECT_EQ(r.calls, host.calls);
        EXPECT_STREQ(r.url, pane->currentUrl().c_str());
    }
    // Without the service a link is answered 0; a handler whose pane has gone answers nothing.
    host.connected = false;
    host.calls.clear();
    EXPECT_EQ(0, handler->onEvent(view, &other));
    EXPECT_EQ("", host.calls);
    handler->detachPane();
    EXPECT_EQ(0, handler->onEvent(view, &url));
    handler->release();
    pump();
}

TEST_F(ComplWebPaneTest, ASearchForAnAbsentTextBeepsInBothDirections) {
    std::string page = ServiceUrl("/sv/accueil");
    if (page.empty())
        GTEST_SKIP() << "no test server";
    host.statusPage = page;
    ComplWebPane* pane = openPane();
    if (!pane)
        GTEST_SKIP() << "no display";
    frame->showUpdate();
    ShowWindow(frame->getHWnd(), SW_SHOW);
    frame->goToState(HomeState(1, 0), 1);
    ASSERT_TRUE(pumpUntil(20000, [&] {
        app->flushUpdates();
        return host.saves == 1;
    }));
    EXPECT_EQ(1, pane->commandStatus(ComplWebPane::kView, 0));
    struct Row {
        const char* text;
        bool next;
        int beeps;
    } const rows[] = {{"zzqqy", true, 1}, {"zzqqy", false, 1}, {"", true, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + (r.next ? " next" : " previous"));
        pane->setFindText(r.text);
        host.beeps = 0;
        if (r.next)
            pane->showNextHit();
        else
            pane->showPreviousHit();
        EXPECT_EQ(r.beeps, host.beeps);
    }
}

}  // namespace
