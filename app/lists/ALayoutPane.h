// The dock pane that stacks its client panes like an accordion (see
// ALayoutClient.h). Subclasses arrange their clients in arrangeClients and
// may restore the shown mask saved in a navigation state.
//
// Owns its client list from setUpItems to detachItems, not the records.
#pragma once

#include "app/lists/ALayoutClient.h"
#include "app/frame/SVPane.h"
#include "base/object/AString.h"

class ALayoutPane : public SVPane, public ALayoutOwner {
    SV_DECLARE_CLASS(ALayoutPane)
public:
    ALayoutPane();
    ~ALayoutPane() override;

    // Record: the pane base's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void childrenLoaded() override;
    // Lays the clients out again for the new height.
    long frameChanged(const APoint& size) override;
    // The shown mask under maskKey, the text under textKey.
    void saveState(ABaseState* part) override;
    void resetState(long argument) override { (void)argument; }

    virtual void arrangeClients() {}
    // ALayoutOwner: every change is accepted here.
    int16_t acceptClientChange(int16_t paneId, int16_t code) override;
    int32_t layoutHeight() override { return getSize().y; }
    // 1 when the text changed (the cluster item's setText and getText keep their meaning).
    virtual int16_t setPaneText(const char* text);
    AString getPaneText() const { return text; }
    void restoreShownMask();
    // Shows a hidden client by flipping it, and its partner the other way,
    // then lays out: a toggle would ask the pane again. Null does nothing.
    void showClient(ALayoutClient* client);

    ALayoutClientList* getClients() const { return clients; }

    uint32_t savedMask = 0;
    int16_t maskKey = -1;
    int16_t textKey = -1;

private:
    ALayoutClientList* clients = nullptr;  // owned
    AString text;
};
