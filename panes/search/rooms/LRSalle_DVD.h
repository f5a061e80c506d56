// The disc result list of a room pane: the documents of the room pane's key
// text (a result key "a:b", b a record of the links base). Clicking a row
// shows its document in the centre; a new room state opens its first
// document by itself and is marked temporary, unless it came from a link,
// the document is padlocked or the row is a media document.
//
// Left part keys: 1142 and 1143 the selection, 1300 the options panel, 1302
// the display. Nothing is owned here; missing enclosing panes fail the
// allocation check ("LRSalle_DVD").
#pragma once

#include "app/lists/LROptionsAfficherDVDPane.h"

class DockLCRPane;
class DockLeftSallePane;
class Frame1;

class LRSalle_DVD : public LROptionsAfficherDVDPane {
    SV_DECLARE_CLASS(LRSalle_DVD)
public:
    LRSalle_DVD();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    void saveState(ABaseState* part) override;
    void openClickedLine(ARendererView* view) override;
    void updatePane() override;
    // The list's icon for the current room and tab (1509 outside the table).
    int16_t roomIcon();
    static int16_t roomIconOf(int16_t room, int16_t tab);

    Frame1* frame = nullptr;                // not owned
    DockLCRPane* lcr = nullptr;             // not owned
    DockLeftSallePane* roomPane = nullptr;  // not owned

private:
    void openDocument(long docNo, int16_t screenMode);
};
