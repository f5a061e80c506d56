// The default host of the online panes and its installation.
#include "panes/docks/online/AOnlinePanesHost.h"

#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/app/AApp.h"

namespace {
AOnlinePanesHost* g_installed = nullptr;
}  // namespace

AOnlinePanesHost& AOnlinePanesHost::current() {
    static AOnlinePanesHost fallback;
    return g_installed ? *g_installed : fallback;
}

void AOnlinePanesHost::install(AOnlinePanesHost* host) {
    g_installed = host;
}

int AOnlinePanesHost::messageBox(const char* text, const char* caption, unsigned flags) {
    AApp* app = AApp::current();
    return app ? app->messageBox(text, caption, flags, nullptr) : 1;
}

ARenderer* AOnlinePanesHost::createTextRenderer(ARendererView* view) {
    ARendererLayer* layer = view ? view->rendererLayer() : nullptr;
    if (!layer)
        return nullptr;
    auto* renderer = new ATextRenderer(layer);
    // The layer holds the renderer's one reference.
    layer->setRenderer(renderer);
    return renderer;
}
