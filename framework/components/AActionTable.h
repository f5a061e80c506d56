// What a component needs of an action table (the menu bar, every item
// cluster's owner part), and the action record the tables hand to handlers.
//
// Tables hold bindings from 16-bit codes (menu items, items, system commands)
// to a command id and a receiving component; they never own the component.
#pragma once

#include <cstdint>

#include "base/object/InputRecords.h"
#include "base/procedural/AddressWord.h"

class AComponent;
class AKindSet;

class AActionTable {
public:
    virtual ~AActionTable() = default;

    // Binds command to receiver for codes first..last (last -1: an open
    // binding that takes a range registered under first); flags 1 for one
    // code, 2 for a range, 4 a radio group. True when the receiver was new here.
    virtual bool add(int16_t command, AComponent* receiver, int16_t first, int16_t last, long flags) = 0;
    // Drops every binding aimed at the component.
    virtual void removeComponent(AComponent* component) = 0;
    // Told by the component's notify with the kinds delivered to it.
    virtual void componentChanged(AComponent* component, const AKindSet& kinds) = 0;
};

// AActionRecord fields as the tables fill them (its memory order is fixed):
//   f1 binding flags   f2 first code of the range   f3 index in the range (-1: the group)
//   f4 the item's value   f5 selected index, -1 until a radio group's status handler sets it
//   f6 unused (0)   f7 the table, as a 32-bit address
inline AActionRecord MakeActionRecord(AActionTable* table, long flags, int16_t first, int16_t index, long value) {
    return AActionRecord(static_cast<int32_t>(AddressWord(table)), static_cast<int32_t>(flags), first, index,
                         static_cast<int32_t>(value), -1, 0);
}
inline AActionTable* ActionRecordTable(const AActionRecord& record) {
    return reinterpret_cast<AActionTable*>(static_cast<intptr_t>(record.f7));
}
// The 32-bit argument that carries a record to doCommand and commandStatus.
inline long ActionArgument(AActionRecord* record) {
    return static_cast<long>(reinterpret_cast<intptr_t>(record));
}
inline AActionRecord* ActionRecordOf(long argument) {
    return reinterpret_cast<AActionRecord*>(static_cast<intptr_t>(argument));
}
// The 0-based place in its range of the item a range command came from; -1 without a record.
inline int16_t ActionRangeIndex(long argument) {
    AActionRecord* record = ActionRecordOf(argument);
    return record ? static_cast<int16_t>(record->f3) : -1;
}
