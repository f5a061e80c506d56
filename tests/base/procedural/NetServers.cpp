// The ports of the test servers.
#include "tests/base/procedural/NetServers.h"

#include <cstdio>
#include <cstdlib>
#include <string>

const Ports& ServerPorts() {
    static const Ports ports = [] {
        Ports p;
        const char* dir = std::getenv("SV_NET_DIR");
        std::string path = std::string("Z:") + (dir ? dir : "/nonexistent") + "/ports";
        if (FILE* f = std::fopen(path.c_str(), "r")) {
            if (std::fscanf(f, "%d %d", &p.origin, &p.proxy) != 2)
                p = Ports();
            std::fclose(f);
        }
        return p;
    }();
    return ports;
}
