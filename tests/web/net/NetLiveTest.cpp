// Connections and standard queries against the fixture's origin server,
// directly and through its tinyproxy with Basic authentication
// (proxyuser:proxypass), the dialogs answered through the dialog step.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/object/AStringList.h"
#include "base/procedural/KyHttp.h"
#include "tests/web/net/NetTestSupport.h"
#include "web/net/AConnection.h"
#include "web/net/AStandardQuery.h"
#include "web/net/AppNetManager.h"

namespace {

std::string Origin() {
    return "http://127.0.0.1:" + std::to_string(ServerPorts().origin);
}

// The application's form of the reply: "OK" then the result, else a message to show.
class OkQuery : public AStandardQuery {
public:
    using AStandardQuery::AStandardQuery;
    bool parseReply() override {
        AStringList lines(reply_, '\n');
        if (std::strncmp(lines.at(0), "OK", 2) == 0) {
            status_ = 1;
            result_ = AString(lines.at(1));
            return true;
        }
        status_ = 0;
        showMessage_ = 1;
        for (short i = 0; i < lines.count(); ++i)
            message_ += lines.at(i);
        return true;
    }
};

}  // namespace

class NetLive : public NetTest {
protected:
    void SetUp() override {
        NetTest::SetUp();
        ASSERT_EQ(0, KY_HttpStartup(1));
        ASSERT_NE(0, ServerPorts().proxy) << "the net_servers_start fixture did not run";
        KY_HttpSetTimeout(30000);
    }
    void TearDown() override {
        KY_HttpAuthCallback = nullptr;
        NetTest::TearDown();
    }
    const std::string alert = std::string(kNetworkErrorTitle) + "|" + kNetworkErrorText;
};

TEST_F(NetLive, RequestsThroughTheAuthenticatingProxy) {
    AppNetManager manager(new AProxyInfo("127.0.0.1", std::to_string(ServerPorts().proxy).c_str()));
    manager.setAgentName("SVTEST");
    const std::string tiny = manager.getProxyAddress().c_str();
    // The origin server also acts as a proxy that answers wrong credentials with 407.
    const std::string strict = "127.0.0.1:" + std::to_string(ServerPorts().origin);
    struct Row {
        const char* name;
        const char* storedBefore;  // null: keep what the previous row left
        std::vector<DialogAnswer> answers;
        std::string host, proxy, path;
        bool ok;
        std::vector<std::string> shown;
        std::vector<std::string> boxes;
    } rows[] = {
        {"asks once", "", {{true, "proxyuser", "proxypass"}}, Origin(), tiny, "/echo", true, {"AuthInfo"}, {}},
        {"then asks nothing", nullptr, {}, Origin(), tiny, "/echo", true, {}, {}},
        {"wrong credentials ask again", "proxyuser:wrong", {{true, "proxyuser", "proxypass"}}, Origin(), strict,
         "/p407/echo", true, {"AuthInfo"}, {}},
        {"wrong twice, then right", "", {{true, "x", "y"}, {true, "proxyuser", "proxypass"}}, Origin(), strict,
         "/p407/echo", true, {"AuthInfo", "AuthInfo"}, {}},
        // tinyproxy answers wrong credentials with 401, which the HTTP module does not retry.
        {"wrong credentials at tinyproxy", "proxyuser:wrong", {}, Origin(), tiny, "/echo", false, {}, {alert}},
        {"cancelled", "", {{false, "", ""}}, Origin(), tiny, "/echo", false, {"AuthInfo"}, {alert}},
        {"refused port", nullptr, {}, "http://127.0.0.1:1", "", "/echo", false, {}, {alert}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.storedBefore)
            manager.getProxyInfo()->setCredentials(r.storedBefore, std::strlen(r.storedBefore));
        answers().assign(r.answers.begin(), r.answers.end());
        shown().clear();
        takeBoxes();
        const size_t mark = trace().size();
        AConnection c(r.host.c_str(), "", "", manager.getReferer().c_str(), manager.getUserAgent().c_str());
        bool ok = c.open(r.proxy.c_str(), nullptr, nullptr);
        char buffer[AConnection::kReplySize] = {};
        if (ok) {
            c.setPath(r.path.c_str());
            ok = c.connect() && c.request(buffer, "a=1&q=", "deux mots", "&z");
        }
        std::vector<std::string> boxes = takeBoxes();
        EXPECT_EQ(r.ok, ok) << trace().substr(mark);
        EXPECT_EQ(r.shown, shown());
        EXPECT_EQ(r.boxes, boxes);
        if (r.ok) {
            std::string body(buffer);
            EXPECT_NE(std::string::npos, body.find("echo?a=1&q=deux%20mots&z HTTP/1.0\r\n")) << body;
            EXPECT_NE(std::string::npos, body.find("User-Agent: SVTEST Win32 \r\n")) << body;
            EXPECT_EQ(std::string::npos, body.find("Referer:")) << body;
        }
        c.release();
    }
    // Credentials reach neither the error stream nor the trace.
    takeBoxes();
    for (const std::string& text : {errors.text, trace()}) {
        EXPECT_EQ(std::string::npos, text.find("proxypass"));
        EXPECT_EQ(std::string::npos, text.find("cHJveHl1c2VyOnByb3h5cGFzcw"));
    }
    EXPECT_NE(std::string::npos, trace().find("Proxy-Authorization: ****"));
}

TEST_F(NetLive, StandardQueries) {
    AppNetManager manager(new AProxyInfo("127.0.0.1", std::to_string(ServerPorts().proxy).c_str()));
    manager.getProxyInfo()->setCredentials("proxyuser:proxypass", 19);
    struct Row {
        const char* name;
        bool okForm;
        bool viaProxy;
        const char* path;
        bool ok;
        int status;
        std::string result, message;
        std::vector<std::string> boxes;
    } rows[] = {
        {"envelope", false, false, "/envelope", true, 3, "k=v&t=mot%20cl%E9!", "voir la suite",
         {"Attention|voir la suite"}},
        {"envelope through the proxy", false, true, "/envelope", true, 3, "k=v&t=mot%20cl%E9!", "voir la suite",
         {"Attention|voir la suite"}},
        {"not an envelope", false, false, "/status/200", false, 0, "", "", {}},
        {"server error", false, false, "/status/500", false, 0, "", "", {alert}},
        {"OK form", true, true, "/okreply", true, 1, "k=v&t=mot%20cl%E9!", "", {}},
        {"OK form, other reply", true, false, "/status/200", true, 0, "", "status body",
         {"Attention|status body"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        takeBoxes();
        AConnection c(Origin().c_str(), "", "", "", "");
        const char* proxy = r.viaProxy ? manager.getProxyAddress().c_str() : "";
        AString proxyText(proxy);
        std::unique_ptr<AStandardQuery> q(
            r.okForm ? new OkQuery(&c, proxyText.c_str(), r.path, "k=v&t=", "mot cl\xE9", "!")
                     : new AStandardQuery(&c, proxyText.c_str(), r.path, "k=v&t=", "mot cl\xE9", "!"));
        EXPECT_EQ(r.ok, q->execute());
        EXPECT_EQ(r.status, q->status());
        EXPECT_EQ(r.result, std::string(q->result().c_str()));
        EXPECT_EQ(r.message, std::string(q->message().c_str()));
        EXPECT_EQ(r.boxes, takeBoxes());
        EXPECT_FALSE(c.isOpen());
        EXPECT_EQ(nullptr, c.session());
    }
}
