// Action tables.
#include "framework/commands/AItemOwner.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "base/object/Alist.h"
#include "framework/commands/AActionBinding.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "framework/components/AKindSet.h"

namespace {

long KeyOf(AComponent* component) {
    return static_cast<long>(reinterpret_cast<intptr_t>(component));
}

AActionBinding* BindingAt(ALink* link) {
    return static_cast<AActionBinding*>(static_cast<APlink*>(link)->value);
}

// The codes a binding is filed under: its range, or an open binding's own code.
std::vector<int16_t> CodesOf(const AActionBinding& b) {
    int16_t first = b.isOpen() ? b.code() : b.first();
    long count = b.isOpen() ? 1 : b.count();
    std::vector<int16_t> codes;
    for (long i = 0; i < count; ++i)
        codes.push_back(static_cast<int16_t>(first + i));
    return codes;
}

[[noreturn]] void ConflictingActions(const AActionBinding& existing, const AActionBinding& added, int16_t code) {
    char text[256];
    std::snprintf(text, sizeof text, "conflicting actions : %d(in %s_%d) and %d(in %s_%d) on item %d",
                  existing.command(), existing.target() ? existing.target()->getClass()->name() : "",
                  existing.target() ? existing.target()->id() : 0, added.command(),
                  added.target() ? added.target()->getClass()->name() : "", added.target() ? added.target()->id() : 0,
                  code);
    ThrowAssertMessage(text, "fcommand", 483);
}

}  // namespace

AItemOwner::~AItemOwner() {
    for (longa_pvoidAVLMap* map : {&components_, &groups_}) {
        while (Pix p = map->first()) {
            AComponent* component = reinterpret_cast<AComponent*>(static_cast<intptr_t>(map->keyOf(p)));
            if (listOf(components_, component) || listOf(groups_, component))
                removeComponent(component);
            else
                map->removeKey(map->keyOf(p));
        }
    }
}

Alist* AItemOwner::listOf(const longa_pvoidAVLMap& map, AComponent* component) {
    Pix p = map.seek(KeyOf(component));
    return p ? static_cast<Alist*>(map.contentsOf(p)) : nullptr;
}

bool AItemOwner::appendTo(longa_pvoidAVLMap& map, AComponent* component, AActionBinding* binding) {
    Alist* list = listOf(map, component);
    bool created = list == nullptr;
    if (created) {
        list = new Alist;
        map.slot(KeyOf(component)) = list;
    }
    list->append(binding);
    return created;
}

bool AItemOwner::add(int16_t command, AComponent* receiver, int16_t first, int16_t last, long flags) {
    return insert(command, receiver, first, last, flags);
}

bool AItemOwner::insert(int16_t command, AComponent* receiver, int16_t first, int16_t last, long flags) {
    if (codes_.findForTarget(first, receiver))
        return false;
    bool open = last == -1;
    if (!open && flags >= 0 && flags < AActionBinding::kNoItemCheck) {
        if (first > last)
            ThrowAssert("fcommand", 633);
        bool named = false;
        for (long code = first; code <= last && !named; ++code)
            named = hasItem(static_cast<int16_t>(code));
        if (!named)
            return false;
    }
    if (open && first >= kCodeLimit)
        ThrowAssert("fcommand", 648);
    if (!open && (first > last || (last >= kCodeLimit && first >= 0)))
        ThrowAssert("fcommand", 652);
    std::unique_ptr<AActionBinding> binding(
        CheckAlloc(new (std::nothrow) AActionBinding(receiver, command, flags, first, last), "fcommand", 641));
    std::vector<int16_t> codes = CodesOf(*binding);
    for (int16_t code : codes) {
        if (codes_.findForTarget(code, receiver))
            ThrowAssert("fcommand", 350);
    }
    for (int16_t code : codes)
        codes_.add(code, binding.get());
    bool created = appendTo(components_, receiver, binding.release());
    return created && !listOf(groups_, receiver);
}

bool AItemOwner::defineRange(AComponent* component, int16_t base, int16_t first, uint16_t count) {
    std::unique_ptr<AActionBinding> range(CheckAlloc(
        new (std::nothrow) AActionBinding(component, 0, AActionBinding::kNoItemCheck, base, base), "fcommand", 641));
    range->setRange(first, count);
    codes_.addRange(base, range.get());
    aliases_.add(base, first, count);
    bool created = appendTo(groups_, component, range.release()) && !listOf(components_, component);
    // The component leaves the table at its close like a receiver does.
    if (created)
        component->noteActionTable(this);
    return created;
}

