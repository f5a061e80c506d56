// The online-service settings files: their exact lines, the read rules, the
// three arrangements of records, the connection-state rule, and damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "app/online/ANetInfo.h"
#include "base/procedural/AError.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

class NetInfoFiles : public TempFolderTest {
protected:
    AFileSpec folder() const { return AFileSpec(folder_.c_str()); }
    std::vector<std::string> fileLines(const char* name) { return Lines(ReadAll(PathOf(name))); }
};

TEST_F(NetInfoFiles, DefaultsSaveTheFullLayoutOfEachArrangement) {
    long before = static_cast<long>(std::time(nullptr));
    {
        ANetInfo info(folder(), "svnet.par", 0, 0, 0);
        EXPECT_EQ(0, info.fReachable);
        EXPECT_EQ(2, info.getFilterLevel());
        EXPECT_EQ(50, info.getMaxNetResults());
    }
    std::vector<std::string> lines = fileLines("svnet.par");
    ASSERT_EQ(27u, lines.size());
    std::vector<std::string> expected = {"1", "0", "2", "2"};
    expected.insert(expected.end(), 13, "");
    expected.insert(expected.end(), {"0", "0", "", lines[20], "1", "", "0", "0", "0", "50"});
    EXPECT_EQ(expected, lines);
    EXPECT_GE(std::atol(lines[20].c_str()), before);

    // A network reader with shared settings: the administrator's file is only read.
    { ANetInfo shared(folder(), "svnetadm.par", 0, 1, folder(), "svnetusr.par", 0, 0, 1); }
    EXPECT_FALSE(PathExistsOnDisk(PathOf("svnetadm.par")));
    lines = fileLines("svnetusr.par");
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("", lines[0]);
    EXPECT_GE(std::atol(lines[1].c_str()), before);

    // A network reader with its own main record: 25 lines, no last connection.
    { ANetInfo own(folder(), "svnetown.par", 0, 0, 1); }
    EXPECT_EQ(25u, fileLines("svnetown.par").size());
}

TEST_F(NetInfoFiles, ReadRulesShapeWhatComesBack) {
    struct Row {
        const char* name;
        std::vector<std::pair<int, std::string>> set;  // line (1-based) and text
        int16_t network;
        int line;  // line of the saved file checked (1-based)
        const char* saved;
    } rows[] = {
        {"line 22 always comes back as 1", {{22, "7"}}, 0, 22, "1"},
        {"state 4 grants the service", {{3, "4"}, {18, "0"}}, 0, 18, "1"},
        {"state 3 grants the second access", {{3, "3"}, {19, "0"}}, 0, 19, "1"},
        {"a temporary filter puts the level back to 2", {{2, "1"}, {4, "0"}}, 0, 4, "2"},
        {"a number without digits is 0", {{4, "abc"}}, 0, 4, "0"},
        {"texts are kept as they stand", {{5, "C1 x"}, {9, "r3"}, {10, "r1"}}, 0, 9, "r3"},
        {"a network record skips the last connection", {{20, "hier"}, {27, "9"}}, 1, 25, "9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> lines(27, "0");
        for (const auto& set : row.set)
            lines[set.first - 1] = set.second;
        if (row.network)
            lines.erase(lines.begin() + 19, lines.begin() + 21);
        WriteAll(PathOf("svnet.par"), Join(lines));
        { ANetInfo info(folder(), "svnet.par", 0, 0, row.network); }
        std::vector<std::string> saved = fileLines("svnet.par");
        ASSERT_EQ(row.network ? 25u : 27u, saved.size());
        EXPECT_EQ(row.saved, saved[row.line - 1]);
    }
}

TEST_F(NetInfoFiles, ShortFilesAndZeroTimesReadAsDefaultsOfTheFile) {
    WriteAll(PathOf("svnet.par"), "0\r\n0\r\n4\r\n");
    ANetInfo info(folder(), "svnet.par", 1, 0, 0);
    EXPECT_EQ(4, info.getConnectionState());
    EXPECT_EQ(1, info.getServiceAccess());
    EXPECT_EQ(0, info.getMaxNetResults());
    EXPECT_TRUE(info.getCookie1().empty());
    EXPECT_GT(info.admInfo()->fCreated, 0);
    EXPECT_TRUE(info.getLastConnection().empty());
    info.setLastConnection(AString("07/12/2026"));
    info.setCookie1(AString("C1"));
    info.save();
    ANetInfo again(folder(), "svnet.par", 1, 0, 0);
    EXPECT_EQ("C1", std::string(again.getCookie1().c_str()));
    EXPECT_EQ("07/12/2026", std::string(again.getLastConnection().c_str()));
}

TEST_F(NetInfoFiles, ConnectionStateFollowsWantReachAndAccess) {
    struct Row {
        bool wanted, reachable;
        int16_t access, alt;
        int16_t reach, state;
    } rows[] = {
        {true, true, 1, 0, 1, 4},  {true, true, 1, 1, 1, 4},  {true, true, 0, 1, 1, 3},
        {true, true, 0, 0, 1, 2},  {true, false, 1, 1, 0, 1}, {false, true, 1, 1, 0, 1},
    };
    ANetInfo info(folder(), "svnet.par", 1, 0, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.wanted) + std::to_string(row.reachable) + std::to_string(row.access) +
                     std::to_string(row.alt));
        info.setServiceAccess(row.access);
        info.setServiceAccessAlt(row.alt);
        EXPECT_EQ(row.state, info.updateConnectionState(row.wanted, row.reachable));
        EXPECT_EQ(row.state, info.getConnectionState());
        EXPECT_EQ(row.reach, info.fReachable);
    }
    // The last connection of a network installation without a reader record is never read: empty.
    ANetInfo network(folder(), "svnetadm.par", 0, 1, folder(), nullptr, 0, 0, 1);
    EXPECT_TRUE(network.getLastConnection().empty());
}

TEST_F(NetInfoFiles, MutatedFilesLoadOrFailRecoverably) {
    std::vector<std::string> lines = {"1", "1", "4", "0", "c1", "c2", "login", "pw", "", "", "", "", "",
                                      "proxy", "8080", "", "np", "1", "0", "hier", "1700000000", "1", "",
                                      "0", "1", "1", "50"};
    const std::string good = Join(lines);
    std::mt19937 random(56);
    int failures = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string text = good;
        int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            size_t at = random() % text.size();
            switch (random() % 4) {
            case 0: text[at] = static_cast<char>(random() % 256); break;
            case 1: text.erase(at, 1 + random() % 40); break;
            case 2: text.insert(at, std::string(1 + random() % 300, static_cast<char>(random() % 256))); break;
            default: text.resize(at); break;
            }
        }
        WriteAll(PathOf("svnet.par"), text);
        try {
            ANetInfo info(folder(), "svnet.par", 1, 1, 0);
            (void)info.getFilterLevel();
            (void)info.getCookie1();
        } catch (const AError&) {
            ++failures;
        }
    }
    std::printf("mutated svnet.par files refused: %d of 10000\n", failures);
}

}  // namespace
