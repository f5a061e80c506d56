// The main window's tool commands over the probe frame: the dictionary and
// author windows it keeps, the media stop, the active Flash pane.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/frame/AToolWindows.h"
#include "framework/app/AApp.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace {

Frame1* gToolFrame = nullptr;

}  // namespace

// Logs what the frame asks; forgets itself at its close as the real one does.
class ProbeDicoWin : public AWindow, public ADictionaryWindow {
    SV_DECLARE_CLASS(ProbeDicoWin)
public:
    void openDictionary() override { log += "open;"; }
    void lookUp(const char* word) override { log += std::string("look:") + word + ";"; }
    ACommand* closeWindow() override {
        if (gToolFrame)
            gToolFrame->forgetDictionaryWindow(this);
        return doClose();
    }
    static std::string log;
};
std::string ProbeDicoWin::log;
SV_IMPLEMENT_CLASS(ProbeDicoWin, 0, AWindow)

class ProbeAuthorWin : public AWindow, public AAuthorWindow {
    SV_DECLARE_CLASS(ProbeAuthorWin)
public:
    ProbeAuthorWin() { ++live; }
    ~ProbeAuthorWin() override { --live; }
    void showAuthor(long author, long docNo) override {
        log += "author:" + std::to_string(author) + "," + std::to_string(docNo) + ";";
    }
    ACommand* closeWindow() override {
        log += "close;";
        if (gToolFrame)
            gToolFrame->forgetAuthorWindow(this);
        return doClose();
    }
    static std::string log;
    static int live;
};
std::string ProbeAuthorWin::log;
int ProbeAuthorWin::live = 0;
SV_IMPLEMENT_CLASS(ProbeAuthorWin, 0, AWindow)

namespace {

class Frame1ToolsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ProbeDicoWin::log.clear();
        ProbeAuthorWin::log.clear();
    }
    void TearDown() override {
        gToolFrame = nullptr;
        FrameTest::TearDown();
    }
    bool open() {
        gToolFrame = openFrame();
        return gToolFrame != nullptr;
    }
};

}  // namespace

TEST_F(Frame1ToolsTest, TheDictionaryWindowIsMadeOnceAndComesBackRestoredWithTheNewWord) {
    if (!open())
        GTEST_SKIP() << "no X display";
    frame->openDictionary("chat");
    AWindow* first = frame->dictionaryWindow();
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, first->getHWnd());
    ShowWindow(first->getHWnd(), SW_MINIMIZE);
    frame->openDictionary("chien");
    EXPECT_EQ(first, frame->dictionaryWindow()) << "the same window";
    EXPECT_FALSE(IsIconic(first->getHWnd())) << "restored";
    EXPECT_EQ("open;look:chat;look:chien;", ProbeDicoWin::log) << "the data is loaded once";

    first->perform(first->closeWindow());
    EXPECT_EQ(nullptr, frame->dictionaryWindow()) << "forgotten at its close";
    frame->openDictionary(nullptr);
    EXPECT_NE(nullptr, frame->dictionaryWindow());
    EXPECT_EQ("open;look:chat;look:chien;open;look:;", ProbeDicoWin::log) << "made anew";
}

TEST_F(Frame1ToolsTest, AnotherAuthorClosesTheOpenAuthorWindowFirst) {
    if (!open())
        GTEST_SKIP() << "no X display";
    frame->openAuthor(12, 340);
    AWindow* first = frame->authorWindow();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(1, ProbeAuthorWin::live);
    frame->openAuthor(13, -1);
    AApp::current()->flushUpdates();
    EXPECT_NE(nullptr, frame->authorWindow());
    EXPECT_EQ(1, ProbeAuthorWin::live) << "the first one went";
    EXPECT_EQ("author:12,340;close;author:13,-1;", ProbeAuthorWin::log);
}

TEST_F(Frame1ToolsTest, StoppingMediaStopsTheMediaWindowsAndTheActiveFlashPaneKeepsItsName) {
    if (!open())
        GTEST_SKIP() << "no X display";
    frame->playDocument(-1);
    EXPECT_EQ(1, services.mediaStops);
    EXPECT_EQ(nullptr, frame->movie()) << "nothing played: no player made";
    EXPECT_TRUE(frame->mediaTempFile().empty());

    SVPane* flash = pane(1203);
    struct Row {
        SVPane* pane;
        const char* name;
        int16_t value;
    } const rows[] = {{flash, "carte", 2}, {flash, "frise", 3}, {nullptr, "", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(std::string(r.name), frame->setActiveFlashPane(r.pane, r.name, r.value).c_str());
        EXPECT_EQ(r.pane, frame->flashPane());
        EXPECT_EQ(r.value, frame->flashValue());
    }
    frame->showStatusText("  Recherche en cours ...");
    frame->showProgress();
    frame->hideProgress();
}
