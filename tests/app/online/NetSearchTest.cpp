// The online search and the control script, against the test server's
// service routes: the file names, the request text, one request per entry,
// failures that leave no file, and the control answers that replace an address.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/online/ANeckoConnection.h"
#include "app/online/ANetSearch.h"
#include "app/online/ASVMozillaCallBacks.h"
#include "app/state/ASVLoSearchState.h"
#include "base/procedural/SystemSeams.h"
#include "web/browser/AMozillaView.h"
#include "tests/app/online/OnlineTestHost.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "tests/web/browser/BrowserTestSupport.h"

namespace {

std::string g_boxes;
int RecordBox(void*, const char* text, const char* caption, unsigned) {
    g_boxes += std::string(caption ? caption : "") + ":" + (text ? text : "") + ";";
    return IDOK;
}

std::string Origin() {
    return ServerPorts().origin ? "http://127.0.0.1:" + std::to_string(ServerPorts().origin) : std::string();
}

// How many requests the test server has logged whose line holds part.
int Logged(const std::string& part) {
    std::ifstream log(NetServerDir() + "/requests.log");
    std::string line;
    int count = 0;
    while (std::getline(log, line))
        count += line.find(part) != std::string::npos;
    return count;
}

std::string NetFiles(const std::string& folder) {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*.net").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names += std::string(found.cFileName) + ";";
    while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

void FillHost(OnlineTestHost& host, const std::string& folder) {
    host.info.reset(new ANetInfo(AFileSpec(folder.c_str()), "svnet.par", 1, 0, 0));
    host.info->setCookie1(AString("C1"));
    host.info->setCookie2(AString("C2"));
    host.info->setFilterLevel(0);
    host.temp = AFileSpec(folder.c_str());
    host.config["SVSITE"] = "http://SITE";
    host.config["SERVERNAME"] = Origin();
    host.config["SEARCHSCRIPT"] = "/sv/search";
}

class NetRequests : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        FillHost(host, folder_);
    }
    void TearDown() override {
        host.info.reset();
        TempFolderTest::TearDown();
    }
    OnlineTestHost host;
};

TEST_F(NetRequests, FileBasesKeepTwelveSafeCharacters) {
    struct Row {
        const char* query;
        const char* base;
    } rows[] = {
        {"ab cdefgh ij klmn opq", "abcdijklop"},
        {"abcdefghijklm", "abcdefghijk"},
        {"abcdefghijkl", "abcdefghijkl"},
        {"a b c d e f g h i j k l m", ""},
        {"/\\:*?\"<>|() \t  ", ""},
        {"  Jean   Moulin  ", "JeanMoulin"},
        {"r\xE9volution (fran\xE7" "aise)", "r\xE9volu" "fran\xE7" "a"},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.query);
        EXPECT_EQ(row.base, std::string(ANetSearch::makeNetFileBase(AString(row.query)).c_str()));
    }
}

TEST_F(NetRequests, RequestsNameWhatEachActionNeeds) {
    struct Row {
        const char* action;
        int16_t level;
        long max;
        const char* request;
    } rows[] = {
        {"text", 0, 50, "action=text&text=a%20b%26c&filter=1&max=50&plat=Win&p_cookie1=C1&p_cookie2=C2"},
        {"classif", 2, 30, "action=classif&id=12&label=L%E9s%2Fx&filter=3&max=30&plat=Win&p_cookie1=C1&p_cookie2=C2"},
        {"INDEX", 3, 50,
         "action=INDEX&text=a%20b%26c&id=12&label=L%E9s%2Fx&filter=4&max=50&plat=Win&p_cookie1=C1&p_cookie2=C2"},
        {"autre", 1, 50, "action=autre&filter=2&max=50&plat=Win&p_cookie1=C1&p_cookie2=C2"},
    };
    ASVLoSearchState* state = new ASVLoSearchState();
    state->setQuery("a b&c");
    state->setDisplayQuery("L\xE9s/x");
    ANetSearch search(&host);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        host.info->setFilterLevel(row.level);
        host.maxResults = row.max;
        EXPECT_EQ(row.request, std::string(search.makeNetRequest(*state, row.action, 12).c_str()));
    }
    state->release();
    ANeckoConnection connection("http://h:1", "", "", "", "SEARCH");
    EXPECT_EQ("http://h:1/p", std::string(connection.makeAddress("/p", "").c_str()));
    EXPECT_EQ("http://h:1/p?q=1", std::string(connection.makeAddress("/p", "q=1").c_str()));
    EXPECT_TRUE(connection.close());
    EXPECT_FALSE(connection.isOpened());
}

class OnlineService : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        Seams().messageBox = RecordBox;
        g_boxes.clear();
        temp = folders->root + "\\online";
        CreateDirectoryA(temp.c_str(), nullptr);
        FillHost(host, temp);
    }
    void TearDown() override {
        host.info.reset();
        ResetSeams();
        BrowserTest::TearDown();
    }
    OnlineTestHost host;
    std::string temp;
};

