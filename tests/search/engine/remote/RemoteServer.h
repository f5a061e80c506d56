// The remote search and document server of the tests (tests/search/remote_server.py,
// started by the sv_remote fixture): its ports and the generated base it serves.
#pragma once

#include <cstdint>
#include <string>

struct RemotePorts {
    int port = 0;     // the server; 0 when the fixture did not run
    int refused = 0;  // a port where nothing listens
};

// Read once from $SV_REMOTE_DIR/ports.
const RemotePorts& RemoteServerPorts();
// "127.0.0.1:<port>", the server text of a base's connection record.
std::string RemoteServerAddress(int port);
// Document d of the generated base, as the server sends it.
std::string RemoteDocText(int32_t d);
int RemoteDocScore(int32_t d);
// The request lines the server received so far, one a line ("<missing>" before any).
std::string RemoteRequests();
