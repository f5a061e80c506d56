// The map preview of the atlas dock pane: the preview movie of the map the
// centre shows (left value 1065), on a page written from the template
// "HTMLFLASHMEDIAWIN", in a browser view (0xaaa). A click on a place makes
// the movie send an "atl" message ("x:atl?p=<place>"); the preview opens
// the document that the map-name index registers for "<place>_<map>".
//
// The frame, the centre switcher, the dock pane and the view are not owned;
// the handler holds one reference until the pane detaches. The movie and the
// page are temporary files, listed for deletion at the next start when
// replaced (the view may still hold them). A missing or mistyped frame,
// dock pane or view fails the allocation check ("AtlasPrec"); without the
// centre switcher the preview registers nowhere.
#pragma once

#include "app/lists/AClientPane.h"
#include "app/online/AMozillaFlashCmd.h"
#include "base/object/AString.h"
#include "web/browser/APaneEventHandler.h"

class AMozillaView;
class AtlasPrec;
class DockLCRPane;
class DockLeftAtlasPane;

class AAtlasPrecHandler : public APaneEventHandler<AtlasPrec> {
public:
    using APaneEventHandler::APaneEventHandler;
    // "Observe" while the view shows (display flag 2) runs a command: 1; "UpdateTitle": 1; else 0.
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

// An observed message of the preview's movie: "atl" selects a place.
class AAtlasPrecCmd : public AMozillaFlashCmd {
    SV_DECLARE_CLASS(AAtlasPrecCmd)
public:
    AAtlasPrecCmd() = default;
    // target: the pane; the command holds one reference to the handler,
    // which forgets its pane when the pane goes.
    AAtlasPrecCmd(const char* text, AtlasPrec* target, AAtlasPrecHandler* handler);
    ~AAtlasPrecCmd() override;
    AAtlasPrecCmd(const AAtlasPrecCmd&) = delete;
    AAtlasPrecCmd& operator=(const AAtlasPrecCmd&) = delete;
    // Hands the command to the target's queue; execute selects the place.
    long doIt() override { return ACommand::doIt(); }
    void execute() override;
};

class AtlasPrec : public AClientPane {
    SV_DECLARE_CLASS(AtlasPrec)
public:
    enum : int16_t { kView = 0xaaa };
    enum : int32_t { kClientSize = 180 };

    AtlasPrec() { setOwnItem(kView); }
    ~AtlasPrec() override;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    void updatePane() override;

    void showMap(long docNo);
    // Opens what the map-name index registers for the place on the shown map.
    virtual void selectPlace(long place);
    void releaseFiles();

    AMozillaView* view() const { return view_; }
    AAtlasPrecHandler* handler() const { return handler_; }
    const AString& pagePath() const { return pagePath_; }
    const AString& moviePath() const { return moviePath_; }

private:
    Frame1* frame_ = nullptr;                 // not owned
    DockLCRPane* lcr_ = nullptr;              // not owned, or null
    DockLeftAtlasPane* dockPane_ = nullptr;   // not owned
    AMozillaView* view_ = nullptr;            // not owned
    AAtlasPrecHandler* handler_ = nullptr;    // one reference
    AString pagePath_;
    AString moviePath_;
};
