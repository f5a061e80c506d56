// Proxy addresses, the connection's request record, the bounded reply copy
// and the reply envelope's parser: everything that needs no server.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/procedural/KyHttp.h"
#include "tests/web/net/NetTestSupport.h"
#include "web/net/AConnection.h"
#include "web/net/AProxyInfo.h"
#include "web/net/AStandardQuery.h"
#include "web/net/AppNetManager.h"
#include "web/net/NetStrings.h"

namespace {

std::string Text(const char* s) {
    return s ? s : "(null)";
}

}  // namespace

TEST(ProxyAddress, HostPortAndScheme) {
    struct Row {
        const char* host;
        const char* port;
        const char* plain;   // getAddress(false), the manager's address
        const char* scheme;  // getAddress(true)
    } rows[] = {
        {"H", "8080", "H:8080", "http://H:8080"},
        {"HTTP://h", "", "HTTP://h", "HTTP://h"},
        {"hTtP://h", "81", "hTtP://h:81", "hTtP://h:81"},
        {"", "", "", ""},
        {"", "3128", ":3128", "http://:3128"},
        {"proxy.example", "", "proxy.example", "http://proxy.example"},
        {"http:/h", "", "http:/h", "http://http:/h"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.host) + "|" + r.port);
        AProxyInfo info(r.host, r.port);
        EXPECT_EQ(r.plain, std::string(info.getAddress(false).c_str()));
        EXPECT_EQ(r.scheme, std::string(info.getAddress(true).c_str()));
        AppNetManager manager(new AProxyInfo(r.host, r.port));
        EXPECT_EQ(r.plain, std::string(manager.getProxyAddress().c_str()));
    }
    EXPECT_EQ("abcdef", std::string(("abc" + AString("def")).c_str()));
    EXPECT_EQ("def", std::string((static_cast<const char*>(nullptr) + AString("def")).c_str()));
}

TEST(ProxyAddress, ManagerTextsAndCurrentManager) {
    KY_HttpAuthCallback = nullptr;
    {
        AppNetManager manager;
        EXPECT_EQ(&manager, AppNetManager::current());
        EXPECT_EQ(&AppNetManager::proxyAuthCallback, KY_HttpAuthCallback);
        EXPECT_TRUE(manager.getReferer().empty());
        EXPECT_EQ("", std::string(manager.getProxyAddress().c_str()));
        manager.setAgentName("SV105");
        EXPECT_EQ("SV105 Win32 ", std::string(manager.getUserAgent().c_str()));
    }
    EXPECT_EQ(nullptr, AppNetManager::current());
    // The callback stays installed and answers nothing without a manager.
    char buffer[500] = "untouched";
    EXPECT_EQ(0, KY_HttpAuthCallback(KY_HTTP_PROXY_AUTH, buffer, 0));
    EXPECT_STREQ("untouched", buffer);
    KY_HttpAuthCallback = nullptr;
}

class ConnectionRecord : public NetTest {};

