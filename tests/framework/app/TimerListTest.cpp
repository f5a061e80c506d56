// The timer list: due times across the tick-count wrap, firing order, ids
// given back oldest first, and timers added or dropped while the list fires.
#include "framework/app/ATimerList.h"
#include "tests/framework/app/AppTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

class TimerListTest : public AppTest {};

// Each row starts from an empty list at its base time, adds timers of the
// given delays on one component, then runs the list at the given times.
TEST_F(TimerListTest, TimersFireWhenDueAcrossTheTickCountWrap) {
    struct Row {
        const char* name;
        uint32_t base;
        std::vector<uint32_t> delays;
        std::vector<uint32_t> runs;
        const char* fired;
        long leftAfter;  // timeLeft at the last run's time
    };
    const Row rows[] = {
        {"empty list", 5000, {}, {5000, 9000}, "", -1},
        {"delay 0 fires at every run", 5000, {0}, {5000, 5001, 5001}, "t:1@5000 t:1@5001 t:1@5001 ", 0},
        {"not due yet", 5000, {100}, {5099}, "", 1},
        {"due, then due again a period later", 5000, {100}, {5100, 5150, 5200}, "t:1@5100 t:1@5200 ", 100},
        {"same due time: ascending ids", 5000, {50, 50}, {5050}, "t:1@5050 t:2@5050 ", 50},
        {"start just before the wrap", 0xFFFFFFF0u, {0x20}, {0xFFFFFFFFu, 0x0Fu, 0x10u}, "t:1@16 ", 0x20},
        {"the next due one decides", 5000, {300, 100}, {5100}, "t:2@5100 ", 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Ticker* t = MakeNew<Ticker>(app, "t");
        Ticker::log.clear();
        {
            ATimerList list(r.base);
            EXPECT_EQ(-1, list.timeLeft(r.base));
            for (uint32_t d : r.delays)
                list.add(t, d, r.base);
            long left = -2;
            for (uint32_t now : r.runs)
                left = list.runDue(now);
            EXPECT_EQ(r.fired, Ticker::log);
            EXPECT_EQ(r.leftAfter, list.timeLeft(r.runs.back()));
            EXPECT_EQ(r.leftAfter, left);
            list.dropAllOf(t, r.runs.back());
            EXPECT_FALSE(t->flags() & AComponent::kHasTimers);
        }
        AComponent* c = t;
        DeleteComponent(c);
    }
}

// Ids run 1, 2, ... and come back in the order they were given back; the
// has-timers flag follows the component's first and last timer.
TEST_F(TimerListTest, FreedIdsAreReusedOldestFirst) {
    Ticker* a = MakeNew<Ticker>(app, "a");
    ATimerList list(0);
    uint16_t ids[4];
    for (uint16_t& id : ids)
        id = list.add(a, 10, 0);
    EXPECT_EQ(1, ids[0]);
    EXPECT_EQ(4, ids[3]);
    EXPECT_TRUE(a->flags() & AComponent::kHasTimers);
    list.drop(a, 3, 0);
    list.drop(a, 1, 0);
    EXPECT_EQ(3, list.add(a, 10, 0));
    EXPECT_EQ(1, list.add(a, 10, 0));
    EXPECT_EQ(5, list.add(a, 10, 0));
    // A one-shot timer gives its id back when firing ends.
    a->onTimer = [](Ticker&, uint16_t id) { return id == 2 ? 1L : 0L; };
    list.runDue(10);
    EXPECT_EQ(2, list.add(a, 10, 10));
    list.dropAllOf(a, 10);
    EXPECT_FALSE(a->flags() & AComponent::kHasTimers);
    EXPECT_EQ(-1, list.timeLeft(10));
    EXPECT_EQ(0, list.count());
}

// What a timer operation does to the list while it fires.
TEST_F(TimerListTest, TimersAddedOrDroppedWhileFiringWaitForTheWalkToEnd) {
    struct Row {
        const char* name;
        std::function<long(ATimerList& list, Ticker& self, uint16_t id)> action;
        const char* first;   // fired by the first run at 100
        const char* second;  // fired by a second run at 200
        long count;          // timers left after both runs
    };
    const Row rows[] = {
        {"timer 1 drops timer 2",
         [](ATimerList& l, Ticker& t, uint16_t id) {
             if (id == 1 && l.count() == 3)
                 l.drop(&t, 2, 100);
             return 0L;
         },
         "t:1@100 t:3@100 ", "t:1@200 t:3@200 ", 2},
        {"timer 2 drops itself and answers nonzero",
         [](ATimerList& l, Ticker& t, uint16_t id) {
             if (id == 2)
                 l.drop(&t, 2, 100);
             return id == 2 ? 1L : 0L;
         },
         "t:1@100 t:2@100 t:3@100 ", "t:1@200 t:3@200 ", 2},
        {"timer 1 adds a timer of delay 0",
         [](ATimerList& l, Ticker& t, uint16_t id) {
             if (id == 1 && l.count() == 3)
                 l.add(&t, 0, 100);
             return 0L;
         },
         "t:1@100 t:2@100 t:3@100 ", "t:1@200 t:2@200 t:3@200 t:4@200 ", 4},
        {"timer 3 drops every timer of its component",
         [](ATimerList& l, Ticker& t, uint16_t id) {
             if (id == 3)
                 l.dropAllOf(&t, 100);
             return 0L;
         },
         "t:1@100 t:2@100 t:3@100 ", "", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Ticker* t = MakeNew<Ticker>(app, "t");
        {
            ATimerList list(0);
            for (int i = 0; i < 3; ++i)
                list.add(t, 100, 0);
            t->onTimer = [&](Ticker& self, uint16_t id) { return r.action(list, self, id); };
            Ticker::log.clear();
            list.runDue(100);
            EXPECT_EQ(r.first, Ticker::log);
            Ticker::log.clear();
            list.runDue(200);
            EXPECT_EQ(r.second, Ticker::log);
            EXPECT_EQ(r.count, list.count());
            list.dropAllOf(t, 200);
        }
        AComponent* c = t;
        DeleteComponent(c);
    }
}

// A shorter delay is due earlier at once; an error from a timer ends the
// walk with the list usable; a deleted component takes its timers along.
TEST_F(TimerListTest, DelaysErrorsAndDeletedComponents) {
    Ticker* a = MakeNew<Ticker>(app, "a");
    ATimerList& list = app->timerList();
    uint16_t id = app->addTimer(a, 500);
    EXPECT_EQ(500, list.timeLeft(1000));
    app->setTimerDelay(a, id, 200);
    EXPECT_EQ(200, list.timeLeft(1000));
    app->setTimerDelay(a, id, 800);
    EXPECT_EQ(800, list.timeLeft(1000));

    a->onTimer = [](Ticker&, uint16_t) -> long { throw ALocalError("ttimer", 1); };
    EXPECT_THROW(list.runDue(1800), ALocalError);
    EXPECT_FALSE(list.firing());
    EXPECT_EQ(800, list.timeLeft(1800));

    a->onTimer = nullptr;
    app->addTimer(a, 10);
    app->addTimer(a, 20);
    EXPECT_EQ(3, list.count());
    AComponent* c = a;
    DeleteComponent(c);
    EXPECT_EQ(0, list.count());
    EXPECT_EQ(-1, list.timeLeft(1000));
}

namespace {

// Logs its name when it runs.
class NamedCommand : public ACommand {
public:
    NamedCommand(AComponent* target, const char* name) : ACommand(target, 0, 1), name_(name) {}
    void execute() override { Ticker::log += std::string("run ") + name_ + " "; }

private:
    const char* name_;
};

}  // namespace

// A component moved to another parent keeps its timers and its queued
// command; one taken out of the tree loses them.
TEST_F(TimerListTest, AMovedComponentKeepsItsTimersAndQueuedWork) {
    struct Row {
        const char* name;
        bool toParent;
        const char* log;
    } rows[] = {{"moved", true, "t:1@2000 run c "}, {"out of the tree", false, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Ticker::log.clear();
        AComponent* from = MakeNew<AComponent>(app, int16_t(1));
        AComponent* to = MakeNew<AComponent>(app, int16_t(2));
        Ticker* t = MakeNew<Ticker>(from, "t");
        app->addTimer(t, 500);
        t->perform(new NamedCommand(t, "c"));
        t->reparent(r.toParent ? to : nullptr);
        EXPECT_EQ(r.toParent ? 1 : 0, app->commandQueue().heldFor(t));
        app->timerList().runDue(2000);
        app->commandQueue().run();
        EXPECT_EQ(r.log, Ticker::log);
        if (!r.toParent)
            t->reparent(to);
        for (AComponent* c : {from, to})
            DeleteComponent(c);
    }
}
