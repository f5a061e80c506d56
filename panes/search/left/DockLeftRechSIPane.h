// The search result pane of the left dock: the keyword refinement list
// (item 2110) above the disc result list (2120) or the online result list
// (2130), of which one is shown. It holds the result key of the chosen
// refinement row (the layout pane's text) and the name of the last online
// result, and runs the online search when the disc gave nothing or the
// reader asks for online results. Wanted in screen mode 1, left mode 1.
//
// State keys of the left part: 1000 the shown mask (bit 0 refinement list,
// bit 1 disc list, bit 2 online list), 1001 the result key (text), 1004 the
// open request while the lists are switched.
//
// Nothing is owned (the lists belong to the layout). Missing lists fail the
// allocation check ("DockLeftRechSIPane"); arranging without a client list
// or an online search without a current state are assertions.
#pragma once

#include "app/lists/ALayoutPane.h"

class LR_DVD;
class LR_NET;
class RechIndexPrec;

class DockLeftRechSIPane;

// The search result pane enclosing a list; none fails the allocation check
// with the list's file name and line.
DockLeftRechSIPane* EnclosingSearchPane(AComponent* list, const char* file, int line);

class DockLeftRechSIPane : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftRechSIPane)
public:
    enum : int16_t { kPrecId = 2110, kDiscId = 2120, kNetId = 2130, kGuideCommand = 1234 };
    enum : int16_t { kMaskKey = 1000, kKeyKey = 1001, kOpenRequestKey = 1004 };

    DockLeftRechSIPane();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;
    void saveState(ABaseState* part) override;
    void arrangeClients() override;
    void updatePane() override;
    // The layout list's notice: the reader showed (1) or hid (2) a list.
    int16_t acceptClientChange(int16_t paneId, int16_t code) override { return clientShownChanged(paneId, code); }
    int16_t clientShownChanged(int16_t itemId, int16_t action);

    // The result key (the layout pane's text; setText and getText stay the
    // cluster item's): 1 when it changed, and the online result name is then forgotten.
    int16_t setPaneText(const char* key) override;
    AString getNetResultName() const { return netResultName; }
    int16_t setNetResultName(const char* name);
    void showDiscList();
    void showNetList();
    int16_t searchOnline();

    RechIndexPrec* getPrecList() const { return precList; }
    LR_DVD* getDiscList() const { return discList; }
    LR_NET* getNetList() const { return netList; }

private:
    void showList(class ListPane* list);

    RechIndexPrec* precList = nullptr;  // not owned
    LR_DVD* discList = nullptr;         // not owned
    LR_NET* netList = nullptr;          // not owned
    AString netResultName;
};
