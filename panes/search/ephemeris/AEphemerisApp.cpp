// The ephemeris panes' default application answers.
#include "panes/search/ephemeris/AEphemerisApp.h"

#include "app/data/AppDataManager.h"
#include "app/pane/AppToolKit.h"
#include "panes/docks/right/ARightDockApp.h"

namespace {

AEphemerisApp* gInstalled = nullptr;

}  // namespace

AEphemerisApp& AEphemerisApp::current() {
    static AEphemerisApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void AEphemerisApp::install(AEphemerisApp* app) {
    gInstalled = app;
}

AString AEphemerisApp::todayText() {
    return AppToolKit().dateText();
}

long AEphemerisApp::findBaseField(int16_t base, const char* fieldName) {
    return FindBaseField(base, fieldName);
}

// One escaping for every pane: the right dock's.
AString AEphemerisApp::escapeMarkup(const char* text, const char* set) {
    return ARightDockApp::current().escapeMarkup(text, set);
}
