// A set of pointers, kept in a long-keyed AVL map by address.
//
// Holds the pointers, never owns what they point to. snapshot copies the
// members first, so a caller may change the set while it walks the copy.
#pragma once

#include <cstdint>
#include <vector>

#include "base/object/ALongDic.h"
#include "base/procedural/AddressWord.h"

class APointerSet {
public:
    // Answers true when the pointer was not there.
    bool add(void* p);
    // Answers true when the pointer was there.
    bool remove(void* p);
    bool contains(void* p) const { return map_.contains(key(p)); }
    bool empty() const { return map_.empty(); }
    long count() const { return map_.count(); }
    void* first() const;
    void clear() { map_.clear(); }
    std::vector<void*> snapshot() const;

private:
    static long key(void* p) { return AddressWord(p); }
    longa_pvoidAVLMap map_;
};
