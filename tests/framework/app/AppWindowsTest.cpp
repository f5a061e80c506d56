// The application's window services: cursor animation, the brush cache, the
// window-update lock, DDE pokes and the settings file.
#include <windows.h>

#include "framework/app/ACursor.h"
#include "framework/app/AppDde.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AImage.h"
#include "framework/windows/AWindowServices.h"
#include "tests/framework/app/AppTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

namespace {

ADisplayComponent* WindowedComponent(AComponent* parent, int16_t id, HWND window) {
    auto* c = new ADisplayComponent(parent, id, ASizeSpec());
    AObject::completeNew(c);
    c->setNativeWindow(window);
    return c;
}

// Logs "a+" (id 1, else "b") when the mouse enters and "a-" when it leaves.
class Hovered : public ADisplayComponent {
public:
    Hovered(AComponent* parent, int16_t id, int16_t cursor, std::string& log)
        : ADisplayComponent(parent, id, ASizeSpec()), name_(id == 1 ? "a" : "b"), cursor_(cursor), log_(log) {}
    int16_t cursorFor(int16_t) override { return cursor_; }
    void mouseEntered() override { log_ += name_ + "+ "; }
    void mouseLeft() override { log_ += name_ + "- "; }

private:
    std::string name_;
    int16_t cursor_;
    std::string& log_;
};

class Described : public AComponent {
public:
    Described(AComponent* parent, int16_t id, const char* text) : AComponent(parent, id), text_(text) {}
    std::string description() override { return text_; }

private:
    std::string text_;
};

HGLOBAL Block(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

class CountedTracker : public AMouseTracker {
public:
    explicit CountedTracker(int& deleted) : deleted_(deleted) {}
    ~CountedTracker() override { ++deleted_; }
    ADisplayComponent* owner() override { return nullptr; }
    ACommand* trackMove(AMouseEvent&) override { return nullptr; }
    ACommand* trackRelease(AMouseEvent&) override { return nullptr; }

private:
    int& deleted_;
};

}  // namespace

TEST_F(AppTest, TheComponentUnderTheMouseShowsItsCursorAndATrackerReplacedBeeps) {
    std::string log;
    auto* a = new Hovered(app, 1, 32649, log);
    AObject::completeNew(a);
    auto* b = new Hovered(app, 2, 32513, log);
    AObject::completeNew(b);
    struct Step {
        ADisplayComponent* component;
        const char* log;
        int16_t cursor;
    } steps[] = {
        {a, "a+ ", 32649},
        {a, "", 32649},
        {b, "a- b+ ", 32513},
        {nullptr, "b- ", -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.log);
        log.clear();
        app->setCursorComponent(step.component);
        EXPECT_EQ(step.log, log);
        EXPECT_EQ(step.cursor, app->cursorId());
        EXPECT_EQ(step.component, app->cursorComponent());
    }
    // The display layer's hover reaches the application.
    ADisplayServices::current().setHoverComponent(a);
    EXPECT_EQ(32649, app->cursorId());
    app->setCursorComponent(nullptr);

    int deleted = 0;
    TestBeeps = 0;
    app->setMouseTracker(new CountedTracker(deleted));
    EXPECT_EQ(0, TestBeeps);
    app->setMouseTracker(new CountedTracker(deleted));
    EXPECT_EQ(1, TestBeeps) << "replacing a running tracker beeps once";
    EXPECT_EQ(1, deleted);
    app->setMouseTracker(nullptr);
    EXPECT_EQ(2, deleted);
    EXPECT_EQ(1, TestBeeps);
}

TEST_F(AppTest, CursorGuardsAnimateAndHandTheCursorBack) {
    app->setCursor(-1);
    std::string shown;
    {
        AOwnerCursorGuard guard(app, 200, 3);
        EXPECT_EQ(200, app->cursorId());
        for (int i = 0; i < 4; ++i) {
            guard.nextFrame();
            shown += std::to_string(app->cursorId()) + " ";
        }
        EXPECT_EQ(&guard, app->swapCursorGuard(&guard));
    }
    EXPECT_EQ("201 202 200 201 ", shown);
    EXPECT_EQ(nullptr, app->swapCursorGuard(nullptr)) << "the outermost guard leaves no current guard";
    app->setCursor(7);
    EXPECT_EQ(7, app->setCursor(7)) << "the current id changes nothing";
    // A reset shows the arrow and keeps its id: the same cursor asked again
    // (the wait cursor of the next search) is set again.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(-1, app->setCursor(-4));
        EXPECT_EQ(-1, app->cursorId());
        EXPECT_EQ(-1, app->setCursor(7));
        EXPECT_EQ(7, app->cursorId());
    }

