// The browser pane and the window creator on real windows, over the pages of
// the sv_net fixture's static route.
#include "tests/web/browser/BrowserTestSupport.h"

#include "web/browser/ABrowserPane.h"
#include "web/browser/AMozillaContentPolicy.h"
#include "web/browser/AMozillaWindowCreator.h"
#include "web/browser/kyMozillaBrowserChrome.h"
#include "web/embed/AAlertCallBack.h"
#include "web/embed/AMozillaFeature.h"
#include "web/embed/AMozillaWindowCreatorCallBack.h"

#include "framework/app/AWindow.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AEditBox.h"
#include "framework/display/ASizerGroup.h"
#include "framework/extras/AProgressBar.h"
#include "platform/webrt/nsEmbedding.h"

#include <windows.h>

namespace {

class CountingAlert : public AAlertCallBack {
public:
    void alert(AMozillaView* view) override { alerted.push_back(view); }
    int16_t canAlert(AMozillaView*) override { return answer; }
    std::vector<AMozillaView*> alerted;
    int16_t answer = 1;
};

// Hands out its own view when it has one, and records the views it is told of.
class RecordingCreatorCallBack : public AMozillaWindowCreatorCallBack {
public:
    AMozillaView* createBrowserWindow(nsIWebBrowserChrome*, uint32_t flags) override {
        asked.push_back(flags);
        return own;
    }
    void browserWindowCreated(AMozillaView* view) override {
        created.push_back(view);
        if (handler)
            view->addHandler("AllEvent", handler);
    }
    AMozillaView* own = nullptr;
    RecordingHandler* handler = nullptr;  // not owned
    std::vector<uint32_t> asked;
    std::vector<AMozillaView*> created;
};

std::vector<std::string> g_printed;

bool RecordPage(nsIPrintSettings*, const std::string& title, const std::vector<std::string>&) {
    g_printed.push_back(title);
    return true;
}

template <class T>
T* Find(AComponent* root, int16_t id) {
    AComponent* c = root ? root->findById(id, 0) : nullptr;
    return c ? static_cast<T*>(c->castTo(&T::classRecord)) : nullptr;
}

}  // namespace

class BrowserPaneTest : public BrowserTest {
protected:
    // A shown test window holding the layout; false without a display.
    bool openPane(const char* layout) {
        window = Open<TestWindow>(app, ARect(0, 0, 640, 480), "#background:255,255,255");
        if (!window->openWindow("pane"))
            return false;
        AComponent* root = AComponent::loadLayout(window, layout, 0);
        if (auto* shown = static_cast<ADisplayComponent*>(root->castTo(&ADisplayComponent::classRecord)))
            shown->show(false);
        window->showUpdate();
        ShowWindow(window->hwnd(), SW_SHOW);
        UpdateWindow(window->hwnd());
        pane = Find<ABrowserPane>(window, 900);
        view = pane ? pane->view() : nullptr;
        if (view)
            view->addHandler("AllEvent", recorder);
        return true;
    }
    int16_t status(int16_t id) { return pane->commandStatus(id, 0); }
    void command(int16_t id) { pane->doCommand(id, 0); }

    ABrowserPane* pane = nullptr;
};

