// The update list and the links between components: kinds grouped per
// component, the two delivery passes, withdrawal, and links dropped at close.
#include "framework/commands/AIdRangeList.h"
#include "framework/commands/AUpdateList.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

class UpdateListTest : public FrameworkTest {
protected:
    LogProbe* probe(AComponent* parent, int16_t id) {
        LogProbe* p = MakeNew<LogProbe>(parent, id);
        p->logNotify = true;
        return p;
    }
    std::string deliver() {
        LogProbe::log.clear();
        app->updates.deliver();
        return LogProbe::log;
    }
};

TEST_F(UpdateListTest, KindsArriveGroupedOncePerDeliveryInTwoPasses) {
    LogProbe* a = probe(app, 1);
    LogProbe* b = probe(app, 2);
    LogProbe* c = probe(app, 3);
    deliver();
    struct Row {
        const char* name;
        void (*post)(LogProbe* a, LogProbe* b, LogProbe* c);
        const char* delivered;
    };
    const Row rows[] = {
        {"kinds 5 and 14 together",
         [](LogProbe* x, LogProbe*, LogProbe*) {
             x->queueUpdate(kUpdateSetUp);
             x->queueUpdate(kUpdateUndoPushed);
         },
         "1:notify(5 14) "},
        {"one kind twice",
         [](LogProbe* x, LogProbe*, LogProbe*) {
             x->queueUpdate(kUpdateSetUp);
             x->queueUpdate(kUpdateSetUp);
         },
         "1:notify(5) "},
        {"order of first request",
         [](LogProbe* x, LogProbe* y, LogProbe* z) {
             z->queueUpdate(3);
             x->queueUpdate(3);
             y->queueUpdate(3);
             z->queueUpdate(4);
         },
         "3:notify(3 4) 1:notify(3) 2:notify(3) "},
        {"flag bit 0 in the second pass",
         [](LogProbe* x, LogProbe* y, LogProbe* z) {
             x->setFlag(AComponent::kOnTargetChain, 1);
             x->queueUpdate(3);
             y->queueUpdate(3);
             z->queueUpdate(3);
             x->setFlag(AComponent::kOnTargetChain, 0);
             x->setFlag(AComponent::kOnTargetChain, 1);
         },
         "2:notify(3) 3:notify(3) 1:notify(3) "},
        {"every kind withdrawn",
         [](LogProbe* x, LogProbe* y, LogProbe*) {
             x->queueUpdate(3);
             x->queueUpdate(4);
             x->dequeueUpdate(kAllUpdateKinds);
             y->queueUpdate(3);
             y->queueUpdate(4);
             y->dequeueUpdate(4);
         },
         "2:notify(3) "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.post(a, b, c);
        EXPECT_EQ(row.delivered, deliver());
        a->setFlag(AComponent::kOnTargetChain, 0);
        for (LogProbe* p : {a, b, c})
            EXPECT_FALSE(p->flags() & AComponent::kInUpdateList);
    }
}

TEST_F(UpdateListTest, ComponentsForgottenOrPostingDuringDeliveryAreHandled) {
    LogProbe* a = probe(app, 1);
    LogProbe* b = probe(app, 2);
    deliver();
    a->queueUpdate(3);
    b->queueUpdate(3);
    app->componentDeleted(a);
    EXPECT_FALSE(a->flags() & AComponent::kInUpdateList);
    EXPECT_EQ("2:notify(3) ", deliver()) << "a component the application forgot is not called";

    b->requeue = 7;
    b->queueUpdate(3);
    EXPECT_EQ("2:notify(3) ", deliver());
    EXPECT_TRUE(b->flags() & AComponent::kInUpdateList) << "a kind asked for during delivery waits";
    EXPECT_EQ("2:notify(7) ", deliver());
}

TEST_F(UpdateListTest, LinksCarryChangesAndCloseLeavesNoReference) {
    LogProbe* a = probe(app, 1);
    LogProbe* b = probe(app, 2);
    LogProbe* c = probe(app, 3);
    deliver();
    a->addLink(b);
    a->addLink(b);
    c->addLink(a);
    a->queueUpdate(3);
    EXPECT_EQ("1:notify(3) 2:from1(3) ", deliver());
    EXPECT_EQ(1, a->dependentCount()) << "adding an existing link changes nothing";

    AComponent* closing = a;
    DeleteComponent(closing);
    EXPECT_FALSE(b->hasSource(a));
    EXPECT_FALSE(c->hasDependent(a));
    EXPECT_EQ(0, b->sourceCount());
    EXPECT_EQ(0, c->dependentCount());
    c->queueUpdate(3);
    EXPECT_EQ("3:notify(3) ", deliver());

    b->addLink(c);
    c->removeLink(b);
    EXPECT_TRUE(b->hasDependent(c)) << "removing a link the other way round changes nothing";
    b->removeLink(c);
    EXPECT_FALSE(c->hasSource(b));

    b->addLink(c);
    AComponent* dependent = c;
    DeleteComponent(dependent);
    EXPECT_EQ(0, b->dependentCount()) << "a closed dependent leaves its source";
}

TEST(PairSetTest, KeysAppearWithTheirFirstInnerKeyAndGoWithTheirLast) {
    ALongPairSet set;
    EXPECT_TRUE(set.add(7, 5));
    EXPECT_FALSE(set.add(7, 14));
    EXPECT_FALSE(set.add(7, 14));
    EXPECT_EQ("5 14", KindsText(*set.find(7)));
    EXPECT_FALSE(set.remove(7, 5));
    EXPECT_TRUE(set.remove(7, 14));
    EXPECT_FALSE(set.contains(7));
    EXPECT_GT(FatalExitCodeOf([&] { set.remove(7, 14); }), 0) << "removing what is not there";

    AIdRangeList ranges;
    ranges.add(900, 20000, 10);
    ranges.add(30, 32767, 1);
    struct Row {
        int16_t id;
        bool found;
        int16_t base;
    };
    for (const Row& row : {Row{20000, true, 900}, Row{20009, true, 900}, Row{20010, false, 0}, Row{19999, false, 0},
                           Row{32767, true, 30}}) {
        SCOPED_TRACE(row.id);
        int16_t base = 0;
        EXPECT_EQ(row.found, ranges.lookup(row.id, base));
        EXPECT_EQ(row.base, base);
    }
}

TEST_F(UpdateListTest, TimersGoThroughTheApplicationAndFireIntoTimerFired) {
    static std::string s_calls;
    const AppComponentHooks* saved = AComponent::hooks();
    AppComponentHooks timers = *saved;
    timers.addTimer = [](AComponent* c, uint32_t delay) -> uint16_t {
        s_calls += "add" + std::to_string(c->id()) + ":" + std::to_string(delay) + " ";
        return 3;
    };
    timers.restartTimer = [](AComponent*, uint16_t id) { s_calls += "restart" + std::to_string(id) + " "; };
    timers.setTimerDelay = [](AComponent*, uint16_t id, uint32_t delay) {
        s_calls += "delay" + std::to_string(id) + ":" + std::to_string(delay) + " ";
    };
    SetAppComponentHooks(&timers);
    LogProbe* p = probe(app, 5);
    EXPECT_EQ(3, p->addTimer(250));
    p->restartTimer(3);
    p->setTimerDelay(3, 100);
    EXPECT_EQ("add5:250 restart3 delay3:100 ", s_calls);
    EXPECT_EQ(0, p->handleTimer(3, 1000));
    SetAppComponentHooks(nullptr);
    EXPECT_GT(FatalExitCodeOf([&] { p->addTimer(1); }), 0) << "no application";
    SetAppComponentHooks(saved);
}
