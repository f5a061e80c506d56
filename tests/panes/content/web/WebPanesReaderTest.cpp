// The web content views in the real reader on the sample: the HTML pane's
// guide pages, empty page and "ini" links, the online pane's band, observed
// addresses and offline refusal, the top bar's address and states, and,
// against the test server, titles, find in the page, followed links, stop
// and reload.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/clusters/AClusterItem.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/web/DockTopHtmlNetPane.h"
#include "panes/content/web/HtmlNetPane.h"
#include "panes/content/web/HtmlPane.h"
#include "platform/webrt/nsBrowser.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "tests/panes/content/article/ArticleTestSupport.h"
#include "tests/support/TestHooks.h"
#include "web/browser/AMozillaView.h"

namespace {

// The real services, with document keys and media documents of the test's own.
class KeyedContent : public ForwardingContent {
public:
    using ForwardingContent::ForwardingContent;
    long findDocByKey(const char* key) override {
        auto it = keys.find(key ? key : "");
        return it == keys.end() ? -1 : it->second;
    }
    bool docIsMedia(long docNo) override { return docNo == 900; }
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        media += std::to_string(docNo) + " " + std::to_string(frame) + " " + std::to_string(forceNew) + ";";
    }
    std::map<std::string, long> keys;
    std::string media;
};

// Counts the loads a view ends.
class LoadCounter : public AMozillaHandler {
public:
    int16_t onEvent(AMozillaView*, AMozillaEvent* event) override {
        if (event && event->name == "Loaded")
            ++loads;
        return 0;
    }
    long loads = 0;
};

class WebPanesReaderTest : public SampleReaderTest {
protected:

    void SetUp() override {
        // The reader saves the pages it was shown in the sample's web-document
        // list: the list is put back as it was after each test.
        std::ifstream in(kDocNet, std::ios::binary);
        hadDocNet = in.good();
        std::stringstream all;
        all << in.rdbuf();
        savedDocNet = all.str();
        in.close();
        SampleReaderTest::SetUp();
        if (!frame)
            return;
        content.reset(new KeyedContent(AContentApp::current()));
        AContentApp::install(content.get());
    }
    void TearDown() override {
        if (content)
            AContentApp::install(app ? &app->contentServices() : nullptr);
        SampleReaderTest::TearDown();
        if (counter)
            counter->release();
        if (hadDocNet)
            std::ofstream(kDocNet, std::ios::binary | std::ios::trunc) << savedDocNet;
        else
            DeleteFileA(kDocNet);
    }
    template <class T>
    T* paneOf() {
        AComponent* found = frame->findDescendant(&T::classRecord, nullptr);
        return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
    }
    HtmlNetPane* netPane() {
        return paneOf<HtmlNetPane>();
    }
    HtmlPane* htmlPane() {
        DockLCRPane* switcher = DockLCRPane::of(frame);
        SVPane* pane = switcher ? switcher->link(DockLCRPane::kHtml) : nullptr;
        return pane ? static_cast<HtmlPane*>(pane->castTo(&HtmlPane::classRecord)) : nullptr;
    }
    // A help guide state: document -1, a left part of mode `mode`.
    void showGuide(int16_t mode) {
        AppState* state = frame->makeNavState(0, 0, 0, 0, mode, 1, 4);
        state->setDocNo(-1);
        frame->goToState(state, 1);
        pump();
    }
    // Pumps until the view has ended its load, at most about 5 s.
    bool waitLoaded(AMozillaView* view) {
        for (int i = 0; i < 500; ++i) {
            view->processEvents();
            pump();
            if (!view->isLoading() && !view->getCurrentUrl().empty())
                return true;
            Sleep(10);
        }
        return false;
    }

