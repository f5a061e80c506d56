// The search-field pane base.
#include "app/find/RechPane.h"

#include "app/state/AppState.h"

SV_IMPLEMENT_CLASS(RechPane, 0, SVPane)

void RechPane::clearSearchState() {
    if (AppState* state = currentState())
        state->setSearchState(nullptr);
}
