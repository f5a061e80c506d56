// The search panes' default application answers.
#include "panes/search/left/ASearchPanesApp.h"

#include "app/lists/AListApp.h"

namespace {

ASearchPanesApp gDefault;
ASearchPanesApp* gInstalled = nullptr;

}  // namespace

ASearchPanesApp& ASearchPanesApp::current() {
    return gInstalled ? *gInstalled : gDefault;
}

void ASearchPanesApp::install(ASearchPanesApp* app) {
    gInstalled = app;
}

void ASearchPanesApp::centerListLine(ARendererView* view, long first, long last) {
    AListApp::current().centerListLine(view, first, last);
}

void ASearchPanesApp::setPlainListShown(int16_t shown) {
    AListApp::current().setPlainListShown(shown);
}
