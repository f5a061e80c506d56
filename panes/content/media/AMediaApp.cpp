// The media window's services: the installed one and the default.
#include "panes/content/media/AMediaApp.h"

namespace {

AMediaApp g_default;
AMediaApp* g_installed = nullptr;

}  // namespace

AMediaApp& AMediaApp::current() {
    return g_installed ? *g_installed : g_default;
}

void AMediaApp::install(AMediaApp* app) {
    g_installed = app;
}

int16_t ComputeZoomPercent(long bw, long bh, long pw, long ph) {
    if (bw <= 0 || bh <= 0 || pw <= 0 || ph <= 0 || (bw == pw && bh == ph))
        return 100;
    long long x = static_cast<long long>(bw) * 100 / pw, y = static_cast<long long>(bh) * 100 / ph;
    long long fit = x < y ? x : y;
    // A step of 0 would draw nothing and one beyond 16 bits would wrap.
    return static_cast<int16_t>(fit < 1 ? 1 : fit > 32767 ? 32767 : fit);
}
