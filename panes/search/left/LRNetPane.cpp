// The online result lists' shared part: options in the left part, opening a row's address.
#include "panes/search/left/LRNetPane.h"

#include "app/state/AppState.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_ABSTRACT_CLASS(LRNetPane, 0, LROptionsNetPane)

LRNetPane::LRNetPane(int16_t firstKey, int16_t lastKey) {
    selFirstKey = firstKey;
    selLastKey = lastKey;
}

void LRNetPane::setUpItems() {
    LROptionsNetPane::setUpItems();
    setIcon(1508);
}

void LRNetPane::saveState(ABaseState* part) {
    LROptionsNetPane::saveState(part);
    if (!part)
        return;
    part->fUserInfo.slot(1305) = optionsOpen;
    part->fUserInfo.slot(1307) = display;
}

void LRNetPane::openClickedLine(ARendererView* view) {
    OpenClickedAddress(*this, view);
}
