// The ephemeris panes and the caption panes in the left dock's test main
// window over a small installation with a calendar: the day's events in turn,
// the ephemeris screen's list and the history, damaged day records, and the
// captions of the right dock and of a stand-in media window.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "docengine/text/AReader.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/object/AStrDic.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/ATextStyle.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/search/ephemeris/AEphemerideInfo.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "panes/search/ephemeris/DockLeftEphemeridePane.h"
#include "panes/search/ephemeris/EphemeridePane.h"
#include "panes/search/ephemeris/LREphemeride.h"
#include "panes/search/ephemeris/LR_Legende.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

namespace {

// A 2 x 2 24-bit bitmap file (rows padded to 4 bytes).
std::string TinyBitmap() {
    auto word = [](uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    std::string pixels = std::string("\x10\x80\xF0\x10\x80\xF0\0\0", 8) + std::string("\xF0\x80\x10\xF0\x80\x10\0\0", 8);
    std::string info = word(40, 4) + word(2, 4) + word(2, 4) + word(1, 2) + word(24, 2) + word(0, 4) + word(16, 4) +
                       word(2835, 4) + word(2835, 4) + word(0, 4) + word(0, 4);
    return "BM" + word(static_cast<uint32_t>(54 + pixels.size()), 4) + word(0, 4) + word(54, 4) + info + pixels;
}

void WriteBytesTo(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

const long kJuly14 = 6 * 31 + 13, kMarch5 = 66, kFebruary29 = 59;

// The calendar of the small installation (articles 0 to 2, figures 3 and 4,
// figure 4 the media document): 14 July has three events, the first with two
// related documents and the picture, the second with none, the third on the
// media document; 5 March one event; 29 February none.
void WriteCalendar(const std::string& work) {
    std::string folder = work + "\\ephem";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\bmp").c_str(), nullptr);
    std::string days;
    for (long d = 0; d < 372; ++d) {
        if (d)
            days += '\f';
        if (d == kJuly14)
            days += "1789:0:0:0:1:2,1912:1:1:-1,1500:2:4:0:2";
        else if (d == kMarch5)
            days += "1900:3:2:0";
    }
    WriteBytesTo(folder + "\\days.txt", days);
    WriteBytesTo(folder + "\\texts.txt",
              "/BBonne f\xEAte aux Camille !\n/APrise de la Bastille\f/ANaissance\f/AM\xE9" "dia\f/AMars");
    WriteBytesTo(folder + "\\bmp.txt", "1");
    WriteBytesTo(folder + "\\bmp\\0.bmp", TinyBitmap());
}

TinyInstall& CalendarInstall() {
    static TinyInstall* install = new TinyInstall(WriteCalendar);
    return *install;
}

// Today as the test sets it; the documents' titles and kinds of the small
// installation; captions read through the data manager; the test window's
// renderers with the list sheet.
class TestEphemerisApp : public AEphemerisApp {
public:
    // A sheet with a font for every style the texts name.
    TestEphemerisApp() : style(new AStyleSheet) {
        style->addRef();
        for (long k = 0; k < 64; ++k)
            style->setFont(k, AFontSpec("Arial,11,0"));
    }
    ~TestEphemerisApp() override { style->release(); }
    AString todayText() override { return AString(today.c_str()); }
    AString getDocTitle(long docNo) override { return AString(("Article " + std::to_string(docNo)).c_str()); }
    int16_t getDocIconType(long docNo) override { return docNo < 3 ? 1 : 8; }
    bool isTextDoc(long docNo) override { return docNo >= 0 && docNo < 3; }
    ADocRefInfo getDocRefInfo(long docNo) override {
        return data && docNo >= 0 ? data->getDocRefInfo(docNo) : ADocRefInfo(docNo, -1, -1);
    }
    AAppTextRenderer* createTextRenderer(ARendererView* view, long sheet) override {
        (void)sheet;
        ARendererLayer* layer = view ? view->rendererLayer() : nullptr;
        if (!layer)
            return nullptr;
        auto* renderer = new AAppTextRenderer(layer);
        renderer->setStyleSheet(style);
        layer->setRenderer(renderer);
        return renderer;
    }
    AppState* mainState() override { return frame ? frame->currentState() : nullptr; }

    std::string today = "14-07-26";
    AppDataManager* data = nullptr;
    AStyleSheet* style;  // one reference held
    Frame1* frame = nullptr;
};

class EphemerisPanesTest : public LeftDockTest {
protected:
    std::string dataFolder() override { return CalendarInstall().dir(); }
    const char* frameLayout() override { return "EphemerisFrame"; }
    void SetUp() override {
        ASSERT_EQ("", CalendarInstall().error());
        AEphemerisApp::install(&ephemeris);
        LeftDockTest::SetUp();
        if (!frame)
            return;
        ephemeris.data = data;
        ephemeris.frame = frame;
        pane = dynamic_cast<EphemeridePane*>(frame->findById(1207, 0));
        screen = dynamic_cast<DockLeftEphemeridePane*>(frame->findById(2016, 0));
        panel = dynamic_cast<DockRightArtPane*>(frame->findById(1410, 0));
        ASSERT_TRUE(pane && screen && panel);
    }
    void TearDown() override {
        LeftDockTest::TearDown();
        AEphemerisApp::install(nullptr);
    }
    // The home screen shown again: the ephemeris refreshes.
    void home() {
        frame->goToState(new AppState(0, 1, nullptr, nullptr, nullptr, nullptr, -1), 1);
        Pump();
    }
    std::string title() { return pane->findItem(EphemeridePane::kTitle, false)->getText().c_str(); }
    std::string values() {
        AppState* s = frame->currentState();
        return std::to_string(s->getUserInfo(3000)) + " " + std::to_string(s->getUserInfo(3001)) + " " +
               std::to_string(s->getUserInfo(3002));
    }
    bool picture() {
        auto* view = dynamic_cast<AHotspotView*>(pane->findById(EphemeridePane::kPicture, 0));
        return view && view->bitmapLayer() && view->bitmapLayer()->hasBitmap();
    }
    long rows() {
        ALineGetter* getter = screen->getList()->getLineGetter();
        return getter ? getter->getLineCount() : -1;
    }

    TestEphemerisApp ephemeris;
    EphemeridePane* pane = nullptr;
    DockLeftEphemeridePane* screen = nullptr;
    DockRightArtPane* panel = nullptr;
};

}  // namespace

TEST_F(EphemerisPanesTest, RefreshesShowTheDaysEventsInTurn) {
    if (!frame)
        GTEST_SKIP() << "no display";
    // The first refresh (the start's home screen) shows event 0.
    struct Step {
        const char* action;
        const char* values;  // day, count, event
        const char* title;
        bool picture;
        int16_t previous, next;
    } const steps[] = {
        {"start", "199 3 0", "14 juillet 1789", true, 2, 1},
        {"refresh", "199 3 1", "14 juillet 1912", false, 1, 1},
        {"refresh", "199 3 2", "14 juillet 1500", true, 1, 2},
        {"refresh", "199 3 0", "14 juillet 1789", true, 2, 1},
        {"next", "199 3 1", "14 juillet 1912", false, 1, 1},
        {"next", "199 3 2", "14 juillet 1500", true, 1, 2},
        {"previous", "199 3 1", "14 juillet 1912", false, 1, 1},
        {"previous", "199 3 0", "14 juillet 1789", true, 2, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.action) + " " + s.values);
        if (std::string(s.action) == "refresh")
            home();
        else if (std::string(s.action) == "next")
            pane->doCommand(EphemeridePane::kNext, 0);
        else if (std::string(s.action) == "previous")
            pane->doCommand(EphemeridePane::kPrevious, 0);
        EXPECT_EQ(s.values, values());
        EXPECT_EQ(s.title, title());
        EXPECT_EQ(s.picture, picture());
        EXPECT_EQ(s.previous, pane->commandStatus(EphemeridePane::kPrevious, 0));
        EXPECT_EQ(s.next, pane->commandStatus(EphemeridePane::kNext, 0));
    }
    // Other days: one event on 5 March, none on 29 February, none for a clock outside the calendar.
    struct Day {
        const char* today;
        const char* values;
        const char* title;
    } const days[] = {{"05-03-26", "66 1 0", "5 mars 1900"},
                      {"29-02-24", "59 1 0", "29 f\xE9vrier"},
                      {"00-13-26", "-1 0 0", ""}};
    for (const Day& d : days) {
        SCOPED_TRACE(d.today);
        ephemeris.today = d.today;
        home();
        EXPECT_EQ(d.values, values());
        EXPECT_EQ(d.title, title());
    }
    std::string shot = picture() ? "" : "ok";
    EXPECT_EQ("ok", shot) << "an empty day shows no picture";
}

TEST_F(EphemerisPanesTest, TheEphemerisScreenListsTheEventsDocumentsAndKeepsThemThroughTheHistory) {
    if (!frame)
        GTEST_SKIP() << "no display";
    // Event 0 (article 0, related 1 and 2): the screen lists 1 and 2 and shows 1.
    pane->openEvent();
    Pump();
    AppState* shown = frame->currentState();
    EXPECT_EQ(6, shown->getScreenMode());
    EXPECT_EQ(1, shown->getDocNo());
    EXPECT_EQ(2, rows());
    EXPECT_EQ("2:2:1,2", std::string(screen->getPaneText().c_str()));
    ALeftState* left = shown->getLeftState();
    ASSERT_TRUE(left);
    EXPECT_EQ("2:2:1,2", std::string(left->getUserTxtInfo(LREphemeride::kTextKey).c_str()));
    // A click on the second row shows document 2; on the shown one, nothing.
    clickRow(screen->getList(), 1);
    EXPECT_EQ(2, frame->currentState()->getDocNo());
    AppState* second = frame->currentState();
    clickRow(screen->getList(), 1);
    EXPECT_EQ(second, frame->currentState());
    // Back and forth through the history: the list, its text and its selection come back, nothing opens.
    ALeftState* secondLeft = second->getLeftState();
    const long first = secondLeft->fUserInfo.slot(1180), last = secondLeft->fUserInfo.slot(1181);
    frame->goBack(1);
    Pump();
    frame->goForward();
    Pump();
    EXPECT_EQ(second, frame->currentState());
    EXPECT_EQ(2, frame->currentState()->getDocNo());
    EXPECT_EQ(2, rows());
    EXPECT_EQ(first, secondLeft->fUserInfo.slot(1180));
    EXPECT_EQ(last, secondLeft->fUserInfo.slot(1181));
    EXPECT_EQ("2:2:1,2", std::string(secondLeft->getUserTxtInfo(1183).c_str()));
    EXPECT_EQ("2:2:1,2", std::string(secondLeft->getUserTxtInfo(3003).c_str()));
    // A padlocked document part keeps the document: the list opens nothing.
    AppState* locked = frame->currentState();
    locked->setDocCadenas(1);
    locked->getLeftState()->fNew = 1;
    screen->getList()->updatePane();
    Pump();
    EXPECT_EQ(locked, frame->currentState());
    EXPECT_EQ(2, locked->getDocNo());
}

TEST_F(EphemerisPanesTest, RelatedDocumentsOpenTheFirstOrTheEventsOwnArticle) {
    if (!frame)
        GTEST_SKIP() << "no display";
    struct Row {
        int16_t event;
        long doc;        // shown on the ephemeris screen
        const char* list;
        const char* log;  // media windows
    } const rows[] = {
        {0, 1, "2:2:1,2", ""},
        // No related documents: the event's article alone, never an unrelated document 0.
        {1, 1, "1:1:1", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.event);
        home();
        pane->eventIndex = r.event;
        frame->currentState()->setUserInfo(EphemeridePane::kEventKey, r.event);
        pane->doCommand(EphemeridePane::kRelated, 0);
        Pump();
        EXPECT_EQ(6, frame->currentState()->getScreenMode());
        EXPECT_EQ(r.doc, frame->currentState()->getDocNo());
        EXPECT_EQ(r.list, std::string(frame->currentState()->getLeftState()->getUserTxtInfo(3003).c_str()));
    }
    // The media document of event 2 opens in the media window and the screen stays.
    home();
    pane->eventIndex = 2;
    AppState* before = frame->currentState();
    pane->openEvent();
    EXPECT_EQ(before, frame->currentState());
    EXPECT_EQ("media 4 0 0;", panesApp.log);
}

TEST_F(EphemerisPanesTest, DamagedDayRecordsShowOrShowNothing) {
    if (!frame)
        GTEST_SKIP() << "no display";
    // A day past the base's last record reads as a day without events.
    AEphemerideInfo beyond(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, 372, 0);
    EXPECT_EQ(0, beyond.count());
    EXPECT_EQ(-1, beyond.docNo());
    const std::string seed = "1789:0:0:0:1:2,1912:1:1:-1,1500:2:4:0:2";
    const char pieces[] = ":,-0123456789x";
    std::mt19937 random(72);
    for (int n = 0; n < 2000; ++n) {
        std::string day = seed;
        int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            size_t at = day.empty() ? 0 : random() % day.size();
            switch (random() % 4) {
            case 0:
                if (!day.empty())
                    day.erase(at, 1 + random() % 3);
                break;
            case 1:
                day.insert(at, 1, pieces[random() % (sizeof pieces - 1)]);
                break;
            case 2:
                day.insert(at, "99999999999");
                break;
            default:
                day.insert(at, ",,");
                break;
            }
        }
        SCOPED_TRACE(day);
        int16_t event = static_cast<int16_t>(random() % 4);
        AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, -1, 0);
        info.loadText(day.c_str(), kJuly14, event);
        pane->eventIndex = event;
        try {
            pane->showEvent(kJuly14, 14, 6, info);
            AEphemerideInfo(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, -1, 0).firstRelatedDoc(event);
        } catch (const AError& error) {
            ADD_FAILURE() << error.className();
        }
        if (HasFailure())
            break;
    }
}