void AItemOwner::activate(AActionBinding* binding) {
    for (int16_t code : CodesOf(*binding)) {
        AActionBinding* existing = codes_.findActive(code);
        if (!existing || existing == binding)
            continue;
        if (existing->target() && binding->target()) {
            if (AComponent* arbiter = existing->target()->commonAncestor(binding->target())) {
                AActionRecord record = MakeActionRecord(this, 1, binding->first(),
                                                        static_cast<int16_t>(code - binding->first()), itemState(code));
                AComponent* answer = arbiter->resolveActions(record, existing->target(), binding->target());
                if (answer == existing->target())
                    return;
                if (answer == binding->target())
                    deactivate(existing);
            }
        }
        if (existing->isActive())
            ConflictingActions(*existing, *binding, code);
    }
    binding->setActive(true);
    binding->refresh(*this);
}

void AItemOwner::deactivate(AActionBinding* binding) {
    binding->setActive(false);
    binding->deactivated(*this);
}

void AItemOwner::setComponentActive(AComponent* component, bool on) {
    Alist* list = listOf(components_, component);
    if (!list)
        ThrowAssert("fcommand", 544);
    for (ALink* link = list->firstLink(); link != list->sentinel(); link = link->next) {
        AActionBinding* b = BindingAt(link);
        if (on && !b->isActive())
            activate(b);
        else if (!on && b->isActive())
            deactivate(b);
    }
}

long AItemOwner::dispatch(int16_t code, long value, void* item) {
    int16_t base = code;
    aliases_.lookup(code, base);
    AActionBinding* binding = codes_.findActive(base);
    if (!binding)
        return 0;
    ACommand* command = binding->dispatch(*this, code, value, item);
    if (!command)
        ThrowAssert("fcommand", 611);
    return command->doIt();
}

long AItemOwner::fire(int16_t code, long value, void* item) {
    if (!(itemState(code) & 1))
        return 0;
    itemFired(code);
    return dispatch(code, value, item);
}

void AItemOwner::changed(AComponent* component, const AKindSet& kinds, long kindA, long kindB, bool on) {
    Alist* list = listOf(components_, component);
    if (!list) {
        if (!listOf(groups_, component))
            ThrowAssert("fcommand", 534);
        return;
    }
    if (kinds.contains(kindA) || kinds.contains(kindB)) {
        setComponentActive(component, on);
        return;
    }
    for (ALink* link = list->firstLink(); link != list->sentinel(); link = link->next) {
        if (BindingAt(link)->isActive())
            BindingAt(link)->refresh(*this);
    }
}

void AItemOwner::unfile(AActionBinding* binding) {
    for (int16_t code : CodesOf(*binding)) {
        codes_.remove(code, binding);
        if (codes_.findForTarget(code, binding->target()))
            ThrowAssert("fcommand", 340);
    }
}

void AItemOwner::removeComponent(AComponent* component) {
    if (Alist* list = listOf(components_, component)) {
        components_.removeKey(KeyOf(component));
        std::unique_ptr<Alist> owned(list);
        while (!list->empty()) {
            std::unique_ptr<AActionBinding> b(static_cast<AActionBinding*>(list->removeFirst()));
            unfile(b.get());
            if (b->isActive())
                deactivate(b.get());
        }
    }
    if (Alist* list = listOf(groups_, component)) {
        groups_.removeKey(KeyOf(component));
        std::unique_ptr<Alist> owned(list);
        while (!list->empty()) {
            std::unique_ptr<AActionBinding> range(static_cast<AActionBinding*>(list->removeFirst()));
            if (codes_.range(range->code()) != range.get())
                ThrowAssert("fcommand", 377);
            codes_.removeRange(range->code());
            aliases_.removeBase(range->code());
        }
    }
    component->forgetActionTable(this);
}

void ALocalOwner::componentChanged(AComponent* component, const AKindSet& kinds) {
    changed(component, kinds, kUpdateSetUp, kUpdateBound, true);
}

void AMenuItemOwner::componentChanged(AComponent* component, const AKindSet& kinds) {
    changed(component, kinds, kUpdateTargetChain, kUpdateBound, isComponentActive(component));
}

bool AMenuItemOwner::isComponentActive(AComponent* component) {
    return (component->flags() & AComponent::kOnTargetChain) != 0;
}
