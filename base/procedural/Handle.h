// Handle tables: small integer handles for objects kept in a fixed-size table.
//
// A handle is an index into the table. Taking and returning handles is
// constant time through two doubly linked lists threaded through the table
// itself: the free list (head index -2) and the used list (head index -1).
// Stored values are KY_Malloc blocks owned by the table: resetting or
// destroying it frees them. -3 stands for no handle.
#pragma once

#include <cstddef>
#include <cstdint>

const int32_t kHdlNone = -3;
const int32_t kHdlFreeList = -2;
const int32_t kHdlUsedList = -1;

struct KY_HdlEntry {
    void* value;   // owned
    int32_t next;  // next member of the same list; the list's head index ends it
    int32_t prev;  // previous member; the head index begins it
};

struct KY_HdlTable {
    int32_t count;         // handles n
    KY_HdlEntry* block;    // owned: n + 2 entries, the two list heads first
    KY_HdlEntry* entries;  // block + 2: entries[-2] and entries[-1] are the heads
};

// Zero-filled block from the library allocator, null on failure.
void* KY_HdlCalloc(size_t bytes);
// A table of n free handles, or null (nothing left allocated). Free with KY_HdlDestroy.
KY_HdlTable* KY_HdlCreate(int32_t n);
// 1, or 110 with "Space for handle table" in KY_EngineErrorText.
int KY_HdlNewTable(KY_HdlTable* table, int32_t n);
// Frees every value; all handles free, in index order.
void KY_HdlResetTable(KY_HdlTable* table);
// Resets, frees the entries and the header, and nulls *table.
void KY_HdlDestroy(KY_HdlTable** table);
// The first free handle, now the first used one; kHdlNone when all are used.
int32_t KY_HdlAlloc(KY_HdlTable* table);
// Back to the front of the free list, its value kept; the handle or kHdlNone.
int32_t KY_HdlRelease(KY_HdlTable* table, int32_t handle);
// Moves a handle to the front of the other list: code -2 from free to used,
// -1 from used to free. kHdlNone for a bad index or an empty source list.
int32_t KY_HdlRemove(KY_HdlTable* table, int32_t handle, int32_t listCode);
void KY_HdlFreeValue(KY_HdlTable* table, int32_t handle);
// Null for kHdlNone or any index outside 0..n-1.
void* KY_HdlGet(const KY_HdlTable* table, int32_t handle);
// Ignored outside 0..n-1; the old value is not freed.
void KY_HdlSet(KY_HdlTable* table, int32_t handle, void* value);