TEST_F(BrowserPaneTest, ThePaneFindsItsItemsAndShowsTheViewsEventsInThem) {
    if (!openPane("AAppMozillaPane"))
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, pane);
    ASSERT_NE(nullptr, view) << "the view of a layout";
    ASSERT_NE(nullptr, view->webBrowser()) << errors.text;
    ASSERT_NE(nullptr, pane->addressField());
    ASSERT_NE(nullptr, pane->statusText());
    ASSERT_NE(nullptr, pane->progressBar());
    EXPECT_EQ(nullptr, pane->findField()) << "the standard bars have none";
    EXPECT_STREQ(ABrowserPane::kDefaultAddress, pane->addressField()->getText().c_str());
    EXPECT_FALSE(pane->progressBar()->hasFlags(ADisplayComponent::kShown));
    EXPECT_EQ(COLORREF(0xFF0000), pane->progressBar()->barColour());
    EXPECT_TRUE(pane->statusText()->hasFlags(ADisplayComponent::kTransparent));

    view->setStatus("Chargement");
    EXPECT_STREQ("Chargement", pane->statusText()->getText().c_str());
    view->setLoading(1);
    EXPECT_TRUE(pane->progressBar()->hasFlags(ADisplayComponent::kShown)) << "(0,100) while loading";
    EXPECT_EQ(100, pane->progressBar()->maximum());
    EXPECT_EQ(0, pane->progressBar()->position());
    view->updateProgress(40, 100);
    EXPECT_EQ(40, pane->progressBar()->position());
    EXPECT_EQ(1, status(ABrowserPane::kStop)) << "stop while loading";
    view->setLoading(0);
    EXPECT_FALSE(pane->progressBar()->hasFlags(ADisplayComponent::kShown)) << "(0,0) after the load";
    EXPECT_EQ(100, pane->progressBar()->maximum()) << "kept";
    EXPECT_EQ(40, pane->progressBar()->position()) << "kept";
    EXPECT_STREQ("", pane->statusText()->getText().c_str()) << "the load's end clears the status";

    AMozillaUpdateUrlEvent url;
    url.url = "http://127.0.0.1/tapee";
    pane->addressField()->setText("en cours de frappe");
    EXPECT_EQ(1, view->dispatchEvent(&url));
    EXPECT_STREQ("http://127.0.0.1/tapee", pane->addressField()->getText().c_str()) << "even while typing";

    pane->hide(false);
    view->setStatus("cache");
    EXPECT_STREQ("", pane->statusText()->getText().c_str()) << "a hidden pane shows nothing";
    pane->show(false);

    ABrowserPaneHandler handler(pane);
    AMozillaIsLoadedEvent loaded;
    EXPECT_EQ(0, handler.onEvent(view, &loaded)) << "other events are not the pane's";

    struct Row {
        int16_t id;
        int16_t state;
    } rows[] = {{8002, 1}, {8003, 1}, {8004, 2}, {8005, 2}, {8007, 2}, {8008, 1},
                {8025, 1}, {8027, 2}, {8051, 1}, {8055, 1}, {8100, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(row.state, status(row.id)) << "a fresh view without a feature";
    }
    command(ABrowserPane::kAlert);  // no feature: nothing

    AMozillaFeature feature;
    auto* alert = new CountingAlert;
    feature.setAlertCallBack(alert);
    EXPECT_EQ(1, status(ABrowserPane::kAlert));
    command(ABrowserPane::kAlert);
    ASSERT_EQ(1u, alert->alerted.size());
    EXPECT_EQ(view, alert->alerted[0]);
    alert->answer = 0;
    EXPECT_EQ(2, status(ABrowserPane::kAlert)) << "the callback says no";
}

TEST_F(BrowserPaneTest, APaneWithTheViewAloneTakesItsEventsAndCommands) {
    std::string find = staticUrl("pages", "find.html");
    if (!openPane("PaneOnlyView"))
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, view);
    view->setStatus("rien");
    view->setLoading(1);
    view->setLoading(0);
    AMozillaUpdateUrlEvent url;
    url.url = "http://127.0.0.1/";
    view->dispatchEvent(&url);
    for (int16_t id : {8002, 8003, 8051, 8055, 8004, 8005, 8007, 8008, 8027})
        command(id);
    EXPECT_TRUE(view->getCurrentUrl().empty()) << "no address field: nothing loads";
    if (find.empty())
        return;
    view->loadUrl(find.c_str());
    ASSERT_TRUE(waitLoaded(recorder));
}