TEST_F(EphemerisPanesTest, TheCaptionHighlightsTheSearchsWords) {
    if (!frame)
        GTEST_SKIP() << "no display";
    auto* caption = dynamic_cast<LR_Legende*>(panel->list(DockRightArtPane::kCaptions));
    ASSERT_TRUE(caption);
    ARendererView* view = caption->getListView();
    struct Row {
        const char* words;  // of the search, "" for none
        long doc;
        bool hits;
    } const rows[] = {{"l\xE9gende", 3, true}, {"", 3, false}, {"volcan", 4, false}, {"L\xC9GENDE", 4, true},
                      // An article: its base has no caption field.
                      {"l\xE9gende", 1, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.words) + " @" + std::to_string(r.doc));
        ARefHold<ALoVect> results(new ALoVect("1:4:3"));
        if (*r.words)
            results->getStrings().insert(AString(r.words));
        auto* search = new ASVLoSearchState;
        search->addRef();
        search->setTextResults(static_cast<ALoScore*>(static_cast<ALo*>(results.get())));
        auto* doc = new ADocState(1203);
        auto* state = new AppState(1, 2, doc, new ALeftState, new ARightState(1205, -1), search, r.doc);
        search->release();
        frame->goToState(state, 0);
        frame->currentState()->getDocState()->fNew = 1;
        caption->showCaption(r.doc);
        EXPECT_EQ(r.hits, caption->hasHits());
        ASSERT_TRUE(view->renderer());
        ASSERT_TRUE(view->ownDisplayEnv());
        EXPECT_EQ(RGB(255, 255, 204), view->ownDisplayEnv()->backColor()) << "a caption is on light yellow";
    }
    // No right document: the pane stays as it was.
    ARenderer* before = view->renderer();
    caption->showCaption(-1);
    EXPECT_EQ(before, view->renderer());
}

