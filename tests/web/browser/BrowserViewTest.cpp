// The browser view on pages of the sv_net fixture's static route: what a
// load raises and shows, the URL limit, saving, find, history, plug-ins,
// page scripts, new windows and printing.
#include "tests/web/browser/BrowserTestSupport.h"

#include "tests/base/procedural/FileTestSupport.h"

#include "web/browser/kyMozillaBrowserChrome.h"

#include <windows.h>

namespace {

std::string Joined(const std::vector<std::string>& events) {
    std::string out;
    for (const std::string& e : events)
        out += (out.empty() ? "" : "; ") + e;
    return out;
}

// Clicks the content window at a point of its client area.
void Click(HWND content, int x, int y) {
    SendMessageA(content, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(content, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Clicks the link whose text starts the paragraph index (links sit at the left margin).
void ClickParagraph(HWND content, int index) {
    Click(content, 12, 8 + 4 + index * 24);
}

struct PluginLog {
    std::vector<std::string> lines;
};
PluginLog g_plugins;

class TestPlugin : public nsSupportsImpl<nsIPluginInstance> {
public:
    nsresult Start(void*, PRInt32, PRInt32, PRInt32 cx, PRInt32 cy, const char* src) override {
        g_plugins.lines.push_back("start " + std::to_string(cx) + "x" + std::to_string(cy) + " " +
                                  std::string(src).substr(std::string(src).rfind('/') + 1));
        return NS_OK;
    }
    nsresult Call(const char* function, const std::vector<std::string>& arguments) override {
        std::string line = std::string("call ") + function;
        for (const std::string& a : arguments)
            line += " " + a;
        g_plugins.lines.push_back(line);
        return NS_OK;
    }
    nsresult Stop() override {
        g_plugins.lines.push_back("stop");
        return NS_OK;
    }
};

nsresult MakeTestPlugin(const char*, nsIPluginInstance** result) {
    *result = new TestPlugin;
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace

TEST_F(BrowserTest, APageLoadRaisesItsEventsInOrderAndShowsTitleAndText) {
    std::string url = haveGimpPages() ? staticUrl("gimp", "getting-started.html") : staticUrl("pages", "find.html");
    if (url.empty())
        GTEST_SKIP() << "no test server";
    if (!openView(700, 500))
        GTEST_SKIP() << "no display";
    view->addHandler("AllEvent", recorder);
    ASSERT_EQ(1, view->loadUrl(url.c_str()));
    EXPECT_EQ(0, view->isLoading()) << "nothing runs before the event queue does";
    ASSERT_TRUE(waitLoaded(recorder));
    settle(100);
    std::string title = haveGimpPages() ? "Partie I. Premiers pas dans GIMP" : "Villes";
    EXPECT_EQ("UpdateProgress(0,100); UpdateUrl(" + url + ",1); UpdateTitle(" + title +
                  "); StatusChange(); UpdateProgress(0,0); UpdateProgress(0,100); StatusChange(); Loaded; "
                  "StatusChange(); UpdateProgress(0,0)",
              Joined(recorder->events));
    EXPECT_EQ(title, std::string(view->title().c_str()));
    EXPECT_EQ(url, std::string(view->getCurrentUrl().c_str()));
    std::string shown = NS_GetShownText(view->webBrowser());
    EXPECT_NE(std::string::npos, shown.find(haveGimpPages() ? "Premiers pas dans GIMP" : "Paris est la capitale"))
        << shown;
    EXPECT_EQ(1, view->commandStatus(AMozillaView::kSaveAsCommand, 0));
    screenshot("browser_view_page");
}

TEST_F(BrowserTest, LoadUrlRefusesWhatTheRuntimeCannotTakeAndAFreshViewCannotGoForward) {
    if (!openView())
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        size_t length;
        int16_t answer;
        bool logged;
    } rows[] = {
        {"2047 bytes go", 2047, 1, false},
        {"2048 bytes are refused", 2048, 0, true},
        {"much longer is refused", 10000, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        errors.text.clear();
        std::string url = "about:blank?" + std::string(row.length - 12, 'x');
        EXPECT_EQ(row.answer, view->loadUrl(url.c_str()));
        EXPECT_EQ(row.logged, errors.text.find("Couldn't load URL:") != std::string::npos) << errors.text;
    }
    view->stop();
    EXPECT_EQ(0, view->canGoForward());
    EXPECT_EQ(0, view->canGoBack());
    EXPECT_EQ(2, view->commandStatus(AMozillaView::kSaveAsCommand, 0)) << "no page yet";
}

TEST_F(BrowserTest, SavingWritesThePageAndWithFilesItsFetchedImages) {
    std::string url, why = loadServed("resources.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    std::string pages = std::string(SV_SOURCE_DIR) + "/tests/web/browser/pages/";
    struct Row {
        const char* name;
        int16_t withFiles;
    } rows[] = {{"Document seulement", 0}, {"Document et fichiers", 1}, {"again, replacing", 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string page = folders->root + "\\page" + std::to_string(row.withFiles) + ".html";
        std::string folder = folders->root + "\\page" + std::to_string(row.withFiles) + "_files";
        EXPECT_EQ(1, view->savePage(AFileSpec(page.c_str()), row.withFiles));
        std::string saved = ReadAll(page);
        EXPECT_NE(std::string::npos, saved.find("Une image, un script et un cadre")) << saved;
        if (!row.withFiles) {
            EXPECT_FALSE(PathExistsOnDisk(folder + "\\pixel.png"));
            EXPECT_NE(std::string::npos, saved.find("\"pixel.png\""));
            continue;
        }
        EXPECT_EQ(ReadAll(pages + "pixel.png"), ReadAll(folder + "\\pixel.png"));
        EXPECT_EQ(ReadAll(pages + "images/logo.png"), ReadAll(folder + "\\logo.png"));
        EXPECT_EQ(ReadAll(pages + "code.js"), ReadAll(folder + "\\code.js"));
        EXPECT_NE(std::string::npos, saved.find("\"page1_files/pixel.png\"")) << saved;
        EXPECT_NE(std::string::npos, saved.find("'page1_files/logo.png'")) << saved;
    }
}

TEST_F(BrowserTest, FindAndHistoryFollowThePages) {
    std::string find = staticUrl("pages", "find.html"), script = staticUrl("pages", "script.html");
    if (find.empty())
        GTEST_SKIP() << "no test server";
    if (!openView())
        GTEST_SKIP() << "no display";
    view->addHandler("AllEvent", recorder);
    view->loadUrl(find.c_str());
    ASSERT_TRUE(waitLoaded(recorder, 1));
    struct Row {
        const char* name;
        const char* text;
        int16_t matchCase, entireWord, wrap, backwards;
        int16_t found;
    } rows[] = {
        {"any case finds the capital", "paris", 0, 0, 0, 0, 1},
        {"then the adjective", "paris", 0, 0, 0, 0, 1},
        {"then the last one", "paris", 0, 0, 0, 0, 1},
        {"no wrap: nothing more", "paris", 0, 0, 0, 0, 0},
        {"wrap starts again", "paris", 0, 0, 1, 0, 1},
        {"matching case misses", "PARIS", 1, 0, 1, 0, 0},
        {"entire words skip parisien", "paris", 0, 1, 1, 1, 1},
        {"absent text", "Bordeaux", 0, 0, 1, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.found, view->findText(row.text, row.matchCase, row.entireWord, row.wrap, row.backwards));
    }
    view->loadUrl(script.c_str());
    ASSERT_TRUE(waitLoaded(recorder, 2));
    EXPECT_EQ(1, view->canGoBack());
    EXPECT_EQ(0, view->canGoForward());
    recorder->events.clear();
    view->goBack();
    ASSERT_TRUE(waitLoaded(recorder, 1));
    EXPECT_EQ("UpdateUrl(" + find + ",0)", recorder->events[1]) << "a history step is no program load";
    EXPECT_EQ(0, view->canGoBack());
    EXPECT_EQ(1, view->canGoForward());
    recorder->events.clear();
    view->goForward();
    ASSERT_TRUE(waitLoaded(recorder, 1));
    EXPECT_EQ(script, std::string(view->getCurrentUrl().c_str()));
}

TEST_F(BrowserTest, EmbedsReachTheirPluginAndPageScriptsCallIt) {
    std::string url = staticUrl("pages", "plugin.html");
    if (url.empty())
        GTEST_SKIP() << "no test server";
    if (!openView())
        GTEST_SKIP() << "no display";
    g_plugins.lines.clear();
    NS_RegisterPlugin("application/x-sv-test-movie", MakeTestPlugin);
    view->addHandler("AllEvent", recorder);
    view->loadUrl(url.c_str());
    ASSERT_TRUE(waitLoaded(recorder));
    struct Row {
        const char* name;
        const char* url;
        const char* plugin;  // the plug-in's last line after the row
        const char* log;     // the layer's last script log line, "" for none
    } rows[] = {
        {"the embed starts with its size", nullptr, "start 120x80 film.mov", ""},
        {"gotoframe reaches the plug-in", "javascript:gotoframe(3)", "call gotoframe 3", ""},
        {"the object's own method too", "javascript:document.embeds[0].GotoFrame(5)",
         "call document.embeds[0].GotoFrame 5", ""},
        {"escaped arguments are decoded", "javascript:zoompan(%2710%27,%2720%27)", "call zoompan 10 20", ""},
        {"anything else is logged", "javascript:foo()", "call zoompan 10 20", "ignored foo()"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.url) {
            EXPECT_EQ(1, view->loadUrl(row.url));
        }
        settle(50);
        ASSERT_FALSE(g_plugins.lines.empty());
        EXPECT_EQ(row.plugin, g_plugins.lines.back());
        EXPECT_EQ(row.log, NS_ScriptLog().empty() ? std::string() : NS_ScriptLog().back());
    }
    EXPECT_EQ(url, std::string(view->getCurrentUrl().c_str())) << "scripts leave the page";
    NS_RegisterPlugin("application/x-sv-test-movie", nullptr);
}

namespace {

RecordingHandler* Held(RecordingHandler* h) {
    h->addRef();
    return h;
}

// Makes each new window a test window with a view, as the program's window creator does.
class TestCreator : public nsSupportsImpl<nsIWindowCreator> {
public:
    explicit TestCreator(AComponent* app) : app_(app) {}
    nsresult CreateChromeWindow(nsIWebBrowserChrome*, PRUint32 flags, nsIWebBrowserChrome** result) override {
        window = Open<TestWindow>(app_, ARect(300, 0, 700, 300), "#background:255,255,255");
        window->openWindow("new");
        view = Shown(Open<AMozillaView>(window, int16_t(5), Frame(0, 0, 400, 300)));
        window->showUpdate();
        view->addHandler("AllEvent", handler);
        lastFlags = flags;
        *result = view->chrome();
        (*result)->AddRef();
        return NS_OK;
    }
    AComponent* app_;
    TestWindow* window = nullptr;
    AMozillaView* view = nullptr;
    RecordingHandler* handler = Held(new RecordingHandler);
    PRUint32 lastFlags = 0;
};

}  // namespace

TEST_F(BrowserTest, BlankTargetsAndWindowOpenGoThroughTheWindowCreator) {
    std::string url, why = loadServed("script.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    nsPtr<TestCreator> creator(new TestCreator(app));
    nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID);
    ASSERT_TRUE(watcher);
    watcher->SetWindowCreator(creator.get());
    ClickParagraph(ContentWindow(view), 2);  // target="_blank"
    ASSERT_NE(nullptr, creator->view);
    EXPECT_EQ(1u, creator->lastFlags);
    AMozillaView* mine = view;
    view = creator->view;
    ASSERT_TRUE(waitLoaded(creator->handler));
    EXPECT_EQ(staticUrl("pages", "resources.html"), std::string(creator->view->getCurrentUrl().c_str()));
    EXPECT_EQ(url, std::string(mine->getCurrentUrl().c_str())) << "the first window keeps its page";
    view = mine;

    struct Row {
        const char* script;
        PRUint32 flags;
    } rows[] = {{"javascript:window.open('frame.html')", 1},
                {"javascript:window.open('frame.html','x','chrome,modal')", 0xA0000000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        view->loadUrl(row.script);
        EXPECT_EQ(row.flags, creator->lastFlags);
    }
    watcher->SetWindowCreator(nullptr);
    AComponent* w = creator->window;
    DeleteComponent(w);
    creator->handler->release();
}

namespace {

std::vector<std::string> g_printed;

bool RecordPage(nsIPrintSettings*, const std::string& title, const std::vector<std::string>& paragraphs) {
    g_printed = paragraphs;
    g_printed.insert(g_printed.begin(), title);
    return true;
}

}  // namespace

TEST_F(BrowserTest, PrintingHandsThePageTextToThePrinterAndEnds) {
    std::string url, why = loadServed("find.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    g_printed.clear();
    NS_SetPagePrinter(RecordPage);
    view->print();
    NS_SetPagePrinter(nullptr);
    ASSERT_EQ(4u, g_printed.size());
    EXPECT_EQ("Villes", g_printed[0]);
    EXPECT_EQ("On revient \xE0 Paris & sa banlieue.", g_printed[3]);
    view->print();  // no printer: the job still ends
}
