// Display components: hit testing, the handler chain, drags and hover.
#include "framework/components/ABehavior.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

class Tracker : public AMouseTracker {
public:
    Tracker(ADisplayComponent* owner, std::string* log) : owner_(owner), log_(log) {}
    ADisplayComponent* owner() override { return owner_; }
    ACommand* trackMove(AMouseEvent& event) override {
        *log_ += " track:" + std::to_string(event.where.x);
        return AComponent::noChangeCommand();
    }
    ACommand* trackRelease(AMouseEvent& event) override {
        *log_ += " release:" + std::to_string(event.where.x);
        return AComponent::noChangeCommand();
    }

private:
    ADisplayComponent* owner_;
    std::string* log_;
};

// A behaviour that takes presses before its component.
class PressBehavior : public ABehavior {
public:
    PressBehavior(AComponent* parent) : ABehavior(parent, 0) {}
    ACommand* mouseDown(AMouseEvent& event) override {
        (void)event;
        return noChangeCommand();
    }
};

}  // namespace

TEST_F(DisplayTest, HitTestsFindTheTopmostComponentUnderThePoint) {
    Probe* root = makeRoot(ARect(0, 0, 200, 100));
    Probe* a = make(root, 2, ARect(10, 10, 60, 60));
    Probe* b = make(root, 3, ARect(40, 40, 90, 90));
    Probe* glass = make(root, 4, ARect(100, 0, 200, 100));
    Probe* inGlass = make(glass, 5, ARect(0, 0, 20, 20));
    Probe* underGlass = make(root, 6, ARect(150, 50, 160, 60));
    Probe* inactive = make(root, 7, ARect(0, 90, 10, 100));
    // The sibling under the glass is earlier in child order than the glass.
    underGlass->reparent(nullptr);
    underGlass->attachToParent(root);
    glass->reparent(nullptr);
    glass->attachToParent(root);
    ADisplayServices::current().flushLayouts();
    for (Probe* p : {a, b, glass, inGlass, underGlass, inactive})
        p->setShownFlag(true);
    glass->setMouseTransparent(true);
    inactive->setEnabled(false);

    struct Row {
        APoint point;
        int id;
        APoint local;
    } rows[] = {
        {APoint(10, 10), 2, APoint(0, 0)},      // a's first pixel
        {APoint(59, 20), 2, APoint(49, 10)},    // a's last column
        {APoint(60, 20), 1, APoint(60, 20)},    // a's right edge is outside it
        {APoint(20, 60), 1, APoint(20, 60)},    // a's bottom edge too
        {APoint(50, 50), 3, APoint(10, 10)},    // the later sibling wins
        {APoint(105, 5), 5, APoint(5, 5)},      // inside the glass's child
        {APoint(155, 55), 6, APoint(5, 5)},     // through the glass to the lower sibling
        {APoint(180, 10), 1, APoint(180, 10)},  // through the glass to the parent
        {APoint(5, 95), 1, APoint(5, 95)},      // an inactive child is skipped
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.point.x) + "," + std::to_string(row.point.y));
        APoint local;
        ADisplayComponent* hit = root->hitTest(row.point, &local, false);
        ASSERT_NE(nullptr, hit);
        EXPECT_EQ(row.id, hit->id());
        EXPECT_EQ(row.local, local);
    }
    EXPECT_EQ(inactive, root->hitTest(APoint(5, 95), nullptr, true)) << "unless inactive ones are included";

    // A transparent root whose children all miss is not hit, and a press there is not handled.
    root->setMouseTransparent(true);
    EXPECT_EQ(nullptr, root->hitTest(APoint(95, 5), nullptr, false));
    AMouseEvent press(APoint(95, 5), 0);
    EXPECT_EQ(0, root->dispatchMouseDown(press));
}

