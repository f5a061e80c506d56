// The base of the browser panes' event handlers: the pane a handler reports
// to, cut off when the pane's items are detached while the view may still
// hold the handler (BrowserPaneHandler.h hooks and unhooks it).
#pragma once

#include "web/browser/AMozillaEvent.h"

template <class Pane>
class APaneEventHandler : public AMozillaHandler {
public:
    explicit APaneEventHandler(Pane* pane) : pane_(pane) {}
    Pane* pane() const { return pane_; }
    void detachPane() { pane_ = nullptr; }

protected:
    Pane* pane_;  // not owned; null once the pane detached
};
