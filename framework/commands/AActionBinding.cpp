// One action binding.
#include "framework/commands/AActionBinding.h"

#include "framework/commands/AItemOwner.h"
#include "framework/components/AActionTable.h"
#include "framework/components/AComponent.h"

AActionBinding::AActionBinding(AComponent* target, int16_t command, long flags, int16_t first, int16_t last)
    : command_(command),
      target_(target),
      flags_(flags),
      code_(first),
      first_(first),
      count_(0),
      active_(0),
      stale_(1),
      borrowed_(last == -1 ? 1 : 0) {
    if (!borrowed_)
        count_ = static_cast<uint16_t>(last - first + 1);
}

bool AActionBinding::resolveRange(AItemOwner& owner) {
    if (count_ != 0)
        return true;
    AActionBinding* range = owner.bindings().range(code_);
    if (!range)
        return false;
    first_ = range->first_;
    count_ = range->count_;
    return count_ != 0;
}

ACommand* AActionBinding::dispatch(AItemOwner& owner, int16_t code, long value, void* item) {
    if (!active_ || !target_)
        ThrowAssert("fcmdutil", 924);
    if (!target_->receivesActions())
        return AComponent::noChangeCommand();
    if (!resolveRange(owner))
        ThrowAssert("fcmdutil", 905);
    int16_t index = static_cast<int16_t>(code - first_);
    AActionRecord record = MakeActionRecord(&owner, flags_, first_, index, owner.itemValue(code, value, item));
    return target_->dispatchCommand(command_, ActionArgument(&record));
}

void AActionBinding::refreshState(AItemOwner& owner) {
    if (!active_ || !target_)
        ThrowAssert("fcmdutil", 950);
    // An open binding whose range is not filed yet has no items to set.
    if (!resolveRange(owner))
        return;
    if (flags_ & kRadioGroup) {
        AActionRecord record = MakeActionRecord(&owner, flags_, first_, -1, 0);
        int16_t status = target_->commandAvailability(command_, ActionArgument(&record));
        if (status == 0)
            ThrowAssert("fcmdutil", 962);
        long selected = record.f5;
        if (selected != -1 && (selected < 0 || selected >= count_))
            ThrowAssert("fcmdutil", 966);
        owner.setGroupState(first_, count_, (status & 1) != 0);
        if (selected != -1)
            owner.setCurrentItem(static_cast<int16_t>(first_ + selected));
    } else {
        for (uint16_t i = 0; i < count_; ++i) {
            int16_t code = static_cast<int16_t>(first_ + i);
            AActionRecord record =
                MakeActionRecord(&owner, flags_, first_, static_cast<int16_t>(i), owner.itemValue(code, 0, nullptr));
            int16_t status = target_->commandAvailability(command_, ActionArgument(&record));
            if (status == 0)
                ThrowAssert("fcmdutil", 976);
            owner.setItemState(code, status);
        }
    }
    stale_ = 0;
}

void AActionBinding::disableAll(AItemOwner& owner) {
    if (resolveRange(owner)) {
        for (uint16_t i = 0; i < count_; ++i)
            owner.setItemState(static_cast<int16_t>(first_ + i), 2);
    }
    stale_ = 1;
}
