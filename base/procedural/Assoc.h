// Association tables: the procedural layer's string-keyed map, a sorted array
// of (key, value) pairs searched by bisection.
//
// Keys are copies owned by the table; values are the caller's. The array is
// reallocated to exactly the entry count at every insertion and removal.
// Allocation failures raise the library's memory error ("assoc").
#pragma once

#include <cstdint>

struct KY_AssocEntry {
    char* key;    // owned
    void* value;  // not owned
};

struct KY_AssocPair {
    const char* key;
    void* value;
};

struct KY_Assoc {
    KY_AssocEntry* entries;  // owned; null when empty
    int32_t count;
    int (*compare)(const void* a, const void* b);  // on two entries
};

// pairs: ended by a null key, or null. caseSensitive 0: keys compared ignoring ASCII case.
KY_Assoc* KY_NewAssoc(const KY_AssocPair* pairs, int caseSensitive);
// 1 added, 2 present (value replaced), 0 for a null table or key.
int AddAssoc(KY_Assoc* table, const char* key, void* value);
// 1 removed (value untouched), 2 absent, 0 for a null table or key.
int KY_RemoveAssoc(KY_Assoc* table, const char* key);
// The entry, or null (also for a null or empty table).
KY_AssocEntry* KY_FindAssoc(const KY_Assoc* table, const char* key);
void KY_ForEachAssoc(KY_Assoc* table, void (*function)(KY_AssocEntry* entry, void* argument), void* argument);
// First non-zero answer of function in key order, or 0.
long KY_FindAssocIf(KY_Assoc* table, long (*function)(KY_AssocEntry* entry, void* argument), void* argument);
// First entry for which function answers non-zero, or null.
KY_AssocEntry* KY_FindAssocEntryIf(KY_Assoc* table, long (*function)(KY_AssocEntry* entry, void* argument),
                                   void* argument);
// Frees the key copies, the array and the table; null is ignored.
void KY_FreeAssoc(KY_Assoc* table);
