// The preference and history files: their exact bytes, round trips, the
// order of callbacks, and damaged files that load as errors and change nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/prefs/AHistoManager.h"
#include "app/prefs/APrefManager.h"
#include "app/state/AppState.h"
#include "app/state/MarkedLines.h"
#include "base/object/ARefObj.h"
#include "base/procedural/AError.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"
#include "tests/app/prefs/HistoTestSupport.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

using FakeHost = ChainHost;

class Recorder : public APrefCallBack {
public:
    Recorder(std::string* log, const char* name) : log_(log), name_(name) {}
    void prefsChanged(APrefManager& manager) override { *log_ += name_ + std::to_string(manager.getLong(1001)) + ";"; }

private:
    std::string* log_;
    std::string name_;
};

class PrefFiles : public TempFolderTest {
protected:
    AFileSpec folder() const { return AFileSpec(folder_.c_str()); }

    // A state of screen mode `mode` for document docNo, sharing `search`.
    AppState* state(int16_t mode, long docNo, ASVLoSearchState* search = nullptr, int16_t docType = 0) {
        ADocState* doc = new ADocState(1201);
        doc->fDocType = docType;
        auto* made = new AppState(mode, 1203, doc, nullptr, nullptr, search, docNo);
        made->setUserInfo(1190, docNo * 7);
        return made;
    }
    std::string saveHistory(FakeHost& host, const char* name = "sv.histo") {
        AHistoManager history(folder(), name, 0, &host);
        history.save();
        return ReadAll(PathOf(name));
    }
};

TEST_F(PrefFiles, ANewReaderGetsTheDefaultsAndAReadKeyIsSaved) {
    const std::string defaults =
        "10\n1001\n2002\n1002\n1\n1004\n20\n1005\n1\n1006\n0\n1007\n1\n1008\n3\n1009\n1\n1010\n0\n1012\n50\n0\n";
    {
        APrefManager prefs(folder(), "sv.prf");
        EXPECT_EQ(50, prefs.getMaxNetResults());
        EXPECT_EQ(1, prefs.getWorkOnline());
    }
    EXPECT_EQ(defaults, ReadAll(PathOf("sv.prf")));
    {
        APrefManager prefs(folder(), "sv.prf");
        EXPECT_EQ(0, prefs.getLong(APrefManager::kSaveHistory)) << "never set";
        prefs.setString(5, "texte");
    }
    EXPECT_EQ("11\n1001\n2002\n1002\n1\n1003\n0\n1004\n20\n", ReadAll(PathOf("sv.prf")).substr(0, 35));
    APrefManager again(folder(), "sv.prf");
    EXPECT_STREQ("texte", again.getString(5).c_str());
}

TEST_F(PrefFiles, CallBacksAreToldInTheOrderTheyCame) {
    std::string log;
    APrefManager prefs(folder(), "sv.prf");
    prefs.notifyCallBacks();
    EXPECT_EQ("", log);
    prefs.addCallBack(new Recorder(&log, "a"));
    prefs.addCallBack(new Recorder(&log, "b"));
    prefs.addCallBack(new Recorder(&log, "c"));
    prefs.notifyCallBacks();
    EXPECT_EQ("a2002;b2002;c2002;", log);
}

TEST_F(PrefFiles, ADamagedPreferenceFileIsAnErrorAndStaysAsItWas) {
    const char* damaged[] = {"5\n1001\n", "2\n1001\n2002\n1002\n", "1\n1001\n7\n3\n1\n"};
    for (const char* bytes : damaged) {
        SCOPED_TRACE(bytes);
        WriteAll(PathOf("sv.prf"), bytes);
        bool failed = false;
        try {
            APrefManager prefs(folder(), "sv.prf");
        } catch (const AError&) {
            failed = true;
        }
        EXPECT_TRUE(failed);
        EXPECT_EQ(bytes, ReadAll(PathOf("sv.prf")));
    }
}

TEST_F(PrefFiles, AnEmptyHistoryWritesTwoCountsBetweenTheValidFlags) {
    FakeHost host(folder_);
    EXPECT_EQ("<!--nbSearchState-->0\n<!--nbState-->0\n", saveHistory(host));
    EXPECT_EQ("ValidHistoQuit=0;ValidHistoQuit=1;", host.valid);
}

