// The application's update list: components ask to be told later of numbered
// kinds of change, and each delivery hands every component all its kinds in
// one notify.
//
// Holds components, never owns them; the application removes a component
// that goes away (its flag 0x0100 says it is here). Components on the target
// chain (flag bit 0) are told after the others. Kinds asked for during a
// delivery wait for the next one.
#pragma once

#include "base/object/Alist.h"
#include "framework/commands/ALongPairSet.h"

class AComponent;

class AUpdateList {
public:
    AUpdateList() = default;
    ~AUpdateList() { clear(); }
    AUpdateList(const AUpdateList&) = delete;
    AUpdateList& operator=(const AUpdateList&) = delete;

    void add(AComponent* component, long kind);
    // kAllUpdateKinds withdraws every kind of the component.
    void remove(AComponent* component, long kind);
    void removeAll(AComponent* component);
    void clear();
    void deliver();
    bool empty() const { return waiting_.empty() && passes_[0].empty() && passes_[1].empty(); }

private:
    ALongPairSet requested_;
    Alist waiting_;  // components with requested kinds, by first request
    ALongPairSet inDelivery_;
    Alist passes_[2];  // components being told: without, then with flag bit 0
};
