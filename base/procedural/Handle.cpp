// Handle tables.
#include "base/procedural/Handle.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/Trace.h"

namespace {

bool Valid(const KY_HdlTable* t, int32_t i) {
    return t && t->entries && i >= 0 && i < t->count;
}

void Unlink(KY_HdlEntry* e, int32_t i) {
    e[e[i].prev].next = e[i].next;
    e[e[i].next].prev = e[i].prev;
}

void PushFront(KY_HdlEntry* e, int32_t head, int32_t i) {
    e[i].prev = head;
    e[i].next = e[head].next;
    e[e[head].next].prev = i;
    e[head].next = i;
}

}  // namespace

void* KY_HdlCalloc(size_t bytes) {
    return KY_Calloc(1, bytes);
}

KY_HdlTable* KY_HdlCreate(int32_t n) {
    KY_HdlTable* t = static_cast<KY_HdlTable*>(KY_HdlCalloc(sizeof(KY_HdlTable)));
    if (!t)
        return nullptr;
    if (KY_HdlNewTable(t, n) != 1) {
        KY_Free(t);
        return nullptr;
    }
    return t;
}

int KY_HdlNewTable(KY_HdlTable* table, int32_t n) {
    KY_HdlEntry* block = nullptr;
    if (n >= 0 && static_cast<size_t>(n) < 0x7FFFFFFF / sizeof(KY_HdlEntry) - 2)
        block = static_cast<KY_HdlEntry*>(KY_HdlCalloc((static_cast<size_t>(n) + 2) * sizeof(KY_HdlEntry)));
    if (!block) {
        KY_SetEngineErrorText("Space for handle table");
        return 110;
    }
    table->count = n;
    table->block = block;
    table->entries = block + 2;
    KY_HdlResetTable(table);
    return 1;
}

void KY_HdlResetTable(KY_HdlTable* table) {
    if (!table || !table->entries)
        return;
    KY_HdlEntry* e = table->entries;
    int32_t n = table->count;
    for (int32_t i = 0; i < n; ++i) {
        KY_Free(e[i].value);
        e[i].value = nullptr;
        e[i].next = i + 1 < n ? i + 1 : kHdlFreeList;
        e[i].prev = i > 0 ? i - 1 : kHdlFreeList;
    }
    e[kHdlFreeList].next = n > 0 ? 0 : kHdlFreeList;
    e[kHdlFreeList].prev = n > 0 ? n - 1 : kHdlFreeList;
    e[kHdlUsedList].next = e[kHdlUsedList].prev = kHdlUsedList;
}

void KY_HdlDestroy(KY_HdlTable** table) {
    if (!table || !*table)
        return;
    KY_HdlTable* t = *table;
    *table = nullptr;
    KY_HdlResetTable(t);
    KY_Free(t->block);
    KY_Free(t);
}

int32_t KY_HdlRemove(KY_HdlTable* table, int32_t handle, int32_t listCode) {
    if (!table || !table->entries || handle >= table->count)
        return kHdlNone;
    KY_HdlEntry* e = table->entries;
    if ((listCode == kHdlFreeList || listCode == kHdlUsedList) && e[listCode].next == listCode) {
        TraceLevel(2, "Hdl, Nothing to remove\n");
        return kHdlNone;
    }
    if (handle < 0)
        return kHdlNone;
    if (listCode == kHdlUsedList) {
        Unlink(e, handle);
        PushFront(e, kHdlFreeList, handle);
    } else if (listCode == kHdlFreeList) {
        Unlink(e, handle);
        PushFront(e, kHdlUsedList, handle);
    } else {
        TraceLevel(2, "Hdl: Unknown Type of list\n");
    }
    return handle;
}

int32_t KY_HdlAlloc(KY_HdlTable* table) {
    if (!table || !table->entries)
        return kHdlNone;
    return KY_HdlRemove(table, table->entries[kHdlFreeList].next, kHdlFreeList);
}

int32_t KY_HdlRelease(KY_HdlTable* table, int32_t handle) {
    return KY_HdlRemove(table, handle, kHdlUsedList);
}

void KY_HdlFreeValue(KY_HdlTable* table, int32_t handle) {
    if (!Valid(table, handle))
        return;
    KY_Free(table->entries[handle].value);
    table->entries[handle].value = nullptr;
}

void* KY_HdlGet(const KY_HdlTable* table, int32_t handle) {
    return Valid(table, handle) ? table->entries[handle].value : nullptr;
}

void KY_HdlSet(KY_HdlTable* table, int32_t handle, void* value) {
    if (Valid(table, handle))
        table->entries[handle].value = value;
}
