// The index list of a room pane: the entries of a room text (a CONTENU
// record of the rooms base), one "label#value" line each. Picking an entry
// makes its value the room pane's key text and shows the room's disc list.
//
// The record is the room pane's level-2 value, else its level-1 value; a
// value that is not a record number (negative, too large, not a number)
// empties the list. Selection keys 1140 and 1141 of the left part.
//
// Holds one reference on its line getter (ListPane's). Missing enclosing
// panes fail the allocation check ("SalleIndexPrec").
#pragma once

#include "app/lists/ListPane.h"

class DockLCRPane;
class DockLeftSallePane;
class Frame1;

class SalleIndexPrec : public ListPane {
    SV_DECLARE_CLASS(SalleIndexPrec)
public:
    enum : int16_t { kRoomsBase = 8, kContentTable = 1 };

    SalleIndexPrec();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    void openClickedLine(ARendererView* view) override;
    AString getLineKey(long line) override;
    // Shows the entries of CONTENU record r; nothing for a negative r.
    virtual void loadIndex(long r);
    // The record a level value names, -1 when it names none.
    static long recordOfValue(const AString& value);
    // The room text of record r (a hook the tests replace); "" when missing.
    virtual AString roomText(long r);

    Frame1* frame = nullptr;                // not owned
    DockLCRPane* lcr = nullptr;             // not owned
    DockLeftSallePane* roomPane = nullptr;  // not owned
};
