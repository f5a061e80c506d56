// The centre pane that shows a thematic room or an atlas map as a movie in
// its browser view (3060): it writes a page from a template, loads it, and
// then drives the movie through "javascript:" addresses. The movie's
// messages come back as "Observe" events and run as queued commands.
//
// Frame, switcher and view are not owned; the handler holds one reference
// until the pane detaches. Generated pages and extracted movies are
// registered as temporary files when replaced (deleted at the next start).
// A missing frame, switcher or view is a layout fault ("FlashPane").
#pragma once

#include "app/find/SVFlashPane.h"
#include "app/online/APaneFlashCmd.h"
#include "app/state/ALongCycler.h"
#include "panes/docks/top/ATopDockViews.h"
#include "web/browser/APaneEventHandler.h"

class AMozillaTargetView;
class AMozillaView;
class AppState;
class DockLCRPane;
class FlashPane;

class AFlashPaneHandler : public APaneEventHandler<FlashPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    // 1 when the event was taken (see the pane), else 0.
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

// A movie message, run from the command queue.
class AFlashPaneCmd : public APaneFlashCmd<FlashPane> {
    SV_DECLARE_CLASS(AFlashPaneCmd)
public:
    using APaneFlashCmd::APaneFlashCmd;
    void execute() override;
};

// Shows a frame of the pane's movie.
class APostFrameCmd : public ACommand {
    SV_DECLARE_CLASS(APostFrameCmd)
public:
    APostFrameCmd() = default;
    APostFrameCmd(int16_t frame, FlashPane* pane);
    void execute() override;

private:
    int16_t frame_ = 0;
    FlashPane* pane_ = nullptr;  // not owned
};

class FlashPane : public SVFlashPane, public ATopMapView {
    SV_DECLARE_CLASS(FlashPane)
public:
    enum : int16_t { kView = 3060 };

    FlashPane() = default;
    ~FlashPane() override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    // Loads the document movie marked by updatePane.
    long draw(const ARegion& region) override;

    void updatePane() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;

    void gotoFrame(int16_t frame) override;
    void loadRoom(const char* movieName, const char* roomsFolder, int16_t wholeWindow);
    void releaseTempFiles();

    // The atlas (document movies and zoom).
    void loadMovie(long docNo);
    void computeAtlasZoom(AppState* state);
    void setScales(const char* list, int16_t value);
    bool canZoom(int16_t direction) override;
    void zoomStep(int16_t direction) override;
    void zoomToIndex(long index);
    void resetZoom(int16_t position) override { zoomToIndex(position); }
    int16_t zoomPosition() override { return static_cast<int16_t>(scales_.getCurrent()); }
    void applyZoom();
    // The stop text of the page: "stop()", or "zoompan(...)" for a zoomed or panned map.
    static AString stopText(bool map, int32_t zoom, int32_t panX, int32_t panY);

    AMozillaTargetView* view() const { return view_; }
    const AString& pageFile() const { return pageFile_; }
    const AString& movieFile() const { return movieFile_; }
    const AString& roomMovie() const { return roomMovie_; }
    int16_t reloadPending() const { return reloadPending_; }
    AMediaItemCycler& scales() { return scales_; }

private:
    void refreshAtlasDock();
    void loadPage(const AString& page, const AString& movieAddress, int16_t frame);

    DockLCRPane* switcher_ = nullptr;         // not owned
    AMozillaTargetView* view_ = nullptr;      // not owned
    AFlashPaneHandler* handler_ = nullptr;    // one reference
    int16_t reloadPending_ = 0;
    AString movieFile_;
    AString pageFile_;
    AString emptyPage_;
    AString roomMovie_;
    AMediaItemCycler scales_;
    long scaleOfHundred_ = 0;
};
