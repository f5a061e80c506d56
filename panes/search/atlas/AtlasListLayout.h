// The common part of the two layout panes that hold an atlas place list
// (DockLeftAtlasAllMap and DockLeftAtlasCurrentMap): the list is their one
// client, shown while the atlas pane's tab (left value 4) names it.
//
// The frame and the list's client record are not owned. A missing or
// mistyped frame or list fails the allocation check (the pane's file name);
// asking without a left part is an assertion.
#pragma once

#include "app/lists/ALayoutPane.h"

class ALayoutClient;

class AtlasListLayout : public ALayoutPane {
public:
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    int16_t isPaneWanted() override;
    void arrangeClients() override;
    void updatePane() override;

    ALayoutClient* listClient() const { return listClient_; }

protected:
    // tabValue: the left value 4 that shows this pane; listId: its list's item.
    AtlasListLayout(const char* file, long tabValue, int16_t listId, int16_t maskKey, int16_t textKey);
    // Beyond the tab: the current-map pane also wants no room page.
    virtual bool wantedOnState(AppState* state) {
        (void)state;
        return true;
    }

private:
    const char* file_;
    long tabValue_;
    int16_t listId_;
    Frame1* frame_ = nullptr;                // not owned
    ALayoutClient* listClient_ = nullptr;    // not owned
};
