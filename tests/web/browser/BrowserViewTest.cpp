// The browser view on pages of the sv_net fixture's static route: what a
// load raises and shows, the URL limit, saving, find, history, plug-ins,
// page scripts, new windows and printing.
#include "tests/web/browser/BrowserTestSupport.h"

#include "tests/base/procedural/FileTestSupport.h"
#include "tests/base/procedural/NetTestSupport.h"

#include "web/browser/kyMozillaBrowserChrome.h"

#include "base/procedural/Trace.h"
#include "framework/files/AFileBox.h"
#include "framework/preview/APreviewDlg.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/support/TestHooks.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstring>

namespace {

std::string Joined(const std::vector<std::string>& events) {
    std::string out;
    for (const std::string& e : events)
        out += (out.empty() ? "" : "; ") + e;
    return out;
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

// A screen the start does not show costs no browser; its view makes one when
// shown, or when a page is loaded into it while it is still hidden.
TEST_F(BrowserTest, AViewOpenedHiddenMakesItsBrowserWhenShownOrGivenAPage) {
    window = Open<TestWindow>(app, ARect(0, 0, 600, 400), "#background:255,255,255");
    if (!window->openWindow("browser"))
        GTEST_SKIP() << "no display";
    ShowWindow(window->hwnd(), SW_SHOW);
    auto contentWindows = [&] {
        int n = 0;
        for (HWND w = GetWindow(window->hwnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            char name[64] = "";
            GetClassNameA(w, name, sizeof name);
            n += std::string(name) == "WebrtContent";
        }
        return n;
    };
    AMozillaView* shownLater = Open<AMozillaView>(window, int16_t(5), Frame(0, 0, 300, 400));
    AMozillaView* given = Open<AMozillaView>(window, int16_t(6), Frame(300, 0, 600, 400));
    window->showUpdate();
    EXPECT_EQ(0, contentWindows()) << "hidden views have made no browser";

    given->addHandler("AllEvent", recorder);
    EXPECT_EQ(1, given->loadUrl("about:blank"));
    EXPECT_EQ(1, contentWindows());
    EXPECT_NE(nullptr, given->webBrowser());
    EXPECT_FALSE(IsWindowVisible(ContentWindow(given))) << "made for a page, still hidden";
    view = given;
    EXPECT_TRUE(waitLoaded(recorder)) << Joined(recorder->events);

    shownLater->show(true);
    window->showUpdate();
    EXPECT_EQ(2, contentWindows());
    HWND content = ContentWindow(shownLater);
    ASSERT_NE(nullptr, content);
    EXPECT_TRUE(IsWindowVisible(content));
    RECT r;
    GetWindowRect(content, &r);
    EXPECT_EQ(300, r.right - r.left) << "made at the view's place";
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

// The "Enregistrer sous" box as the save command shows it, answered through
// the file-dialog seam: its first kind saves the fetched files too.
namespace {

struct SaveBoxScript {
    std::string title, filter, chosen;
    bool isSave = false;
    int answer = 0;
    unsigned long chosenFilter = 1;
} g_saveBox;

int ScriptedSaveBox(void* record, bool isSave) {
    auto* d = static_cast<OPENFILENAMEA*>(record);
    const char* end = d->lpstrFilter;
    while (*end)
        end += std::strlen(end) + 1;
    g_saveBox.filter.assign(d->lpstrFilter, end);
    g_saveBox.title = d->lpstrTitle ? d->lpstrTitle : "";
    g_saveBox.isSave = isSave;
    if (g_saveBox.answer) {
        lstrcpynA(d->lpstrFile, g_saveBox.chosen.c_str(), d->nMaxFile);
        d->nFileOffset = static_cast<WORD>(g_saveBox.chosen.find_last_of('\\') + 1);
        d->nFilterIndex = g_saveBox.chosenFilter;
    }
    return g_saveBox.answer;
}

}  // namespace

TEST_F(BrowserTest, TheSaveAsBoxSavesTheKindChosenInIt) {
    std::string url, why = loadServed("resources.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    AFileDialogCall previous = SetFileDialogCall(ScriptedSaveBox);
    struct Row {
        const char* name;
        int answer;
        unsigned long filter;
        bool page, files;
    } rows[] = {{"cancelled", 0, 1, false, false},
                {"Document et fichiers", 1, 1, true, true},
                {"Document seulement", 1, 2, true, false}};
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_saveBox = SaveBoxScript();
        std::string page = folders->root + "\\box" + std::to_string(n) + ".html";
        std::string folder = folders->root + "\\box" + std::to_string(n++) + "_files";
        g_saveBox.chosen = page;
        g_saveBox.answer = row.answer;
        g_saveBox.chosenFilter = row.filter;
        view->doCommand(AMozillaView::kSaveAsCommand, 0);
        EXPECT_TRUE(g_saveBox.isSave);
        EXPECT_EQ("Enregistrer sous", g_saveBox.title);
        EXPECT_NE(std::string::npos, g_saveBox.filter.find("Document et fichiers"));
        EXPECT_LT(g_saveBox.filter.find("Document et fichiers"), g_saveBox.filter.find("Document seulement"));
        EXPECT_EQ(row.page, PathExistsOnDisk(page));
        EXPECT_EQ(row.files, PathExistsOnDisk(folder + "\\pixel.png"));
    }
    SetFileDialogCall(previous);
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
    settle(50);
    ASSERT_GE(g_plugins.lines.size(), 3u);
    EXPECT_EQ("start 120x80 film.mov", g_plugins.lines[g_plugins.lines.size() - 3]);
    EXPECT_EQ("call gotoframe 2", g_plugins.lines[g_plugins.lines.size() - 2]);
    struct Row {
        const char* name;
        const char* url;
        const char* plugin;  // the plug-in's last line after the row
        const char* log;     // the layer's last script log line, "" for none
    } rows[] = {
        {"the embed starts with its size, its frame, then its stop call", nullptr, "call zoompan 50 -35 12 0", ""},
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

TEST_F(BrowserTest, APrintedPageComesBackFromThePdfPrinterWithItsText) {
    std::string url, why = loadServed("find.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    if (!APrinterSetup::current())
        GTEST_SKIP() << "no printer \"PDF\": tools/cups-pdf.sh makes it";
    RunOnHost("rm -f \"$HOME\"/PDF/Villes*.pdf");
    ClearBoxes();
    view->print();
    EXPECT_EQ(0u, CapturedBoxes().size()) << (CapturedBoxes().empty() ? "" : CapturedBoxes()[0].text);
    std::string pdf = RunOnHost(
        "for i in $(seq 150); do f=$(ls -t \"$HOME\"/PDF/Villes*.pdf 2>/dev/null | head -n 1); "
        "if [ -n \"$f\" ] && pdfinfo \"$f\" >/dev/null 2>&1; then printf %s \"$f\"; break; fi; sleep 0.2; done");
    ASSERT_FALSE(pdf.empty()) << "no PDF for the page";
    std::string text = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
    for (const char* expected : {"Paris est la capitale", "On revient \xC3\xA0 Paris & sa banlieue."}) {
        SCOPED_TRACE(expected);
        EXPECT_NE(std::string::npos, text.find(expected)) << text;
    }
}

TEST_F(BrowserTest, ARedirectedAddressShowsItsTargetUnderTheTargetsAddress) {
    if (!ServerPorts().origin)
        GTEST_SKIP() << "no test server";
    if (!openView())
        GTEST_SKIP() << "no display";
    std::string origin = "http://127.0.0.1:" + std::to_string(ServerPorts().origin);
    view->addHandler("AllEvent", recorder);
    view->loadUrl((origin + "/moved/302/2").c_str());
    ASSERT_TRUE(waitLoaded(recorder));
    EXPECT_EQ(origin + "/moved/302/0", std::string(view->getCurrentUrl().c_str()));
    EXPECT_NE(std::string::npos, NS_GetShownText(view->webBrowser()).find("arrived by GET"));
}

namespace {

// The printer set-up box, counted and given up at once.
int g_setUps = 0;
BOOL WINAPI SetUpBox(LPPRINTDLGA record) {
    if (record->Flags & PD_RETURNDEFAULT)
        return PrintDlgA(record);
    if (record->Flags & PD_PRINTSETUP)
        ++g_setUps;
    return FALSE;
}

}  // namespace

TEST_F(BrowserTest, PageSetUpAsksThePrinterSetUpAndPreviewShowsThePageInThePreviewWindow) {
    std::string url, why = loadServed("find.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    if (!APrinterSetup::current())
        GTEST_SKIP() << "no printer \"PDF\": tools/cups-pdf.sh makes it";
    g_setUps = 0;
    APrintCalls saved = PrintCalls();
    PrintCalls().printDlg = SetUpBox;
    view->perform(view->pageSetup());
    PrintCalls() = saved;
    EXPECT_EQ(1, g_setUps);

    view->perform(view->printPreview());
    auto* preview = dynamic_cast<APreviewDlg*>(APreviewDlg::current());
    ASSERT_NE(nullptr, preview) << "the preview window is open";
    settle(500);
    preview->countPages();  // what the reader's own preview window does as it opens
    EXPECT_GE(preview->pageCount(), 1);
    AString title;
    ASSERT_NE(nullptr, view->previewPage());
    static_cast<ADisplayComponent*>(view->previewPage())->documentTitle(title);
    EXPECT_STREQ("Villes", title.c_str());
    PRBool previewing = PR_FALSE;
    QueryAs<nsIWebBrowserPrint>(view->webBrowser())->GetDoingPrintPreview(&previewing);
    EXPECT_TRUE(previewing);
    // The X server maps the window a little later: its picture once drawn.
    HWND w = preview->getHWnd();
    EXPECT_TRUE(IsWindowVisible(w));
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT r;
    GetClientRect(w, &r);
    Canvas canvas(r.right, r.bottom);
    for (int i = 0; i < 50; ++i) {
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        settle(50);
        HDC dc = GetDC(w);
        BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(w, dc);
        if (canvas.pixel(r.right - 5, r.bottom - 5) != 0)
            break;
    }
    canvas.savePng("browser-preview");

    // Asked again, the preview is left.
    view->perform(view->printPreview());
    settle();
    EXPECT_EQ(nullptr, APreviewDlg::current());
    EXPECT_EQ(nullptr, view->previewPage());
    QueryAs<nsIWebBrowserPrint>(view->webBrowser())->GetDoingPrintPreview(&previewing);
    EXPECT_FALSE(previewing);
}

// Outside a test the application drives a view with its message loop alone,
// and before start-up has a trace log, trace lines are modal boxes: a load must
// end (loaded or failed) without processEvents and without any box, shown or not.
TEST_F(BrowserTest, ALoadDrivenOnlyByTheMessageLoopEndsWithoutBoxes) {
    std::string good = staticUrl("pages", "find.html");
    if (good.empty())
        GTEST_SKIP() << "no test server";
    struct Row {
        const char* name;
        bool shown;
        bool reachable;
    } rows[] = {
        {"shown", true, true},
        {"hidden", false, true},
        {"unreachable", true, false},
    };
    KY_File* sink = TraceSetSink(nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearBoxes();
        window = Open<TestWindow>(app, ARect(0, 0, 400, 300), "#background:255,255,255");
        if (!window->openWindow("browser")) {
            GTEST_SKIP() << "no display";
        }
        view = Shown(Open<AMozillaView>(window, int16_t(5), Frame(0, 0, 400, 300)));
        if (row.shown) {
            window->showUpdate();
            ShowWindow(window->hwnd(), SW_SHOW);
        }
        RecordingHandler* handler = new RecordingHandler;
        handler->addRef();
        view->addHandler("AllEvent", handler);
        ASSERT_EQ(1, view->loadUrl(row.reachable ? good.c_str() : "http://127.0.0.1:9/none.html"));
        DWORD start = GetTickCount();
        bool ended = false;
        while (!ended && GetTickCount() - start < 15000) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            ended = view->isLoading() == 0 && !handler->events.empty() &&
                    std::find(handler->events.begin(), handler->events.end(), "UpdateProgress(0,0)") !=
                        handler->events.end();
            Sleep(5);
        }
        EXPECT_TRUE(ended) << Joined(handler->events);
        EXPECT_EQ(0u, CapturedBoxes().size()) << (CapturedBoxes().empty() ? "" : CapturedBoxes()[0].text);
        if (row.reachable) {
            EXPECT_NE(handler->events.end(), std::find(handler->events.begin(), handler->events.end(), "Loaded"));
        }
        handler->release();
        AComponent* w = window;
        DeleteComponent(w);
        window = nullptr;
        view = nullptr;
    }
    TraceSetSink(sink);
}
