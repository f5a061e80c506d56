// Action tables: activation and arbitration, the conflict assertion, hidden
// receivers, aliases and open bindings, radio groups, the edit bindings and
// the menu's target-chain activation.
#include <string>

#include "framework/commands/AActionBinding.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

class ActionTableTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        table.addItems(1, 60);
    }
    // A probe under parent that handles command with the no-change command.
    LogProbe* handler(AComponent* parent, int16_t id, int16_t command) {
        LogProbe* p = MakeNew<LogProbe>(parent, id);
        p->answers[command] = app->noChange;
        return p;
    }
    // Delivers the pending updates and fires code; answers the log and the result.
    std::string fire(int16_t code, long* result = nullptr) {
        app->updates.deliver();
        LogProbe::log.clear();
        long r = table.dispatch(code, 0, nullptr);
        if (result)
            *result = r;
        return LogProbe::log;
    }
    // The text of the last error box, or "" when the call ended normally.
    static std::string assertionText(const std::function<void()>& fn) {
        ClearBoxes();
        if (FatalExitCodeOf(fn) <= 0)
            return "";
        return CapturedBoxes().empty() ? "?" : CapturedBoxes().back().text;
    }

    MapOwner table;
};

TEST_F(ActionTableTest, ACodeClaimedTwiceIsArbitratedByTheNearestCommonAncestor) {
    LogProbe* parent = MakeNew<LogProbe>(app, int16_t(1));
    LogProbe* first = handler(parent, 2, 100);
    LogProbe* second = handler(parent, 3, 101);
    first->addAction(100, first, 10, &table);
    EXPECT_EQ("2:do100 ", fire(10));

    parent->choice = first;
    second->addAction(101, second, 10, &table);
    EXPECT_EQ("2:do100 ", fire(10)) << "the arbiter kept the existing binding";

    first->addAction(100, first, 11, &table);
    app->updates.deliver();
    parent->choice = second;
    second->addAction(101, second, 11, &table);
    EXPECT_EQ("3:do101 ", fire(11)) << "the arbiter moved the code to the new binding";

    first->addAction(100, first, 12, &table);
    first->addAction(100, first, 12, &table);
    EXPECT_EQ("2:do100 ", fire(12)) << "a second binding of one receiver and code is ignored";

    first->addAction(100, first, 61, &table);
    EXPECT_EQ("", fire(61)) << "a code that names no item is not bound";
}

TEST_F(ActionTableTest, AnUnsettledConflictIsAnAssertionNamingBothBindings) {
    LogProbe* first = handler(app, 4, 100);
    LogProbe* second = handler(app, 5, 101);
    first->addAction(100, first, 10, &table);
    app->updates.deliver();
    second->addAction(101, second, 10, &table);
    std::string text = assertionText([&] { app->updates.deliver(); });
    EXPECT_NE(std::string::npos, text.find("line 483")) << text;
    EXPECT_NE(std::string::npos,
              text.find("conflicting actions : 100(in LogProbe_4) and 101(in LogProbe_5) on item 10"))
        << text;
}

TEST_F(ActionTableTest, FiredCodesReachTheirHandlerThroughRangesAndAliases) {
    LogProbe* p = handler(app, 6, 120);
    p->answers[121] = app->noChange;
    p->answers[122] = app->noChange;
    struct Row {
        const char* name;
        int16_t fired;
        const char* log;
        int index;
        int first;
    };
    p->addActionRange(120, p, 20, 24, &table);
    table.aliases().add(30, 40, 5);
    p->addAction(121, p, 30, &table);
    AComponent* group = MakeNew<LogProbe>(app, int16_t(7));
    table.defineRange(group, 900, 20000, 10);
    p->addActionRange(122, p, 900, -1, &table);
    const Row rows[] = {
        {"inside a closed range", 22, "6:do120 ", 2, 20},
        {"an alias of a one-code binding", 43, "6:do121 ", 13, 30},
        {"an alias into an open binding's borrowed range", 20005, "6:do122 ", 5, 20000},
        {"a code nothing covers", 50, "", -99, -99},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        p->lastIndex = p->lastFirst = -99;
        EXPECT_EQ(row.log, fire(row.fired));
        EXPECT_EQ(row.index, p->lastIndex);
        EXPECT_EQ(row.first, p->lastFirst);
    }

    long result = -1;
    p->shown = false;
    EXPECT_EQ("", fire(22, &result)) << "a hidden receiver is not asked";
    EXPECT_EQ(1, result) << "it answers the no-change command";

    DeleteComponent(group);
    EXPECT_EQ(0, table.dispatch(20005, 0, nullptr)) << "the range went with the component that defined it";
}

