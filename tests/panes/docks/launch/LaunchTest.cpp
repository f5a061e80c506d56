// The program launcher: a missing program, a window program started in its
// own folder and waited for until idle, a console program, and the DDE error
// texts through the message-box seam.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <string>

#include "panes/docks/launch/ulaunch.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::string ProgramFolderPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\'));
}

class LaunchTest : public TempFolderTest {};

HDDEDATA CALLBACK NoDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

}  // namespace

TEST_F(LaunchTest, ProgramsStartInTheirOwnFolderAndAreWaitedFor) {
    EXPECT_EQ(0, LaunchProcess(AFileSpec(PathOf("absent.exe").c_str()), AFileSpec(), 1, nullptr));
    EXPECT_EQ(0, LaunchProcess(AFileSpec(), AFileSpec(), 1, nullptr));

    struct Row {
        const char* program;
        bool window;
    } const rows[] = {{"launch_probe.exe", true}, {"launch_probe_console.exe", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        std::string folder = PathOf(std::string("dossier ") + row.program);
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string program = folder + "\\" + row.program;
        ASSERT_TRUE(CopyFileA((ProgramFolderPath() + "\\" + row.program).c_str(), program.c_str(), FALSE));
        std::string out = PathOf(std::string(row.program) + ".txt");
        std::string line = "\"" + program + "\" \"" + out + "\"";
        DWORD start = GetTickCount();
        EXPECT_EQ(1, LaunchProcess(AFileSpec(program.c_str()), AFileSpec(), 1, line.c_str()));
        EXPECT_LT(GetTickCount() - start, kLaunchWaitMs);
        if (row.window) {
            // Idle means its window is up and its loop is waiting; but Wine
            // answers at once for a program that has not reached its window
            // code yet, which a loaded machine shows: the window may come
            // later. The probe ends when told.
            HWND probe = nullptr;
            for (int i = 0; i < 200 && !(probe = FindWindowA("SvLaunchProbe", nullptr)); ++i)
                Sleep(50);
            EXPECT_TRUE(probe != nullptr);
            if (probe)
                PostMessageA(probe, WM_TIMER, 0, 0);
        }
        for (int i = 0; i < 100 && GetFileAttributesA(out.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            Sleep(50);
        Sleep(100);
        EXPECT_EQ(0, _stricmp(folder.c_str(), ReadAll(out).c_str())) << ReadAll(out);
    }
    for (int i = 0; i < 100 && FindWindowA("SvLaunchProbe", nullptr); ++i)
        Sleep(50);
}

TEST(DdeErrors, EachCodeHasItsTextAndOtherCodesTheirNumber) {
    struct Row {
        unsigned code;
        const char* text;
    } const rows[] = {
        {0x4000, "sync advice timeout"},
        {0x4001, "busy"},
        {0x4002, "sync data timeout"},
        {0x4003, "not initialized"},
        {0x4004, "tried to be a server"},
        {0x4005, "sync execute timeout"},
        {0x4006, "invalid param"},
        {0x4007, "low memory"},
        {0x4008, "out of memory"},
        {0x4009, "transaction failed"},
        {0x400A, "client conversation failed"},
        {0x400B, "sync poke timeout"},
        {0x400C, "post message failed"},
        {0x400D, "transaction already in progress"},
        {0x400E, "server died"},
        {0x400F, "internal error"},
        {0x4010, "sync advise timeout"},
        {0x4011, "invalid transaction identifier"},
        {0x4012, "other error type 16402"},
        {0x3FFF, "other error type 16383"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(std::string("DDE: ") + row.text, DdeErrorText("DDE", row.code));
    }
    // A long prefix is kept whole.
    std::string prefix(400, 'p');
    EXPECT_EQ(prefix + ": busy", DdeErrorText(prefix.c_str(), 0x4001));
}

TEST(DdeErrors, TheLastErrorOfAnInstanceIsShownOnlyWhenThereIsOne) {
    InstallTestSeams();
    DWORD instance = 0;
    ASSERT_EQ(static_cast<UINT>(DMLERR_NO_ERROR),
              DdeInitializeA(&instance, NoDde, APPCMD_CLIENTONLY, 0));
    ClearBoxes();
    ShowDdeError(instance, "Lecteur");
    EXPECT_TRUE(CapturedBoxes().empty());
    HSZ service = DdeCreateStringHandleA(instance, "SvNoSuchService", CP_WINANSI);
    EXPECT_EQ(nullptr, DdeConnect(instance, service, service, nullptr));
    ShowDdeError(instance, "Lecteur");
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("Lecteur: client conversation failed", CapturedBoxes()[0].text);
    EXPECT_EQ(static_cast<unsigned>(MB_OK), CapturedBoxes()[0].flags);
    DdeFreeStringHandle(instance, service);
    DdeUninitialize(instance);
}
