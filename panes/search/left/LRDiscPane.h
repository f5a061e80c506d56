// The base of the search panes' disc result lists: the options kept in the
// left part (keys 1300 to 1303: shown, filter, display, sort), the disc
// icon, opening a clicked row, and the end of a refresh that opens nothing.
// Each list keeps its own search pane, its selection keys and how a new
// search opens its first document.
//
// Nothing is owned here; the list and its rows are the options base's.
#pragma once

#include "app/lists/LROptionsDVDPane.h"

class AppState;
class ASearchPanesApp;
class DockLCRPane;

class LRDiscPane : public LROptionsDVDPane {
    SV_DECLARE_CLASS(LRDiscPane)
public:
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void saveState(ABaseState* part) override;
    void openClickedLine(ARendererView* view) override;

protected:
    LRDiscPane(int16_t firstKey, int16_t lastKey);
    // The centre switcher documents open through; null opens them in a new state.
    virtual DockLCRPane* openingCentre() { return lcrPane; }
    void openDocument(long docNo, int16_t screenMode);
    // Selects the rows of an opened document (centred in theme order).
    void selectOpened(ASearchPanesApp& app);
    // A refresh that opens nothing: the saved rows when restore, else none;
    // without rows the state is temporary unless it came from a link.
    void keepUnopened(AppState* cur, ALeftState* left, bool restore);
    // Makes this the frame's active list and tells whether plain rows show.
    void finishRefresh(ASearchPanesApp& app);

    DockLCRPane* lcrPane = nullptr;  // not owned; null in a frame without the centre
};
