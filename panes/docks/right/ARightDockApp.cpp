// The default answers of the right dock's application services.
#include "panes/docks/right/ARightDockApp.h"

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
    return EscapeChars(text, set);
}
