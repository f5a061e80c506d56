// The ports of the test servers that the sv_net fixture (net_servers.sh) starts.
#pragma once

struct Ports {
    int origin = 0, proxy = 0;
};

// "origin proxy" as net_servers.sh wrote them into $SV_NET_DIR/ports; zeros without them.
const Ports& ServerPorts();