TEST_F(BrowserPaneTest, ThePanesCommandsLoadNavigateFindAndPrint) {
    std::string find = staticUrl("pages", "find.html"), script = staticUrl("pages", "script.html");
    if (find.empty())
        GTEST_SKIP() << "no test server";
    if (!openPane("AAppMozillaPane"))
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, view);
    AEditBox* address = pane->addressField();
    address->setText(find.c_str());
    ASSERT_EQ(1, address->becomeTarget(1));
    SendMessageA(address->getHWnd(), WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(waitLoaded(recorder)) << "Return in the address field";
    EXPECT_EQ(find, std::string(view->getCurrentUrl().c_str()));
    EXPECT_EQ(2, status(ABrowserPane::kStop)) << "loaded";

    address->setText(script.c_str());
    command(ABrowserPane::kLoad);
    ASSERT_TRUE(waitLoaded(recorder, 2));
    EXPECT_EQ(script, std::string(address->getText().c_str()));
    EXPECT_EQ(1, status(ABrowserPane::kBack));
    EXPECT_EQ(2, status(ABrowserPane::kForward));
    command(ABrowserPane::kForward);  // disabled: nothing
    recorder->events.clear();
    command(ABrowserPane::kBack);
    ASSERT_TRUE(waitLoaded(recorder));
    EXPECT_EQ(find, std::string(address->getText().c_str())) << "the address follows the history";
    EXPECT_EQ(2, status(ABrowserPane::kBack));
    EXPECT_EQ(1, status(ABrowserPane::kForward));
    recorder->events.clear();
    command(ABrowserPane::kForward);
    ASSERT_TRUE(waitLoaded(recorder));
    EXPECT_EQ(script, std::string(view->getCurrentUrl().c_str()));
    recorder->events.clear();
    command(ABrowserPane::kReload);
    ASSERT_TRUE(waitLoaded(recorder)) << "reload";
    EXPECT_EQ(script, std::string(view->getCurrentUrl().c_str()));
    command(ABrowserPane::kBack);
    command(ABrowserPane::kStop);
    settle();
    EXPECT_EQ(0, view->isLoading()) << "stopped";
    EXPECT_EQ(2, status(ABrowserPane::kStop));

    view->loadUrl(find.c_str());
    recorder->events.clear();
    ASSERT_TRUE(waitLoaded(recorder));
    g_printed.clear();
    NS_SetPagePrinter(RecordPage);
    view->dispatchCommand(17, 0);  // the framework's print command
    NS_SetPagePrinter(nullptr);
    ASSERT_EQ(1u, g_printed.size());
    EXPECT_EQ("Villes", g_printed[0]);
    screenshot("browser-pane");
}

TEST_F(BrowserPaneTest, TheFindFieldFindsItsTextInThePage) {
    std::string find = staticUrl("pages", "find.html");
    if (find.empty())
        GTEST_SKIP() << "no test server";
    if (!openPane("PaneWithFind"))
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, pane->findField());
    view->loadUrl(find.c_str());
    ASSERT_TRUE(waitLoaded(recorder));
    pane->findField()->setText("paris");
    command(ABrowserPane::kFindField);
    // The page holds "Paris" three times: the pane's find took the first.
    int more = 0;
    while (more < 5 && view->findText("paris", 0, 0, 0, 0))
        ++more;
    EXPECT_EQ(2, more);
}

TEST_F(BrowserPaneTest, TheWindowCreatorTurnsChromeFlagsIntoWindowStyles) {
    AMozillaWindowCreator plain(nullptr, 0), started(nullptr, 1);
    struct Row {
        const char* name;
        PRUint32 flags;
        uint16_t plain, started;
    } rows[] = {
        {"the default chrome, replaced", 0xAC, 0x0814, 0x1814},
        {"no bars, not resizable, no close box", 0x00, 0x0004, 0x1004},
        {"modal: a dialog of style 1", 0x20000000, 0x0001, 0x1001},
        {"modal with title bar and resize", 0x2000040C, 0x0815, 0x1815},
        {"a modeless dialog: an owned window", 0x40000400, 0x1004, 0x1004},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.plain, plain.windowStyle(row.flags));
        EXPECT_EQ(row.started, started.windowStyle(row.flags));
    }
}

