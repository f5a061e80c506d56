// The atlas title bar of the top dock (layout "DOCKTOPATLAS", fDocType 2): the
// map's title, its frame and zoom buttons acting on the map's movie pane, the
// linked documents of the map's information record, and the step back to the
// reference document the map was opened from.
//
// The map view is not owned; without it the frame and zoom commands do
// nothing and report 2 where the view is needed.
#pragma once

#include "panes/docks/top/DockTopTitlePane.h"

class ATopMapView;

class DockTopAtlasPane : public DockTopTitlePane {
    SV_DECLARE_CLASS(DockTopAtlasPane)
public:
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;

    void setMapView(ATopMapView* view) { mapView_ = view; }

protected:
    int16_t docType() const override { return 2; }

private:
    bool mapMode();
    void goToFrame(int16_t frame);
    int16_t linkedDocStatus(bool first);
    void backToReference();
    int16_t backStatus();
    void showButton(int16_t id, bool show);

    ATopMapView* mapView_ = nullptr;  // not owned
};
