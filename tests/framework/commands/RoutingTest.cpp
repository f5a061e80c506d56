// Routing of keys and numbered commands through behaviours, the component
// and its parents.
#include <string>
#include <vector>

#include "base/object/InputRecords.h"
#include "framework/components/ABehavior.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

namespace {

// Answers command 200 and keys with what it is given; logs what it is asked.
class TestBehavior : public ABehavior {
    SV_DECLARE_CLASS(TestBehavior)
public:
    ACommand* doCommand(int16_t id, long argument) override {
        LogProbe::log += "b" + std::to_string(this->id()) + ":do" + std::to_string(id) + " ";
        return id == 200 && answer ? answer : ABehavior::doCommand(id, argument);
    }
    int16_t commandStatus(int16_t id, long argument) override {
        return id == 200 ? status : ABehavior::commandStatus(id, argument);
    }
    ACommand* keyToCommand(AKeyEvent& event) override {
        LogProbe::log += "b" + std::to_string(id()) + ":key ";
        return key ? key : ABehavior::keyToCommand(event);
    }
    ACommand* answer = nullptr;
    int16_t status = 0;
    ACommand* key = nullptr;
};

SV_IMPLEMENT_CLASS(TestBehavior, 0, ABehavior)

// A record of id (little-endian) and end mark, then ext (more end marks), then children.
std::vector<unsigned char> Object(const char* cls, int16_t id, int marks, std::vector<unsigned char> children) {
    std::vector<unsigned char> rest = {static_cast<unsigned char>(id & 0xFF), static_cast<unsigned char>(id >> 8)};
    for (int i = 0; i < marks; ++i)
        rest.insert(rest.end(), {0xFF, 0xFF});
    rest.insert(rest.end(), {0xFF, 0xFF, 0xFF, 0xFF});
    rest.insert(rest.end(), children.begin(), children.end());
    return ObjectBytes(cls, rest);
}

std::vector<unsigned char> Block(std::initializer_list<std::vector<unsigned char>> objects) {
    std::vector<unsigned char> out = {static_cast<unsigned char>(objects.size()), 0};
    for (const auto& o : objects)
        out.insert(out.end(), o.begin(), o.end());
    return out;
}

}  // namespace

class RoutingTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        // LogProbe 1 { LogProbe 2 { TestBehavior 3, TestBehavior 4 } }
        std::vector<unsigned char> bytes =
            LayoutBytes({{0xFF, 0xFF, 0xFF, 0xFF},
                         Block({Object("LogProbe", 1, 1,
                                       Block({Object("LogProbe", 2, 1,
                                                     Block({Object("TestBehavior", 3, 2, {0, 0}),
                                                            Object("TestBehavior", 4, 2, {0, 0})}))}))})});
        outer = static_cast<LogProbe*>(loadBytes(bytes, app));
        ASSERT_NE(nullptr, outer);
        pane = static_cast<LogProbe*>(ChildOf(outer->children().firstLink()));
        first = static_cast<TestBehavior*>(ChildOf(pane->children().firstLink()));
        second = static_cast<TestBehavior*>(ChildOf(pane->children().lastLink()));
        LogProbe::log.clear();
    }

    LogProbe* outer = nullptr;
    LogProbe* pane = nullptr;
    TestBehavior* first = nullptr;
    TestBehavior* second = nullptr;
};

TEST_F(RoutingTest, BehavioursAnswerBeforeTheirComponentInAttachmentOrder) {
    ASSERT_EQ(2, pane->behaviors().count());
    LogCommand own(pane, "own");
    pane->answers[200] = &own;
    second->answer = app->passThrough;
    EXPECT_EQ(app->passThrough, pane->dispatchCommand(200, 0)) << "a behaviour's command wins over doCommand";
    EXPECT_EQ("b3:do200 b4:do200 ", LogProbe::log) << "the first attached is asked first";
    first->answer = app->noChange;
    EXPECT_EQ(app->noChange, pane->dispatchCommand(200, 0));
    first->answer = second->answer = nullptr;
    EXPECT_EQ(&own, pane->dispatchCommand(200, 0));

    second->status = 2;
    EXPECT_EQ(2, pane->commandAvailability(200, 0));
    second->status = 0;
    EXPECT_EQ(1, pane->commandAvailability(200, 0));

    AComponent* gone = first;
    DeleteComponent(gone);
    EXPECT_EQ(1, pane->behaviors().count());
    EXPECT_EQ(1, pane->children().count());
}

TEST_F(RoutingTest, KeysClimbFromTheTargetUntilSomeoneAnswers) {
    struct Row {
        const char* name;
        ACommand* behaviorKey;
        ACommand* paneKey;
        ACommand* outerKey;
        const char* asked;
        bool consumed;
    };
    TestApp* a = app;
    const Row rows[] = {
        {"the pane's own answer stops the climb", nullptr, a->noChange, nullptr, "b3:key b4:key 2:key ", true},
        {"a behaviour's answer comes first", a->noChange, a->noChange, nullptr, "b3:key ", true},
        {"to the parent, then the root", nullptr, nullptr, nullptr, "b3:key b4:key 2:key 1:key ", false},
        {"the parent answers", nullptr, nullptr, a->noChange, "b3:key b4:key 2:key 1:key ", true},
    };
    app->target = pane;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        first->key = row.behaviorKey;
        pane->keyAnswer = row.paneKey;
        outer->keyAnswer = row.outerKey;
        LogProbe::log.clear();
        AKeyEvent event(13, 0, 1);
        EXPECT_EQ(row.consumed ? 1 : 0, app->dispatchKey(event));
        EXPECT_EQ(row.asked, LogProbe::log);
    }
}

TEST_F(RoutingTest, AKeyThatMovesTheTargetIsConsumed) {
    // Moving the target while the command is found: the answer is 1 and the
    // pass-through command is not performed.
    struct Mover : public LogProbe {
        ACommand* keyToCommand(AKeyEvent&) override {
            static_cast<TestApp*>(application())->target = application();
            return passThroughCommand();
        }
    };
    Mover* mover = MakeNew<Mover>();
    mover->reparent(app);
    app->target = mover;
    AKeyEvent event(27, 0, 1);
    EXPECT_EQ(1, app->dispatchKey(event));
    EXPECT_EQ(app, app->target);
}
