// The folders of readers and works: which names may become folders, and
// work saves killed at random moments by a child process, after which the
// recovery leaves one whole version of the work and no sibling.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "app/frame/AWorkFolders.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

std::string SaverPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1) + "work_saver.exe";
}


class WorkFoldersTest : public TempFolderTest {};

}  // namespace

TEST(WorkFolderNames, OnlyPlainFolderNamesAreUsable) {
    struct Row {
        const char* name;
        bool usable;
    };
    const Row rows[] = {
        {"travail", true},  {"Mon travail 2", true}, {"\xE9t\xE9", true}, {"", false},      {".", false},
        {"..", false},      {".cache", false},       {"a\\b", false},      {"a/b", false},   {"c:x", false},
        {"a*", false},      {"tab\there", false},    {"CON", false},       {"nul.txt", false}, {"com1", false},
        {"LPT9", false},    {"COM10", true},         {"CONSOLE", true},    {"fin.", false},  {"fin ", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.usable, IsUsableFolderName(row.name));
    }
    EXPECT_FALSE(IsUsableFolderName(nullptr));
}

TEST_F(WorkFoldersTest, ARolledBackSaveLeavesTheOldWorkAndACommittedOneTheNew) {
    AFileSpec user(folder_.c_str());
    std::string work = PathOf("W");
    // A new work rolled back leaves nothing; committed, it stays alone.
    ASSERT_TRUE(BeginWorkSave(user, "W"));
    WriteAll(work + "\\sv.prf", "first");
    RollBackWorkSave(user, "W");
    EXPECT_TRUE(FolderEntries(folder_).empty());
    ASSERT_TRUE(BeginWorkSave(user, "W"));
    WriteAll(work + "\\sv.prf", "first");
    CommitWorkSave(user, "W");
    EXPECT_EQ(std::vector<std::string>{"W"}, FolderEntries(folder_));
    // A replacement rolled back brings the old work back whole.
    ASSERT_TRUE(BeginWorkSave(user, "W"));
    EXPECT_FALSE(PathExistsOnDisk(work + "\\sv.prf"));
    WriteAll(work + "\\sv.prf", "second");
    RollBackWorkSave(user, "W");
    EXPECT_EQ("first", ReadAll(work + "\\sv.prf"));
    EXPECT_EQ(std::vector<std::string>{"W"}, FolderEntries(folder_));
    // Unfinished saves left by a run are put right by the recovery.
    ASSERT_TRUE(BeginWorkSave(user, "W"));
    WriteAll(work + "\\sv.prf", "half");
    RecoverWorkFolders(user);
    EXPECT_EQ("first", ReadAll(work + "\\sv.prf"));
    EXPECT_EQ(std::vector<std::string>{"W"}, FolderEntries(folder_));
}

TEST_F(WorkFoldersTest, AKilledSaveLeavesOneWholeVersionOfTheWork) {
    AFileSpec user(folder_.c_str());
    std::string work = PathOf("W");
    ASSERT_TRUE(BeginWorkSave(user, "W"));
    for (const char* name : {"sv.prf", "sv.dos", "sv.histo"})
        WriteAll(work + "\\" + name, "initial\nEND");
    CommitWorkSave(user, "W");

    std::mt19937 random(65);
    int midway = 0;
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        std::string command = "\"" + SaverPath() + "\" \"" + folder_ + "\" " + std::to_string(round);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        // Wine now and then refuses a process while the last killed one is
        // still going away: the child is asked for again before giving up.
        bool started = false;
        DWORD error = 0;
        for (int attempt = 0; attempt < 5 && !started; ++attempt) {
            started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                     &process) != 0;
            error = started ? 0 : GetLastError();
            if (!started)
                Sleep(200);
        }
        ASSERT_TRUE(started) << "error " << error;
        DWORD waited = WaitForSingleObject(process.hProcess, 30 + random() % 300);
        if (waited == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 9);
            WaitForSingleObject(process.hProcess, INFINITE);
            ++midway;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);

        RecoverWorkFolders(user);
        ASSERT_EQ(std::vector<std::string>{"W"}, FolderEntries(folder_)) << "a sibling left after the recovery";
        std::string first = ReadAll(work + "\\sv.prf");
        ASSERT_GE(first.size(), 3u);
        EXPECT_EQ("END", first.substr(first.size() - 3)) << "a file not written whole";
        for (const char* name : {"sv.dos", "sv.histo"})
            ASSERT_EQ(first, ReadAll(work + "\\" + name)) << "files of two versions";
    }
    EXPECT_GT(midway, 80) << "most children were killed while saving";
}

// Another reader opening its save or restore dialog recovers the folder while
// a save runs: it must leave that save alone, and a second save waits for the
// first or says it could not begin.
TEST_F(WorkFoldersTest, AnotherReadersRecoveryLeavesASaveUnderWayAlone) {
    AFileSpec user(folder_.c_str());
    std::string work = PathOf("W");
    std::string command = "\"" + SaverPath() + "\" \"" + folder_ + "\" 0";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    // Its first work written, the other reader recovers for a second and a half.
    for (int i = 0; i < 1000 && !PathExistsOnDisk(work + "\\sv.histo"); ++i)
        Sleep(10);
    // Each recovery is a dialog opened: a reader recovering without a pause
    // would hold the lock so often that no save could begin, as designed.
    for (DWORD start = GetTickCount();
         GetTickCount() - start < 1500 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;) {
        RecoverWorkFolders(user);
        Sleep(20);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(STILL_ACTIVE, code) << "the saver stopped: its save was undone under it";
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RecoverWorkFolders(user);
    ASSERT_EQ(std::vector<std::string>{"W"}, FolderEntries(folder_));
    std::string first = ReadAll(work + "\\sv.prf");
    for (const char* name : {"sv.dos", "sv.histo"})
        EXPECT_EQ(first, ReadAll(work + "\\" + name)) << "files of two versions";

    // In one process: a save under way refuses a second.
    ASSERT_TRUE(BeginWorkSave(user, "W"));
    EXPECT_FALSE(BeginWorkSave(user, "W"));
    CommitWorkSave(user, "W");
    EXPECT_EQ(std::vector<std::string>{"W"}, FolderEntries(folder_));
}
