// The pointer set.
#include "framework/components/APointerSet.h"

bool APointerSet::add(void* p) {
    if (map_.contains(key(p)))
        return false;
    map_.slot(key(p)) = p;
    return true;
}

bool APointerSet::remove(void* p) {
    if (!map_.contains(key(p)))
        return false;
    map_.removeKey(key(p));
    return true;
}

void* APointerSet::first() const {
    Pix p = map_.first();
    return p ? map_.contentsOf(p) : nullptr;
}

std::vector<void*> APointerSet::snapshot() const {
    std::vector<void*> out;
    out.reserve(static_cast<size_t>(map_.count()));
    for (Pix p = map_.first(); p; map_.next(p))
        out.push_back(map_.contentsOf(p));
    return out;
}
