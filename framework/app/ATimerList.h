// The components' periodic timers, fired by the application's main loop.
//
// Holds components, never owns them; owns its timer records. A component
// with timers carries flag 0x0400, so that the application drops them when it
// goes away. Times are GetTickCount milliseconds, compared as now - start
// (unsigned), so the 49.7-day wrap of the tick count does not matter. A time
// left of -1 means no timer, 0 means one is due. Misuse (an id that is not the
// component's, destruction while firing) is an assertion ("fcmdutil").
#pragma once

#include <cstdint>
#include <deque>
#include <map>

#include "framework/commands/ALongPairSet.h"

class AComponent;

class ATimerList {
public:
    explicit ATimerList(uint32_t baseTime);
    ~ATimerList();
    ATimerList(const ATimerList&) = delete;
    ATimerList& operator=(const ATimerList&) = delete;

    // A new timer due delay ms after now, then every delay ms; answers its id (never 0).
    uint16_t add(AComponent* component, uint32_t delay, uint32_t now);
    // The new delay counts from the timer's last firing.
    void setDelay(AComponent* component, uint16_t id, uint32_t delay, uint32_t now);
    // A timer dropped while the list fires is not fired later in the same walk.
    void drop(AComponent* component, uint16_t id, uint32_t now);
    void dropAllOf(AComponent* component, uint32_t now);
    long timeLeft(uint32_t now) const;
    // Fires the due timers in ascending id order with (id, now); a nonzero
    // answer drops the timer. Answers the new time left from now.
    long runDue(uint32_t now);

    bool firing() const { return firing_ != 0; }
    // Timers that will still fire.
    long count() const;

private:
    struct Record {
        AComponent* target;  // not owned; null once dropped while firing
        uint16_t id;
        uint32_t delay;
        uint32_t start;
        // 0 when due at now.
        uint32_t leftAt(uint32_t now) const {
            uint32_t elapsed = now - start;
            return elapsed >= delay ? 0 : delay - elapsed;
        }
    };
    using RecordMap = std::map<uint16_t, Record*>;

    uint16_t newId();
    Record* find(AComponent* component, uint16_t id);
    void dropRecord(Record* record);
    void releaseRecord(RecordMap& from, uint16_t id);
    // Makes now the base and left (-1: none) the next due time.
    void setNext(uint32_t now, uint32_t left);
    void recompute(uint32_t now);
    void endFiring();

    ALongPairSet byComponent_;          // component address -> its timer ids
    RecordMap live_;                    // owned records
    RecordMap added_;                   // owned records added while firing
    std::map<uint16_t, bool> dropped_;  // ids dropped while firing
    std::deque<uint16_t> freeIds_;      // given back, oldest first
    uint16_t lastId_ = 0;
    uint32_t base_;
    uint32_t nextDue_ = kNone;  // offset from base_
    uint16_t firing_ = 0;

    static const uint32_t kNone = 0xFFFFFFFFu;
};
