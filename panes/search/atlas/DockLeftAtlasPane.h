// The atlas pane of the left dock: two tab buttons that choose the place
// list shown below them (all maps or the map shown in the centre), the
// countries button that opens the countries page, and the map preview.
// It records in the left part (value 1065) which map the centre shows, the
// link through which the lists and the preview follow the centre.
//
// State: left value 4 = shown tab + 1 (1 all maps, 2 current map); state
// value 1066 = 1 on the room's own page. Nothing is owned: the frame and
// the preview are components of the tree. A missing or mistyped enclosing
// frame or preview fails the allocation check ("DockLeftAtlasPane").
#pragma once

#include "app/frame/SVPane.h"

class AtlasPrec;
class AppState;
struct AtlasPlace;

// The atlas screen: screen mode 4, room 4, left room type 'P'.
bool IsAtlasScreen(AppState* state);
// A new state (owned by the caller) of the atlas screen on the place's map,
// at its frame (fNbFrame 3), whose left part the atlas pane records (fClone 0).
AppState* NewMapState(Frame1& frame, AppState& current, const AtlasPlace& place);

class DockLeftAtlasPane : public SVPane {
    SV_DECLARE_CLASS(DockLeftAtlasPane)
public:
    enum : int16_t {
        kPaneId = 0xa28, kTabCommand = 0xa8c, kAllMapsTab = 0xa8d, kCurrentMapTab = 0xa8e, kCountries = 0xa92, kPreview = 0xa91
    };
    // Left values and the state value of the room's own page.
    enum : long { kTabKey = 4, kMapKey = 1065, kRoomPageKey = 1066 };

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    void updatePane() override;

    int16_t tab() const { return tab_; }
    AtlasPrec* preview() const { return preview_; }

private:
    void switchTab(int16_t position);
    void openCountries();

    Frame1* frame_ = nullptr;      // not owned
    int16_t tab_ = 0;
    AtlasPrec* preview_ = nullptr;  // item 0xa91, not owned
};