// The alert needs a view whose flags an application drives.
TEST_F(OnlineService, AlertsForShownForeignPagesOfOrdinaryStates) {
    if (!openView())
        GTEST_SKIP() << "no display";
    ASVAlertCallBack alert(&host);
    struct AlertRow {
        const char* name;
        bool mainWindow, visible, state;
        const char* url;
        long key3004, key3005;
        int16_t alert;
    } alerts[] = {
        {"no address", true, true, true, "", 0, 0, 0},
        {"a shown foreign page", true, true, true, "http://other/p", 0, 0, 1},
        {"no main window", false, true, true, "http://other/p", 0, 0, 0},
        {"a hidden view", true, false, true, "http://other/p", 0, 0, 0},
        {"no current state", true, true, false, "http://other/p", 0, 0, 0},
        {"the service's own page", true, true, true, "http://SITE/p", 0, 0, 0},
        {"a full-page state", true, true, true, "http://other/p", 1, 0, 0},
        {"the other full-page key", true, true, true, "http://other/p", 0, 2, 0},
        {"the view after the alert page", true, true, true, "http://SITE/x", 0, 0, 0},
    };
    for (const AlertRow& row : alerts) {
        SCOPED_TRACE(row.name);
        view->setVisibleFlag(row.visible);
        view->setCurrentUrl(row.url);
        host.mainWindow = row.mainWindow;
        host.currentState = row.state;
        host.userInfo[3004] = row.key3004;
        host.userInfo[3005] = row.key3005;
        EXPECT_EQ(row.alert, alert.mustAlert(view));
    }
}

TEST_F(OnlineService, SearchesOncePerEntryAndCleansUpFailures) {
    if (Origin().empty())
        GTEST_SKIP() << "no test server";
    ASVLoSearchState* state = new ASVLoSearchState();
    state->setQuery("");
    ANetSearch search(&host);
    int before = Logged("/sv/search?action=text");
    search.searchOnline(*state, 0, "text", 0);
    EXPECT_EQ("http://SITE/redirect.php?id=assistance;", host.checked);
    std::string first = state->getNetFile(0).c_str();
    EXPECT_EQ("0.net", first);
    std::ifstream answer(temp + "\\" + first, std::ios::binary);
    std::stringstream text;
    text << answer.rdbuf();
    EXPECT_EQ("RESULTS\naction=text&text=&filter=1&max=50&plat=Win&p_cookie1=C1&p_cookie2=C2", text.str());
    search.searchOnline(*state, 0, "text", 0);
    EXPECT_EQ(first, std::string(state->getNetFile(0).c_str()));
    EXPECT_EQ(before + 1, Logged("/sv/search?action=text"));

    // Another state's search of the same base never writes over the first file.
    ASVLoSearchState* other = new ASVLoSearchState();
    search.searchOnline(*other, 0, "text", 0);
    EXPECT_EQ("0_1.net", std::string(other->getNetFile(0).c_str()));
    EXPECT_EQ("", host.alerts);

    host.config["SEARCHSCRIPT"] = "/sv/search/fail";
    search.searchOnline(*state, 7, "text", 0);
    EXPECT_TRUE(state->getNetFile(7).empty());
    EXPECT_EQ("0.net;0_1.net;", NetFiles(temp));
    EXPECT_EQ(std::string("Attention:") + ANetSearch::kErrorText + ";", host.alerts);
    EXPECT_NE(std::string::npos, g_boxes.find("recommencer"));

    host.connectionAllowed = false;
    host.config["SEARCHSCRIPT"] = "/sv/search";
    search.searchOnline(*state, 8, "text", 0);
    EXPECT_TRUE(state->getNetFile(8).empty());
    other->release();
    state->release();
}

TEST_F(OnlineService, ForeignAddressesGoThroughTheControlScript) {
    if (Origin().empty())
        GTEST_SKIP() << "no test server";
    struct Row {
        const char* name;
        std::string server;
        const char* script;
        std::string result;
    } rows[] = {
        {"answered", Origin(), "/sv/control",
         "http://127.0.0.1/controlled?url=http%3A%2F%2Fother%2Fa%3Fb%3D1&fLevel=1&p_cookie1=C1&p_cookie2=C2"},
        {"service stopped", "http://127.0.0.1:1", "/sv/control", "http://other/a?b=1"},
        {"empty answer", Origin(), "/sv/control/empty", "http://other/a?b=1"},
        {"answer over the limit", Origin(), "/sv/control/long", "http://other/a?b=1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASVContentPolicyCallBack policy(&host);
        policy.setServerName(row.server.c_str());
        policy.setControlScript(row.script);
        EXPECT_EQ(row.result, std::string(policy.rewriteUrl("http://other/a?b=1").c_str()));
    }
    EXPECT_EQ(std::string::npos, g_boxes.find("recommencer"));
}

}  // namespace
