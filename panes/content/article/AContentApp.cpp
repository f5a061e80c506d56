// The default answers of the centre views' application services.
#include "panes/content/article/AContentApp.h"

namespace {

AContentApp* gInstalled = nullptr;

}  // namespace

AContentApp& AContentApp::current() {
    static AContentApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void AContentApp::install(AContentApp* app) {
    gInstalled = app;
}
