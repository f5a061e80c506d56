// The links panel of the right dock: six lists stacked like an accordion
// (sets 1420, captions 1425, linked documents 1421, themes 1422, web links
// 1423, rooms 1424), shown by the right document's information flags and
// loaded from its records. Expanded lists share the height; the mask of
// expanded lists (bit i: i-th present list) is kept under user info 2000 of
// the right part and applied by position to the next document's lists.
//
// The list panes are items of its layout, not owned; a missing one fails the
// allocation check ("DockRightArtPane").
#pragma once

#include "app/lists/ALayoutPane.h"
#include "app/lists/LRExtPane.h"
#include "app/state/ADocRef.h"

class DockRightArtPane : public ALayoutPane, public ALinksDock {
    SV_DECLARE_CLASS(DockRightArtPane)
public:
    enum List : int { kSets, kCaptions, kDocLinks, kThemes, kWebLinks, kRooms, kListCount };
    static const int16_t kListIds[kListCount];

    DockRightArtPane();
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    // A right part whose document shows one of the lists (flags 13 and 14 alone show none).
    int16_t isPaneWanted() override;
    // ALinksDock: the other expanded lists lose their selection.
    void collapseOthers(ListPane* pane) override { clearOtherSelections(pane); }
    void clearOtherSelections(ListPane* pane);

    // The clients of the lists the document's flags name, then the kept mask.
    void buildClients(ADocRefInfo& info);
    // Whether list i is present and expanded.
    bool isExpanded(int list) const;
    LRExtPane* list(int i) const { return lists_[i]; }
    // The flag of the document's record that shows list i.
    static bool listWanted(ADocRefInfo& info, int i);

private:
    LRExtPane* lists_[kListCount] = {};  // not owned
};
