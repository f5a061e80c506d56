// Fetches a 5 MB answer of the test server into a file 15 times through the
// web engine's connection (ANeckoConnection::fetchWith) and 15 times
// through Wine's WinINet, and prints the median of each and their ratio.
// Run by net_fetch_bench.sh, which starts the test server. Usage:
// bench_net_fetch.exe (SV_NET_DIR set).
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/online/ANeckoConnection.h"
#include "bench/BenchRuntime.h"
#include "base/procedural/KyHttp.h"
#include "tests/base/procedural/NetTestSupport.h"

namespace {

const long kAnswerBytes = 5 * 1024 * 1024;
const int kRuns = 15;

double MedianMs(const std::function<bool()>& run, int* failures) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (!run())
            ++*failures;
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) ? long(data.nFileSizeLow) : -1;
}

int WriteBlock(const char* bytes, uint32_t count, void* data) {
    return std::fwrite(bytes, 1, count, static_cast<FILE*>(data)) == count ? 0 : -1;
}

// Block by block into the file, as the online search writes its answers.
bool ThroughEngine(const std::string& server, const std::string& path) {
    FILE* file = std::fopen("bench_net_fetch.engine", "wb");
    if (!file)
        return false;
    ANeckoConnection connection(server.c_str(), "", "", "", "SEARCH");
    connection.setQuiet(1);
    connection.open("", nullptr, nullptr);
    bool ok = connection.fetchWith(path.c_str(), "", WriteBlock, file);
    connection.close();
    std::fclose(file);
    return ok && FileSize("bench_net_fetch.engine") == kAnswerBytes;
}

bool ThroughWinINet(const std::string& url) {
    HINTERNET session = InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET request =
        session ? InternetOpenUrlA(session, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                : nullptr;
    FILE* out = std::fopen("bench_net_fetch.wininet", "wb");
    bool ok = request && out;
    char buffer[16384];
    DWORD read = 0;
    while (ok && InternetReadFile(request, buffer, sizeof buffer, &read) && read)
        ok = std::fwrite(buffer, 1, read, out) == read;
    if (out)
        std::fclose(out);
    if (request)
        InternetCloseHandle(request);
    if (session)
        InternetCloseHandle(session);
    return ok && FileSize("bench_net_fetch.wininet") == kAnswerBytes;
}

}  // namespace

int main() {
    const int origin = ServerPorts().origin;
    if (!origin) {
        std::fprintf(stderr, "bench_net_fetch: no server (SV_NET_DIR/ports)\n");
        return 1;
    }
    if (KY_HttpStartup(0) != 0)
        return 1;
    BenchRuntime runtime("bench_net_fetch.log", "bench_net_fetch");
    if (!runtime.started())
        return 1;
    const std::string server = "http://127.0.0.1:" + std::to_string(origin);
    const std::string path = "/big/" + std::to_string(kAnswerBytes);
    int failures = 0;
    double engine = MedianMs([&] { return ThroughEngine(server, path); }, &failures);
    double wininet = MedianMs([&] { return ThroughWinINet(server + path); }, &failures);
    std::printf("5 MB through the web engine's connection: median %.1f ms\n", engine);
    std::printf("5 MB through WinINet: median %.1f ms\n", wininet);
    std::printf("ratio (engine / WinINet): %.2f (%d failed)\n", engine / wininet, failures);
    DeleteFileA("bench_net_fetch.engine");
    DeleteFileA("bench_net_fetch.wininet");
    return failures ? 1 : 0;
}
