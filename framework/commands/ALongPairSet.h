// A two-level set: for each 32-bit key (a component's address, a timer's
// owner), a set of 32-bit inner keys.
//
// Owns the inner sets: one is made with a key's first inner key and deleted
// with its last. Removing what is not there is an assertion ("fcmdutil").
#pragma once

#include <cstdint>
#include <memory>

#include "base/object/ALongDic.h"
#include "framework/components/AKindSet.h"

class ALongPairSet {
public:
    ALongPairSet() = default;
    ~ALongPairSet() { clear(); }
    ALongPairSet(const ALongPairSet&) = delete;
    ALongPairSet& operator=(const ALongPairSet&) = delete;

    static long keyOf(const void* p) { return static_cast<long>(reinterpret_cast<intptr_t>(p)); }

    // Answers true when the key got its first inner key.
    bool add(long key, long inner);
    // Answers true when the key lost its last inner key.
    bool remove(long key, long inner);
    void removeAll(long key);
    void clear();
    bool contains(long key) const { return outer_.contains(key); }
    // The key's inner set, or null.
    AKindSet* find(long key) const;
    // Takes the key's inner set out (the caller owns it), or null.
    std::unique_ptr<AKindSet> take(long key);
    // Gives the key a set it did not have.
    void put(long key, std::unique_ptr<AKindSet> set);
    bool empty() const { return outer_.empty(); }

private:
    longa_pvoidAVLMap outer_;  // key -> AKindSet*, owned
};
