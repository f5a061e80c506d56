// Action tables: the owner of a set of items (a cluster's items, a menu's
// items) that binds their codes to command ids of components.
//
// A table owns its bindings and range records, never the components. One
// binding per code is active at a time: when a second one becomes active the
// two targets' nearest common ancestor arbitrates, and a conflict it does not
// settle is the assertion "conflicting actions : ..." ("fcommand", 483).
// Codes from 20000 are reserved for the ranges of open bindings.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/Alist.h"
#include "base/procedural/AError.h"
#include "framework/commands/ABindingSet.h"
#include "framework/commands/AIdRangeList.h"
#include "framework/components/AActionTable.h"

class AActionBinding;
class ACommand;
class AComponent;

class AItemOwner : public AActionTable {
public:
    enum : int16_t { kCodeLimit = 20000 };

    AItemOwner() = default;
    // Every component still registered forgets the table; its bindings go.
    ~AItemOwner() override;
    AItemOwner(const AItemOwner&) = delete;
    AItemOwner& operator=(const AItemOwner&) = delete;

    // Item operations on codes, implemented by the owner of the items.
    virtual bool hasItem(int16_t code) {
        (void)code;
        return false;
    }
    virtual long itemState(int16_t code) {
        (void)code;
        return 0;
    }
    virtual void setItemState(int16_t code, long state) {
        (void)code;
        (void)state;
    }
    // The value an activated item reports (its state unless the owner knows better).
    virtual long itemValue(int16_t code, long value, void* item) {
        (void)value;
        (void)item;
        return itemState(code);
    }
    virtual void setCurrentItem(int16_t code) { (void)code; }
    // A radio group's items: all enabled or all disabled.
    virtual void setGroupState(int16_t first, uint16_t count, bool on) {
        for (uint16_t i = 0; i < count; ++i)
            setItemState(static_cast<int16_t>(first + i), on ? 1 : 2);
    }
    // Run by fire for a code whose item is on, before it is dispatched.
    virtual void itemFired(int16_t code) { (void)code; }

    // AActionTable.
    bool add(int16_t command, AComponent* receiver, int16_t first, int16_t last, long flags) override;
    void removeComponent(AComponent* component) override;

    // Makes and files a binding; true when the receiver was new to the table.
    bool insert(int16_t command, AComponent* receiver, int16_t first, int16_t last, long flags);
    // Files a range record: codes first.. first+count-1 fire under base, and an
    // open binding of base takes the range. A component new to the table notes it (true).
    bool defineRange(AComponent* component, int16_t base, int16_t first, uint16_t count);
    void activate(AActionBinding* binding);
    void deactivate(AActionBinding* binding);
    void setComponentActive(AComponent* component, bool on);
    // Fires a code: the performed command's answer, or 0 when nothing is bound.
    long dispatch(int16_t code, long value, void* item);
    // dispatch when the code's item is on, else 0.
    long fire(int16_t code, long value, void* item);
    virtual bool isComponentActive(AComponent* component) {
        (void)component;
        return true;
    }

    ABindingSet& bindings() { return codes_; }
    AIdRangeList& aliases() { return aliases_; }

protected:
    // Activates on the given kinds, else refreshes the component's active bindings.
    void changed(AComponent* component, const AKindSet& kinds, long kindA, long kindB, bool on);

private:
    static Alist* listOf(const longa_pvoidAVLMap& map, AComponent* component);
    // Appends to the component's list (the map owns it); true when the list is new.
    static bool appendTo(longa_pvoidAVLMap& map, AComponent* component, AActionBinding* binding);
    void unfile(AActionBinding* binding);

    longa_pvoidAVLMap components_;  // component -> Alist* of its bindings (owned lists and bindings)
    longa_pvoidAVLMap groups_;      // component -> Alist* of its range records (owned)
    ABindingSet codes_;
    AIdRangeList aliases_;
};

// The table part of an item cluster: activates a component's bindings when it
// is set up (kind 5) or bound (kind 8).
class ALocalOwner : public AItemOwner {
public:
    void componentChanged(AComponent* component, const AKindSet& kinds) override;
};

// The table of a menu bar: a component's bindings are active while it is on
// the command target's chain (flag bit 0), decided on kinds 1 and 8.
class AMenuItemOwner : public AItemOwner {
public:
    void componentChanged(AComponent* component, const AKindSet& kinds) override;
    bool isComponentActive(AComponent* component) override;
};