TEST_F(DisplayTest, MouseEventsBubbleAndDragsGoToTheTracker) {
    Probe* root = makeRoot(ARect(0, 0, 200, 100));
    Probe* box = make(root, 2, ARect(50, 20, 150, 80));
    Probe* leaf = make(box, 3, ARect(10, 10, 30, 30));
    ADisplayServices::current().flushLayouts();
    box->show(false);
    leaf->show(false);

    log.clear();
    AMouseEvent press(APoint(65, 35), 1);
    EXPECT_EQ(0, root->dispatchMouseDown(press)) << "unhandled everywhere: the pass-through";
    EXPECT_EQ("down:3 down:2 down:1", log) << "from the deepest component up";
    EXPECT_EQ(APoint(65, 35), root->lastPoint) << "each in its own coordinates";
    EXPECT_EQ(APoint(15, 15), box->lastPoint);

    box->pressAnswer = AComponent::noChangeCommand();
    log.clear();
    EXPECT_EQ(1, root->dispatchMouseDown(press));
    EXPECT_EQ("down:3 down:2", log);

    PressBehavior* behavior = new PressBehavior(leaf);
    AObject::completeNew(behavior);
    log.clear();
    EXPECT_EQ(1, root->dispatchMouseDown(press));
    EXPECT_EQ("", log) << "behaviours answer before their component";

    // Hover: entering and leaving as the mouse moves.
    log.clear();
    AMouseEvent move(APoint(65, 35), 0);
    root->dispatchMouseMove(move);
    AMouseEvent away(APoint(5, 5), 0);
    root->dispatchMouseMove(away);
    EXPECT_EQ("enter:3 move:3 move:2 move:1 leave:3 enter:1 move:1", log);
    EXPECT_EQ(root, ADisplayServices::current().hoverComponent());
    EXPECT_EQ(ADisplayServices::kNoCursorChoice, ADisplayServices::current().cursorCode());

    // A drag: moves and the release go only to the tracker, in its owner's coordinates.
    ADisplayServices::current().startTracking(new Tracker(box, &log));
    log.clear();
    root->dispatchMouseMove(move);
    AMouseEvent release(APoint(70, 35), 0);
    root->dispatchMouseUp(release);
    EXPECT_EQ(" track:15 release:20", log);
    EXPECT_EQ(nullptr, ADisplayServices::current().tracker()) << "the release ends the drag";

    // Hover refreshed from where the cursor is (needs an X display).
    if (SetCursorPos(65, 35)) {
        POINT at;
        GetCursorPos(&at);
        if (at.x == 65 && at.y == 35) {
            ADisplayServices::current().setHoverComponent(nullptr);
            leaf->refreshHover();
            EXPECT_EQ(leaf, ADisplayServices::current().hoverComponent());
            SetCursorPos(5, 5);
            leaf->refreshHover();
            EXPECT_EQ(root, ADisplayServices::current().hoverComponent()) << "the walk climbs to the root";
        }
    }

    // A hovered component that goes away is forgotten.
    root->dispatchMouseMove(move);
    AComponent* gone = leaf;
    DeleteComponent(gone);
    EXPECT_EQ(nullptr, ADisplayServices::current().hoverComponent());
}

TEST_F(DisplayTest, CursorCodesClimbToTheTop) {
    Probe* root = makeRoot(ARect(0, 0, 10, 10));
    Probe* child = make(root, 2, ARect(0, 0, 5, 5));
    struct Row {
        ADisplayComponent* component;
        int16_t kind;
        int16_t own;
        int16_t expected;
    } rows[] = {
        {child, 0, 42, -3}, {child, 1, 42, 42}, {child, 1, 0, -2}, {child, 0, 0, -3}, {root, 1, 0, -2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.kind) + "/" + std::to_string(row.own));
        EXPECT_EQ(row.expected, row.component->resolveCursor(row.kind, row.own));
    }
    EXPECT_EQ(-3, root->cursorFor(1)) << "a windowed component chooses no cursor";
}
