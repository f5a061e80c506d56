// The remote test server's ports and generated base, mirroring remote_server.py.
#include "tests/search/engine/remote/RemoteServer.h"

#include <cstdio>
#include <cstdlib>

#include "tests/base/procedural/FileTestSupport.h"

namespace {

std::string ServerFile(const char* name) {
    const char* dir = std::getenv("SV_REMOTE_DIR");
    return std::string("Z:") + (dir ? dir : "/nonexistent") + "/" + name;
}

}  // namespace

const RemotePorts& RemoteServerPorts() {
    static const RemotePorts ports = [] {
        RemotePorts p;
        if (std::sscanf(ReadAll(ServerFile("ports")).c_str(), "%d %d", &p.port, &p.refused) != 2)
            p = RemotePorts();
        return p;
    }();
    return ports;
}

std::string RemoteServerAddress(int port) {
    return "127.0.0.1:" + std::to_string(port);
}

std::string RemoteDocText(int32_t d) {
    std::string text = "Document " + std::to_string(d);
    for (int i = 0; i < d % 5; ++i)
        text += " texte";
    return text;
}

int RemoteDocScore(int32_t d) {
    return (d * 37) % 100 + 1;
}

std::string RemoteRequests() {
    return ReadAll(ServerFile("requests.log"));
}
