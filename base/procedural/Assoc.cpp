// Association tables over the sorted-array routines.
#include "base/procedural/Assoc.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/BSearch.h"
#include "base/procedural/Trace.h"

#include <cstring>
#include <strings.h>

namespace {

int CompareExact(const void* a, const void* b) {
    return std::strcmp(static_cast<const KY_AssocEntry*>(a)->key, static_cast<const KY_AssocEntry*>(b)->key);
}

int CompareFolded(const void* a, const void* b) {
    return strcasecmp(static_cast<const KY_AssocEntry*>(a)->key, static_cast<const KY_AssocEntry*>(b)->key);
}

}  // namespace

KY_Assoc* KY_NewAssoc(const KY_AssocPair* pairs, int caseSensitive) {
    KY_Assoc* t = static_cast<KY_Assoc*>(CheckAlloc(KY_Calloc(1, sizeof(KY_Assoc)), "assoc", 113));
    t->compare = caseSensitive ? CompareExact : CompareFolded;
    for (const KY_AssocPair* p = pairs; p && p->key; ++p)
        AddAssoc(t, p->key, p->value);
    return t;
}

int AddAssoc(KY_Assoc* table, const char* key, void* value) {
    if (!table || !key) {
        TraceLevel(0, "Null key in AddAssoc \n");
        return 0;
    }
    if (KY_AssocEntry* e = KY_FindAssoc(table, key)) {
        e->value = value;
        return 2;
    }
    size_t len = std::strlen(key) + 1;
    char* copy = static_cast<char*>(CheckAlloc(KY_Malloc(len), "assoc", 76));
    std::memcpy(copy, key, len);
    void* grown = KY_Realloc(table->entries, (table->count + 1) * sizeof(KY_AssocEntry));
    if (!grown) {
        KY_Free(copy);
        CheckAlloc(grown, "assoc", 78);
    }
    table->entries = static_cast<KY_AssocEntry*>(grown);
    KY_AssocEntry entry = {copy, value};
    binsert(&entry, table->entries, table->count, sizeof(KY_AssocEntry), table->compare);
    ++table->count;
    return 1;
}

int KY_RemoveAssoc(KY_Assoc* table, const char* key) {
    if (!table || !key) {
        TraceLevel(0, "Null key in AddAssoc \n");
        return 0;
    }
    KY_AssocEntry* e = KY_FindAssoc(table, key);
    if (!e)
        return 2;
    char* owned = e->key;
    KY_AssocEntry probe = {owned, nullptr};
    bremove(&probe, table->entries, table->count, sizeof(KY_AssocEntry), table->compare);
    KY_Free(owned);
    if (--table->count == 0) {
        KY_Free(table->entries);
        table->entries = nullptr;
    } else if (void* smaller = KY_Realloc(table->entries, table->count * sizeof(KY_AssocEntry))) {
        // A refused shrink keeps the larger array, which serves as well.
        table->entries = static_cast<KY_AssocEntry*>(smaller);
    }
    return 1;
}

KY_AssocEntry* KY_FindAssoc(const KY_Assoc* table, const char* key) {
    if (!table || !key || !table->count)
        return nullptr;
    KY_AssocEntry probe = {const_cast<char*>(key), nullptr};
    return static_cast<KY_AssocEntry*>(
        bfind(&probe, table->entries, table->count, sizeof(KY_AssocEntry), table->compare));
}

void KY_ForEachAssoc(KY_Assoc* table, void (*function)(KY_AssocEntry* entry, void* argument), void* argument) {
    if (!table)
        return;
    for (int32_t i = 0; i < table->count; ++i)
        function(&table->entries[i], argument);
}

long KY_FindAssocIf(KY_Assoc* table, long (*function)(KY_AssocEntry* entry, void* argument), void* argument) {
    if (!table)
        return 0;
    for (int32_t i = 0; i < table->count; ++i) {
        if (long r = function(&table->entries[i], argument))
            return r;
    }
    return 0;
}

KY_AssocEntry* KY_FindAssocEntryIf(KY_Assoc* table, long (*function)(KY_AssocEntry* entry, void* argument),
                                   void* argument) {
    if (!table)
        return nullptr;
    for (int32_t i = 0; i < table->count; ++i) {
        if (function(&table->entries[i], argument))
            return &table->entries[i];
    }
    return nullptr;
}

void KY_FreeAssoc(KY_Assoc* table) {
    if (!table)
        return;
    for (int32_t i = 0; i < table->count; ++i)
        KY_Free(table->entries[i].key);
    KY_Free(table->entries);
    KY_Free(table);
}
