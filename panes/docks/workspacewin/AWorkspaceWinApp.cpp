// The default answers of the workspace windows' application services.
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"

#include <cstring>
#include <string>

#include "framework/app/AApp.h"

namespace {

AWorkspaceWinApp* gInstalled = nullptr;

}  // namespace

AWorkspaceWinApp& AWorkspaceWinApp::current() {
    static AWorkspaceWinApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void AWorkspaceWinApp::install(AWorkspaceWinApp* app) {
    gInstalled = app;
}

AString AWorkspaceWinApp::escapeMarkup(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (std::strchr("/\\{}#", *p))
            out += '\\';
        out += *p;
    }
    return AString(out.c_str());
}

int AWorkspaceWinApp::messageBox(const char* text, const char* caption, unsigned flags) {
    AApp* app = AApp::current();
    return app ? app->messageBox(text, caption, flags, nullptr) : 1;
}
