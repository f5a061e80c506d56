// Command objects and the command queue: the shared answers, the framework's
// commands, run order, deferral, the undo history and the dropping of
// commands whose target goes away.
#include "framework/commands/ACommandQueue.h"
#include "framework/components/ACommand.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

class CommandQueueTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        LogProbe::log.clear();
    }
};

TEST_F(CommandQueueTest, SharedAnswersActAtOnceAndQueueNothing) {
    EXPECT_EQ(1, app->perform(app->noChange));
    EXPECT_EQ(0, app->perform(app->passThrough));
    APassThroughCommand* stop = MakeNew<APassThroughCommand>(uint16_t(1), static_cast<AComponent*>(app));
    EXPECT_EQ(0, app->perform(stop));
    EXPECT_EQ(0, app->queue.count());
    AObject* object = stop;
    AObject::discardNew(object);
}

TEST_F(CommandQueueTest, FrameworkCommandsActOnlyWhereTheyApply) {
    LogProbe* item = MakeNew<LogProbe>(app, int16_t(1));
    LogProbe* other = MakeNew<LogProbe>(app, int16_t(2));

    ADeleteComponentCmd twice(1, item);
    twice.execute();
    twice.execute();
    EXPECT_EQ("~1 ", LogProbe::log) << "the field is cleared before the deletion";

    LogProbe::log.clear();
    ACommand close(other, 0, 1);
    const AppComponentHooks* saved = AComponent::hooks();
    AppComponentHooks withClose = *saved;
    static LogCommand* s_close = nullptr;
    s_close = new LogCommand(other, "close");
    withClose.closeCommand = []() -> ACommand* { return s_close; };
    SetAppComponentHooks(&withClose);
    ADeleteComponentCmd ofApp(1, app);
    ofApp.execute();
    SetAppComponentHooks(saved);
    EXPECT_EQ(1, app->queue.count()) << "the application's close command is performed, the application stays";
    app->queue.run();
    EXPECT_EQ("runclose ~close ", LogProbe::log);

    LogProbe::log.clear();
    ANotifyCommand aimedElsewhere(1, nullptr, 5);
    aimedElsewhere.execute();
    EXPECT_EQ("", LogProbe::log);

    ASetTargetCmd hidden(1, other, 1);
    hidden.execute();
    EXPECT_EQ(0, hidden.result()) << "a target that cannot take the target is not asked";
    other->accepts = true;
    ASetTargetCmd shown(1, other, 1);
    shown.execute();
    EXPECT_EQ(1, shown.result());
    EXPECT_EQ(other, app->target);

    LogCommand redoable(other, "r");
    redoable.run();
    redoable.redo();
    EXPECT_EQ("runr runr ", LogProbe::log) << "redo runs execute again";
    EXPECT_GT(FatalExitCodeOf([&] { redoable.run(); }), 0) << "a command runs once";
}

TEST_F(CommandQueueTest, CommandsRunInOrderAndThoseAddedMeanwhileWaitATurn) {
    LogCommand* a = new LogCommand(app, "A");
    a->then = new LogCommand(app, "D");
    for (ACommand* c : {static_cast<ACommand*>(a), static_cast<ACommand*>(new LogCommand(app, "B")),
                        static_cast<ACommand*>(new LogCommand(app, "C"))})
        app->perform(c);
    app->queue.run();
    EXPECT_EQ("runA ~A runB ~B runC ~C ", LogProbe::log);
    EXPECT_EQ(1, app->queue.count()) << "D waits for the next run";
    LogProbe::log.clear();
    app->queue.run();
    EXPECT_EQ("runD ~D ", LogProbe::log);

    LogProbe::log.clear();
    LogCommand* unowned = new LogCommand(nullptr, "U", 0, 0);
    app->queue.add(unowned);
    app->queue.run();
    EXPECT_EQ("runU ", LogProbe::log) << "a command without target runs; one not owned is left to its owner";
    delete unowned;
}

TEST_F(CommandQueueTest, UndoHistoryKeepsItsDepthOfOwnedCommands) {
    LogCommand* first = new LogCommand(app, "1", 1);
    LogCommand* second = new LogCommand(app, "2", 1);
    app->perform(first);
    app->perform(second);
    app->queue.run();
    ACommandHistory& undo = app->queue.undoHistory();
    ASSERT_EQ(1, undo.count());
    EXPECT_EQ(second, undo.at(0));
    EXPECT_EQ(0, app->queue.redoHistory().count());
    EXPECT_EQ("run1 run2 ~1 ", LogProbe::log) << "the first is released and deleted when the second is kept";
    EXPECT_EQ(1, app->queue.heldFor(app)) << "a kept command is still held for its target";
    EXPECT_TRUE(app->flags() & AComponent::kInCommandQueue);
}

