// The update list.
#include "framework/commands/AUpdateList.h"

#include "framework/components/AComponent.h"

void AUpdateList::add(AComponent* component, long kind) {
    if (requested_.add(ALongPairSet::keyOf(component), kind)) {
        waiting_.append(component);
        component->setFlag(AComponent::kInUpdateList, 1);
    }
}

void AUpdateList::remove(AComponent* component, long kind) {
    AKindSet* kinds = requested_.find(ALongPairSet::keyOf(component));
    if (!kinds)
        return;
    if (kind == kAllUpdateKinds)
        removeAll(component);
    else if (kinds->contains(kind) && requested_.remove(ALongPairSet::keyOf(component), kind))
        removeAll(component);
}

void AUpdateList::removeAll(AComponent* component) {
    long key = ALongPairSet::keyOf(component);
    waiting_.remove(component);
    passes_[0].remove(component);
    passes_[1].remove(component);
    if (requested_.contains(key))
        requested_.removeAll(key);
    if (inDelivery_.contains(key))
        inDelivery_.removeAll(key);
    component->setFlag(AComponent::kInUpdateList, 0);
}

void AUpdateList::clear() {
    for (Alist* list : {&waiting_, &passes_[0], &passes_[1]}) {
        while (!list->empty())
            static_cast<AComponent*>(list->removeFirst())->setFlag(AComponent::kInUpdateList, 0);
    }
    requested_.clear();
    inDelivery_.clear();
}

void AUpdateList::deliver() {
    while (!waiting_.empty()) {
        AComponent* component = static_cast<AComponent*>(waiting_.removeFirst());
        long key = ALongPairSet::keyOf(component);
        std::unique_ptr<AKindSet> kinds = requested_.take(key);
        if (!kinds)
            ThrowAssert("fcmdutil", 839);
        inDelivery_.put(key, std::move(kinds));
        passes_[(component->flags() & AComponent::kOnTargetChain) ? 1 : 0].append(component);
    }
    for (Alist& pass : passes_) {
        while (!pass.empty()) {
            AComponent* component = static_cast<AComponent*>(pass.removeFirst());
            if (!component)
                ThrowAssert("fcmdutil", 856);
            long key = ALongPairSet::keyOf(component);
            std::unique_ptr<AKindSet> kinds = inDelivery_.take(key);
            if (!requested_.contains(key))
                component->setFlag(AComponent::kInUpdateList, 0);
            if (kinds)
                component->notify(*kinds);
        }
    }
}
