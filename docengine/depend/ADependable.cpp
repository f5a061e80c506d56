// Change notices between dependables and their dependents.
#include "docengine/depend/ADependable.h"

#include <vector>

#include "base/procedural/AddressWord.h"

void ADependent::changed(ADependable*, long, long) {}

void ADependent::dependOn(ADependable* other) {
    if (other)
        other->addDependent(this);
}

void ADependent::stopDependingOn(ADependable* other) {
    if (other)
        other->removeDependent(this);
}

void ADependable::addDependent(ADependent* dependent) {
    if (dependent)
        dependents_.slot(AddressWord(dependent)) = nullptr;
}

void ADependable::removeDependent(ADependent* dependent) {
    if (dependent && dependents_.contains(AddressWord(dependent)))
        dependents_.removeKey(AddressWord(dependent));
}

void ADependable::notify(long code, long data) {
    if (changeDepth_ != 0 && data == 0) {
        pending_.slot(code) = nullptr;
        return;
    }
    // A dependent may leave or join from inside its notice: walk a copy, and
    // skip whoever left before its turn came.
    std::vector<long> keys;
    keys.reserve(static_cast<size_t>(dependents_.count()));
    for (Pix p = dependents_.first(); p; dependents_.next(p))
        keys.push_back(dependents_.keyOf(p));
    for (long key : keys)
        if (dependents_.contains(key))
            reinterpret_cast<ADependent*>(key)->changed(this, code, data);
}

void ADependable::beginChange() {
    ++changeDepth_;
}

void ADependable::endChange() {
    if (changeDepth_ > 0)
        --changeDepth_;
    if (changeDepth_ != 0)
        return;
    std::vector<long> codes;
    for (Pix p = pending_.first(); p; pending_.next(p))
        codes.push_back(pending_.keyOf(p));
    pending_.clear();
    for (long code : codes)
        notify(code, 0);
}
