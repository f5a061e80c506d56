// The search pane without windows: the find text and its highlight
// expression, and the wrap step over a fake hit navigator.
#include <gtest/gtest.h>

#include <string>

#include "docengine/depend/ADependable.h"
#include "docengine/hilite/AHiliteSet.h"
#include "tests/app/find/FindTestSupport.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

class NoticeCounter : public ADependent {
public:
    void changed(ADependable*, long, long) override { ++notices; }
    int notices = 0;
};

using SearchPaneTest = ClusterTest;

}  // namespace

TEST_F(SearchPaneTest, AFindTextLosesItsStarAndTheExpressionGetsOneOfItsOwn) {
    struct Row {
        const char* text;
        const char* findText;
        const char* expression;
        bool rehighlights;
    } const rows[] = {
        {"abc*", "abc", "abc**", true},           {"abc*", "abc", "abc**", false}, {"abc", "abc", "abc*", true},
        {"Le chat", "Le chat", "Le chat*", true}, {"*", "", "**", true},           {"", "", "*", true},
    };
    FakeSearchPane pane;
    NoticeCounter counter;
    counter.dependOn(pane.hiliteSet());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const int before = counter.notices;
        pane.setFindText(r.text);
        EXPECT_EQ(r.findText, std::string(pane.getFindText().c_str()));
        EXPECT_EQ(r.expression, std::string(pane.getHiliteExpression().c_str()));
        EXPECT_EQ(r.rehighlights, counter.notices > before);
    }
    counter.stopDependingOn(pane.hiliteSet());
    pane.detachItems();
    pane.setFindText("autre");
    EXPECT_EQ("", std::string(pane.getFindText().c_str())) << "no highlight set: nothing happens";
}

TEST_F(SearchPaneTest, MovingPastEitherEndWrapsAndACompleteCycleBeepsOnce) {
    // Moves: n next, p previous, f first, l last. After each move: the
    // position shown, then "!" for each beep.
    struct Row {
        const char* name;
        std::vector<long> hits;
        int16_t restartOnFind;
        long wrapStart;
        long start;  // index of the hit shown first, -1 for none
        const char* moves;
        const char* trail;
    } const rows[] = {
        {"forward cycle from before the first hit", {10, 20, 30}, 1, -1, -1, "nnnnn", "10 20 30 10! 20 "},
        {"backward cycle", {10, 20, 30}, 1, 30, 2, "pppp", "20 10 30! 20 "},
        {"a cycle started in the middle", {10, 20, 30}, 1, 20, 1, "nnnn", "30 10 20! 30 "},
        {"no hit at all beeps once per move", {}, 1, -1, -1, "nn", "-1! -1! "},
        {"never restarted, the first hit after the jump completes", {10, 20}, 0, 0, -1, "nnn", "10 20 10! "},
        {"never restarted, once recorded nothing found only beeps", {10, 20}, 0, 10, -1, "nnn", "10 20 20! "},
        {"first and last", {10, 20, 30}, 1, 5, -1, "lf", "30 10 "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakeSearchPane pane;
        pane.stepper.hits = r.hits;
        pane.restartOnFind = r.restartOnFind;
        pane.wrapStart = r.wrapStart;
        pane.stepper.current = r.start;
        std::string trail;
        for (const char* m = r.moves; *m; ++m) {
            const int before = ClusterTestBeeps;
            switch (*m) {
                case 'n':
                    pane.showNextHit();
                    break;
                case 'p':
                    pane.showPreviousHit();
                    break;
                case 'f':
                    pane.showFirstHit();
                    break;
                default:
                    pane.showLastHit();
                    break;
            }
            trail += std::to_string(pane.stepper.currentPosition()) +
                     std::string(size_t(ClusterTestBeeps - before), '!') + " ";
        }
        EXPECT_EQ(r.trail, trail);
    }
}

TEST_F(SearchPaneTest, WithoutAHitViewTheMovesDoNothing) {
    SearchPane pane;
    const int before = ClusterTestBeeps;
    EXPECT_EQ(AComponent::noChangeCommand(), pane.showNextHit());
    EXPECT_EQ(AComponent::noChangeCommand(), pane.showLastHit());
    EXPECT_EQ(before, ClusterTestBeeps);
    EXPECT_EQ(0, pane.wrapped);
    EXPECT_EQ(1, pane.canFindText());
}
