// The A-to-Z index pane of the left dock: a title band with the guide button
// (command 1234, the list view in the centre) above the index list (item
// 2301). Wanted in screen mode 1, left mode 3.
//
// Nothing is owned (the list belongs to the layout). A missing list fails the
// allocation check ("DockLeftRechAZPane"); arranging without a client list is
// an assertion.
#pragma once

#include "app/lists/ALayoutPane.h"

class LR_RechAZ;

class DockLeftRechAZPane : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftRechAZPane)
public:
    enum : int16_t { kListId = 2301, kGuideCommand = 1234 };

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;
    void arrangeClients() override;
    void updatePane() override;

    LR_RechAZ* getList() const { return azList; }

private:
    LR_RechAZ* azList = nullptr;  // not owned
};
