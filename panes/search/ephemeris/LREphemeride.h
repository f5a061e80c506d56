// The ephemeris screen's list: the documents of the event the navigation
// state names (values 3000 and 3002): its related documents when the shown
// document is a text, else the event's article alone. A new screen opens the
// first row's document unless the document part is padlocked; a click opens
// its row's document (a media document in the media window).
//
// Left part keys: 1180 and 1181 the selection, 3003 the list text shown.
// Holds one reference on its list and its line getter (LRPane's); the enclosing
// DockLeftEphemeridePane is required (allocation check "LREphemeride"). A damaged
// list text shows no rows.
#pragma once

#include "app/lists/LRPane.h"

class DockLeftEphemeridePane;

class LREphemeride : public LRPane {
    SV_DECLARE_CLASS(LREphemeride)
public:
    enum : int16_t { kFirstKey = 1180, kLastKey = 1181, kTextKey = 3003, kIcon = 1526 };

    LREphemeride();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    void selectionChanged(ARenderer* renderer) override;

private:
    // Settles the selection and the shown document after new rows.
    void settle();
    void show(long doc, int16_t screenMode, int16_t keepRight = 0);

    DockLeftEphemeridePane* dockPane = nullptr;  // not owned
};