TEST_F(BrowserPaneTest, DefaultWindowsShowTheBarsTheChromeAsksFor) {
    if (!openView(100, 100))
        GTEST_SKIP() << "no display";
    AMozillaFeature feature;
    auto* callBack = new RecordingCreatorCallBack;
    feature.setWindowCreatorCallBack(callBack);
    // As the start-up makes it: the test application has no frame for child windows.
    nsPtr<AMozillaWindowCreator> creator(new AMozillaWindowCreator(&feature, 1));
    struct Row {
        const char* name;
        PRUint32 flags;
        bool bars, grow;
        const char* title;
        uint16_t style;
    } rows[] = {
        {"the default chrome", 1, true, true, "", 0x1814},
        {"without bars", 0x0C, false, true, "", 0x1814},
        {"a modal dialog", 0x20000404, false, false, "app", 0x1805},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        nsPtr<nsIWebBrowserChrome> chrome;
        ASSERT_EQ(NS_OK, creator->CreateChromeWindow(nullptr, row.flags, chrome.receive()));
        ASSERT_EQ(1u, callBack->created.size());
        AMozillaView* made = callBack->created[0];
        EXPECT_EQ(static_cast<nsIWebBrowserChrome*>(made->chrome()), chrome.get());
        EXPECT_EQ(row.flags, callBack->asked[0]);
        AWindow* w = made->holdingWindow();
        ASSERT_NE(nullptr, w);
        EXPECT_EQ(row.style, w->windowFlags() & 0x1815) << "the bits the creator sets";
        // Other windows get the framework's untitled name until their page names them.
        EXPECT_EQ(row.title == std::string("app"), w->getTitle() == app->title());
        app->flushUpdates();  // the changed rule takes effect in the next layout pass
        RECT client;
        GetClientRect(w->getHWnd(), &client);
        EXPECT_EQ(790, client.right);
        EXPECT_EQ(400, client.bottom);
        auto* buttonBar = Find<ASizerGroup>(w, 910);
        auto* statusBar = Find<ASizerGroup>(w, 912);
        auto* area = Find<ASizerGroup>(w, 911);
        ASSERT_TRUE(buttonBar && statusBar && area);
        EXPECT_EQ(row.bars, buttonBar->hasFlags(ADisplayComponent::kShown));
        EXPECT_EQ(row.bars, statusBar->hasFlags(ADisplayComponent::kShown));
        EXPECT_EQ(row.bars ? 30 : 0, area->getFrame().top());
        EXPECT_EQ(row.bars ? 380 : 400, area->getFrame().bottom());
        EXPECT_EQ(row.grow, w->findDescendant(&AGrowBox::classRecord, nullptr) != nullptr);
        long limits[4];
        APoint extra;
        w->shellLimits(limits, extra);
        EXPECT_EQ(row.grow ? 200 : 0, limits[0]);
        EXPECT_EQ(row.grow ? (row.bars ? 250 : 200) : 0, limits[1]);
        EXPECT_EQ(0, limits[2]) << "no maximum";
        AComponent* c = w;
        DeleteComponent(c);
        callBack->created.clear();
        callBack->asked.clear();
    }

    // Open as chrome: the browser takes the whole window, over its bars.
    nsPtr<nsIWebBrowserChrome> wrapper;
    ASSERT_EQ(NS_OK, creator->CreateChromeWindow(nullptr, 0x800000AC, wrapper.receive()));
    ASSERT_EQ(1u, callBack->created.size());
    AWindow* w = callBack->created[0]->holdingWindow();
    RECT client, content;
    GetClientRect(w->getHWnd(), &client);
    GetWindowRect(ContentWindow(callBack->created[0]), &content);
    EXPECT_EQ(client.right, content.right - content.left);
    EXPECT_EQ(client.bottom, content.bottom - content.top);
    AComponent* c = w;
    DeleteComponent(c);
    callBack->created.clear();

    callBack->own = view;
    nsPtr<nsIWebBrowserChrome> chrome;
    ASSERT_EQ(NS_OK, creator->CreateChromeWindow(nullptr, 1, chrome.receive()));
    EXPECT_EQ(static_cast<nsIWebBrowserChrome*>(view->chrome()), chrome.get()) << "the callback's own view";
    ASSERT_EQ(1u, callBack->created.size());
    EXPECT_EQ(view, callBack->created[0]);
}