    // Why a test against the server cannot run; empty when it can.
    std::string notServed() const {
        if (!frame)
            return skipReason;
        return ServerPorts().origin ? std::string() : "no test server (the sv_net fixture)";
    }
    // The test server's address of a file of one of its static roots; empty without the server.
    static std::string served(const std::string& rest) {
        if (!ServerPorts().origin)
            return std::string();
        return "http://127.0.0.1:" + std::to_string(ServerPorts().origin) + "/" + rest;
    }
    // Online, the pointer over the web page pane's view (where a reader's is
    // when following a link), a load counter on the view.
    HtmlNetPane* servedPane(DockTopHtmlNetPane*& bar) {
        app->netInfo()->setConnectionState(4);
        frame->openHelp();
        pump();
        HtmlNetPane* pane = netPane();
        bar = paneOf<DockTopHtmlNetPane>();
        if (!pane || !bar)
            return nullptr;
        ARect bounds = pane->view()->getScreenBounds();
        SetCursorPos((bounds.left() + bounds.right()) / 2, (bounds.top() + bounds.bottom()) / 2);
        counter = new LoadCounter;
        counter->addRef();
        pane->view()->addHandler("AllEvent", counter);
        return pane;
    }
    // Pumps until the view ended one more load than `loads`, at most about 5 s.
    bool waitLoads(AMozillaView* view, long loads) {
        for (int i = 0; i < 500 && counter->loads <= loads; ++i) {
            view->processEvents();
            pump();
            Sleep(10);
        }
        pump();
        return counter->loads > loads;
    }

    static constexpr const char* kDocNet = "Z:" SV_BINARY_DIR "/sample/docnet.par";
    std::unique_ptr<KeyedContent> content;
    bool hadDocNet = false;
    std::string savedDocNet;
    LoadCounter* counter = nullptr;  // one reference, kept to the end (the view holds another)
};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The Windows-1252 form of a UTF-8 text, as the view gives its texts.
std::string AnsiOf(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], n);
    int m = WideCharToMultiByte(1252, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(m > 0 ? m : 1, '\0');
    WideCharToMultiByte(1252, 0, wide.c_str(), -1, &out[0], m, nullptr, nullptr);
    out.resize(out.size() > 0 ? out.size() - 1 : 0);
    return out;
}

// A page's <title> and the text of its body: tags dropped, the content of
// scripts and style sheets skipped.
void ReadPage(const std::string& path, std::string& title, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::string html = all.str();
    std::string lower = Lower(html);
    size_t t = lower.find("<title>"), te = lower.find("</title>");
    title = t != std::string::npos && te != std::string::npos ? AnsiOf(html.substr(t + 7, te - t - 7)) : "";
    size_t at = lower.find("<body");
    text.clear();
    while (at != std::string::npos && at < html.size()) {
        size_t tag = lower.find('<', at);
        text += html.substr(at, (tag == std::string::npos ? html.size() : tag) - at);
        if (tag == std::string::npos)
            break;
        const char* skipped[] = {"script", "style"};
        size_t end = lower.find('>', tag);
        for (const char* name : skipped)
            if (lower.compare(tag + 1, std::strlen(name), name) == 0)
                end = lower.find(std::string("</") + name, tag);
        at = end == std::string::npos ? end : lower.find('>', end) + 1;
    }
    text = AnsiOf(text);
}

// A title as a page shows it: white space (the no-break space too) runs as one space, none at the ends.
std::string Shown(const std::string& title) {
    std::string out;
    for (char c : title) {
        bool space = std::isspace(static_cast<unsigned char>(c)) || c == '\xA0';
        if (!space)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// Occurrences of a word in a text, without regard to case, not overlapping.
size_t Count(const std::string& text, const std::string& word) {
    std::string hay = Lower(text), needle = Lower(word);
    size_t n = 0;
    for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + needle.size()))
        ++n;
    return n;
}

// Lines of the test server's request log that hold `path`.
size_t Requests(const std::string& path) {
    std::ifstream in(NetServerDir() + "/requests.log");
    std::string line;
    size_t n = 0;
    while (std::getline(in, line))
        n += line.find(path) != std::string::npos ? 1 : 0;
    return n;
}

}  // namespace

