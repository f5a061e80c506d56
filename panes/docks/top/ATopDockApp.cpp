// The top dock's view of the application object, and the default for a
// process without one.
#include "panes/docks/top/ATopDockApp.h"

#include "app/state/ASVLoSearchState.h"
#include "app/state/ASiReqSearch.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"

namespace {

ATopDockApp* gInstalled = nullptr;

}  // namespace

ATopDockApp& ATopDockApp::current() {
    static ATopDockApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void ATopDockApp::install(ATopDockApp* app) {
    gInstalled = app;
}

ASiReqSearch& ATopDockApp::queryHistory() {
    static ASiReqSearch history(0);
    return history;
}

void ATopDockApp::setSearchStateTexts(ASearchState* search, long value, const char* text4, const char* text3) {
    (void)value;
    if (!search)
        return;
    search->setText(4, text4);
    search->setText(3, text3);
}

AString ATopDockApp::escapeMarkup(const char* text) {
    return AWorkspaceWinApp::current().escapeMarkup(text);
}
