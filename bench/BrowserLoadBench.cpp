// Loads the gimp-help-fr pages named on standard input (one path a line,
// under the test server's static route) into one browser view, each until
// "Loaded", and prints pages per second. Run by browser_load_bench.sh, which
// starts the test server, times curl on the same pages and prints the ratio.
// Usage: bench_browser_load.exe < list (SV_NET_DIR set).
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchRuntime.h"
#include "bench/BenchWindow.h"
#include "base/procedural/KyHttp.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "web/browser/AMozillaView.h"

namespace {

class LoadCounter : public AMozillaHandler {
public:
    int16_t onEvent(AMozillaView*, AMozillaEvent*) override {
        ++loaded;
        return 1;
    }
    int loaded = 0;
};

// The application's loop only: messages, no direct call into the runtime.
bool PumpUntilLoaded(LoadCounter* counter, int count) {
    DWORD start = GetTickCount();
    while (counter->loaded < count) {
        if (GetTickCount() - start > 20000)
            return false;
        MSG msg;
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

}  // namespace

int main() {
    const int origin = ServerPorts().origin;
    if (!origin) {
        std::fprintf(stderr, "bench_browser_load: no server (SV_NET_DIR/ports)\n");
        return 1;
    }
    std::vector<std::string> pages;
    for (std::string line; std::getline(std::cin, line);)
        if (!line.empty())
            pages.push_back(line);
    if (pages.empty() || KY_HttpStartup(0) != 0)
        return 1;
    BenchRuntime runtime("bench_browser_load.log", "bench_browser_load");
    if (!runtime.started())
        return 1;
    BenchWindow bench;
    if (!bench.open("bench_browser_load", 800, 600))
        return 1;
    AMozillaView* view = new AMozillaView(bench.root, 5, ASizeSpec(ARect(0, 0, 800, 600)));
    AObject::completeNew(view);
    view->show(false);
    bench.show();
    LoadCounter* counter = new LoadCounter;
    view->addHandler("Loaded", counter);
    const std::string host = "http://127.0.0.1:" + std::to_string(origin) + "/static/gimp/";
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int done = 0;
    for (const std::string& page : pages) {
        if (!view->loadUrl((host + page).c_str()) || !PumpUntilLoaded(counter, done + 1)) {
            std::fprintf(stderr, "bench_browser_load: %s did not load\n", page.c_str());
            break;
        }
        ++done;
    }
    QueryPerformanceCounter(&end);
    double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("browser view: %d pages in %.3f s, %.1f pages/s\n", done, seconds, done / seconds);
    bench.close();
    return done == int(pages.size()) ? 0 : 1;
}
