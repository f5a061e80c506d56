// Where the servers of the sv_net fixture listen: net_servers.sh writes
// "origin proxy" into $SV_NET_DIR/ports before the network tests run.
#pragma once

#include <string>

struct Ports {
    int origin = 0, proxy = 0;
};

// Zeros when the fixture did not run.
const Ports& ServerPorts();
// The fixture's folder as a Wine path ("Z:/..."), holding its logs.
std::string NetServerDir();
