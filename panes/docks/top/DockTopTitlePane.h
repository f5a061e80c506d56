// The title bars of the top dock for the documents other than articles: the
// shared shape (a title holder 3015 and a title view 3012, shown for one
// document kind) and the HTML and Flash bars. The atlas bar adds its map
// controls (DockTopAtlasPane).
//
// Items are children of the pane (not owned); missing ones fail the
// allocation check at set-up. The title renderer belongs to the view's layer.
#pragma once

#include "app/frame/SVPane.h"
#include "base/object/AString.h"

class ARenderer;
class ARendererView;
class AStaticItem;

class DockTopTitlePane : public SVPane {
    SV_DECLARE_CLASS(DockTopTitlePane)
public:
    enum : int16_t { kTitleView = 3012, kTitleHolder = 3015 };

    DockTopTitlePane() { setOwnItem(kTitleView); }

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    // The current state's document part shows the bar's kind of document.
    int16_t isPaneWanted() override;

    // The markup last given to the title renderer; for the tests.
    const AString& titleText() const { return title_; }

protected:
    // fDocType of the documents the bar is for.
    virtual int16_t docType() const { return -1; }
    // Whether the title view gets a text renderer.
    virtual bool hasTitleRenderer() const { return true; }
    // The title becomes the renderer's model (as plain text, escaped).
    void showTitle(const AString& title);

    ARendererView* titleView_ = nullptr;  // not owned
    AStaticItem* titleHolder_ = nullptr;  // not owned
    ARenderer* renderer_ = nullptr;       // not owned: the view's layer holds it
    AString title_;
};

// HTML pages (fDocType 1): an empty title view.
class DockTopHtmlPane : public DockTopTitlePane {
    SV_DECLARE_CLASS(DockTopHtmlPane)
public:
    void readFrom(AMemoryStream& stream) override;

protected:
    int16_t docType() const override { return 1; }
    bool hasTitleRenderer() const override { return false; }
};

// Flash movies (fDocType 3): the room's title in the room screens, else the
// document's.
class DockTopFlashPane : public DockTopTitlePane {
    SV_DECLARE_CLASS(DockTopFlashPane)
public:
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;

protected:
    int16_t docType() const override { return 3; }
};
