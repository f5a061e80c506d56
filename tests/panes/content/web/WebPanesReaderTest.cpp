// The web content views in the real reader on the sample: the HTML pane's
// guide pages, empty page and "ini" links, the online pane's band, observed
// addresses and offline refusal, the top bar's address and states.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/web/DockTopHtmlNetPane.h"
#include "panes/content/web/HtmlNetPane.h"
#include "panes/content/web/HtmlPane.h"
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

class WebPanesReaderTest : public SampleReaderTest {
protected:

    void SetUp() override {
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

    std::unique_ptr<KeyedContent> content;
};

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
        } rows[] = {{3, "guide2.html"}, {13, "guide12.html"}, {2, ""}};
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
