// The home screen's containers.
#include "panes/content/home/AccueilPane.h"

#include "app/state/AppState.h"

SV_IMPLEMENT_CLASS(AccueilPane, 0, SVPane)
SV_IMPLEMENT_CLASS(TopAccueilPane, 0, SVPane)

int16_t AccueilPane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() == 0 ? 1 : 0;
}

void AccueilPane::updatePane() {
    SVPane::updatePane();
    // The home panes see fNew only on their first update of a fresh state.
    if (AppState* state = currentState())
        state->setNew(0);
}