namespace {

// The media window's pane: it holds its own navigation state.
class TestMediaPane : public SVPane, public AMediaStatePane {
    SV_DECLARE_CLASS(TestMediaPane)
public:
    void readFrom(AMemoryStream& stream) override {
        SVPane::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 5);
    }
    AppState* mediaState() override { return state; }
    AppState* state = nullptr;  // not owned
};
SV_IMPLEMENT_CLASS(TestMediaPane, 0, SVPane)

}  // namespace

TEST_F(EphemerisPanesTest, TheMediaWindowsCaptionTakesItsStateFromTheMediaWindow) {
    if (!frame)
        GTEST_SKIP() << "no display";
    AComponent* window = AComponent::loadLayout(app, "MediaCaptionFrame", 0);
    ASSERT_TRUE(window);
    auto* media = dynamic_cast<TestMediaPane*>(window->findById(5, 0));
    auto* caption = dynamic_cast<LR_LegendeMedia*>(window->findById(1425, 0));
    ASSERT_TRUE(media && caption);
    // The main window searches the word; the media window's document part is new.
    ARefHold<ALoVect> results(new ALoVect("1:4:3"));
    results->getStrings().insert(AString("l\xE9gende"));
    auto* search = new ASVLoSearchState;
    search->addRef();
    search->setTextResults(static_cast<ALoScore*>(static_cast<ALo*>(results.get())));
    frame->goToState(new AppState(1, 2, new ADocState(1203), new ALeftState, nullptr, search, 3), 0);
    search->release();
    AppState own(1, 2, new ADocState(1203), nullptr, new ARightState(1205, -1), nullptr, 4);
    own.getDocState()->fNew = 1;
    media->state = &own;
    EXPECT_EQ(&own, caption->currentState());
    caption->showCaption(4);
    EXPECT_TRUE(caption->hasHits());
    media->state = nullptr;
    AComponent* c = window;
    DeleteComponent(c);
}