TEST_F(PrefFiles, HistoryRoundTripsAndWritesASharedSearchStateOnce) {
    std::string first;
    {
        FakeHost host(folder_);
        AHistoManager history(folder(), "sv.histo", 0, &host);
        // A full-text list is read in place; an index list would be copied
        // on reading, under a new name.
        ALoScore* list = new ALoScore(200, 3, 1);
        for (long d : {4, 9})
            list->add(d, d, 0);
        ARefHold<ASVLoSearchState> shared(new ASVLoSearchState());
        shared->setQuery("chat");
        shared->setTextResults(list);
        for (int i = 0; i < 20; ++i)
            host.addState(state(1 + i % 3, i, i % 5 == 0 ? shared.get() : nullptr, i == 7 ? 8 : 0));
        EXPECT_TRUE(history.hasWebDocument(7));
        EXPECT_FALSE(history.hasWebDocument(8));
        history.save();
        first = ReadAll(PathOf("sv.histo"));
        EXPECT_EQ(first.find("<!--searchPtrkey-->"), first.rfind("<!--searchPtrkey-->")) << "written once";
        EXPECT_EQ(0u, first.find("<!--nbSearchState-->1\n"));
    }
    FakeHost host(folder_);
    AHistoManager history(folder(), "sv.histo", 0, &host);
    history.load();
    ASSERT_EQ(20u, host.chain.size());
    EXPECT_EQ(host.chain[0]->getSearchState(), host.chain[5]->getSearchState());
    ASSERT_NE(nullptr, host.chain[5]->getSearchState());
    EXPECT_NE(nullptr, host.chain[5]->getSearchState()->getTextResults());
    EXPECT_TRUE(history.hasWebDocument(7));
    history.save();
    EXPECT_TRUE(first == ReadAll(PathOf("sv.histo"))) << "the same bytes again";
}

TEST_F(PrefFiles, ALastStateOfScreenModeZeroIsDropped) {
    std::string written;
    {
        FakeHost host(folder_);
        for (int16_t mode : {1, 2, 0})
            host.addState(state(mode, mode, nullptr));
        written = saveHistory(host);
    }
    FakeHost host(folder_);
    AHistoManager history(folder(), "sv.histo", 0, &host);
    history.load();
    ASSERT_EQ(2u, host.chain.size());
    EXPECT_EQ(2, host.chain[1]->getScreenMode());
}

