// Saves killed at random moments: a child process saves the random versions
// of a store one after the other and is killed; the file left must be one
// whole version (the old file or a new one), never a mix.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/panes/docks/workspace/StoreTestSupport.h"

namespace {

const long kVersions = 400;

std::string SaverPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1) + "workspace_saver.exe";
}

class InterruptedSaveTest : public TempFolderTest {
protected:
    // The bytes of every version the child can write for the seed.
    template <class Store>
    std::set<std::string> versions(const char* name, unsigned seed, Store* (*make)(const AFileSpec&)) {
        std::string replica = PathOf("replica");
        CreateDirectoryA(replica.c_str(), nullptr);
        std::set<std::string> all;
        std::mt19937 random(seed);
        Store* store = make(AFileSpec(replica.c_str()));
        for (long k = 0; k < kVersions; ++k) {
            SaveNextVersion(*store, random);
            all.insert(ReadAll(replica + "\\" + name));
        }
        store->setReadOnly(1);
        delete store;
        return all;
    }
};

ADossierManager* MakeDossiers(const AFileSpec& folder) {
    return new ADossierManager(nullptr, 50, folder, "sv.dos");
}

ANoteManager* MakeNotes(const AFileSpec& folder) {
    return new ANoteManager(nullptr, folder, "sv.note");
}

}  // namespace

TEST_F(InterruptedSaveTest, AKilledSaveLeavesTheOldOrTheNewFile) {
    const unsigned seeds[2] = {601, 602};
    const char* names[2] = {"sv.dos", "sv.note"};
    std::set<std::string> whole[2] = {versions(names[0], seeds[0], MakeDossiers),
                                      versions(names[1], seeds[1], MakeNotes)};
    std::string stores = PathOf("stores");
    CreateDirectoryA(stores.c_str(), nullptr);
    // The first files: what each store writes when it finds none.
    delete MakeDossiers(AFileSpec(stores.c_str()));
    delete MakeNotes(AFileSpec(stores.c_str()));
    for (int which = 0; which < 2; ++which)
        whole[which].insert(ReadAll(stores + "\\" + names[which]));

    std::mt19937 random(60);
    int midway = 0;
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        int which = round % 2;
        std::string command = "\"" + SaverPath() + "\" \"" + stores + "\" " + (which ? "note " : "dos ") +
                              std::to_string(seeds[which]) + " " + std::to_string(kVersions);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        DWORD waited = WaitForSingleObject(process.hProcess, 30 + random() % 400);
        if (waited == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 9);
            WaitForSingleObject(process.hProcess, INFINITE);
            ++midway;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::string file = ReadAll(stores + "\\" + names[which]);
        ASSERT_EQ(1u, whole[which].count(file)) << "a file that no save wrote whole";
        bool failed = which ? ANoteManager(nullptr, AFileSpec(stores.c_str()), names[1]).loadFailed()
                            : ADossierManager(nullptr, 50, AFileSpec(stores.c_str()), names[0]).loadFailed();
        ASSERT_FALSE(failed);
    }
    EXPECT_GT(midway, 150) << "most children were killed while saving";
}

// Three readers sharing one user folder load and save the same store at once:
// no file is taken for damaged, no save fails, and the file left is one whole
// version that loads.
TEST_F(InterruptedSaveTest, ThreeReadersOfOneFolderKeepTheStoreWhole) {
    const long kEach = 60;
    const unsigned seeds[3] = {701, 702, 703};
    std::set<std::string> whole;
    for (unsigned seed : seeds) {
        std::string replica = PathOf("replica");
        RemoveTree(replica);
        std::set<std::string> some = versions("sv.dos", seed, MakeDossiers);
        whole.insert(some.begin(), some.end());
    }
    std::string shared = PathOf("shared");
    CreateDirectoryA(shared.c_str(), nullptr);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        PROCESS_INFORMATION children[3] = {};
        for (int i = 0; i < 3; ++i) {
            std::string command = "\"" + SaverPath() + "\" \"" + shared + "\" dos " + std::to_string(seeds[i]) + " " +
                                  std::to_string(kEach);
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                       &children[i]));
        }
        for (PROCESS_INFORMATION& child : children) {
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 120000));
            DWORD code = 9;
            GetExitCodeProcess(child.hProcess, &code);
            EXPECT_EQ(0u, code) << "a load or a save of a reader failed";
            CloseHandle(child.hThread);
            CloseHandle(child.hProcess);
        }
        EXPECT_EQ(std::vector<std::string>{"sv.dos"}, FolderEntries(shared)) << "a file set aside or left behind";
        EXPECT_EQ(1u, whole.count(ReadAll(shared + "\\sv.dos"))) << "a file that no save wrote whole";
        EXPECT_FALSE(ADossierManager(nullptr, 50, AFileSpec(shared.c_str()), "sv.dos").loadFailed());
    }
}

// A store that another program holds open the whole time is not damaged: it
// is neither set aside nor written over with an empty store; once free, it
// loads as it was.
TEST_F(InterruptedSaveTest, AStoreThatCannotBeOpenedStaysAsItWas) {
    AFileSpec folder(folder_.c_str());
    std::mt19937 random(77);
    {
        ADossierManager dossiers(nullptr, 50, folder, "sv.dos");
        SaveNextVersion(dossiers, random);
    }
    const std::string before = ReadAll(PathOf("sv.dos"));
    // Held without read sharing; renaming it stays possible.
    HANDLE held =
        CreateFileA(PathOf("sv.dos").c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    {
        ADossierManager dossiers(nullptr, 50, folder, "sv.dos");
        EXPECT_TRUE(dossiers.loadFailed());
        EXPECT_TRUE(dossiers.keptAs().empty());
        EXPECT_THROW(dossiers.save(), AError);
    }
    CloseHandle(held);
    EXPECT_EQ(std::vector<std::string>{"sv.dos"}, FolderEntries(folder_));
    EXPECT_EQ(before, ReadAll(PathOf("sv.dos")));
    EXPECT_FALSE(ADossierManager(nullptr, 50, folder, "sv.dos").loadFailed());
}
