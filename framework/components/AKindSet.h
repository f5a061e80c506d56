// Update kinds and the set of them that the update list hands to a component's notify.
//
// Kinds are runtime values only, never stored. Where two uses share a number
// each has its own name, so a caller says which meaning it posts.
#pragma once

#include "base/object/ALongDic.h"

enum UpdateKind : long {
    kAllUpdateKinds = 0,        // dequeueUpdate: withdraw every kind
    kUpdateTargetChain = 1,     // joined or left the command target's chain
    kUpdateSelection = 2,       // a list's selection changed
    kUpdateEmptiness = 4,       // an edit box became empty or stopped being empty
    kUpdateSetUp = 5,           // opened and set up
    kUpdateAppTarget = 6,       // the application's target or active window moved
    kUpdateValue = 6,           // a control's content or value changed
    kUpdateBound = 8,           // a new binding reached its receiver
    kUpdateUnbound = 9,         // closed or going away
    kUpdateVisibility = 10,     // the visible flag changed
    kUpdateNativeState = 11,    // a window became or stopped being iconic
    kUpdateClipboard = 13,      // the message target's Paste may have changed
    kUpdateUndoPushed = 14,     // the undo history gained a command
    kUpdateLayout = 15,         // a layout pass was scheduled
    kUpdateStarted = 16,        // the started flag changed
    kUpdateCommandStates = 17,  // refresh the command states (kind 0 means every kind when withdrawn)
    kUpdateMedia = 20,          // a multimedia notification reached a window
    kUpdateSizerDrag = 101,     // a sizer drag ended
};

// Owns its nodes; the values are unused.
class AKindSet : public longa_pvoidAVLMap {
public:
    bool contains(long kind) const { return seek(kind) != nullptr; }
    // Answers true when the kind was not there.
    bool add(long kind) {
        if (contains(kind))
            return false;
        slot(kind);
        return true;
    }
};
