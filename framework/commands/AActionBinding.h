// One action binding: a range of codes of a table bound to a command id that
// a target component handles.
//
// The table owns its bindings; the binding never owns its target. A binding
// made with last code -1 is open: at first use it takes the range of the
// range record filed under its code. Broken invariants are assertions ("fcmdutil").
#pragma once

#include <cstdint>

class ACommand;
class AComponent;
class AItemOwner;

class AActionBinding {
public:
    enum : long {
        kOneCode = 1,           // made by addAction
        kRange = 2,             // made by addActionRange
        kRadioGroup = 4,        // the items form a radio group
        kNoItemCheck = 0x8000,  // from here up the codes need not name items
    };

    AActionBinding(AComponent* target, int16_t command, long flags, int16_t first, int16_t last);
    virtual ~AActionBinding() = default;
    AActionBinding(const AActionBinding&) = delete;
    AActionBinding& operator=(const AActionBinding&) = delete;

    // Takes an open binding's range from the owner; false while none is filed.
    bool resolveRange(AItemOwner& owner);
    // The target's answer for a fired code (the no-change command for a hidden target).
    ACommand* dispatch(AItemOwner& owner, int16_t code, long value, void* item);
    // Asks the target's status for the codes and sets the items' states.
    void refreshState(AItemOwner& owner);
    // Sets every item of the range disabled (state 2) and marks the states stale.
    void disableAll(AItemOwner& owner);
    virtual void refresh(AItemOwner& owner) { refreshState(owner); }
    virtual void deactivated(AItemOwner& owner) { disableAll(owner); }

    int16_t command() const { return command_; }
    AComponent* target() const { return target_; }
    long flags() const { return flags_; }
    int16_t code() const { return code_; }
    int16_t first() const { return first_; }
    uint16_t count() const { return count_; }
    bool isActive() const { return active_ != 0; }
    bool isOpen() const { return borrowed_ != 0; }
    bool isStale() const { return stale_ != 0; }
    void setActive(bool on) { active_ = on ? 1 : 0; }
    // The range of a range record.
    void setRange(int16_t first, uint16_t count) {
        first_ = first;
        count_ = count;
    }

private:
    int16_t command_;
    AComponent* target_;  // not owned
    long flags_;
    int16_t code_;  // first code, or the base code whose range an open binding takes
    int16_t first_;
    uint16_t count_;  // 0 until an open binding is resolved
    uint16_t active_;
    uint16_t stale_;
    uint16_t borrowed_;
};