TEST_F(BrowserPaneTest, ABlankTargetOpensABrowserWindowWithItsBars) {
    std::string url, why = loadServed("script.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    AMozillaFeature feature;
    auto* callBack = new RecordingCreatorCallBack;
    RecordingHandler* handler = new RecordingHandler;
    handler->addRef();
    callBack->handler = handler;
    feature.setWindowCreatorCallBack(callBack);
    InstallBrowserComponents();
    nsPtr<nsIWindowCreator> creator(AMozillaWindowCreator::make(&feature, 1));
    nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID);
    ASSERT_TRUE(watcher);
    watcher->SetWindowCreator(creator.get());
    ClickParagraph(ContentWindow(view), 2);  // target="_blank"
    ASSERT_EQ(1u, callBack->created.size());
    AMozillaView* opened = callBack->created[0];
    AMozillaView* mine = view;
    view = opened;
    ASSERT_TRUE(waitLoaded(handler));
    view = mine;
    EXPECT_EQ(staticUrl("pages", "resources.html"), std::string(opened->getCurrentUrl().c_str()));
    AWindow* w = opened->holdingWindow();
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(0x1814, w->windowFlags() & 0x1815) << "an owned, resizable window with close box";
    auto* opener = Find<ABrowserPane>(w, 900);
    ASSERT_NE(nullptr, opener);
    EXPECT_EQ(staticUrl("pages", "resources.html"), std::string(opener->addressField()->getText().c_str()));
    settle();
    screenshot("browser-window", w->getHWnd());  // the new window, bars and all
    watcher->SetWindowCreator(nullptr);
    AComponent* c = w;
    DeleteComponent(c);
    handler->release();
}

TEST_F(BrowserPaneTest, APaneWithoutItsBrowserViewFailsItsSetUp) {
    window = Open<TestWindow>(app, ARect(0, 0, 300, 200), "#background:255,255,255");
    if (!window->openWindow("broken"))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* layout;
        const char* box;
    } rows[] = {{"PaneWithoutView", "File kyMozillaPane;line 72\n"},
                {"PaneWithAFieldForView", "File kyMozillaPane;line 73\n"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        EXPECT_EQ(row.box, assertionText([&] { AComponent::loadLayout(window, row.layout, 0); }));
    }
}

TEST_F(BrowserPaneTest, TheWindowLayoutsHoldTheSamePaneWithOrWithoutAGrowBox) {
    if (!openView(100, 100))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* layout;
        bool grow;
    } rows[] = {{"AAPPMOZILLAWINDOW", true}, {"aappmozillafixeddialog", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        AComponent* root = AComponent::loadLayout(app, row.layout, 0);
        auto* w = root ? static_cast<AWindow*>(root->castTo(&AWindow::classRecord)) : nullptr;
        ASSERT_NE(nullptr, w);
        auto* opened = Find<ABrowserPane>(w, 900);
        ASSERT_NE(nullptr, opened);
        EXPECT_NE(nullptr, opened->view());
        EXPECT_NE(nullptr, opened->addressField());
        EXPECT_NE(nullptr, opened->statusText());
        EXPECT_EQ(row.grow, w->findDescendant(&AGrowBox::classRecord, nullptr) != nullptr);
        DeleteComponent(root);
    }
}