// The guide page of a help state loads in the HTML pane; hiding the pane
// loads the empty page once; a state neither new nor from the history
// reloads nothing but keeps the pane as the find target.
TEST_F(WebPanesReaderTest, GuidePagesAndTheEmptyPage) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        HtmlPane* pane = htmlPane();
        ASSERT_TRUE(pane);
        showGuide(1);
        std::string url = pane->currentUrl().c_str();
        EXPECT_EQ(0u, url.find("File:///")) << url;
        EXPECT_NE(std::string::npos, url.find("guide/guides HTML/guide1.html")) << url;
        EXPECT_EQ(pane, frame->htmlPane());
        EXPECT_EQ(pane, frame->findPane());
        waitLoaded(pane->view());
        EXPECT_STREQ("Bienvenue dans Savantorium", pane->view()->title().c_str());
        saveShot("web-guide-page");

        struct Row {
            int16_t mode;
            const char* page;  // expected in the address; "" for none loaded
        } rows[] = {{3, "guide4.html"}, {4, "guide5.html"}, {2, "guide3.html"}, {12, "guide12.html"}, {13, ""}};
        for (const Row& row : rows) {
            SCOPED_TRACE(row.mode);
            std::string before = pane->currentUrl().c_str();
            showGuide(row.mode);
            std::string now = pane->currentUrl().c_str();
            if (*row.page) {
                EXPECT_NE(std::string::npos, now.find(row.page)) << now;
            } else {
                EXPECT_EQ(before, now) << "a missing guide file keeps the page";
            }
        }

        // The same state refreshed: not new, not from the history.
        std::string shown = pane->currentUrl().c_str();
        frame->setFindPane(nullptr);
        pane->updatePane();
        EXPECT_EQ(shown, pane->currentUrl().c_str());
        EXPECT_EQ(pane, frame->findPane());

        long empties = pane->emptyLoads();
        pane->setPaneVisible(0);
        EXPECT_EQ(empties + 1, pane->emptyLoads());
        EXPECT_STREQ("", pane->currentUrl().c_str());
        pane->setPaneVisible(0);
        EXPECT_EQ(empties + 1, pane->emptyLoads()) << "hiding again loads nothing";
    });
}

// "ini" links of a page: a media key opens the media window at its item,
// another document a new state, an unknown key nothing.
TEST_F(WebPanesReaderTest, IniLinksOpenTheirDocuments) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        HtmlPane* pane = htmlPane();
        ASSERT_TRUE(pane);
        showGuide(1);
        content->keys = {{"MEDIA", 900}, {"ARTICLE", 2}};
        struct Row {
            const char* text;
            const char* media;
            long docNo;  // the state's document afterwards
        } rows[] = {
            {"sv10.x?ini=MEDIA:3", "900 3 0;", -1},
            {"sv10.x?ini=MEDIA", "900 0 0;", -1},
            {"sv10.x?ini=NOPE:3", "", -1},
            {"sv10.x?web=ARTICLE", "", -1},
            {"sv10.x?ini=ARTICLE", "", 2},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.text);
            showGuide(1);
            // A link is followed from a shown page: a loaded machine may not have it yet.
            for (int i = 0; i < 500 && !pane->view()->hasFlags(ADisplayComponent::kVisible); ++i) {
                pump();
                Sleep(10);
            }
            ASSERT_TRUE(pane->view()->hasFlags(ADisplayComponent::kVisible)) << "the guide page is shown";
            waitLoaded(pane->view());
            content->media.clear();
            AMozillaObserveEvent event;
            event.data = row.text;
            pane->view()->dispatchEvent(&event);
            pump();
            EXPECT_EQ(row.media, content->media);
            EXPECT_EQ(row.docNo, frame->currentState()->getDocNo());
        }
    });
}

// The band's colour by filter level and full page; the observed addresses.
TEST_F(WebPanesReaderTest, BandColoursAndObservedAddresses) {
    struct Colour {
        bool full;
        int16_t level;
        bool changed;
        uint32_t value;
    } colours[] = {{false, 0, true, 0x0233CC00}, {false, 1, true, 0x0259FFFF}, {false, 2, true, 0x0220A6FF},
                   {false, 3, true, 0x020000FF}, {false, 4, false, 0},          {false, -1, false, 0},
                   {true, 2, true, 0x02B2987F},  {true, 7, true, 0x02B2987F}};
    for (const Colour& row : colours) {
        SCOPED_TRACE(std::to_string(row.full) + " " + std::to_string(row.level));
        uint32_t value = 0;
        EXPECT_EQ(row.changed, HtmlNetPane::bandColour(row.full, row.level, value));
        EXPECT_EQ(row.value, row.changed ? value : 0u);
    }
    struct Address {
        const char* text;
        const char* loaded;
    } addresses[] = {
        {"go=http://h/p?a=1&b=2", "http://h/p?a=1&b=2"},
        {"go=https://h/p", "https://h/p"},
        {"go=HTTP://h/", "HTTP://h/"},
        {"go=file:///c:/boot.ini", ""},
        {"go=javascript:alert(1)", ""},
        {"go=c:\\windows\\win.ini", ""},
        {"no sign", ""},
        {"", ""},
    };
    for (const Address& row : addresses) {
        SCOPED_TRACE(row.text);
        EXPECT_STREQ(row.loaded, HtmlNetPane::observedAddress(row.text).c_str());
    }
    const char* names[][2] = {{"f_exper", "1"}, {"a/b.htm", "1"}, {"..\\x", "0"}, {"a/../../x", "0"},
                              {"c:\\x.htm", "0"}, {"\\\\server\\x", "0"}, {"/etc/x", "0"}, {"", "0"}};
    for (auto& row : names) {
        SCOPED_TRACE(row[0]);
        EXPECT_EQ(row[1][0] == '1', HtmlPane::isSafeName(row[0]));
    }
}