    ACursor orphan(nullptr, 100);
    EXPECT_TRUE(orphan.system()) << "a resource without application is the system arrow";
    EXPECT_EQ(ACursor::kArrow, orphan.number());
}

TEST_F(AppTest, IconsBitmapsAndNamedImagesAreKeptOnceAndMissingOnesRaise) {
    void* system = app->icon(32512);
    ASSERT_NE(nullptr, system) << "a number the module lacks falls back to the system icon";
    EXPECT_EQ(system, app->icon(32512));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // A failed load leaves no null entry behind that a later call would hand out.
        ClearBoxes();
        EXPECT_NE(0, FatalExitCodeOf([this] { app->icon(12345); }));
        ASSERT_EQ(1u, CapturedBoxes().size());
        EXPECT_EQ("AMemError", CapturedBoxes()[0].caption);
    }
    EXPECT_NE(nullptr, app->appIcon());
    app->clearIcons();
    EXPECT_NE(nullptr, app->icon(32512));

    ClearBoxes();
    EXPECT_NE(0, FatalExitCodeOf([this] { app->bitmap(4321); })) << "no such bitmap resource";
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("AAssertError", CapturedBoxes()[0].caption);

    EXPECT_EQ(nullptr, app->findImage("logo")) << "finding never makes an image";
    long live = _AImage::liveCount();
    app->setImage("logo", AImageSpec::fromFile("Z:\\nowhere\\first.bmp", 0, 0));
    app->setImage("logo", AImageSpec::fromFile("Z:\\nowhere\\second.bmp", 0, 0));
    ASSERT_NE(nullptr, app->findImage("logo"));
    EXPECT_STREQ("Z:\\nowhere\\second.bmp", app->findImage("logo")->body()->spec().file.c_str())
        << "the second filing replaced the first";
    EXPECT_EQ(live + 1, _AImage::liveCount()) << "the replaced image was deleted";
    app->clearImages();
    EXPECT_EQ(nullptr, app->findImage("logo"));
    EXPECT_EQ(live, _AImage::liveCount());
}

TEST_F(AppTest, OneColourGivesOneBrushAndUpdateLocksDoNotNest) {
    void* first = app->solidBrush(RGB(10, 20, 30));
    EXPECT_EQ(first, app->solidBrush(RGB(10, 20, 30)));
    EXPECT_NE(first, app->solidBrush(RGB(30, 20, 10)));
    app->clearBrushes();

    HWND a = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!a || !b)
        GTEST_SKIP() << "no display";
    ADisplayComponent* ca = WindowedComponent(app, 1, a);
    ADisplayComponent* cb = WindowedComponent(app, 2, b);
    app->lockWindowUpdate(ca);
    errors.text.clear();
    app->lockWindowUpdate(cb);
    EXPECT_EQ("#Cannot nest LockWindowUpdate() calls\n", errors.text);
    EXPECT_EQ(ca, app->lockedComponent());
    EXPECT_TRUE(app->isUpdateLocked(ca));
    EXPECT_FALSE(app->isUpdateLocked(cb));
    // Deleting the holder releases the lock.
    AComponent* gone = ca;
    DeleteComponent(gone);
    EXPECT_EQ(nullptr, app->lockedComponent());
    ca = nullptr;
    app->lockWindowUpdate(cb);
    EXPECT_EQ(cb, app->lockedComponent());
    app->lockWindowUpdate(nullptr);
    EXPECT_EQ(nullptr, app->lockedComponent());
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(AppTest, DdePokesAreFrameworkMessages) {
    app->startDdeService();
    DWORD instance = app->ddeInstanceId();
    ASSERT_NE(0u, instance);
    struct Row {
        const char* topic;
        uintptr_t answer;
    } rows[] = {
        {"ACTI", DDE_FACK},
        {"ACT", 0},
        {"XYZW", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.topic);
        HSZ topic = DdeCreateStringHandleA(instance, r.topic, CP_WINANSI);
        HDDEDATA answer = AppDdeCallback(XTYP_POKE, CF_TEXT, nullptr, topic, nullptr, nullptr, 0, 0);
        EXPECT_EQ(r.answer, reinterpret_cast<uintptr_t>(answer));
        DdeFreeStringHandle(instance, topic);
    }
    EXPECT_EQ(1u,
              reinterpret_cast<uintptr_t>(AppDdeCallback(XTYP_CONNECT, 0, nullptr, nullptr, nullptr, nullptr, 0, 0)));
    uint32_t format = CF_TEXT;
    EXPECT_EQ(nullptr, app->ddeRequest(AApp::kCodeSelection, "", format)) << "no target gives data";
    app->stopDdeService();
    EXPECT_EQ(0u, app->ddeInstanceId());
}

