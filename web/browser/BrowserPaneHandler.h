// How a browser pane hooks its event handler to its view and lets it go:
// one handler per pane, registered under "AllEvent" and cut off from the
// pane when the pane's items are detached (the view may still hold it).
//
// Handler: an AMozillaHandler made from the pane with detachPane(). The pane
// holds one reference in `handler` from the hook to the unhook.
#pragma once

#include <new>

#include "base/procedural/AError.h"
#include "web/browser/AMozillaView.h"

// Makes the handler on first use (allocation check named source, line),
// registers it on the view and links the view to the pane.
template <class Handler, class Pane>
void HookBrowserHandler(AMozillaView* view, Pane* pane, Handler*& handler, const char* source, long line) {
    if (!handler) {
        handler = CheckAlloc(new (std::nothrow) Handler(pane), source, line);
        handler->addRef();
    }
    view->addHandler("AllEvent", handler);
    view->addLink(pane);
}

// Unlinks the pane from the view (when there is one), cuts the handler off
// the pane and drops the pane's reference; `handler` becomes null.
template <class Handler, class Pane>
void UnhookBrowserHandler(AMozillaView* view, Pane* pane, Handler*& handler) {
    if (view)
        view->removeLink(pane);
    if (handler) {
        handler->detachPane();
        handler->release();
        handler = nullptr;
    }
}
