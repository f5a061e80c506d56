// The home movie: a page written from the "HTMLFLASHACCUEILWIN" template,
// fitted to the browser view (3070), and the movie's named actions, which
// open a search screen, a room, a room page, a media document or the
// dictionary.
//
// The view is not owned; the handler holds one reference until the pane
// detaches and cuts it off then. The generated page is registered as a
// temporary file when replaced or at detach (deleted at the next start).
// A missing view is a layout fault ("AccueilFlashPane").
#pragma once

#include "app/frame/SVPane.h"
#include "app/online/APaneFlashCmd.h"
#include "web/browser/APaneEventHandler.h"

class AccueilFlashPane;
class AMozillaView;

// Receives the view's events; a movie message becomes an AAccueilFlashPaneCmd.
class AAccueilFlashPaneHandler : public APaneEventHandler<AccueilFlashPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    // "Observe" while the view's display bit 2 is set: the command is queued, 1.
    // "UpdateTitle": 1. Anything else (or a detached pane): 0.
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

// One message of the home movie, run from the command queue.
class AAccueilFlashPaneCmd : public APaneFlashCmd<AccueilFlashPane> {
    SV_DECLARE_CLASS(AAccueilFlashPaneCmd)
public:
    using APaneFlashCmd::APaneFlashCmd;
    void execute() override;
};

class AccueilFlashPane : public SVPane {
    SV_DECLARE_CLASS(AccueilFlashPane)
public:
    enum : int16_t { kView = 3070 };

    AccueilFlashPane() { setOwnItem(kView); }
    ~AccueilFlashPane() override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    // Writes and loads the home page, once per movie name.
    void updatePane() override;

    // A movie message: its kind (AFSCommInfo) and action text.
    void runMessage(long kind, const char* action);
    // The second part of the action table: a menu action of the frame.
    void doHomeAction(const char* action);
    // Registers the page file (when it exists) and forgets it.
    void purgePage();

    AMozillaView* view() const { return view_; }
    const AString& pagePath() const { return page_; }
    const AString& movieName() const { return movie_; }

private:
    AMozillaView* view_ = nullptr;                  // not owned
    AAccueilFlashPaneHandler* handler_ = nullptr;  // one reference
    AString page_;
    AString movie_;
};
