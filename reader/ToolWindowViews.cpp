// The views of the application's tool windows.
#include "reader/ToolWindowViews.h"

#include "app/lists/AListApp.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/app/AWindow.h"

ARendererView* RequiredView(AWindow* window, int16_t id) {
    AClusterItem* item = window->findItem(id, false);
    auto* view = item ? static_cast<ARendererView*>(item->castTo(&ARendererView::classRecord)) : nullptr;
    if (!view)
        ThrowAssert("appclass", id);
    return view;
}

// A text view of a tool window: the application's text renderer on sheet,
// without word clicks.
void SetUpTextView(ARendererView* view, long sheet) {
    TheApp* app = TheApp::current();
    if (!app)
        ThrowAssert("appclass", __LINE__);
    ATextRenderer* renderer = app->createTextRenderer(view, sheet);
    renderer->options = static_cast<uint16_t>(renderer->options & ~8u);
}

void SetUpListView(AComponent* window, ARendererView* view) {
    view->addLink(window);
    if (AListRenderer* renderer = AListApp::current().createListRenderer(view, 0, 3))
        renderer->listOptions |= 1;
}


ASearchBase* ToolBase(short index) {
    TheApp* app = TheApp::current();
    AppDataManager* data = app ? app->getDataManager() : nullptr;
    return data ? data->getBase(index) : nullptr;
}
