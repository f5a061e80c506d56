// Records fetched from a base's server: the remote test server's replies, and
// the local part files that must stay whole whatever the server answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/procedural/KyCodec.h"
#include "base/procedural/KyHttp.h"
#include "tests/search/engine/RemoteServer.h"

namespace {

int Collect(const char* data, long length, void* output) {
    static_cast<std::string*>(output)->append(data, static_cast<size_t>(length));
    return 0;
}

// A session on the test server's script, freed at scope end.
struct ServerSession {
    std::string url, script;
    KY_HttpSession s = {};
    ServerSession(int port, std::string sc) : url("http://" + RemoteServerAddress(port)), script(std::move(sc)) {
        s.url = url.c_str();
        s.script = script.c_str();
        EXPECT_EQ(0, KY_HttpInitSession(&s));
    }
    ~ServerSession() { KY_HttpFreeSession(&s); }
};

std::string Expand(const std::string& stored, int32_t expanded) {
    KY_Codec codec;
    std::memset(&codec, 0, sizeof codec);
    KY_CodecSetMode(&codec, 3);
    std::string out(static_cast<size_t>(expanded), '\0');
    int32_t placed = expanded;
    int code = KY_CodecExpandMemStart(&codec, reinterpret_cast<const uint8_t*>(stored.data()),
                                      static_cast<int32_t>(stored.size()), reinterpret_cast<uint8_t*>(&out[0]), &placed,
                                      expanded, 0);
    KY_CodecAbandon(&codec);
    EXPECT_EQ(kCodecDone, code);
    return out.substr(0, static_cast<size_t>(placed));
}

}  // namespace

TEST(RemoteServer, AnswersDocumentAndSearchRequests) {
    const RemotePorts& ports = RemoteServerPorts();
    ASSERT_NE(0, ports.port) << "the sv_remote fixture did not run";
    ASSERT_EQ(0, KY_HttpStartup(0));
    {
        ServerSession session(ports.port, "normal/tz/30");
        std::string reply;
        ASSERT_EQ(0, KY_HttpFetchDocument(&session.s, 12, nullptr, Collect, &reply));
        std::string text = RemoteDocText(12);
        std::string plain = "<field>-1#0\npending 12\n<field>0#" + std::to_string(text.size()) + "\n" + text;
        ASSERT_EQ(plain, reply.substr(0, plain.size()));
        std::string rest = reply.substr(plain.size());
        size_t eol = rest.find('\n');
        ASSERT_NE(std::string::npos, eol);
        std::string stored = rest.substr(eol + 1);
        EXPECT_EQ("<field>1#" + std::to_string(stored.size()) + "," + std::to_string(text.size()), rest.substr(0, eol));
        EXPECT_EQ(text, Expand(stored, static_cast<int32_t>(text.size())));

        reply.clear();
        ASSERT_EQ(0, KY_HttpSearch(&session.s, "[0,1=m7] OR [1,1=d3]", 0, Collect, &reply));
        std::string expected = "COUNT:5\nMAXNODOC:30\nHIGH:m7,d3\nDATA:5\n";
        for (int d : {3, 7, 14, 21, 28})
            expected += RemoteDocText(d) + "\t" + std::to_string(d) + "." + std::to_string(RemoteDocScore(d)) + "\n";
        EXPECT_EQ(expected, reply);
        EXPECT_NE(std::string::npos, RemoteRequests().find("GET /normal/tz/30?docu&12 HTTP/1.0"));
    }
    {
        ServerSession session(ports.refused, "normal/t");
        std::string reply;
        EXPECT_EQ(KY_HTTP_CONNECT_FAILED, KY_HttpFetchDocument(&session.s, 1, nullptr, Collect, &reply));
    }
    KY_HttpCleanup();
}
