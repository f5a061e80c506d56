// Bindings by code.
#include "framework/commands/ABindingSet.h"

#include <new>

#include "base/object/Alist.h"
#include "framework/commands/AActionBinding.h"

namespace {

Alist* ListOf(const longa_pvoidAVLMap& map, int16_t code) {
    Pix p = map.seek(code);
    return p ? static_cast<Alist*>(map.contentsOf(p)) : nullptr;
}

}  // namespace

ABindingSet::~ABindingSet() {
    // Its table empties it first; a destructor must not throw, so what a bug
    // left behind is freed rather than asserted.
    for (Pix p = byCode_.first(); p; byCode_.next(p))
        delete static_cast<Alist*>(byCode_.contentsOf(p));
}

void ABindingSet::add(int16_t code, AActionBinding* binding) {
    Alist* list = ListOf(byCode_, code);
    if (!list) {
        list = new Alist;
        byCode_.slot(code) = list;
    }
    list->append(binding);
}

void ABindingSet::remove(int16_t code, AActionBinding* binding) {
    Alist* list = ListOf(byCode_, code);
    if (!list)
        ThrowAssert("fcmdutil", 1053);
    list->remove(binding);
    if (list->empty()) {
        byCode_.removeKey(code);
        delete list;
    }
}

template <class Test>
AActionBinding* ABindingSet::findIf(int16_t code, Test test) const {
    Alist* list = ListOf(byCode_, code);
    if (!list)
        return nullptr;
    AListIterator it(list);
    while (void* value = it.next()) {
        AActionBinding* b = static_cast<AActionBinding*>(value);
        if (test(*b))
            return b;
    }
    return nullptr;
}

AActionBinding* ABindingSet::findForTarget(int16_t code, AComponent* target) const {
    return findIf(code, [target](const AActionBinding& b) { return b.target() == target; });
}

AActionBinding* ABindingSet::findActive(int16_t code) const {
    return findIf(code, [](const AActionBinding& b) { return b.isActive(); });
}

AActionBinding* ABindingSet::first(int16_t code) const {
    Alist* list = ListOf(byCode_, code);
    return list && !list->empty() ? static_cast<AActionBinding*>(static_cast<APlink*>(list->firstLink())->value)
                                  : nullptr;
}

void ABindingSet::addRange(int16_t base, AActionBinding* binding) {
    if (ranges_.contains(base))
        ThrowAssert("fcmdutil", 1160);
    ranges_.slot(base) = binding;
}

void ABindingSet::removeRange(int16_t base) {
    if (!ranges_.contains(base))
        ThrowAssert("fcmdutil", 1146);
    ranges_.removeKey(base);
}

AActionBinding* ABindingSet::range(int16_t base) const {
    Pix p = ranges_.seek(base);
    return p ? static_cast<AActionBinding*>(ranges_.contentsOf(p)) : nullptr;
}
