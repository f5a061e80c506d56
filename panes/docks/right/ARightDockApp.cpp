// The default answers of the right dock's application services.
#include "panes/docks/right/ARightDockApp.h"

#include <cstring>
#include <string>

namespace {

ARightDockApp* gInstalled = nullptr;

}  // namespace

ARightDockApp& ARightDockApp::current() {
    static ARightDockApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void ARightDockApp::install(ARightDockApp* app) {
    gInstalled = app;
}

AString ARightDockApp::escapeMarkup(const char* text, const char* set) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (set && std::strchr(set, *p))
            out += '\\';
        out += *p;
    }
    return AString(out.c_str());
}