TEST_F(AppTest, SettingsComeFromAWritableLocalFileElseTheWindowsFolder) {
    const char* local = "TestApplication.ini";
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string shared = std::string(windows) + "\\TestApplication.ini";
    WritePrivateProfileStringA("settings", "HelpFile", "shared.hlp", shared.c_str());
    struct Row {
        const char* name;
        bool localFile;
        bool readOnly;
        const char* expected;
    } rows[] = {
        {"writable local file", true, false, "local.hlp"},
        {"read-only local file", true, true, "shared.hlp"},
        {"no local file", false, false, "shared.hlp"},
    };
    char full[MAX_PATH];
    GetFullPathNameA(local, MAX_PATH, full, nullptr);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SetFileAttributesA(full, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full);
        if (r.localFile) {
            WritePrivateProfileStringA("settings", "HelpFile", "local.hlp", full);
            WritePrivateProfileStringA(nullptr, nullptr, nullptr, full);
        }
        if (r.readOnly)
            SetFileAttributesA(full, FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(std::string(r.expected), app->helpFile().c_str());
        EXPECT_EQ(std::string("none"), app->getSetting("Missing", "none", nullptr).c_str());
    }
    SetFileAttributesA(full, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(full);
    DeleteFileA(shared.c_str());
}

namespace {

// An application that runs from a network drive, named apart from the others.
class NetworkApp : public AApp {
public:
    NetworkApp() : AApp(AString("SvWorkFolderTest"), ARect(), 0, 0) {}
    bool isOnNetwork() override { return true; }
};

}  // namespace

TEST_F(AppTest, TheWorkFolderIsOnlyAnExistingFullPathOrTheOneMadeForTheUser) {
    AComponent* old = app;
    DeleteComponent(old);
    drainMessages();
    auto* net = new NetworkApp;
    net->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    AObject::completeNew(net);
    app = net;
    const char* ini = "SvWorkFolderTest.ini";
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string iniPath = std::string(windows) + "\\" + ini;
    char made[MAX_PATH];
    GetEnvironmentVariableA("LOCALAPPDATA", made, MAX_PATH);
    std::string madePath = std::string(made) + "\\SvWorkFolderTest";
    struct Row {
        const char* name;
        const char* stored;  // null: none
        bool quits;
    } rows[] = {
        {"missing folder", "C:\\sv-no-such-folder", true}, {"relative path", "..\\sv-elsewhere", true},
        {"climbing path", "C:\\windows\\..\\..", true},    {"nothing stored", nullptr, false},
        {"stored and existing", "C:\\windows", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        drainMessages();
        net->setSettingsMode(3);
        WritePrivateProfileStringA("user", "path", r.stored, iniPath.c_str());
        net->setWorkFolder(AFileSpec());
        net->chooseWorkFolder();
        MSG msg;
        EXPECT_EQ(r.quits, PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0);
        if (r.quits) {
            EXPECT_TRUE(net->workFolder().empty());
            continue;
        }
        char stored[MAX_PATH];
        GetPrivateProfileStringA("user", "path", "", stored, MAX_PATH, iniPath.c_str());
        EXPECT_EQ(std::string(stored), net->workFolder().path().c_str()) << "the chosen folder is the stored one";
        if (!r.stored) {
            EXPECT_EQ(0, lstrcmpiA(madePath.c_str(), stored));
        }
    }
    net->setSettingsMode(0);
    net->chooseWorkFolder();
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(0, lstrcmpiA(current, net->workFolder().path().c_str()));
    DeleteFileA(iniPath.c_str());
    RemoveDirectoryA(madePath.c_str());
}

TEST_F(AppTest, TheTargetsTextIsAddedToATextBlockBetweenLineBreaks) {
    auto* described = new Described(app, 1, "Desc");
    AObject::completeNew(described);
    auto* silent = new Described(app, 2, "");
    AObject::completeNew(silent);
    struct Case {
        const char* name;
        AComponent* source;
        uint32_t format;
        bool block;
        std::string before;
        std::string after;
    } cases[] = {
        {"text", described, CF_TEXT, true, std::string("abc", 4), "abc\r\nDesc\r\n"},
        {"no terminating zero", described, CF_TEXT, true, "xxxxxxxxxx", "xxxxxxxxxx\r\nDesc\r\n"},
        {"no block", described, CF_TEXT, false, "", "\r\nDesc\r\n"},
        {"other format", described, CF_BITMAP, true, std::string("abc", 4), "abc"},
        {"empty description", silent, CF_TEXT, true, std::string("abc", 4), "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL block = c.block ? Block(c.before) : nullptr;
        HGLOBAL result = static_cast<HGLOBAL>(app->appendTargetText(c.source, c.format, block));
        ASSERT_NE(nullptr, result);
        const char* p = static_cast<const char*>(GlobalLock(result));
        EXPECT_EQ(c.after, std::string(p, strnlen(p, GlobalSize(result))));
        GlobalUnlock(result);
        GlobalFree(result);
    }
}

namespace {

class EndingApp : public AApp {
public:
    EndingApp() : AApp(AString("EndingApp"), ARect(), 0, 0) {}
    long queryEndSession(long argument) override {
        asked = argument;
        return 0;
    }
    long asked = 0;
};

}  // namespace

// The frame's activation, enabling, end of session and size limits reach the
// application through the window layer's services.
TEST_F(AppTest, TheFramesMessagesReachTheApplication) {
    AWindowServices& services = AWindowServices::current();
    EXPECT_TRUE(services.setActive(true));
    EXPECT_TRUE(app->isActive());
    EXPECT_FALSE(services.setActive(true));
    EXPECT_TRUE(services.setActive(false));
    EXPECT_FALSE(app->isActive());
    EXPECT_EQ(1, services.queryEndSession());

    app->setFrameLimits(300, 200, 0, 500);
    long limits[4] = {-1, -1, -1, -1};
    APoint extra(-1, -1);
    ASSERT_TRUE(services.frameLimits(limits, extra));
    EXPECT_EQ(300, limits[0]);
    EXPECT_EQ(200, limits[1]);
    EXPECT_EQ(0, limits[2]);
    EXPECT_EQ(500, limits[3]);
    EXPECT_EQ(app->frameExtra().x, extra.x);
    EXPECT_FALSE(services.hideMaximisedCaption());

    // A floating tool bar follows the frame; one inside a window is left to it.
    HWND floating = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!floating)
        GTEST_SKIP() << "no display";
    HWND inner = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, floating, nullptr, nullptr, nullptr);
    ADisplayComponent* bar = WindowedComponent(app, 1, floating);
    app->setToolBar(bar);
    services.enableWindows(false);
    EXPECT_FALSE(IsWindowEnabled(floating));
    services.enableWindows(true);
    EXPECT_TRUE(IsWindowEnabled(floating));
    bar->setNativeWindow(inner);
    EnableWindow(inner, TRUE);
    services.enableWindows(false);
    EXPECT_TRUE(IsWindowEnabled(inner));
    app->setToolBar(nullptr);
    DestroyWindow(floating);
}

// The program's answer to the end of the session is the frame's, asked with 1.
TEST(AppFrame, TheSessionEndsOnlyWhenTheApplicationLetsIt) {
    EndingApp* app = new EndingApp();
    EXPECT_EQ(0, AWindowServices::current().queryEndSession());
    EXPECT_EQ(1, app->asked);
    delete app;
    EXPECT_EQ(1, AWindowServices::current().queryEndSession());
}


namespace {

// Gives its name as the data of a DDE request.
class Copyable : public AComponent {
public:
    Copyable(AComponent* parent, int16_t id, const char* name) : AComponent(parent, id), name_(name) {}
    bool acceptsTarget() override { return true; }
    bool canCopy() override { return true; }
    void* renderFormat(uint32_t&) override { return Block(std::string(name_) + '\0'); }

private:
    const char* name_;
};

}  // namespace

// A DDE request reads the command target when the target mode says so, and
// the previous target otherwise.
TEST_F(AppTest, TheTargetModeChoosesWhatADdeRequestReads) {
    auto* before = MakeNew<Copyable>(app, int16_t(1), "before");
    auto* now = MakeNew<Copyable>(app, int16_t(2), "now");
    ASSERT_EQ(1, app->setTarget(before, 0));
    ASSERT_EQ(1, app->setTarget(now, 0));
    struct Row {
        uint16_t mode;
        const char* data;
    } rows[] = {{1, "now"}, {0, "before"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        app->setTargetMode(r.mode);
        EXPECT_EQ(r.mode, app->targetIsCurrent());
        uint32_t format = CF_TEXT;
        auto block = static_cast<HGLOBAL>(app->ddeRequest(AApp::kCodeSelection, "", format));
        ASSERT_NE(nullptr, block);
        EXPECT_STREQ(r.data, static_cast<const char*>(GlobalLock(block)));
        GlobalUnlock(block);
        GlobalFree(block);
    }
}