// A help page shown full page: the online pane loads it offline, its band
// is grey blue and the top bar shows the address; offline, an observed
// address is refused with the message; the top bar's address markup.
TEST_F(WebPanesReaderTest, FullPagesTheBandAndTheTopBar) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        app->netInfo()->setConnectionState(1);
        frame->openHelp();
        pump();
        HtmlNetPane* pane = netPane();
        DockTopHtmlNetPane* bar = paneOf<DockTopHtmlNetPane>();
        ASSERT_TRUE(pane && bar);
        EXPECT_EQ(8, frame->currentDocState()->fDocType);
        EXPECT_NE(std::string::npos, std::string(pane->currentUrl().c_str()).find("/aide/aide.html"));
        EXPECT_TRUE(waitLoaded(pane->view()));
        EXPECT_EQ(0x02B2987Fu, pane->bandColourShown());
        EXPECT_EQ(bar->view(), pane->view());
        EXPECT_EQ(pane, frame->htmlPane());
        EXPECT_STREQ(pane->view()->title().c_str(), bar->title().c_str());
        EXPECT_NE(std::string::npos, std::string(bar->address().c_str()).find("aide.html"));
        saveShot("web-help-full-page");

        ClearBoxes();
        pane->loadObservedUrl("go=http://127.0.0.1:1/x");
        ASSERT_EQ(1u, CapturedBoxes().size());
        EXPECT_EQ("Connection Internet", CapturedBoxes()[0].caption);
        EXPECT_EQ(0x40u, CapturedBoxes()[0].flags);

        struct Row {
            const char* address;
            int16_t own;
            const char* markup;
        } rows[] = {
            {"http://www.savantorium.fr/a/b", 1, "///0http:\\/\\/www.savantorium.fr\\/a\\/b"},
            {"HTTP://WWW.Savantorium.FR/x", 1, "///0HTTP:\\/\\/WWW.Savantorium.FR\\/x"},
            {"http://www.savantorium.f", 0, "///1http:\\/\\/www.savantorium.f"},
            {"http://autre.site/", 0, "///1http:\\/\\/autre.site\\/"},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.address);
            bar->showUrl(row.address, 1);
            EXPECT_EQ(row.own, bar->ownSite());
            EXPECT_STREQ(row.markup, bar->addressText().c_str());
        }
    });
}

// Pixels of a component that differ from its background (its last pixel),
// as its window shows it now: nothing is redrawn first.
int InkPixels(ADisplayComponent* item) {
    HWND hwnd = item->enclosingWindow();
    ARect r = item->getLocalBounds();
    APoint at = item->windowPosition();
    HDC dc = GetDC(hwnd);
    COLORREF back = GetPixel(dc, at.x + r.width() - 1, at.y + r.height() - 1);
    int n = 0;
    for (long y = at.y; y < at.y + r.height(); ++y)
        for (long x = at.x; x < at.x + r.width(); ++x) {
            COLORREF c = GetPixel(dc, static_cast<int>(x), static_cast<int>(y));
            n += std::abs(GetRValue(c) - GetRValue(back)) + std::abs(GetGValue(c) - GetGValue(back)) +
                             std::abs(GetBValue(c) - GetBValue(back)) > 120
                     ? 1
                     : 0;
        }
    ReleaseDC(hwnd, dc);
    return n;
}

