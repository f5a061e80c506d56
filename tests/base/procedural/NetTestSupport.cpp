// The ports and folder of the sv_net fixture's servers.
#include "tests/base/procedural/NetTestSupport.h"

#include <cstdio>
#include <cstdlib>

std::string NetServerDir() {
    const char* dir = std::getenv("SV_NET_DIR");
    return std::string("Z:") + (dir ? dir : "/nonexistent");
}

const Ports& ServerPorts() {
    static const Ports ports = [] {
        Ports p;
        std::string path = NetServerDir() + "/ports";
        if (FILE* f = std::fopen(path.c_str(), "r")) {
            if (std::fscanf(f, "%d %d", &p.origin, &p.proxy) != 2)
                p = Ports();
            std::fclose(f);
        }
        return p;
    }();
    return ports;
}
