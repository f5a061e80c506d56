// The base of the search panes' online result lists: the options kept in
// the left part (keys 1305 the options panel, 1307 the display), the online
// icon and opening a clicked row's address. Each list keeps its own key,
// its selection keys and its refresh.
//
// Nothing is owned here; the list and its rows are the options base's.
#pragma once

#include "app/lists/LROptionsNetPane.h"

class LRNetPane : public LROptionsNetPane {
    SV_DECLARE_CLASS(LRNetPane)
public:
    void setUpItems() override;
    void saveState(ABaseState* part) override;
    void openClickedLine(ARendererView* view) override;

protected:
    LRNetPane(int16_t firstKey, int16_t lastKey);
};