// The first web page the reader shows: once its load ends, as the reader's
// own message loop runs it, the top bar draws its title and address and its
// stop button is off.
TEST_F(WebPanesReaderTest, TheTopBarDrawsTheFirstPage) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        frame->openHelp();
        HtmlNetPane* pane = netPane();
        DockTopHtmlNetPane* bar = paneOf<DockTopHtmlNetPane>();
        ASSERT_TRUE(pane && bar);
        for (int i = 0; i < 300 && (pane->view()->isLoading() || pane->view()->getCurrentUrl().empty()); ++i) {
            pump();
            Sleep(10);
        }
        for (int i = 0; i < 20; ++i) {
            pump();
            Sleep(10);
        }
        ASSERT_FALSE(pane->view()->getCurrentUrl().empty());
        for (int16_t id : {DockTopHtmlNetPane::kTitle, DockTopHtmlNetPane::kAddress}) {
            SCOPED_TRACE(id);
            auto* item = static_cast<ADisplayComponent*>(bar->findItem(id, false));
            ASSERT_TRUE(item);
            EXPECT_LT(20, InkPixels(item));
        }
        AClusterItem* stop = bar->findItem(DockTopHtmlNetPane::kStop, false);
        ASSERT_TRUE(stop);
        EXPECT_EQ(2, stop->state() & 0xFF) << "disabled";
    });
}

// Titles announced after a link was followed make one new web state each;
// a page the program loaded makes none unless it is the complement home.
TEST_F(WebPanesReaderTest, FollowedLinksBecomeStates) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        frame->openHelp();
        pump();
        DockTopHtmlNetPane* bar = paneOf<DockTopHtmlNetPane>();
        ASSERT_TRUE(bar);
        std::string home = std::string(app->configString("SVSITE").c_str()) + app->configString("REDIRECT").c_str() +
                           "?id=hom_compl_full";
        struct Row {
            const char* address;
            int16_t programLoad;
            int newStates;
            long info1309;
        } rows[] = {
            {"http://autre.site/page1", 0, 1, 0},
            {"http://autre.site/page2", 1, 0, 0},
            {home.c_str(), 1, 1, 1},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.address);
            AppState* before = frame->currentState();
            bar->showUrl(row.address, row.programLoad);
            bar->showTitle("Titre");
            pump();
            AppState* now = frame->currentState();
            EXPECT_EQ(row.newStates != 0, now != before);
            if (row.newStates) {
                EXPECT_EQ(8, now->getDocState()->fDocType);
                EXPECT_EQ(row.info1309, now->getUserInfo(1309));
                EXPECT_EQ(std::string(row.address) + ";Titre",
                          app->getDocNetManager()->getEntry(now->getDocNo()).c_str());
            }
        }
    });
}

// Against the test server: for 20 served pages the top bar shows each page's
// title, and finding a word steps forwards through exactly its matches.
TEST_F(WebPanesReaderTest, ServedPagesTitlesAndFind) {
    if (!notServed().empty())
        GTEST_SKIP() << notServed();
    std::string folder = "Z:" SV_BINARY_DIR "/sample-src/usr/share/gimp/2.0/help/fr/";
    std::vector<std::string> pages;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.html").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            pages.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (pages.size() < 20)
        GTEST_SKIP() << "no gimp pages in the sample's sources";
    std::sort(pages.begin(), pages.end());
    pages.resize(20);
    guarded([&] {
        DockTopHtmlNetPane* bar = nullptr;
        HtmlNetPane* pane = servedPane(bar);
        ASSERT_TRUE(pane);
        bool shot = false;
        size_t matches = 0;
        for (const std::string& page : pages) {
            SCOPED_TRACE(page);
            std::string title, text;
            ReadPage(folder + page, title, text);
            long loads = counter->loads;
            app->showWebPage(served("static/gimp/" + page).c_str(), 0, 0);
            ASSERT_TRUE(waitLoads(pane->view(), loads));
            EXPECT_EQ(Shown(title), Shown(bar->title().c_str()));
            EXPECT_EQ(bar->title(), pane->view()->title());
            if (!shot) {
                shot = true;
                saveShot("web-online-page-test");
            }
            const std::string word = "GIMP";
            pane->setFindText(word.c_str());
            size_t steps = 0;
            for (int i = 0; i < 500; ++i) {
                pane->showNextHit();
                if (!pane->lastFound())
                    break;
                ++steps;
            }
            EXPECT_EQ(Count(text, word), steps);
            matches += steps;
        }
        EXPECT_LT(20u, matches) << "the word is common in these pages";
    });
}

