// The renderers the application makes for the panes' views.
#include "reader/TheApp.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"

AAppTextRenderer* TheApp::createTextRenderer(ARendererView* view, long sheet) {
    ARendererLayer* layer = view ? view->rendererLayer() : nullptr;
    if (!layer)
        ThrowAssert("theapp", __LINE__);
    auto* renderer = new AAppTextRenderer(layer);
    renderer->sheet = sheet;
    if (styleSheets_) {
        // An installation without the sheet asked for shows the text in the
        // articles' sheet: a renderer without one fails at its first word.
        AStyleSheet* style = styleSheets_->getSheet(sheet);
        renderer->setStyleSheet(style ? style : styleSheets_->getSheet(0));
    }
    // Links are live; a click does not pick a word.
    renderer->options = static_cast<uint16_t>((renderer->options | TextOptions::kLinksActive) & ~TextOptions::kWordClick);
    // The hand over links (hit kind 3) and over buttons (hit kind 2), pressed or not.
    renderer->setCursors(3, 310, 310);
    renderer->setCursors(2, 311, 311);
    // The layer holds the renderer's one reference.
    layer->setRenderer(renderer);
    return renderer;
}
