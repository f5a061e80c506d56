// The update list and the links between components: kinds grouped per
// component, the two delivery passes, withdrawal, and links dropped at close.
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
}
