// Look-up and entry of records in association tables, shared by the
// descriptor parser and the mounting step; each raises its own error.
#pragma once

#include "base/procedural/Assoc.h"

// The value of key, or null (also for a null table or key).
inline void* AssocValue(const KY_Assoc* table, const char* key) {
    KY_AssocEntry* e = table && key ? KY_FindAssoc(table, key) : nullptr;
    return e ? e->value : nullptr;
}

// Enters value under key in *table, made when null; false when it cannot.
inline bool AssocEnter(KY_Assoc** table, const char* key, void* value) {
    if (!*table)
        *table = KY_NewAssoc(nullptr, 0);
    return *table && key && AddAssoc(*table, key, value) != 0;
}