TEST_F(ConnectionRecord, OpenFillsTheRecordOrRefuses) {
    const std::string alert = std::string(kNetworkErrorTitle) + "|" + kNetworkErrorText;
    const std::string longHost(248, 'p');
    struct Row {
        const char* name;
        std::string host, user, password, referer, agent;  // the constructor's texts
        std::string proxy, credentials, openAgent;          // open's
        bool opens;
        std::string url, recordProxy, recordUser, recordPassword, recordCredentials, recordReferer, recordAgent;
    } rows[] = {
        {"plain", "http://h:1", "", "", "", "SV Win32 ", "", "", "", true,
         "http://h:1", "(null)", "(null)", "(null)", "(null)", "(null)", "SV Win32 "},
        {"proxy gets the scheme", "http://h", "", "", "ref", "", "p:3128", "", "ACCESS", true,
         "http://h", "http://p:3128", "(null)", "(null)", "(null)", "ref", "ACCESS"},
        {"proxy keeps its scheme", "http://h", "u", "", "", "", "HTTP://p:1", "", "", true,
         "http://h", "HTTP://p:1", "u", "", "(null)", "(null)", "(null)"},
        {"encoded credentials win", "http://h", "u", "pw", "", "", "", "dTpw", "", true,
         "http://h", "(null)", "(null)", "(null)", "dTpw", "(null)", "(null)"},
        {"longest proxy address", "http://h", "", "", "", "", longHost, "", "", true,
         "http://h", "http://" + longHost, "(null)", "(null)", "(null)", "(null)", "(null)"},
        {"proxy address one too long", "http://h", "", "", "", "", longHost + "p", "", "", false, "", "", "", "", "", "", ""},
        {"no server", "", "", "", "", "", "", "", "", false, "", "", "", "", "", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AConnection c(r.host.c_str(), r.user.c_str(), r.password.c_str(), r.referer.c_str(), r.agent.c_str());
        takeBoxes();
        EXPECT_EQ(r.opens, c.open(r.proxy.c_str(), r.credentials.c_str(), r.openAgent.c_str()));
        EXPECT_EQ(r.opens, c.isOpen());
        if (!r.opens) {
            EXPECT_EQ(nullptr, c.session());
            EXPECT_EQ(std::vector<std::string>{alert}, takeBoxes());
            continue;
        }
        EXPECT_TRUE(takeBoxes().empty());
        KY_HttpSession* s = c.session();
        ASSERT_NE(nullptr, s);
        EXPECT_NE(nullptr, s->connection);
        EXPECT_EQ(r.url, Text(s->url));
        EXPECT_EQ(r.recordProxy, Text(s->proxy));
        EXPECT_EQ(r.recordUser, Text(s->user));
        EXPECT_EQ(r.recordPassword, Text(s->password));
        EXPECT_EQ(r.recordCredentials, Text(s->credentials));
        EXPECT_EQ(r.recordReferer, Text(s->referer));
        EXPECT_EQ(r.recordAgent, Text(s->userAgent));
        c.setPath("/script");
        EXPECT_EQ("/script", Text(c.session()->script));
        // Opening again replaces the record.
        EXPECT_TRUE(c.open(nullptr, nullptr, nullptr));
        EXPECT_EQ("(null)", Text(c.session()->proxy));
        EXPECT_TRUE(c.release());
        EXPECT_FALSE(c.isOpen());
        EXPECT_EQ(nullptr, c.session());
        EXPECT_TRUE(c.release());
    }
}

TEST(ReplyCopy, StopsAtTheBufferAndKeepsItsEnd) {
    struct Row {
        const char* name;
        std::vector<size_t> blocks;  // sizes of the blocks received, in order
        size_t kept;
    } rows[] = {
        {"one small block", {10}, 10},
        {"blocks follow each other", {5, 7, 0, 3}, 15},
        {"exactly full", {2047}, 2047},
        {"one byte over", {2048}, 2047},
        {"far over", {1000, 5000, 70000}, 2047},
        {"full, then more", {2047, 1}, 2047},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<char> memory(AConnection::kReplySize + 64, 'G');
        char* buffer = memory.data();
        std::memset(buffer, 0, AConnection::kReplySize);
        std::string sent;
        for (size_t n : r.blocks) {
            std::string block;
            for (size_t i = 0; i < n; ++i)
                block += static_cast<char>('a' + (sent.size() + i) % 26);
            EXPECT_EQ(0, AConnection::copyReply(block.data(), static_cast<long>(block.size()), buffer));
            sent += block;
        }
        EXPECT_EQ(r.kept, std::strlen(buffer));
        EXPECT_EQ(sent.substr(0, r.kept), std::string(buffer));
        EXPECT_EQ(std::string(64, 'G'), std::string(memory.data() + AConnection::kReplySize, 64));
    }
    EXPECT_EQ(-1, AConnection::copyReply("x", 1, nullptr));
}

TEST(StandardReply, Envelope) {
    struct Row {
        const char* reply;
        bool parses;
        int status;
        const char* result;
        int show;
        const char* message;
    } rows[] = {
        // Fields start as the row's "before" values 9, "old", 8, "was" and stay when lines are missing.
        {"<msg>\n</msg>", true, 9, "old", 8, "was"},
        {"<msg>\n</msg>\n", true, 9, "old", 8, "was"},
        {"<MSG>\n5\n</Msg>\n", true, 5, "old", 8, "was"},
        {"<msg>\n1\nresultat\n0\nune\ndeux \ntrois\n</msg>\nignored\n", true, 1, "resultat", 0,
         "wasunedeux trois"},
        {"<msg>\r\n1\r\n</msg>\r\n", false, 9, "old", 8, "was"},
        {"\n<msg>\n1\n</msg>\n", false, 9, "old", 8, "was"},
        {"<msg>", false, 9, "old", 8, "was"},
        {"<msg>\n1\nr\n", false, 9, "old", 8, "was"},
        {"OK\nr\n", false, 9, "old", 8, "was"},
        {"<msg>\n12abc\n\n-1\n</msg>", true, 12, "", -1, "was"},
        {"<msg>\n70000\n</msg>", true, 4464, "old", 8, "was"},
        {"<msg>\n99999999999999999999\n</msg>", true, static_cast<int16_t>(0xFFFF), "old", 8, "was"},
        {"<msg>\nabc\n</msg>", true, 0, "old", 8, "was"},
        {"", false, 9, "old", 8, "was"},
    };
    struct Probe : AStandardQuery {
        Probe() : AStandardQuery(nullptr, "", "", "", "", "") {
            status_ = 9;
            result_ = "old";
            showMessage_ = 8;
            message_ = "was";
        }
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.reply);
        Probe q;
        q.setReply(r.reply);
        EXPECT_EQ(r.parses, q.parseReply());
        EXPECT_EQ(r.status, q.status());
        EXPECT_EQ(r.result, std::string(q.result().c_str()));
        EXPECT_EQ(r.show, q.showMessage());
        EXPECT_EQ(r.message, std::string(q.message().c_str()));
    }
    // A reply as long as the buffer is cut inside it, never past it.
    Probe q;
    q.setReply(std::string(5000, 'x').c_str());
    EXPECT_EQ(AConnection::kReplySize - 1, std::strlen(q.reply()));
    EXPECT_FALSE(q.parseReply());
}
