// A small application on the framework, started by the end-to-end tests and
// the start-up benchmark, in the framework's MDI frame with the framework's
// own menu bar (AAPPMENU) and its tool bar (AAppToolBar). The first word of the command line chooses what it does:
//   (any other) quits through a queued command once started
//   quit3       ends the loop with WM_QUIT 3
//   fatal       breaks an invariant inside doStart
//   noactivate  answers 0 from activateOtherInstance
//   nullfactory its class record's factory answers null
//   wait        flushes its log once started and runs until its frame is closed
//   nolog       names no framework log
//   mdi PATH    opens two MDI children from its layouts, tiles them, opens a
//               dialog of static items and a tool bar over them, saves a
//               picture of the screen to the Unix path PATH (ImageMagick's
//               import) and quits
// Message boxes are written to the framework log instead of being shown. At
// a normal exit the log's last text is copied to "svtest-seen.log" beside it.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/object/AFolderSpecs.h"
#include "base/procedural/AOutStream.h"
#include "base/object/ATextOutStream.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AApp.h"
#include "framework/app/AppMain.h"
#include "framework/app/AppServices.h"
#include "framework/app/AWindow.h"
#include "framework/components/ACommand.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AWindowShell.h"
#include "tests/support/HostProgram.h"

namespace {

std::string Mode() {
    const char* line = GetCommandLineA();
    // Past the program name, quoted or not.
    if (*line == '"') {
        const char* end = std::strchr(line + 1, '"');
        line = end ? end + 1 : line + std::strlen(line);
    } else {
        while (*line && *line != ' ')
            ++line;
    }
    while (*line == ' ')
        ++line;
    std::string mode(line);
    return mode.substr(0, mode.find(' '));
}

int LogBox(void*, const char* text, const char* caption, unsigned) {
    CurrentErrorStream().writeString("#Box ").writeString(caption).writeString(": ").writeString(text).writeString(
        "\n");
    return IDCANCEL;
}

// The log file, held open so that its text can still be read once the
// framework main has deleted it.
HANDLE g_log = INVALID_HANDLE_VALUE;
std::string g_seenPath;

void CopySeenLog() {
    if (g_log == INVALID_HANDLE_VALUE)
        return;
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    SetFilePointer(g_log, 0, nullptr, FILE_BEGIN);
    while (ReadFile(g_log, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, n);
    CloseHandle(g_log);
    g_log = INVALID_HANDLE_VALUE;
    HANDLE out = CreateFileA(g_seenPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(out);
}

void HoldLog() {
    AFileSpec folder = AAppTempFolderSpec();
    std::string log = AFileSpec(folder, "svtest.log").path().c_str();
    g_seenPath = AFileSpec(folder, "svtest-seen.log").path().c_str();
    g_log = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    if (g_log != INVALID_HANDLE_VALUE)
        std::atexit(CopySeenLog);
}

class QuitCommand : public ACommand {
public:
    explicit QuitCommand(AComponent* target) : ACommand(target, 0, 1) {}
    void execute() override { AApp::current()->quit(); }
};

std::string SecondWord() {
    std::string line(GetCommandLineA());
    size_t at = line.find(" mdi ");
    return at == std::string::npos ? std::string() : line.substr(at + 5);
}

}  // namespace

class TestApplication : public AApp {
    SV_DECLARE_CLASS(TestApplication)
public:
    TestApplication() : AApp(AString("TestApplication"), ARect(), 0, 0), mode_(Mode()) { HoldLog(); }

    bool activateOtherInstance() override { return mode_ != "noactivate" && AApp::activateOtherInstance(); }
    int run() override {
        inRun_ = true;
        int code = AApp::run();
        inRun_ = false;
        return code;
    }
    void doStart() override {
        HWND frame = static_cast<HWND>(frameWindow());
        if (inRun_ && frame && IsWindowVisible(frame))
            CurrentErrorStream().writeString("#doStart inside run, frame shown\n");
        // Its tool bar comes from its "AAppToolBar" layout.
        auto* bar = dynamic_cast<ADisplayComponent*>(toolBar());
        if (bar && frame && GetParent(bar->getHWnd()) == frame && IsWindowVisible(bar->getHWnd()))
            CurrentErrorStream().writeString("#tool bar ").writeShort(bar->id()).writeString(" on the frame\n");
        // The waiting copy shows the tests its log has started.
        if (mode_ == "wait") {
            if (ATextOutStream* log = dynamic_cast<ATextOutStream*>(&CurrentErrorStream()))
                KY_FileFlush(log->file());
        }
        if (mode_ == "fatal")
            ThrowAssert("ttestapp", 1);
        if (mode_ == "mdi") {
            openChildren();
            return;
        }
        if (mode_ == "quit3")
            PostQuitMessage(3);
        else if (mode_ != "wait") {
            QuitCommand* quit = new QuitCommand(this);
            AObject::completeNew(quit);
            executeCommand(quit);
        }
    }

private:
    void openChildren() {
        for (const char* name : {"Astronomie", "Untitled"}) {
            if (auto* window = dynamic_cast<AWindow*>(AComponent::loadLayout(this, name, 0)))
                window->select();
        }
        MdiTile();
        auto* dialog = dynamic_cast<AWindow*>(AComponent::loadLayout(this, "Preferences", 0));
        if (dialog)
            dialog->select();
        flushUpdates();
        HWND frame = static_cast<HWND>(frameWindow());
        // The dialog is no child of the frame: it is drawn on its own.
        for (HWND w : {frame, dialog ? dialog->getHWnd() : nullptr})
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        takePicture(SecondWord());
        quitRequest();
    }

    // ImageMagick on the host, through Wine's start of Unix programs; waits for the file.
    void takePicture(const std::string& path) {
        if (path.empty())
            return;
        RECT r;
        GetWindowRect(static_cast<HWND>(frameWindow()), &r);
        // A maximised frame's borders lie off the screen.
        long left = r.left < 0 ? 0 : r.left, top = r.top < 0 ? 0 : r.top;
        long right = r.right > GetSystemMetrics(SM_CXSCREEN) ? GetSystemMetrics(SM_CXSCREEN) : r.right;
        long bottom = r.bottom > GetSystemMetrics(SM_CYSCREEN) ? GetSystemMetrics(SM_CYSCREEN) : r.bottom;
        char crop[80];
        snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", right - left, bottom - top, left, top);
        std::string command = "/bin/sh -c \"import -window root -crop " + std::string(crop) + " png:" + path + ".part && mv " +
                              path + ".part " + path + "\"";
        if (!StartHostProgram(command))
            return;
        std::string dosPath = "Z:" + path;
        for (int i = 0; i < 300 && GetFileAttributesA(dosPath.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            Sleep(100);
    }

    std::string mode_;
    bool inRun_ = false;
};

SV_IMPLEMENT_CLASS(TestApplication, 9001, AApp)

namespace {

const AClass* const kNullParents[] = {&AApp::classRecord, nullptr};
AClass g_nullApplication(
    "NullApplication", []() -> AObject* { return nullptr; }, kNullParents, 9002);

const AClass* ChooseClass() {
    Seams().messageBox = LogBox;
    return Mode() == "nullfactory" ? &g_nullApplication : &TestApplication::classRecord;
}

}  // namespace

const AClass* AppClassRecord = ChooseClass();
const char* AppLogName = Mode() == "nolog" ? "" : "svtest.log";