TEST_F(CommandQueueTest, CommandsAimedAtADeletedComponentAreDroppedWhicheverWayItGoes) {
    struct Way {
        const char* name;
        void (*remove)(TestApp* app, LogProbe* target, LogProbe* parent);
        bool queued;  // the deletion is a command queued before the others
    };
    const Way ways[] = {
        {"deleted directly",
         [](TestApp*, LogProbe* t, LogProbe*) {
             AComponent* c = t;
             DeleteComponent(c);
         },
         false},
        {"deleted with its parent",
         [](TestApp*, LogProbe*, LogProbe* p) {
             AComponent* c = p;
             DeleteComponent(c);
         },
         false},
        {"deleted by a queued command", nullptr, true},
        {"deleted out of the tree",
         [](TestApp*, LogProbe* t, LogProbe*) {
             t->reparent(nullptr);
             AComponent* c = t;
             DeleteComponent(c);
         },
         false},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        LogProbe* parent = MakeNew<LogProbe>(app, int16_t(1));
        LogProbe* target = MakeNew<LogProbe>(parent, int16_t(2));
        app->queue.run();
        LogProbe::log.clear();
        if (way.queued)
            target->perform(MakeNew<ADeleteComponentCmd>(uint16_t(1), static_cast<AComponent*>(target)));
        target->perform(new LogCommand(target, "X"));
        target->perform(new LogCommand(target, "Y", 1));
        EXPECT_TRUE(target->flags() & AComponent::kInCommandQueue);
        if (way.remove)
            way.remove(app, target, parent);
        app->queue.run();
        EXPECT_EQ(std::string::npos, LogProbe::log.find("run")) << LogProbe::log;
        EXPECT_NE(std::string::npos, LogProbe::log.find("~X")) << "dropped commands are deleted";
        EXPECT_EQ(0, app->queue.count());
        if (!app->children().empty()) {
            AComponent* left = ChildOf(app->children().firstLink());
            DeleteComponent(left);
        }
    }
}

TEST_F(CommandQueueTest, ACommandWhoseTargetGoesWhileItRunsFinishesAndIsDeleted) {
    LogProbe* target = MakeNew<LogProbe>(app, int16_t(3));
    LogCommand* running = new LogCommand(target, "R");
    running->deletes = target;
    target->perform(running);
    target->perform(new LogCommand(target, "S"));
    app->queue.run();
    EXPECT_EQ("runR ~S ~3 ~R ", LogProbe::log) << "R's action completes, S never runs";
    EXPECT_EQ(0, app->queue.count());
}

TEST_F(CommandQueueTest, AFailingCommandLeavesTheQueueUsable) {
    LogProbe* target = MakeNew<LogProbe>(app, int16_t(4));
    LogCommand* failing = new LogCommand(target, "F");
    failing->fails = true;
    failing->then = new LogCommand(target, "G");
    target->perform(failing);
    target->perform(new LogCommand(target, "H"));
    EXPECT_THROW(app->queue.run(), std::runtime_error);
    EXPECT_FALSE(app->queue.running());
    EXPECT_EQ(2, app->queue.count()) << "H stays, G joins it";
    EXPECT_EQ(2, app->queue.heldFor(target)) << "the failed command is no longer counted";
    app->queue.run();
    EXPECT_EQ("runF ~F runH ~H runG ~G ", LogProbe::log);
    EXPECT_FALSE(target->flags() & AComponent::kInCommandQueue);
}

TEST_F(CommandQueueTest, ARunFromInsideACommandLeavesTheQueueToTheOuterRun) {
    class RunsQueue : public ACommand {
    public:
        RunsQueue(AComponent* target, ACommandQueue& queue) : ACommand(target, 0, 1), queue_(queue) {}
        void execute() override {
            LogProbe::log += "in ";
            queue_.run();
            LogProbe::log += "out ";
        }

    private:
        ACommandQueue& queue_;
    };
    LogProbe* target = MakeNew<LogProbe>(app, int16_t(5));
    target->perform(new RunsQueue(target, app->queue));
    target->perform(new LogCommand(target, "S"));
    app->queue.run();
    EXPECT_EQ("in out runS ~S ", LogProbe::log);
    EXPECT_EQ(0, app->queue.count());
}

namespace {

// Reads its target when it is released: a released command whose target is
// gone would read freed memory.
class TouchingCommand : public LogCommand {
public:
    using LogCommand::LogCommand;
    void release() override { LogProbe::log += "release(" + std::to_string(target()->flags()) + ") "; }
};

}  // namespace

// A queue destroyed while commands wait (owned or not, their targets perhaps
// deleted) deletes them without releasing them.
TEST_F(CommandQueueTest, ADestroyedQueueDeletesItsWaitingCommandsWithoutReleasingThem) {
    LogProbe* target = MakeNew<LogProbe>(app, int16_t(4));
    {
        ACommandQueue queue(app, 1);
        queue.add(new TouchingCommand(target, "A", 0, 1));
        queue.add(new TouchingCommand(target, "B", 0, 0));
        AComponent* gone = target;
        DeleteComponent(gone);
        LogProbe::log.clear();
    }
    EXPECT_EQ("~A ~B ", LogProbe::log) << "neither released, the unowned one deleted too";
}
