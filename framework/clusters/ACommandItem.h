// Acting items: ACommandItem reports to its owner cluster when it is hit and
// takes part in the default-item behaviour of Return; AAtomicItem, the single
// (non-container) acting item, adds the focus mode and the marked look.
//
// An item that is on and has no owner when it notifies is an assertion
// ("fitems" 582); so is a missing end mark.
#pragma once

#include "framework/clusters/AClusterItem.h"

class ACommandItem : public AClusterItem {
    SV_DECLARE_CLASS(ACommandItem)
public:
    ACommandItem() = default;
    ACommandItem(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                 const char* environment)
        : AClusterItem(parent, id, rule, cursorId, idMode, environment) {}

    // Record: AClusterItem's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    // Return (or key code 0) pressed on an item that is on: the default item
    // of the enclosing clusters is hit, else this item notifies its owner.
    ACommand* keyToCommand(AKeyEvent& event) override;
    // The owner's itemNotify when the item is on; 0 when off.
    long notifyOwner(long argument) override;
    // The same notification, later, from the command queue.
    void postCommand(long argument);
};

class AAtomicItem : public ACommandItem {
    SV_DECLARE_CLASS(AAtomicItem)
public:
    // A focusable tab stop until a focus mode says otherwise.
    AAtomicItem() { setItemFlags(kTabStop | kFocusable); }
    AAtomicItem(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                const char* environment, uint16_t focusMode);

    // Record: ACommandItem's, focus mode u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void stateChanged(uint16_t state) override;
    // Shows the marked state (the state's bit 0x0004 or 0); nothing here.
    virtual void setMarked(uint16_t marked) { (void)marked; }
    // 0x1000 tab stop and focusable, else 0x2000 focusable; 0x8000 adds shown by state.
    void setFocusMode(uint16_t mode);
};