TEST_F(ActionTableTest, StatesFollowTheHandlersAndBrokenBindingsAreAssertions) {
    LogProbe* p = handler(app, 8, 130);
    p->statuses[130] = 2;
    p->addActionRange(130, p, 1, 3, &table);
    app->updates.deliver();
    EXPECT_EQ(2, table.items[1]);
    EXPECT_EQ(2, table.items[3]);

    p->answers[131] = app->noChange;
    p->selected = 2;
    table.add(131, p, 40, 43, AActionBinding::kRange | AActionBinding::kRadioGroup);
    p->noteActionTable(&table);
    p->queueUpdate(kUpdateBound);
    app->updates.deliver();
    EXPECT_EQ(42, table.current) << "the group's selected item";
    EXPECT_EQ(1, table.items[43]);

    struct Row {
        const char* name;
        std::function<void()> bind;
        const char* where;
    };
    LogProbe* q = MakeNew<LogProbe>(app, int16_t(9));
    const Row rows[] = {
        {"a status of 0", [&] { q->addAction(140, q, 50, &table); }, "line 976"},
        {"a radio selection outside the group",
         [&] {
             q->answers[141] = app->noChange;
             q->selected = 7;
             q->noteActionTable(&table);
             table.add(141, q, 55, 57, AActionBinding::kRange | AActionBinding::kRadioGroup);
         },
         "line 966"},
        {"a closed range reaching the reserved codes", [&] { table.add(142, q, 19999, 20000, 2); }, "line 652"},
    };
    table.items[19999] = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = assertionText([&] {
            row.bind();
            q->queueUpdate(kUpdateBound);
            app->updates.deliver();
        });
        EXPECT_NE(std::string::npos, text.find(row.where)) << text;
        table.removeComponent(q);
    }

    AComponent* closing = p;
    DeleteComponent(closing);
    EXPECT_EQ(0, table.dispatch(2, 0, nullptr)) << "a closed component is in no table";
    EXPECT_EQ(2, table.items[41]) << "its items are disabled";
}

TEST_F(ActionTableTest, EditCommandsBindToTheApplicationsTablesDisabled) {
    app->tables[0] = &table;
    LogProbe* editor = new LogProbe(app, 10);
    editor->edits = true;
    AObject::completeNew(editor);
    for (int16_t item : {33, 32, 35, 34}) {
        SCOPED_TRACE(item);
        EXPECT_EQ(2, table.items[item]);
    }
    EXPECT_TRUE(editor->holdsActionTable(&table));
    EXPECT_EQ(1, editor->commandStatus(90, 0));
    EXPECT_EQ(app->noChange, editor->doCommand(90, 0));

    app->tables[0] = nullptr;
    LogProbe* plain = MakeNew<LogProbe>(app, int16_t(11));
    plain->addAction(30, plain, 33, nullptr);
    EXPECT_FALSE(plain->holdsActionTable(&table)) << "no application table and no cluster: no binding";
}

TEST_F(ActionTableTest, MenuBindingsAreActiveWhileTheirReceiverIsOnTheTargetChain) {
    MapMenu menu;
    menu.addItems(1, 5);
    LogProbe* p = handler(app, 12, 150);
    p->accepts = true;
    p->addAction(150, p, 5, &menu);
    app->updates.deliver();
    LogProbe::log.clear();
    EXPECT_EQ(0, menu.dispatch(5, 0, nullptr));
    app->setTarget(p);
    app->updates.deliver();
    EXPECT_EQ(1, menu.dispatch(5, 0, nullptr));
    EXPECT_EQ("12:do150 ", LogProbe::log);
    app->setTarget(nullptr);
    app->updates.deliver();
    EXPECT_EQ(0, menu.dispatch(5, 0, nullptr));
}
