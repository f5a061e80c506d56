// Sizer buttons: a drag moves the sizer on its axes only, inside limits that
// count only on sides with panes, the panes' facing edges follow, the end of
// a drag posts kind 101, and the layout-only helpers act and go away.
#include <string>
#include <vector>

#include "base/object/AMemoryStream.h"
#include "framework/app/AApp.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AImage.h"
#include "framework/views/ASizerButton.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

// Records the kinds it is told of; makes its helpers while it opens, as a layout would.
class TestSizer : public ASizerButton {
public:
    TestSizer(AComponent* parent, uint16_t before, uint16_t after, bool helpers)
        : ASizerButton(parent, 60, Frame(100, 0, 104, 200), before, after, true, false, ARect(50, 5, 60, 5)),
          helpers_(helpers) {}
    void childrenLoaded() override {
        if (helpers_) {
            Open<ASizerButtonNodeAdder>(this, uint16_t(63), uint16_t(0));
            Open<ASizerButtonConstrainer>(this, ARect(20, 0, 0, 0));
            Open<ASizeConstraintSetter>(this, uint16_t(1), AEdge{7, 0, 0});
        }
        ASizerButton::childrenLoaded();
    }
    void notify(const AKindSet& kinds) override {
        if (kinds.contains(101))
            ++moved;
        ASizerButton::notify(kinds);
    }
    int moved = 0;

private:
    bool helpers_;
};

ADisplayComponent* Pane(AComponent* parent, int16_t id, int32_t left, int32_t right) {
    return Shown(Open<AAtomicItem>(parent, id, Frame(left, 0, right, 200), 0, 1, nullptr, 0));
}

}  // namespace

TEST_F(ViewTest, AHorizontalSizerMovesItsPanesEdgesInsideTheLimitsOfItsSides) {
    struct Row {
        const char* name;
        bool afterPane;
        APoint to;
        int32_t left;  // the sizer's new left
    } rows[] = {
        {"a diagonal drag moves only horizontally", true, APoint(150, 30), 150},
        {"the left limit of a side with a pane", true, APoint(10, 0), 50},
        {"the right limit of a side with a pane", true, APoint(290, 0), 236},
        {"no pane after: the parent's right edge", false, APoint(400, 0), 296},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window = Open<TestWindow>(app, ARect(0, 0, 300, 200), nullptr);
        window->setPlaced(true);  // no native window lays the tree out here
        ADisplayComponent* left = Pane(window, 61, 0, 100);
        ADisplayComponent* right = Pane(window, 62, 104, 300);
        auto* sizer = Shown(Open<TestSizer>(window, uint16_t(61), uint16_t(row.afterPane ? 62 : 0), false));
        sizer->applyPosition(row.to);
        ASizeSpec s = sizer->getSizeSpec();
        EXPECT_EQ(row.left, s.edges[0].value);
        EXPECT_EQ(row.left + 4, s.edges[2].value);
        EXPECT_EQ(0, s.edges[1].value) << "top untouched";
        EXPECT_EQ(200, s.edges[3].value) << "bottom untouched";
        EXPECT_EQ(row.left, left->getSizeSpec().edges[2].value) << "the pane before ends at the sizer";
        EXPECT_EQ(row.afterPane ? row.left + 4 : 104, right->getSizeSpec().edges[0].value);
        EXPECT_EQ(0, left->getSizeSpec().edges[0].value);
        AComponent* w = window;
        DeleteComponent(w);
    }
}

TEST_F(ViewTest, ASizerDragEndsWithKind101AndItsHelpersActThenGo) {
    window = Open<TestWindow>(app, ARect(0, 0, 300, 200), nullptr);
    window->setPlaced(true);  // no native window lays the tree out here
    Pane(window, 61, 0, 100);
    Pane(window, 62, 104, 300);
    ADisplayComponent* extra = Pane(window, 63, 104, 200);
    auto* sizer = Shown(Open<TestSizer>(window, uint16_t(61), uint16_t(62), true));
    EXPECT_EQ(2, sizer->paneCount(0)) << "the node adder's pane joins the after side";
    EXPECT_EQ(1, sizer->paneCount(1));
    EXPECT_EQ(ARect(20, 0, 0x7FFFFFFF, 0x7FFFFFFF), sizer->boundary()) << "0 right and bottom: no limit";
    EXPECT_EQ(7, sizer->getSizeSpec().edges[1].value) << "the setter's top edge";
    app->commandQueue().run();
    EXPECT_EQ(0, sizer->children().count()) << "the helpers deleted themselves";

    sizer->trackStart();
    sizer->trackMove(APoint(30, 50), true);
    sizer->trackEnd(APoint(30, 50));
    EXPECT_EQ(130, sizer->getSizeSpec().edges[0].value);
    EXPECT_EQ(134, extra->getSizeSpec().edges[0].value);
    app->flushUpdates();
    EXPECT_EQ(1, sizer->moved);
}

TEST_F(ViewTest, AScrollerAndABoundingBoxReadASizerGroupsEndMarkBeforeTheirOwn) {
    // The display component's part: id 9, FFFF, four zero edges, FFFF.
    std::vector<uint16_t> base = {9, 0xFFFF};
    base.resize(18, 0);
    base.push_back(0xFFFF);
    struct Row {
        const char* what;
        const AClass* cls;
        std::vector<uint16_t> tail;
        const char* file;  // null: read whole
        long line;
    } rows[] = {
        {"scroller", &AScroller::classRecord, {0xFFFF, 0, 40, 0xFFFF}, nullptr, 0},
        {"scroller without the group's mark", &AScroller::classRecord, {0, 40, 0xFFFF}, "fdisplay", 2570},
        {"scroller, bad own mark", &AScroller::classRecord, {0xFFFF, 0, 40, 1}, "fscroll", 172},
        {"bounding box", &ABoundingBox::classRecord, {0xFFFF, 0xFFFF}, nullptr, 0},
        {"bounding box without the group's mark", &ABoundingBox::classRecord, {7, 0xFFFF}, "fdisplay", 2570},
        {"bounding box, bad own mark", &ABoundingBox::classRecord, {0xFFFF, 3}, "fsizbut", 538},
    };
    for (Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<uint16_t> words(base);
        words.insert(words.end(), r.tail.begin(), r.tail.end());
        AMemoryStream stream(words.data(), static_cast<long>(words.size() * 2));
        AObject* made = AClass::createByName(r.cls->name());
        auto* group = static_cast<ASizerGroup*>(made->castTo(&ASizerGroup::classRecord));
        ASSERT_NE(nullptr, group) << "a sizer group";
        std::string file;
        long line = 0;
        try {
            group->readFrom(stream);
        } catch (const ALayoutError& e) {
            file = e.file();
            line = e.line();
        }
        EXPECT_EQ(r.file ? r.file : "", file);
        EXPECT_EQ(r.line, line);
        if (!r.file) {
            EXPECT_EQ(static_cast<long>(words.size() * 2), stream.offset());
        }
        AObject::discardNew(made);
    }
}
