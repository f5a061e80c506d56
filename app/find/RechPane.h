// The base of the search-field panes: four hooks that the pane with the
// query field gives their meaning (running the search, showing and
// recording a search state's texts, the query text), empty here; clearing
// the search state empties the current navigation state's search part.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "base/object/AString.h"

class ASearchState;

class RechPane : public SVPane {
    SV_DECLARE_CLASS(RechPane)
public:
    RechPane() = default;

    void updatePane() override { SVPane::updatePane(); }
    // The current state (when there is one) keeps no search state.
    void clearSearchState() override;

    virtual void runSearch(int16_t argument) { (void)argument; }
    // Puts the state's texts (not owned) into the pane.
    virtual void showSearchState(ASearchState* state) { (void)state; }
    // Records the pane's texts into the state (not owned).
    virtual void fillSearchState(ASearchState* state, long value) { (void)state, (void)value; }
    virtual AString getQueryText() { return AString(); }
};
