// The media window's services: the installed one and the default.
#include "panes/content/media/AMediaApp.h"

#include <windows.h>

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

void AMediaApp::forgetTempFile(AString& path) {
    if (!path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        registerTempFile(path.c_str());
    path = AString();
}

int16_t ComputeZoomPercent(long bw, long bh, long pw, long ph) {
    if (bw <= 0 || bh <= 0 || pw <= 0 || ph <= 0 || (bw == pw && bh == ph))
        return 100;
    long long x = static_cast<long long>(bw) * 100 / pw, y = static_cast<long long>(bh) * 100 / ph;
    long long fit = x < y ? x : y;
    // A step of 0 would draw nothing and one beyond 16 bits would wrap.
    return static_cast<int16_t>(fit < 1 ? 1 : fit > 32767 ? 32767 : fit);
}

namespace {

void ReplaceEvery(std::string& text, const std::string& marker, const std::string& value) {
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
}

std::string EscapeTitle(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string FillVideoPage(std::string page, const std::string& video, const std::string& director,
                          const std::string& launcher, const std::string& title) {
    ReplaceEvery(page, "<VIDEO_FILENAME_TO_REPLACE>", video);
    ReplaceEvery(page, "<DCR_FILENAME_TO_REPLACE>", director);
    ReplaceEvery(page, "<LAUNCHER_FILENAME_TO_REPLACE>", launcher);
    size_t open = page.find("<title>");
    size_t close = open == std::string::npos ? open : page.find("</title>", open);
    if (close != std::string::npos)
        page.replace(open + 7, close - open - 7, EscapeTitle(title));
    return page;
}
