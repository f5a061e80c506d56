// 200 standard queries through the test tinyproxy (Basic authentication,
// credentials stored, so each query is a 407 and a retry) against the test
// origin server; prints the median time per query. Run by net_query_bench.sh,
// which starts the servers, times Python's urllib on the same URL through the
// same proxy and prints the ratio. Usage: bench_net_query.exe (SV_NET_DIR set).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/procedural/KyHttp.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "web/net/AConnection.h"
#include "web/net/AStandardQuery.h"
#include "web/net/AppNetManager.h"

int main() {
    const int origin = ServerPorts().origin, proxy = ServerPorts().proxy;
    if (!origin || !proxy) {
        std::fprintf(stderr, "bench_net_query: no servers (SV_NET_DIR/ports)\n");
        return 1;
    }
    if (KY_HttpStartup(0) != 0)
        return 1;
    AppNetManager manager(new AProxyInfo("127.0.0.1", std::to_string(proxy).c_str()));
    manager.getProxyInfo()->setCredentials("proxyuser:proxypass", 19);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const std::string host = "http://127.0.0.1:" + std::to_string(origin);
    int failures = 0;
    double viaProxy = 0;
    for (bool direct : {false, true}) {
        std::vector<double> times;
        for (int i = 0; i < 200; ++i) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            AConnection connection(host.c_str(), "", "", "", "BENCH");
            AStandardQuery query(&connection, direct ? "" : manager.getProxyAddress().c_str(), "/envelope", "k=",
                                 "mot", "");
            if (!query.execute() || query.status() != 3)
                ++failures;
            QueryPerformanceCounter(&end);
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::sort(times.begin(), times.end());
        if (!direct)
            viaProxy = times[times.size() / 2];
        else
            std::printf("standard query to the origin server, no proxy: median %.3f ms\n", times[times.size() / 2]);
    }
    // The line the script reads comes last.
    std::printf("standard query through the proxy: median %.3f ms (%d failed)\n", viaProxy, failures);
    KY_HttpCleanup();
    return failures ? 1 : 0;
}
