// The remote test server's ports and generated base, mirroring remote_server.py.
#include "tests/search/engine/RemoteServer.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string ServerFile(const char* name) {
    const char* dir = std::getenv("SV_REMOTE_DIR");
    return std::string("Z:") + (dir ? dir : "/nonexistent") + "/" + name;
}

}  // namespace

const RemotePorts& RemoteServerPorts() {
    static const RemotePorts ports = [] {
        RemotePorts p;
        if (FILE* f = std::fopen(ServerFile("ports").c_str(), "r")) {
            if (std::fscanf(f, "%d %d", &p.port, &p.refused) != 2)
                p = RemotePorts();
            std::fclose(f);
        }
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
    std::string out;
    if (FILE* f = std::fopen(ServerFile("requests.log").c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            out.append(buffer, n);
        std::fclose(f);
    }
    return out;
}
