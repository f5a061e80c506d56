// The base of the media pane's browser panes (the Flash and Director
// movies): browser view 6030 inside the enclosing media pane, the view's
// event handler and command, the media pane's state, and a refresh that
// shows the state's document. Base is the pane class it derives from; Pane
// the deriving class, which the handler reports to.
//
// The media pane and the view are not owned; the handler holds one
// reference until the pane detaches. A missing media pane or view is a
// layout fault named after the pane; a state asked for before the pane is
// attached is an assertion.
#pragma once

#include <cstdint>

#include "app/state/AppState.h"
#include "base/object/AString.h"
#include "base/procedural/AError.h"
#include "panes/content/media/MediaPane.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"

template <class Base, class Pane, class Handler>
class AMediaViewPane : public Base {
public:
    enum : int16_t { kView = 6030 };

    void bindActions() override {
        Base::bindActions();
        this->addAction(kView, this, kView, nullptr);
    }
    ACommand* doCommand(int16_t id, long argument) override {
        return id == kView ? this->noChangeCommand() : Base::doCommand(id, argument);
    }
    int16_t commandStatus(int16_t id, long argument) override {
        return id == kView ? 1 : Base::commandStatus(id, argument);
    }
    AppState* currentState() override {
        if (!mediaPane_)
            ThrowAssert(name_, __LINE__);
        return mediaPane_->currentState();
    }
    void setPaneVisible(int16_t visible) override {
        Base::setPaneVisible(visible);
        if (view_)
            view_->observeTopic(visible ? 1 : 0);
    }
    void updatePane() override {
        Base::updatePane();
        AppState* state = currentState();
        if (state && state->getDocNo() >= 0)
            showDocument(state->getDocNo());
    }

    AMozillaView* view() const { return view_; }
    const AString& pageFile() const { return pageFile_; }

protected:
    explicit AMediaViewPane(const char* name) : name_(name) {}

    // Shows document docNo (not negative) in the view.
    virtual void showDocument(long docNo) = 0;
    // At attach: the enclosing media pane, and no page yet.
    void findMediaPane() {
        AComponent* found = this->findAncestor(&MediaPane::classRecord);
        mediaPane_ = CheckAlloc(found ? static_cast<MediaPane*>(found->castTo(&MediaPane::classRecord)) : nullptr,
                                name_, __LINE__);
        pageFile_ = AString();
    }
    // At set-up: the view, with the handler hooked to it.
    void findView() {
        AClusterItem* item = this->findItem(kView, false);
        view_ = CheckAlloc(item ? static_cast<AMozillaView*>(item->castTo(&AMozillaView::classRecord)) : nullptr,
                           name_, __LINE__);
        HookBrowserHandler(view_, static_cast<Pane*>(this), handler_, name_, __LINE__);
    }
    // At detach (view) or destruction (null): the handler let go.
    void unhookView(AMozillaView* view) {
        UnhookBrowserHandler(view, static_cast<Pane*>(this), handler_);
        view_ = nullptr;
    }

    MediaPane* mediaPane_ = nullptr;  // not owned
    AMozillaView* view_ = nullptr;    // not owned
    AString pageFile_;

private:
    const char* name_;             // the pane's name in layout faults
    Handler* handler_ = nullptr;   // one reference
};