// Each damage loads as an error and hands the window nothing, not even the
// states before the damage; the search states made are gone again.
TEST_F(PrefFiles, ADamagedHistoryHandsOverNothing) {
    std::string good;
    {
        FakeHost host(folder_);
        ARefHold<ASVLoSearchState> search(new ASVLoSearchState(40));
        search->setQuery("q");
        ALoFile* list = new ALoFile(0L);
        list->add(3, 0, 0);
        search->setIndexResults(list);
        for (int i = 0; i < 3; ++i)
            host.addState(state(1, i, search.get()));
        good = saveHistory(host);
    }
    size_t listAt = good.find("<!--fLoIdxSVPath-->") + 19;
    std::string listPath = good.substr(listAt, good.find('\n', listAt) - listAt);
    struct Row {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"a wrong marker", std::string(good).replace(good.find("<!--nbState-->"), 14, "<!--nbStates->")},
        {"a count beyond the file", std::string(good).replace(good.find("<!--nbState-->3"), 15, "<!--nbState-->9")},
        {"a huge count", std::string(good).replace(good.find("<!--nbState-->3"), 15, "<!--nbState-->99999")},
        {"a cut file", good.substr(0, good.size() - 40)},
        {"a missing list file", std::string(good).replace(listAt, listPath.size(), PathOf("absent.lst"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteAll(PathOf("bad.histo"), row.bytes);
        FakeHost host(folder_);
        AHistoManager history(folder(), "bad.histo", 0, &host);
        bool failed = false;
        try {
            history.load();
        } catch (const AError&) {
            failed = true;
        }
        EXPECT_TRUE(failed);
        EXPECT_TRUE(host.chain.empty());
        EXPECT_EQ(nullptr, history.findSearchState(40));
        EXPECT_FALSE(history.isLoading());
        EXPECT_THROW(history.save(), AError) << "a damaged file is not saved over";
    }
}

// Mutated files (bytes changed, cut, lines doubled) each load whole or fail
// with a recoverable error: nothing ends the process or reads outside a buffer.
TEST_F(PrefFiles, MutatedFilesLoadOrFailWithARecoverableError) {
    std::string histo;
    {
        FakeHost host(folder_);
        ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
        search->setQuery("chat");
        search->setText(2, "texte");
        for (int i = 0; i < 4; ++i)
            host.addState(state(1 + i % 2, i, search.get()));
        histo = saveHistory(host);
    }
    {
        APrefManager prefs(folder(), "sv.prf");
        prefs.setString(7, "un texte");
    }
    const std::string prf = ReadAll(PathOf("sv.prf"));
    unsigned seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 8); };
    int loaded = 0, failed = 0;
    for (int round = 0; round < 10000; ++round) {
        const std::string& good = round % 2 ? prf : histo;
        std::string bytes = good;
        switch (next() % 3) {
            case 0:
                for (int n = 1 + next() % 4; n > 0; --n)
                    bytes[next() % bytes.size()] = static_cast<char>(next());
                break;
            case 1:
                bytes.resize(next() % bytes.size());
                break;
            default: {
                size_t at = bytes.find('\n', next() % bytes.size());
                if (at != std::string::npos)
                    bytes.insert(at + 1, bytes.substr(0, at + 1).substr(bytes.rfind('\n', at > 0 ? at - 1 : 0) + 1));
            }
        }
        SCOPED_TRACE(round);
        WriteAll(PathOf("m.file"), bytes);
        try {
            if (round % 2) {
                APrefManager prefs(folder(), "m.file");
                prefs.setReadOnly(1);
            } else {
                FakeHost host(folder_);
                AHistoManager history(folder(), "m.file", 0, &host);
                history.load();
            }
            ++loaded;
        } catch (const AError&) {
            ++failed;
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(failed, 0);
}

std::vector<std::string> g_registered;

void RecordTempFile(const AFileSpec& file) {
    g_registered.push_back(file.path().c_str());
}

// The lists a history names outlive the states that wrote and read them:
// none of them is handed to the next start's deletion.
TEST_F(PrefFiles, TheListsAHistoryNamesAreNeverDeletedAtTheNextStart) {
    g_registered.clear();
    ALoSetTempFileHook(RecordTempFile);
    std::string written;
    {
        FakeHost host(folder_);
        AHistoManager history(folder(), "sv.histo", 0, &host);
        ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
        ALoScore* full = new ALoScore(100, 2, 1);
        full->add(5, 5, 0);
        ALoFile* index = new ALoFile(0L);
        index->add(6, 0, 0);
        search->setTextResults(full);
        search->setIndexResults(index);
        host.addState(state(1, 5, search.get()));
        history.save();
        written = ReadAll(PathOf("sv.histo"));
    }
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        FakeHost host(folder_);
        AHistoManager history(folder(), "sv.histo", 0, &host);
        size_t before = g_registered.size();
        history.load();
        ASSERT_EQ(1u, host.chain.size());
        // The index list is read from a copy, which the next start deletes;
        // the history goes on naming the list it was saved with.
        EXPECT_EQ(before + 1, g_registered.size()) << "the copy made on reading is a registered temporary file";
        history.save();
        EXPECT_TRUE(written == ReadAll(PathOf("sv.histo"))) << ReadAll(PathOf("sv.histo"));
    }
    ALoSetTempFileHook(nullptr);
    std::string named = ReadAll(PathOf("sv.histo")) + written;
    for (const std::string& path : g_registered) {
        SCOPED_TRACE(path);
        EXPECT_EQ(std::string::npos, named.find(path));
    }
}

// The online result files a history names are deleted with their state: a
// name that could reach outside the temporary folder is dropped on reading,
// and the state keeps its other files.
TEST_F(PrefFiles, OnlineFileNamesOutsideTheTemporaryFolderAreDropped) {
    const std::string temp = PathOf("temp");
    ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr));
    std::string good;
    {
        ChainHost host(temp);
        AHistoManager history(folder(), "sv.histo", 0, &host);
        ARefHold<ASVLoSearchState> search(new ASVLoSearchState(41));
        search->setNetFile(0, "r0.net", AFileSpec(temp.c_str()));
        search->setNetFile(1, "PLACEHOLDER", AFileSpec(temp.c_str()));
        host.addState(state(1, 1, search.get()));
        history.save();
        good = ReadAll(PathOf("sv.histo"));
    }
    const std::string names[] = {"..\\victim.txt", "../victim.txt", "sub\\..\\..\\victim.txt", "..", " . ",
                                 "x:victim.txt", "\\victim.txt", PathOf("victim.txt")};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        WriteAll(PathOf("victim.txt"), "keep");
        WriteAll(temp + "\\r0.net", "r");
        std::string bytes = good;
        bytes.replace(bytes.find("PLACEHOLDER"), 11, name);
        WriteAll(PathOf("named.histo"), bytes);
        {
            ChainHost host(temp);
            AHistoManager history(folder(), "named.histo", 0, &host);
            history.load();
            ASSERT_EQ(1u, host.chain.size());
            ASVLoSearchState* read = host.chain[0]->getSearchState();
            ASSERT_NE(nullptr, read);
            EXPECT_EQ("r0.net", std::string(read->getNetFile(0).c_str()));
            EXPECT_TRUE(read->getNetFile(1).empty());
        }
        EXPECT_EQ("keep", ReadAll(PathOf("victim.txt")));
        EXPECT_FALSE(PathExistsOnDisk(temp + "\\r0.net")) << "the state's own file goes with it";
    }
}

}  // namespace

// A search state of the file that no navigation state uses stays in the
// table: the history saved again holds it, byte for byte.
TEST_F(PrefFiles, ASearchStateNoNavigationStateUsesIsSavedAgain) {
    std::string first;
    {
        FakeHost host(folder_);
        AHistoManager history(folder(), "sv.histo", 0, &host);
        ARefHold<ASVLoSearchState> used(new ASVLoSearchState());
        used->setQuery("chat");
        ARefHold<ASVLoSearchState> unused(new ASVLoSearchState());
        unused->setQuery("chien");
        host.addState(state(1, 3, used.get()));
        host.addState(state(2, 4, nullptr));
        history.save();
        first = ReadAll(PathOf("sv.histo"));
        ASSERT_EQ(0u, first.find("<!--nbSearchState-->2\n"));
    }
    FakeHost host(folder_);
    AHistoManager history(folder(), "sv.histo", 0, &host);
    history.load();
    ASSERT_EQ(2u, host.chain.size());
    history.save();
    EXPECT_TRUE(first == ReadAll(PathOf("sv.histo"))) << ReadAll(PathOf("sv.histo"));
}
