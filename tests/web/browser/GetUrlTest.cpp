// URL fetching through the runtime layer: results, sinks and the network log.
#include "tests/web/browser/BrowserTestSupport.h"

#include "tests/base/procedural/FileTestSupport.h"
#include "tests/base/procedural/NetTestSupport.h"

#include "web/browser/KyMozillaGetUrl.h"

#include <windows.h>

#include <cstring>

namespace {

std::string Origin(const char* path) {
    if (!ServerPorts().origin)
        return std::string();
    return "http://127.0.0.1:" + std::to_string(ServerPorts().origin) + path;
}

bool g_netLog = false;
bool NetLogFlag() {
    return g_netLog;
}

}  // namespace

TEST_F(BrowserTest, StreamLoadAnswersByBodyAndFailsFastOnBadUrls) {
    if (Origin("/").empty())
        GTEST_SKIP() << "no test server";
    struct Row {
        const char* name;
        std::string url;
        int result;
        const char* copied;  // what the copy sink holds; null: not checked
    } rows[] = {
        {"one byte", Origin("/big/1"), 0, "0"},
        {"an empty 200", Origin("/big/0"), 955, ""},
        {"a 404 has no body here", Origin("/status/404"), 955, ""},
        {"a refused port", "http://127.0.0.1:1/x", 955, ""},
        {"no scheme", "pas une adresse", static_cast<int>(NS_ERROR_MALFORMED_URI), nullptr},
        {"an unknown scheme", "gopher://h/x", static_cast<int>(NS_ERROR_UNKNOWN_PROTOCOL), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        char buffer[16];
        std::memset(buffer, 'z', sizeof buffer);
        KyMozillaCopyBuffer copy = {buffer, sizeof buffer};
        DWORD start = GetTickCount();
        EXPECT_EQ(row.result, KyMozillaGetUrl(row.url.c_str(), KyMozillaCopySink, &copy));
        EXPECT_LT(GetTickCount() - start, 10000u);
        if (row.copied) {
            EXPECT_STREQ(row.copied, buffer);
        }
    }
}

TEST_F(BrowserTest, CopySinkStaysInsideItsBuffer) {
    std::string big = Origin("/big/5000");
    if (big.empty())
        GTEST_SKIP() << "no test server";
    std::vector<char> buffer(2048 + 16, 'z');
    KyMozillaCopyBuffer copy = {buffer.data(), 2048};
    EXPECT_EQ(0, KyMozillaGetUrl(big.c_str(), KyMozillaCopySink, &copy));
    EXPECT_EQ(2047u, std::strlen(buffer.data()));
    EXPECT_EQ('z', buffer[2048]) << "nothing written past the buffer";
    EXPECT_EQ(-1, KyMozillaCopySink("abc", 3, nullptr));
    KyMozillaCopyBuffer empty = {buffer.data(), 0};
    EXPECT_EQ(-1, KyMozillaCopySink("abc", 3, &empty));
    EXPECT_EQ(-1, KyMozillaStreamSink("abc", 3, nullptr));
}

TEST_F(BrowserTest, TheNetworkLogTracesAFetchOnlyWhileItsFlagIsSet) {
    std::string url = Origin("/big/0");
    if (url.empty())
        GTEST_SKIP() << "no test server";
    app->openLog("svnet.log");
    ASSERT_NE(nullptr, app->getLogObject());
    KyMozillaSetNetLogFlag(NetLogFlag);
    g_netLog = false;
    KyMozillaGetUrl(url.c_str(), nullptr, nullptr);
    g_netLog = true;
    char buffer[8];
    KyMozillaCopyBuffer copy = {buffer, sizeof buffer};
    KyMozillaGetUrl(url.c_str(), KyMozillaCopySink, &copy);
    KyMozillaSetNetLogFlag(nullptr);
    std::string log = ReadAll(app->logPath().c_str());
    EXPECT_EQ(1u, log.find("KyMozillaStreamLoad Url=" + url) == std::string::npos ? 0u : 1u) << log;
    EXPECT_NE(std::string::npos, log.find("KyMozillaGetUrl :" + url + " returns 955")) << log;
    EXPECT_NE(std::string::npos, log.find(" ResponseStatus= 200")) << log;
    EXPECT_NE(std::string::npos, log.find("ResponseHeader => Content-Length 0")) << log;
    size_t first = log.find("KyMozillaGetUrl :");
    EXPECT_EQ(std::string::npos, log.find("KyMozillaGetUrl :", first + 1)) << "the first fetch ran with the log off";
}

TEST_F(BrowserTest, AFetchReportsItsStatusAndProgressOnTheErrorStreamWhateverTheLog) {
    std::string url = Origin("/big/25");
    if (url.empty())
        GTEST_SKIP() << "no test server";
    errors.text.clear();
    KyMozillaSetNetLogFlag(nullptr);
    char buffer[64];
    KyMozillaCopyBuffer copy = {buffer, sizeof buffer};
    int result = KyMozillaGetUrl(url.c_str(), KyMozillaCopySink, &copy);
    EXPECT_EQ(0, result);
    EXPECT_NE(std::string::npos, errors.text.find("progress: 25/25\n")) << errors.text;
    EXPECT_NE(std::string::npos, errors.text.find("status: " + std::to_string(NS_NET_STATUS_CONNECTING_TO) + "\n"))
        << errors.text;
    EXPECT_NE(std::string::npos, errors.text.find("status: " + std::to_string(NS_NET_STATUS_RECEIVING_FROM) + "\n"))
        << errors.text;
}
