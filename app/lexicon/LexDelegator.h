// Type-ahead over an item: the characters typed while the delegator's key
// catcher has the focus show in the target item, and a pause of one second
// (or Return) fires the command item's action as a click would; the target
// then gets its old text back. Tab cancels.
//
// The catcher is made (a child) only when the target cannot take the focus.
// Target and items are found by id and not owned. A missing end mark,
// cluster or target raises the assertion ("ulexique").
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/display/ASizerGroup.h"

class AAtomicItem;
class AClusterItem;

class LexDelegator : public ASizerBox {
    SV_DECLARE_CLASS(LexDelegator)
public:
    static const uint32_t kPauseMs = 1000;

    LexDelegator() = default;
    LexDelegator(AComponent* parent, int16_t id, int16_t commandId, int16_t targetId);

    // Record: the sizer box's part, command id u16, target id u16, a third u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    ACommand* charToCommand(AKeyEvent& event) override;
    long timerFired(uint16_t id, uint32_t now) override;
    long onActivate() override;

    AClusterItem* target() const { return target_; }
    AAtomicItem* catcher() const { return catcher_; }
    const AString& typed() const { return typed_; }
    uint16_t timer() const { return timer_; }

private:
    void send(int16_t reset, long argument);
    void setTargetText(const char* text);

    AString typed_;
    AString saved_;
    AClusterItem* target_ = nullptr;  // not owned
    AAtomicItem* catcher_ = nullptr;  // a child, or null
    int16_t commandId_ = 0;
    int16_t targetId_ = 0;
    int16_t third_ = 0;
    uint16_t timer_ = 0;
};
