// The application object in this process: deferred commands and the target,
// the loop's outer frame with its error handlers, the frame window's timer,
// error reports, the instance-count report, profile strings and the log.
#include <windows.h>

#include <fstream>
#include <sstream>

#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "framework/app/AppMain.h"
#include "framework/app/AppServices.h"
#include "framework/components/AActionTable.h"
#include "framework/display/ADisplayComponent.h"
#include "tests/framework/app/AppTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

namespace {

// An application whose doStart logs where it runs and posts a quit code.
class StartingApp : public AApp {
public:
    StartingApp() : AApp(AString("TestApplication"), ARect(), 0, 0) {}
    int run() override {
        inRun = true;
        int code = AApp::run();
        inRun = false;
        return code;
    }
    void doStart() override {
        Ticker::log += inRun ? "doStart(in run) " : "doStart(outside) ";
        PostQuitMessage(5);
    }
    bool inRun = false;
};

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AApp* app = AApp::current();
    if (app && app->frameMessage(window, message, wParam, lParam))
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// An application whose frame is a plain hidden top-level window of this test.
class FramedApp : public AApp {
public:
    FramedApp() : AApp(AString("TestApplication"), ARect(), kFrameHidden, 0) {}

protected:
    void* createFrameWindow(const ARect&, const AString& title) override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SvTestFrame";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "SvTestFrame", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace

class AppObjectTest : public AppTest {
protected:
    template <class T>
    T* replaceApp() {
        AComponent* old = app;
        DeleteComponent(old);
        drainMessages();
        T* made = new T;
        made->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        AObject::completeNew(made);
        app = made;
        return made;
    }
    // Runs turns, each with a message waiting so that none blocks.
    void runTurns(int n) {
        for (int i = 0; i < n; ++i) {
            PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
            app->runOnce();
        }
    }
};

// A command queued from inside a command runs only after the current one
// has returned, at a later turn; deleting the target makes the application the target.
TEST_F(AppObjectTest, QueuedCommandsWaitForTheNextTurnAndTheTargetFallsBackToTheApplication) {
    drainMessages();
    LogProbe* probe = MakeNew<LogProbe>(app, 7);
    probe->accepts = true;
    EXPECT_EQ(1, app->setTarget(probe, 0));
    EXPECT_EQ(probe, app->target());
    LogProbe::log.clear();
    LogCommand* first = new LogCommand(probe, "A");
    first->then = new LogCommand(probe, "B");
    AObject::completeNew(first);
    AObject::completeNew(first->then);
    app->executeCommand(first);
    EXPECT_EQ("", LogProbe::log) << "nothing runs inside the handler that queued it";
    runTurns(1);
    EXPECT_EQ("runA ~A ", LogProbe::log);
    runTurns(1);
    EXPECT_EQ("runA ~A runB ~B ", LogProbe::log);

    AComponent* gone = probe;
    DeleteComponent(gone);
    EXPECT_EQ(app, app->target());
    EXPECT_EQ(nullptr, app->defaultTarget());
}

// A queued command that deletes a component makes the component's close flush
// the application from inside the queue's run: the commands after it still run once, in order.
TEST_F(AppObjectTest, AComponentDeletedByAQueuedCommandLeavesTheRestOfTheQueueRunning) {
    drainMessages();
    LogProbe* keeper = MakeNew<LogProbe>(app, 8);
    LogProbe* doomed = MakeNew<LogProbe>(app, 9);
    LogProbe::log.clear();
    ACommand* remove = new ADeleteComponentCmd(1, doomed);
    AObject::completeNew(remove);
    LogCommand* after = new LogCommand(keeper, "A");
    AObject::completeNew(after);
    app->executeCommand(remove);
    app->executeCommand(after);
    app->flushUpdates();
    EXPECT_EQ("~9 runA ~A ", LogProbe::log);
    EXPECT_EQ(nullptr, app->findById(9, 0));
    EXPECT_FALSE(app->commandQueue().running());
}

// run writes "#Running..." and the count report, starts the application from
// inside the loop and answers the WM_QUIT code; quit ends the loop with 0.
TEST_F(AppObjectTest, RunStartsTheApplicationInsideTheLoopAndAnswersTheQuitCode) {
    StartingApp* starting = replaceApp<StartingApp>();
    errors.text.clear();
    EXPECT_EQ(5, starting->run());
    EXPECT_EQ("doStart(in run) ", Ticker::log);
    EXPECT_TRUE(starting->started());
    EXPECT_EQ(0u, errors.text.find("#Running...\n#APlink Count\t=\t")) << errors.text;

    AApp* plain = replaceApp<AApp>();
    plain->quit();
    plain->quit();
    EXPECT_EQ(0, plain->run());
    EXPECT_TRUE(plain->quitRequested());
}

// Errors reaching the loop: recoverable ones offer Retry and the loop goes
// on only on Retry; broken invariants end the process non-zero after the box.
TEST_F(AppObjectTest, LoopErrorsAreShownAndRetryGoesOn) {
    struct Row {
        const char* name;
        int answer;
        int runs;  // "#Running..." lines
        int exit;
    };
    const Row rows[] = {{"retry", IDRETRY, 2, 0}, {"cancel", IDCANCEL, 1, AApp::kErrorExitCode}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AApp* fresh = replaceApp<AApp>();
        drainMessages();
        struct Thrower : ACommand {
            Thrower(AComponent* t) : ACommand(t, 0, 1) {}
            void execute() override {
                FormatErrorMessage("bad record");
                PostQuitMessage(0);
                ThrowTyped(ALocalError("tdata", 12));
            }
        };
        Thrower* thrower = new Thrower(fresh);
        AObject::completeNew(thrower);
        fresh->executeCommand(thrower);
        ClearBoxes();
        BoxAnswer() = r.answer;
        errors.text.clear();
        EXPECT_EQ(r.exit, fresh->run());
        BoxAnswer() = IDOK;
        ASSERT_EQ(1u, CapturedBoxes().size());
        EXPECT_EQ("File tdata;line 12\nbad record", CapturedBoxes()[0].text);
        EXPECT_EQ("ALocalError", CapturedBoxes()[0].caption);
        EXPECT_EQ(unsigned(MB_RETRYCANCEL | MB_ICONEXCLAMATION), CapturedBoxes()[0].flags);
        int runs = 0;
        for (size_t at = errors.text.find("#Running"); at != std::string::npos;
             at = errors.text.find("#Running", at + 1))
            ++runs;
        EXPECT_EQ(r.runs, runs);
    }
    ClearBoxes();
    EXPECT_NE(0, FatalExitCodeOf([] { ThrowAssert("tloop", 40); }));
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("AAssertError", CapturedBoxes()[0].caption);
    EXPECT_EQ(unsigned(MB_ICONEXCLAMATION), CapturedBoxes()[0].flags);
}

// The frame window's timer 1: none without framework timers, at least 1 ms
// for a due one; its WM_TIMER fires the due timers through the frame's procedure.
TEST_F(AppObjectTest, TheFrameTimerIsArmedOnlyForFrameworkTimers) {
    EXPECT_TRUE(app->armFrameTimer(-1)) << "without frame: nothing to arm";
    EXPECT_FALSE(app->armFrameTimer(0)) << "without frame: a due timer is not armed";
    FramedApp* framed = replaceApp<FramedApp>();
    HWND frame = static_cast<HWND>(framed->frameWindow());
    if (!frame)
        GTEST_SKIP() << "no display";
    EXPECT_TRUE(framed->armFrameTimer(-1));
    EXPECT_FALSE(KillTimer(frame, 1)) << "no Win32 timer without framework timers";
    EXPECT_TRUE(framed->armFrameTimer(0));
    EXPECT_TRUE(KillTimer(frame, 1)) << "a due timer arms timer 1";
    Ticker* ticker = MakeNew<Ticker>(framed, "t");
    ticker->onTimer = [](Ticker&, uint16_t) {
        PostQuitMessage(9);
        return 1L;
    };
    TestClock() += 0;
    framed->addTimer(ticker, 0);
    // A turn arms timer 1 and blocks in GetMessageA until its WM_TIMER fires the framework timer.
    EXPECT_EQ(9, framed->run());
    EXPECT_EQ("t:1@1000 ", Ticker::log);
    EXPECT_EQ(-1, framed->timerList().timeLeft(TestClock()));
}

// Without a frame window the loop fires due timers itself, only while no
// message waits and at most once per 100 ms of the application clock.
TEST_F(AppObjectTest, WithoutAFrameTheLoopFiresDueTimersAtMostEvery100Ms) {
    drainMessages();
    TestClock() = 50000;
    Ticker* ticker = MakeNew<Ticker>(app, "t");
    app->addTimer(ticker, 0);
    struct Row {
        const char* name;
        uint32_t advance;
        bool messageWaits;
        const char* fired;
    };
    const Row rows[] = {
        {"due, nothing waits", 0, false, "t:1@50000 "},
        {"again at once", 0, false, ""},
        {"99 ms later", 99, false, ""},
        {"100 ms later, a message waits", 1, true, ""},
        {"100 ms later", 0, false, "t:1@50100 "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestClock() += r.advance;
        Ticker::log.clear();
        if (r.messageWaits)
            PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        app->runOnce();
        EXPECT_EQ(r.fired, Ticker::log);
    }
}

// An error from a timer fired through the frame window's procedure stops
// there: it is shown, and Cancel ends the loop with the error exit code.
TEST_F(AppObjectTest, ATimerErrorInsideTheFrameProcedureEndsTheLoopThroughItsBox) {
    FramedApp* framed = replaceApp<FramedApp>();
    if (!framed->frameWindow())
        GTEST_SKIP() << "no display";
    Ticker* ticker = MakeNew<Ticker>(framed, "t");
    ticker->onTimer = [](Ticker&, uint16_t) -> long { ThrowTyped(ALocalError("ttimer", 7)); };
    framed->addTimer(ticker, 0);
    ClearBoxes();
    BoxAnswer() = IDCANCEL;
    EXPECT_EQ(AApp::kErrorExitCode, framed->run());
    BoxAnswer() = IDOK;
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("ALocalError", CapturedBoxes()[0].caption);
}

// focusWithin gives the target to the nearest scope's preferred target,
// unless the target is inside that scope already.
TEST_F(AppObjectTest, FocusWithinPicksTheNearestScopesPreferredTarget) {
    struct Scope : LogProbe {
        Scope(AComponent* parent, int16_t id) : LogProbe(parent, id) {}
        bool isTargetScope() override { return true; }
    };
    // app > scope 1 > (item 2 accepting, plain 3 > leaf 4); app > plain 5
    Scope* scope = MakeNew<Scope>(app, 1);
    LogProbe* item = MakeNew<LogProbe>(scope, 2);
    item->accepts = true;
    LogProbe* plain = MakeNew<LogProbe>(scope, 3);
    LogProbe* leaf = MakeNew<LogProbe>(plain, 4);
    LogProbe* outside = MakeNew<LogProbe>(app, 5);
    struct Row {
        const char* name;
        AComponent* from;
        bool answer;
        int16_t target;  // id of the target after the call, 0 the application
    };
    const Row rows[] = {
        {"outside every scope", outside, false, 0},
        {"from a leaf of the scope", leaf, true, 2},
        {"target already inside", plain, true, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.answer, app->focusWithin(r.from));
        EXPECT_EQ(r.target, app->target() == app ? 0 : app->target()->id());
    }
}

// The application binds its command ids to the menu bar's item codes; its
// own commands answer the shared commands.
TEST_F(AppObjectTest, TheApplicationBindsAndAnswersItsCommands) {
    struct RecordingTable : AActionTable {
        bool add(int16_t command, AComponent*, int16_t first, int16_t, long) override {
            log += std::to_string(command) + ":" + std::to_string(first) + " ";
            return false;
        }
        void removeComponent(AComponent*) override {}
        void componentChanged(AComponent*, const AKindSet&) override {}
        std::string log;
    } table;
    app->setActionTable(0, &table);
    app->bindActions();
    app->setActionTable(0, nullptr);
    EXPECT_EQ("2:-3952 2:-3840 2:-3792 17:20 6:22 20:931 21:932 3:911 4:912 8:914 6:-4000 5:913 ", table.log);

    struct Row {
        int16_t id;
        bool passThrough;
        int16_t status;
        bool quits;
    };
    // Without a frame every window counts as a document window: close-all is enabled.
    const Row rows[] = {{2, true, 1, false}, {8, false, 1, false}, {91, false, 1, false}, {6, false, 1, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        ACommand* answer = app->doCommand(r.id, 0);
        EXPECT_EQ(r.passThrough ? app->passThrough() : app->noChange(), answer);
        EXPECT_EQ(r.status, app->commandStatus(r.id, 0));
        EXPECT_EQ(r.quits, app->quitRequested());
    }
}

// What the framework main asks of the application; this executable never runs it.
const AClass* AppClassRecord = &AApp::classRecord;
const char* AppLogName = nullptr;

namespace {

// Logs the start-up steps that RunApplication calls; each row sets what it does.
struct StepApp : AApp {
    StepApp() : AApp(AString("StepApp"), ARect(), 0, 0) {}
    bool activateOtherInstance() override {
        log += "activate ";
        return activates;
    }
    void attachItems() override {
        log += "open ";
        AApp::attachItems();
        if (failsIn == "open")
            ThrowTyped(ALocalError("tsteps", 1));
    }
    int run() override {
        log += "run ";
        if (failsIn == "run")
            ThrowTyped(ALocalError("tsteps", 2));
        return 7;
    }
    bool closeAllWindows(int16_t flag) override {
        log += "closeAll(" + std::to_string(flag) + ") ";
        return true;
    }
    void detachItems() override {
        log += "close ";
        AApp::detachItems();
    }
    static std::string log;
    static bool activates;
    static std::string failsIn;
};
std::string StepApp::log;
bool StepApp::activates;
std::string StepApp::failsIn;

}  // namespace

// RunApplication's steps: closing only after a finished open, an error
// reported and answered with the error exit code, 0 when another copy answered.
TEST_F(AppObjectTest, RunApplicationClosesOnlyWhatItOpened) {
    struct Row {
        const char* name;
        bool activates;
        const char* failsIn;
        const char* steps;
        int result;
        size_t boxes;
    };
    const Row rows[] = {
        {"normal run", true, "", "activate open run closeAll(0) close ", 7, 0},
        {"another copy answered", false, "", "activate ", 0, 0},
        {"run fails", true, "run", "activate open run closeAll(0) close ", AApp::kErrorExitCode, 1},
        {"open fails", true, "open", "activate open ", AApp::kErrorExitCode, 1},
    };
    AComponent* old = app;
    DeleteComponent(old);
    app = nullptr;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        StepApp::log.clear();
        StepApp::activates = r.activates;
        StepApp::failsIn = r.failsIn;
        ClearBoxes();
        StepApp* steps = new StepApp;
        EXPECT_EQ(r.result, RunApplication(GetModuleHandleA(nullptr), "", SW_HIDE));
        EXPECT_EQ(r.steps, StepApp::log);
        EXPECT_EQ(r.boxes, CapturedBoxes().size());
        delete steps;
        drainMessages();
    }
}

namespace {

// Answers fixed metrics: frame 4, caption 18, border 1, menu 19, and its screen.
struct MetricApp : AApp {
    MetricApp(int cx, int cy, ARect size, uint16_t style)
        : AApp(AString("MetricApp"), size, style, 0), cx_(cx), cy_(cy) {}
    int systemMetric(int index) override {
        switch (index) {
            case SM_CXSCREEN:
                return cx_;
            case SM_CYSCREEN:
                return cy_;
            case SM_CYCAPTION:
                return 18;
            case SM_CYBORDER:
                return 1;
            case SM_CYMENU:
                return 19;
            default:
                return 4;
        }
    }
    using AApp::frameRect;
    int cx_, cy_;
};

std::string RectText(const ARect& r) {
    auto v = [](int32_t x) { return x == static_cast<int32_t>(CW_USEDEFAULT) ? std::string("CW") : std::to_string(x); };
    return v(r.first.x) + "," + v(r.first.y) + "," + v(r.second.x) + "," + v(r.second.y);
}

}  // namespace

// The frame's placement from the wanted size, the screen and the style, with
// the rule of its own for 800 x 600 screens; default sizes stay defaults.
TEST(AppStart, TheFrameIsPlacedForTheScreen) {
    const uint16_t centred = AApp::kCentred;
    struct Row {
        const char* name;
        int cx, cy;
        int w, h;
        uint16_t style;
        int show;  // before
        const char* rect;
        int showAfter;
        bool fullScreen;
    };
    const Row rows[] = {
        {"no wanted size", 1024, 768, 0, 0, 0, SW_SHOWNORMAL, "CW,CW,0,0", SW_SHOWMAXIMIZED, false},
        {"centred", 1024, 768, 640, 480, centred, SW_SHOWNORMAL, "192,144,832,624", SW_SHOWNORMAL, false},
        {"centred, no wanted size", 1024, 768, 0, 0, centred, SW_SHOWNORMAL, "CW,CW,CW,CW", SW_SHOWNORMAL, false},
        {"too wide: full screen", 1024, 768, 1020, 700, 0, SW_SHOWNORMAL, "-4,-22,1028,772", SW_SHOWMAXIMIZED, true},
        {"800x600 centred", 800, 600, 640, 480, centred, SW_SHOWNORMAL, "0,0,720,540", SW_SHOWNORMAL, false},
        {"800x600 minimised stays", 800, 600, 640, 480, 0, SW_SHOWMINIMIZED, "CW,CW,0,0", SW_SHOWMINIMIZED, false},
        {"800x600 centred, no wanted size", 800, 600, 0, 0, centred, SW_SHOWNORMAL, "0,0,CW,CW", SW_SHOWNORMAL, false},
        {"800x600 nearly the screen", 800, 600, 790, 580, centred, SW_SHOWNORMAL, "0,0,795,590", SW_SHOWNORMAL, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MetricApp* app = new MetricApp(r.cx, r.cy, ARect(r.w, r.h, 0, 0), r.style);
        app->setInstance(nullptr, "", r.show);
        EXPECT_EQ(r.rect, RectText(app->frameRect()));
        EXPECT_EQ(r.showAfter, app->showCommand());
        EXPECT_EQ(r.fullScreen, (app->style() & AApp::kFullScreen) != 0);
        // Borders 4, caption 18 and border 1, menu 19 less its border.
        EXPECT_EQ(8, app->frameExtra().x);
        EXPECT_EQ(45, app->frameExtra().y);
        delete app;
    }
}

// activateOtherInstance: another copy's frame is brought forward instead; a
// wanted size larger than the screen (menu bar counted) ends the start with a message.
TEST(AppStart, AnotherCopyOrATooSmallScreenStopsTheStart) {
    struct Row {
        const char* name;
        ARect size;
        bool otherCopy;
        bool starts;
        const char* box;
    };
    const Row rows[] = {
        {"no wanted size", ARect(), false, true, ""},
        {"fits", ARect(100, 80, 0, 0), false, true, ""},
        {"too large", ARect(20000, 15000, 0, 0), false, false,
         "Cette application requiert au moins 20000x15020 pixels. Veuillez ajuster les param\xE8tres d'affichage de "
         "votre \xE9"
         "cran."},
        {"another copy", ARect(), true, false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND other = nullptr;
        if (r.otherCopy) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "KY_MDIFrameWindow";
            RegisterClassA(&wc);
            other = CreateWindowExA(0, "KY_MDIFrameWindow", "Copie", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                    nullptr, wc.hInstance, nullptr);
            if (!other)
                continue;  // no display
        }
        ClearBoxes();
        AApp* app = new AApp(AString(r.otherCopy ? "Copie" : "Seule"), r.size, 0, 0);
        EXPECT_EQ(r.starts, app->activateOtherInstance());
        std::string box = CapturedBoxes().empty() ? "" : CapturedBoxes()[0].text;
        EXPECT_EQ(r.box, box);
        delete app;
        if (other)
            DestroyWindow(other);
    }
}

// The error decision and the box of the application; the count report's lines.
TEST_F(AppObjectTest, ErrorsAreDecidedAndReportedByTheApplication) {
    struct Row {
        const char* name;
        const AError* error;
        int16_t fatal;
        const char* box;
    };
    ALocalError local("tfile", 3);
    AAssertError broken("tfile", 12);
    const Row rows[] = {
        {"throwable", &local, 0, ""},
        {"assertion", &broken, 1, "AAssertError|File tfile;line 12\nthe message"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ClearBoxes();
        FormatErrorMessage("the message");
        EXPECT_EQ(r.fatal, app->handleError(*r.error));
        std::string box;
        for (const CapturedBox& b : CapturedBoxes())
            box += b.caption + "|" + b.text;
        EXPECT_EQ(r.box, box);
    }
    errors.text.clear();
    AApp::reportInstanceCounts(errors);
    const char* names[] = {"APlink", "_AString", "longa_pvoidAVLNode", "AStringa_pvoidAVLNode", "_ARegion", "AFont",
                           "_AFont", "AObject"};
    size_t at = 0;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        at = errors.text.find(std::string("#") + name + " Count\t=\t", at);
        EXPECT_NE(std::string::npos, at);
    }
    EXPECT_NE(std::string::npos, errors.text.find("#\tinitialized:"));
    EXPECT_NE(std::string::npos, errors.text.find("#\tbalance    :"));
}

// Profile strings round-trip French values through a real .ini file; a
// value the reader gives back changed fails the verified write.
TEST(AppServices, ProfileStringsRoundTripThroughARealIniFile) {
    ATempFolderSpec folder;
    AFileSpec file(folder, "svtest-profile.ini");
    DeleteFileA(file.path().c_str());
    char buffer[64];
    EXPECT_EQ(0, ReadProfileString("r\xE9glages", "cl\xE9",
                                   "d\xE9"
                                   "faut",
                                   buffer, sizeof buffer, file));
    EXPECT_STREQ(
        "d\xE9"
        "faut",
        buffer)
        << "a missing file reads as the default";
    struct Row {
        const char* value;
        long written;
        const char* read;
    };
    const Row rows[] = {
        {"Encyclop\xE9"
         "die",
         0,
         "Encyclop\xE9"
         "die"},
        {"No\xEBl \xE0 l'\xE9t\xE9, \x9C"
         "uvre",
         0,
         "No\xEBl \xE0 l'\xE9t\xE9, \x9C"
         "uvre"},
        {"trailing  ", -1, "trailing"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        long size = static_cast<long>(strlen(r.value)) + 1;
        EXPECT_EQ(r.written, WriteProfileStringVerified("r\xE9glages", "cl\xE9", r.value, size, file));
        EXPECT_EQ(0, ReadProfileString("r\xE9glages", "cl\xE9", nullptr, buffer, sizeof buffer, file));
        EXPECT_STREQ(r.read, buffer);
    }
    EXPECT_EQ(2013, ReadProfileString("r\xE9glages", "absente", nullptr, buffer, sizeof buffer, file));
    EXPECT_STREQ("", buffer);
    DeleteFileA(file.path().c_str());
}

// The folder variants: the current folder, or the Windows folder.
TEST(AppServices, ProfileStringsInTheCurrentOrTheWindowsFolder) {
    for (int16_t windows : {0, 1}) {
        SCOPED_TRACE(windows);
        EXPECT_EQ("", std::string(ReadProfileStringIn(windows, "lecteur", "nom", "svtest-in.ini").c_str()));
        EXPECT_EQ(0, WriteProfileStringIn(windows, "lecteur", "nom", "H\xE9l\xE8ne", "svtest-in.ini"));
        EXPECT_EQ("H\xE9l\xE8ne", std::string(ReadProfileStringIn(windows, "lecteur", "nom", "svtest-in.ini").c_str()));
        char folder[MAX_PATH];
        if (windows)
            GetWindowsDirectoryA(folder, sizeof folder);
        else
            GetCurrentDirectoryA(sizeof folder, folder);
        EXPECT_TRUE(DeleteFileA((std::string(folder) + "\\svtest-in.ini").c_str()));
    }
}

// Items of a string list resource, read afresh at each call.
TEST(AppServices, ListStringsComeFromTheProgramsStringLists) {
    const char* items[] = {"Sans Titre", "Sans Titre %d",
                           "Encyclop\xE9"
                           "die",
                           ""};
    for (short i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        AString text;
        EXPECT_STREQ(items[i], GetListString(text, 300, i).c_str());
    }
}

// Each logged line is on disk when logLine returns.
TEST_F(AppObjectTest, LogLinesAreOnDiskAtOnce) {
    app->openLog("svtest-app.log");
    ASSERT_NE(nullptr, app->getLogObject());
    AFileSpec path(AAppTempFolderSpec(), "svtest-app.log");
    app->logLine("premi\xE8re ligne");
    EXPECT_EQ("premi\xE8re ligne\n", ReadFile(path.path().c_str()));
    app->logLine("seconde");
    EXPECT_EQ("premi\xE8re ligne\nseconde\n", ReadFile(path.path().c_str()));
    app->openLog("svtest-app.log");
    EXPECT_EQ("", ReadFile(path.path().c_str())) << "a new log starts empty";
    AComponent* root = app;
    DeleteComponent(root);
    app = nullptr;
    EXPECT_TRUE(DeleteFileA(path.path().c_str()));
}

// The framework's list 128 holds each message at the place the code reads it from.
TEST(FrameworkListTest, TheMessagesOfList128AreWhereTheCodeReadsThem) {
    struct Row {
        short index;
        const char* text;
    } rows[] = {
        {0, "Configuration invalide"},
        {3, "Cette application requiert au moins %ldx%ld pixels. Veuillez ajuster les param\xE8tres d'affichage de "
            "votre \xE9"
            "cran."},
        {7, "Driver d'impression introuvable !"},
        {8, "Librairie introuvable"},
        {10, "Impossible de lancer les services DDE"},
        {11, "Probl\xE8me lors de l'impression"},
        {14, "L'orientation d\xE9sir\xE9"
             "e n'a pas \xE9t\xE9 obtenue. L'impression va se poursuivre avec le mode par d\xE9"
             "faut"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_STREQ(r.text, FrameworkString(128, r.index, "(built in)").c_str());
    }
}