// A link followed in a served page, the pointer over the page, loads in the
// pane and becomes a web state of its own (the view's own loads are never
// taken away from it and handed back).
TEST_F(WebPanesReaderTest, LinksFollowedInServedPages) {
    if (!notServed().empty())
        GTEST_SKIP() << notServed();
    guarded([&] {
        DockTopHtmlNetPane* bar = nullptr;
        HtmlNetPane* pane = servedPane(bar);
        ASSERT_TRUE(pane);
        std::string first = served("static/pages/script.html");
        long loads = counter->loads;
        app->showWebPage(first.c_str(), 0, 0);
        ASSERT_TRUE(waitLoads(pane->view(), loads));
        EXPECT_STREQ("Liens de script", bar->title().c_str());
        ASSERT_TRUE(pane->view()->isPointerOverView());

        // The fourth paragraph: a link to resources.html in the same window.
        AppState* before = frame->currentState();
        void* widget = nullptr;
        nsPtr<nsIBaseWindow> base = QueryAs<nsIBaseWindow>(pane->view()->webBrowser());
        ASSERT_TRUE(base);
        base->GetMainWidget(&widget);
        loads = counter->loads;
        SendMessageA(static_cast<HWND>(widget), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 8 + 4 + 3 * 24));
        SendMessageA(static_cast<HWND>(widget), WM_LBUTTONUP, 0, MAKELPARAM(12, 8 + 4 + 3 * 24));
        ASSERT_TRUE(waitLoads(pane->view(), loads));
        std::string second = served("static/pages/resources.html");
        EXPECT_EQ(second, pane->view()->getCurrentUrl().c_str());
        AppState* now = frame->currentState();
        ASSERT_NE(before, now) << "the followed page is a state of its own";
        EXPECT_EQ(8, now->getDocState()->fDocType);
        EXPECT_EQ(second + ";" + pane->view()->title().c_str(),
                  app->getDocNetManager()->getEntry(now->getDocNo()).c_str());

        // An address a page sends is loaded too, the pointer still over the view.
        loads = counter->loads;
        pane->loadObservedUrl(("load=" + first).c_str());
        ASSERT_TRUE(waitLoads(pane->view(), loads));
        EXPECT_EQ(first, pane->view()->getCurrentUrl().c_str());
    });
}

// A slow page: stop ends its load before the server is asked; reload asks
// the server again and shows the page (the server counts the requests).
TEST_F(WebPanesReaderTest, StopAndReloadASlowPage) {
    if (!notServed().empty())
        GTEST_SKIP() << notServed();
    guarded([&] {
        DockTopHtmlNetPane* bar = nullptr;
        HtmlNetPane* pane = servedPane(bar);
        ASSERT_TRUE(pane);
        std::string path = "/slow/300/pages/find.html?" + std::to_string(GetTickCount());
        long loads = counter->loads;
        app->showWebPage(served(path.substr(1)).c_str(), 0, 0);
        ASSERT_TRUE(waitLoads(pane->view(), loads));
        EXPECT_EQ(1u, Requests(path));
        EXPECT_STREQ("Villes", bar->title().c_str());
        EXPECT_EQ(2, bar->commandStatus(DockTopHtmlNetPane::kStop, 0));

        bar->doCommand(DockTopHtmlNetPane::kReload, 0);
        for (int i = 0; i < 100 && !pane->view()->isLoading(); ++i)
            pane->view()->processEvents();
        ASSERT_EQ(1, pane->view()->isLoading());
        EXPECT_EQ(1, bar->commandStatus(DockTopHtmlNetPane::kStop, 0));
        AClusterItem* progress = bar->findItem(DockTopHtmlNetPane::kProgress, false);
        ASSERT_TRUE(progress);
        EXPECT_TRUE(progress->hasFlags(ADisplayComponent::kShown)) << "the progress bar shows while loading";
        bar->doCommand(DockTopHtmlNetPane::kStop, 0);
        EXPECT_EQ(0, pane->view()->isLoading());
        EXPECT_EQ(2, bar->commandStatus(DockTopHtmlNetPane::kStop, 0));
        EXPECT_FALSE(progress->hasFlags(ADisplayComponent::kShown));
        for (int i = 0; i < 50; ++i) {
            pane->view()->processEvents();
            pump();
            Sleep(10);
        }
        EXPECT_EQ(1u, Requests(path)) << "the stopped load asked nothing";
        EXPECT_EQ(0, pane->view()->isLoading());

        loads = counter->loads;
        bar->doCommand(DockTopHtmlNetPane::kReload, 0);
        ASSERT_TRUE(waitLoads(pane->view(), loads));
        EXPECT_EQ(2u, Requests(path));
        EXPECT_STREQ("Villes", bar->title().c_str());
    });
}
