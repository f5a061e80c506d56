// The timer list.
#include "framework/app/ATimerList.h"

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"

ATimerList::ATimerList(uint32_t baseTime) : base_(baseTime) {}

ATimerList::~ATimerList() {
    if (firing_)
        ThrowAssert("fcmdutil", 263);
    for (RecordMap* map : {&live_, &added_}) {
        for (auto& entry : *map)
            delete entry.second;
        map->clear();
    }
    byComponent_.clear();
}

uint16_t ATimerList::newId() {
    if (freeIds_.empty()) {
        if (++lastId_ == 0)
            ++lastId_;
        return lastId_;
    }
    uint16_t id = freeIds_.front();
    freeIds_.pop_front();
    return id;
}

uint16_t ATimerList::add(AComponent* component, uint32_t delay, uint32_t now) {
    Record* record = CheckAlloc(new (std::nothrow) Record{component, 0, delay, now}, "fcmdutil", 140);
    record->id = newId();
    if (byComponent_.add(ALongPairSet::keyOf(component), record->id))
        component->setFlag(AComponent::kHasTimers, 1);
    (firing_ ? added_ : live_)[record->id] = record;
    setNext(now, std::min(static_cast<uint32_t>(timeLeft(now)), record->leftAt(now)));
    return record->id;
}

ATimerList::Record* ATimerList::find(AComponent* component, uint16_t id) {
    Record* record = nullptr;
    if (firing_) {
        auto it = added_.find(id);
        if (it != added_.end())
            record = it->second;
    }
    if (!record) {
        auto it = live_.find(id);
        if (it != live_.end())
            record = it->second;
    }
    if (!record || record->target != component)
        ThrowAssert("fcmdutil", 175);
    return record;
}

void ATimerList::setDelay(AComponent* component, uint16_t id, uint32_t delay, uint32_t now) {
    Record* record = find(component, id);
    uint32_t before = record->leftAt(now);
    record->delay = delay;
    uint32_t left = static_cast<uint32_t>(timeLeft(now));
    // A longer delay on the timer that was next may push the next due time back.
    if (before <= left)
        recompute(now);
    else
        setNext(now, std::min(left, record->leftAt(now)));
}

void ATimerList::drop(AComponent* component, uint16_t id, uint32_t now) {
    Record* record = find(component, id);
    uint32_t left = record->leftAt(now);
    dropRecord(record);
    if (left <= static_cast<uint32_t>(timeLeft(now)))
        recompute(now);
}

void ATimerList::dropRecord(Record* record) {
    AComponent* component = record->target;
    uint16_t id = record->id;
    if (firing_) {
        if (dropped_.count(id))
            return;
        record->target = nullptr;
        dropped_[id] = true;
    } else {
        if (!live_.count(id))
            ThrowAssert("fcmdutil", 188);
        releaseRecord(live_, id);
    }
    if (byComponent_.remove(ALongPairSet::keyOf(component), id))
        component->setFlag(AComponent::kHasTimers, 0);
}

void ATimerList::releaseRecord(RecordMap& from, uint16_t id) {
    auto it = from.find(id);
    delete it->second;
    from.erase(it);
    freeIds_.push_back(id);
}

void ATimerList::dropAllOf(AComponent* component, uint32_t now) {
    long key = ALongPairSet::keyOf(component);
    while (byComponent_.contains(key)) {
        AKindSet* ids = byComponent_.find(key);
        if (!ids || ids->empty())
            ThrowAssert("fcmdutil", 238);
        Pix first = ids->first();
        drop(component, static_cast<uint16_t>(ids->keyOf(first)), now);
    }
    if (byComponent_.contains(key))
        ThrowAssert("fcmdutil", 247);
}

long ATimerList::timeLeft(uint32_t now) const {
    if (nextDue_ == kNone)
        return -1;
    uint32_t elapsed = now - base_;
    return elapsed >= nextDue_ ? 0 : static_cast<long>(nextDue_ - elapsed);
}

void ATimerList::setNext(uint32_t now, uint32_t left) {
    base_ = now;
    nextDue_ = left;
}

void ATimerList::recompute(uint32_t now) {
    uint32_t left = kNone;
    for (RecordMap* map : {&live_, &added_}) {
        for (auto& entry : *map) {
            if (entry.second->target)
                left = std::min(left, entry.second->leftAt(now));
        }
    }
    setNext(now, left);
}

long ATimerList::runDue(uint32_t now) {
    long left = timeLeft(now);
    if (left != 0)
        return left;
    firing_ = 1;
    try {
        // Records are only marked or set aside while firing: the walk stays valid.
        for (auto& entry : live_) {
            Record* record = entry.second;
            if (!record->target || record->leftAt(now) != 0)
                continue;
            record->start = now;
            if (record->target->handleTimer(record->id, now) && record->target)
                drop(record->target, record->id, now);
        }
    } catch (...) {
        endFiring();
        recompute(now);
        throw;
    }
    endFiring();
    recompute(now);
    return timeLeft(now);
}

void ATimerList::endFiring() {
    for (auto& entry : dropped_) {
        if (added_.count(entry.first))
            releaseRecord(added_, entry.first);
        else if (live_.count(entry.first))
            releaseRecord(live_, entry.first);
    }
    dropped_.clear();
    for (auto& entry : added_) {
        if (!entry.second->target)
            ThrowAssert("fcmdutil", 351);
        live_[entry.first] = entry.second;
    }
    added_.clear();
    firing_ = 0;
}

long ATimerList::count() const {
    long n = 0;
    for (const RecordMap* map : {&live_, &added_}) {
        for (const auto& entry : *map)
            n += entry.second->target != nullptr;
    }
    return n;
}
