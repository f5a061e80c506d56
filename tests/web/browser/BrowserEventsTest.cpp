// Browser events and handlers, and the chrome that turns the runtime's
// notifications into them: dispatch rules, the observe gate, the load-state
// algorithm driven through the layer's test control, and the chrome's answers
// with and without its view.
#include "tests/web/browser/BrowserTestSupport.h"

#include "web/browser/kyMozillaBrowserChrome.h"

#include <windows.h>

namespace {

std::string Joined(const std::vector<std::string>& events) {
    std::string out;
    for (const std::string& e : events)
        out += (out.empty() ? "" : " ") + e;
    return out;
}

// Puts the mouse cursor over the view (true) or far from it.
void PointAt(AMozillaView* view, bool over) {
    ARect r = view->getScreenFrame();
    if (over)
        SetCursorPos(r.left() + r.width() / 2, r.top() + r.height() / 2);
    else
        SetCursorPos(r.right() + 200, r.bottom() + 200);
}

}  // namespace

TEST_F(BrowserTest, HandlersGetEventsByExactNameOrAllEventInOrderOfAddition) {
    if (!openView())
        GTEST_SKIP() << "no display";
    RecordingHandler* all = new RecordingHandler;
    RecordingHandler* loaded = new RecordingHandler;
    RecordingHandler* lower = new RecordingHandler;
    view->addHandler("AllEvent", all);
    view->addHandler("Loaded", loaded);
    view->addHandler("Loaded", loaded);
    view->addHandler("loaded", lower);
    struct Row {
        const char* name;
        AMozillaEvent* event;
        int16_t answer;  // of every handler
        int16_t result;
        size_t all, loaded, lower;  // events each has after the row
    };
    AMozillaIsLoadedEvent isLoaded;
    AMozillaStatusChangedEvent status;
    Row rows[] = {
        {"a handler added twice runs twice", &isLoaded, 1, 1, 1, 2, 0},
        {"other names reach only AllEvent", &status, 1, 1, 2, 2, 0},
        {"answers 0 everywhere give 0", &isLoaded, 0, 0, 3, 4, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        all->answer = loaded->answer = lower->answer = row.answer;
        EXPECT_EQ(row.result, view->dispatchEvent(row.event));
        EXPECT_EQ(row.all, all->events.size());
        EXPECT_EQ(row.loaded, loaded->events.size());
        EXPECT_EQ(row.lower, lower->events.size());
    }

    // The observe gate: away from the cursor the event counts as handled and reaches nobody.
    AMozillaObserveEvent observe;
    observe.topic = "KYTOPIC";
    observe.data = "load=x";
    PointAt(view, false);
    EXPECT_EQ(1, view->dispatchEvent(&observe));
    EXPECT_EQ(3u, all->events.size());
    PointAt(view, true);
    all->answer = 0;
    EXPECT_EQ(0, view->dispatchEvent(&observe));
    ASSERT_EQ(4u, all->events.size());
    EXPECT_EQ("Observe(KYTOPIC,load=x)", all->events.back());
}

TEST_F(BrowserTest, ChromeTurnsNotificationSequencesIntoViewEvents) {
    if (!openView())
        GTEST_SKIP() << "no display";
    view->addHandler("AllEvent", recorder);
    struct Row {
        const char* name;
        const char* sequence;
        const char* events;
    } rows[] = {
        {"a non-HTML document counts its requests",
         "start-net;start-req;start-req;transfer-doc:image/png;stop-req;stop-req;stop-doc;stop-net",
         "UpdateProgress(0,100) UpdateProgress(0,3) UpdateProgress(1,3) UpdateProgress(2,3) UpdateProgress(3,3) "
         "StatusChange() UpdateProgress(0,0) UpdateProgress(0,100) StatusChange() Loaded StatusChange() "
         "UpdateProgress(0,0)"},
        {"an HTML document reports bytes only", "start-net;start-req;transfer-doc;stop-req;progress:50/100;stop-doc",
         "UpdateProgress(0,100) UpdateProgress(50,100) StatusChange() UpdateProgress(0,0) UpdateProgress(0,100) "
         "StatusChange() Loaded"},
        {"a frame's location raises nothing, the top's does",
         "subframe-location:http://h/frame.html;location:http://h/top.html", "UpdateUrl(http://h/top.html,0)"},
        {"title and status texts", "title:Bonjour;status:Chargement",
         "UpdateTitle(Bonjour) StatusChange(Chargement)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        recorder->events.clear();
        ASSERT_EQ(NS_OK, NS_EmitNotifications(view->webBrowser(), row.sequence));
        EXPECT_EQ(row.events, Joined(recorder->events));
    }
    recorder->events.clear();
    EXPECT_EQ(NS_ERROR_INVALID_ARG, NS_EmitNotifications(view->webBrowser(), "title:x;bogus"));
    EXPECT_TRUE(recorder->events.empty()) << "a bad sequence sends nothing";
    EXPECT_EQ("Bonjour", std::string(view->title().c_str()));
    EXPECT_EQ("http://h/top.html", std::string(view->getCurrentUrl().c_str()));
}

namespace {

kyMozillaBrowserChrome* g_modalChrome = nullptr;
nsresult g_exitStatus = NS_OK;

void CALLBACK ExitModal(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_modalChrome->ExitModalEventLoop(g_exitStatus);
}

}  // namespace

TEST_F(BrowserTest, ChromeAnswersForItsViewAndFailsCleanlyOnceTheViewHasGone) {
    if (!openView())
        GTEST_SKIP() << "no display";
    view->addHandler("AllEvent", recorder);
    nsPtr<kyMozillaBrowserChrome> chrome(view->chrome());
    ASSERT_TRUE(chrome);

    PRUint32 flags = 77;
    EXPECT_EQ(NS_ERROR_NOT_IMPLEMENTED, chrome->GetChromeFlags(&flags));
    EXPECT_EQ(77u, flags);
    EXPECT_EQ(NS_ERROR_INVALID_POINTER, chrome->GetWebBrowser(nullptr));
    EXPECT_EQ(NS_ERROR_INVALID_ARG, chrome->SetWebBrowser(nullptr));
    nsPtr<nsIDOMEventListener> generic;
    EXPECT_EQ(NS_NOINTERFACE, chrome->QueryInterface(nsIDOMEventListener::GetIID(), generic.receiveVoid()));
    EXPECT_TRUE(QueryAs<nsIDOMMouseListener>(static_cast<nsIWebBrowserChrome*>(chrome.get())));
    nsPtr<nsIDOMWindow> domWindow;
    EXPECT_EQ(NS_OK, chrome->GetInterface(nsIDOMWindow::GetIID(), domWindow.receiveVoid()));
    EXPECT_TRUE(domWindow);
    void* site = nullptr;
    EXPECT_EQ(NS_OK, chrome->GetSiteWindow(&site));
    EXPECT_EQ(window->hwnd(), site);

    // The modal loop answers the status it was ended with.
    g_modalChrome = chrome.get();
    g_exitStatus = 0x80004005;
    SetTimer(nullptr, 0, 20, ExitModal);
    EXPECT_EQ(0x80004005u, chrome->ShowAsModal());

    // Observe: only "KYTOPIC", and only while the cursor is over the view.
    PointAt(view, true);
    chrome->Observe(nullptr, "OTHER", L"x");
    chrome->Observe(nullptr, "KYTOPIC", L"page=3");
    EXPECT_EQ("Observe(KYTOPIC,page=3)", Joined(recorder->events));

    // The view goes: calls that come later change nothing and say so.
    AComponent* w = window;
    DeleteComponent(w);
    window = nullptr;
    view = nullptr;
    EXPECT_EQ(nullptr, chrome->view());
    EXPECT_EQ(NS_ERROR_FAILURE, chrome->SetStatus(0, L"late"));
    EXPECT_EQ(NS_ERROR_INVALID_POINTER, chrome->OnStateChange(nullptr, nullptr, 0x10, NS_OK));
    EXPECT_EQ(NS_ERROR_FAILURE, chrome->GetSiteWindow(&site));
    EXPECT_EQ(NS_ERROR_NOT_INITIALIZED, chrome->GetWebBrowser(nsPtr<nsIWebBrowser>().receive()));
    EXPECT_EQ(NS_OK, chrome->ShowAsModal()) << "no view: the loop does not start";
}
