// The right dock of the media window and its links panel: the main
// window's dock without title, lock or back button, taking the media
// window's navigation state; its width moves the media area, not the
// centre of the main window. The panel opens a clicked media document in a
// new media window and any other in the main window.
//
// The media pane and the items are not owned; a dock or panel outside a
// media pane, or a missing item, is a layout fault ("MediaDockRightPane").
#pragma once

#include "app/lists/LRExtPane.h"
#include "panes/docks/right/AppDockRightPane.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/docks/right/LR_DocLink.h"
#include "panes/docks/right/LR_Ensemble.h"
#include "panes/docks/right/LR_LinkNet.h"
#include "panes/docks/right/LR_Salle.h"
#include "panes/docks/right/LR_Theme.h"

class MediaPane;

// The media window's state for a component inside its media pane (fatal outside one).
AppState* MediaStateOf(AComponent* component);

class MediaDockRightPane : public AppDockRightPane {
    SV_DECLARE_CLASS(MediaDockRightPane)
public:
    // The media pane's items the width moves: the media area and the dock's place.
    enum : int16_t { kMediaArea = 6051, kDockPlace = 6055 };

    void attachItems() override;
    ACommand* doCommand(int16_t id, long argument) override;
    void updatePane() override;
    AppState* currentState() override { return MediaStateOf(this); }
    // Mode 1 wide, 0 narrow.
    void setWidthMode(int16_t mode);

private:
    MediaPane* mediaPane_ = nullptr;  // not owned
};

class MediaDockRightArtPane : public DockRightArtPane, public ADocumentOpener {
    SV_DECLARE_CLASS(MediaDockRightArtPane)
public:
    AppState* currentState() override { return MediaStateOf(this); }
    void openDocument(long doc) override;
};

// The panel's lists, each on the media window's state.
class LR_EnsembleMedia : public LR_Ensemble {
    SV_DECLARE_CLASS(LR_EnsembleMedia)
public:
    AppState* currentState() override { return MediaStateOf(this); }
};

class LR_DocLinkMedia : public LR_DocLink {
    SV_DECLARE_CLASS(LR_DocLinkMedia)
public:
    AppState* currentState() override { return MediaStateOf(this); }
};

class LR_ThemeMedia : public LR_Theme {
    SV_DECLARE_CLASS(LR_ThemeMedia)
public:
    AppState* currentState() override { return MediaStateOf(this); }
};

class LR_LinkNetMedia : public LR_LinkNet {
    SV_DECLARE_CLASS(LR_LinkNetMedia)
public:
    AppState* currentState() override { return MediaStateOf(this); }
};

class LR_SalleMedia : public LR_Salle {
    SV_DECLARE_CLASS(LR_SalleMedia)
public:
    AppState* currentState() override { return MediaStateOf(this); }
};
