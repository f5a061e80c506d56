// The framework entry end to end: the test application started as its own
// process, its exit code and the framework log it leaves or deletes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "tests/support/TestHooks.h"

namespace {

std::string ProgramPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, n);
    return self.substr(0, self.find_last_of("\\/") + 1) + "test_application.exe";
}

std::string TempPath(const char* name) {
    return AFileSpec(AAppTempFolderSpec(), name).path().c_str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Starts the application; the caller waits for and closes the process handle.
HANDLE Start(const std::string& args) {
    std::string line = "\"" + ProgramPath() + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// The exit code, or -1 when the process did not end within a minute.
int Finish(HANDLE process) {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

// A file the framework main has just deleted may linger while its last
// handle closes with the ended process.
bool GoneSoon(const std::string& path) {
    for (int i = 0; i < 100 && Exists(path); ++i)
        Sleep(50);
    return !Exists(path);
}

}  // namespace

TEST(EndToEnd, TheLogTellsTheRunAndSurvivesOnlyAFatalReport) {
    const std::string log = TempPath("svtest.log");
    const std::string seen = TempPath("svtest-seen.log");
    const std::vector<std::string> counts = {"#APlink Count\t=\t", "#\tbalance    :"};
    struct Row {
        const char* args;
        int exit;  // -2: any code but 0
        bool logKept;
        std::vector<std::string> inOrder;
        std::vector<std::string> absent;
        const char* existing = nullptr;  // the log file's text before the run
    };
    const Row rows[] = {
        {"abc",
         0,
         false,
         {"#Starting...\n", "CmdLine:\n", "abc\n", "#APlink Count", "#Running...\n", "#APlink Count",
          "#doStart inside run, frame shown\n", "#tool bar 410 on the frame\n", "#Exiting...\n", "#APlink Count",
          "#Done...\n", "#APlink Count", "#\tbalance    :0\n"},
         {"#Box"}},
        {"quit3", 3, false, {"#Running...\n", "#Exiting...\n", "#Done...\n"}, {"#Box"}},
        {"noactivate", 0, false, {"#Starting...\n", "#Exiting...\n", "#Done...\n"}, {"#Running", "#doStart"}},
        {"fatal", -2, true, {"#Running...\n", "#Box AAssertError: File ttestapp;line 1\n"}, {"#Exiting"}},
        {"nullfactory",
         -2,
         true,
         {"#Starting...\n", "#Box AMemError: File fappli;line 2707\n"},
         {"Unhandled Exception", "#Running"}},
        {"nolog", 0, true, {"an older file\n"}, {"#Starting"}, "an older file\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        DeleteFileA(log.c_str());
        DeleteFileA(seen.c_str());
        if (r.existing)
            std::ofstream(log, std::ios::binary) << r.existing;
        HANDLE process = Start(r.args);
        ASSERT_NE(nullptr, process);
        int code = Finish(process);
        if (r.exit == -2)
            EXPECT_NE(0, code);
        else
            EXPECT_EQ(r.exit, code);
        std::string text;
        if (r.logKept) {
            EXPECT_TRUE(Exists(log));
            text = ReadText(log);
        } else {
            EXPECT_TRUE(GoneSoon(log)) << "a normal exit deletes the log";
            text = ReadText(seen);
        }
        EXPECT_EQ("", FirstOutOfOrder(text, r.inOrder)) << text;
        for (const std::string& line : r.absent)
            EXPECT_EQ(std::string::npos, text.find(line)) << line;
    }
    DeleteFileA(log.c_str());
    DeleteFileA(seen.c_str());
}

// A second start brings the first copy forward (restoring it when minimised)
// and ends with 0, running without a log and leaving the first copy's log alone.
TEST(EndToEnd, ASecondInstanceLeavesTheFirstOnesLogAlone) {
    const std::string log = TempPath("svtest.log");
    DeleteFileA(log.c_str());
    HANDLE first = Start("wait");
    ASSERT_NE(nullptr, first);
    std::string before;
    for (int i = 0; i < 600 && before.find("#doStart") == std::string::npos; ++i) {
        Sleep(50);
        before = ReadText(log);
    }
    HWND frame = FindWindowA("KY_MDIFrameWindow", "TestApplication");
    if (!frame) {
        TerminateProcess(first, 1);
        Finish(first);
        GTEST_SKIP() << "no display";
    }
    EXPECT_NE(std::string::npos, before.find("#Running...\n"));

    ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(frame));
    EXPECT_EQ(0, Finish(Start("abc")));
    EXPECT_FALSE(IsIconic(frame)) << "the second start restores the first copy";
    EXPECT_TRUE(Exists(log));
    EXPECT_EQ(0u, ReadText(log).find(before)) << "the first copy's log is neither emptied nor written to";

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, Finish(first));
    EXPECT_TRUE(GoneSoon(log));
    DeleteFileA(TempPath("svtest-seen.log").c_str());
}

// The MDI frame with its menu and two tiled children, and a dialog of static
// items with a tool bar over them (accented labels), pictured inside a Wine
// virtual desktop (which draws captions and menus where bare Xvfb has no
// window manager); the application takes the picture itself once painted.
TEST(EndToEnd, TheMdiFrameIsPicturedWithItsMenuAndTwoChildren) {
    const std::string folder = SV_BINARY_DIR "/artifacts";
    const std::string picture = folder + "/mdi-frame.png";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    DeleteFileA(("Z:" + picture).c_str());
    std::string line = "explorer.exe /desktop=svmdi,900x640 \"" + ProgramPath() + "\" mdi " + picture;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    for (int i = 0; i < 1200 && !Exists("Z:" + picture); ++i)
        Sleep(50);
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(Exists("Z:" + picture)) << "no picture: is ImageMagick's import installed?";
    std::printf("MDI frame picture: %s\n", picture.c_str());
}
