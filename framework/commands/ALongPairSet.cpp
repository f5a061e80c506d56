// The two-level set.
#include "framework/commands/ALongPairSet.h"

#include <new>

#include "base/procedural/AError.h"

AKindSet* ALongPairSet::find(long key) const {
    Pix p = outer_.seek(key);
    return p ? static_cast<AKindSet*>(outer_.contentsOf(p)) : nullptr;
}

bool ALongPairSet::add(long key, long inner) {
    AKindSet* set = find(key);
    bool first = set == nullptr;
    if (first) {
        set = CheckAlloc(new (std::nothrow) AKindSet, "fcmdutil", 59);
        outer_.slot(key) = set;
    }
    set->add(inner);
    return first;
}

bool ALongPairSet::remove(long key, long inner) {
    AKindSet* set = find(key);
    if (!set || !set->contains(inner))
        ThrowAssert("fcmdutil", 69);
    set->removeKey(inner);
    if (!set->empty())
        return false;
    removeAll(key);
    return true;
}

void ALongPairSet::removeAll(long key) {
    AKindSet* set = find(key);
    if (!set)
        ThrowAssert("fcmdutil", 81);
    outer_.removeKey(key);
    delete set;
}

void ALongPairSet::clear() {
    for (Pix p = outer_.first(); p; outer_.next(p))
        delete static_cast<AKindSet*>(outer_.contentsOf(p));
    outer_.clear();
}

std::unique_ptr<AKindSet> ALongPairSet::take(long key) {
    AKindSet* set = find(key);
    if (set)
        outer_.removeKey(key);
    return std::unique_ptr<AKindSet>(set);
}

void ALongPairSet::put(long key, std::unique_ptr<AKindSet> set) {
    if (find(key))
        ThrowAssert("fcmdutil", 839);
    outer_.slot(key) = set.release();
}
