// Sizing rules: edge arithmetic, fixed extents and natural frames, layout
// passes with flow and sibling references, and the pending layouts.
#include "base/procedural/AError.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

ASizeSpec Rule(AEdge l, AEdge t, AEdge r, AEdge b) {
    return ASizeSpec::fromEdges(l, t, r, b);
}

}  // namespace

TEST(Sizing, EdgesResolveAgainstTheirReference) {
    struct Row {
        const char* name;
        AEdge edge;
        int32_t a, b;
        int index;
        int32_t partner;
        int32_t expected;
    } rows[] = {
        {"proportional 500 of 301 truncates", Edge(500, 0x0120), 0, 301, 0, 0, 150},
        {"proportional -500 of 301 truncates toward zero", Edge(-500, 0x0120), 0, 301, 0, 0, -150},
        {"middle rounds toward minus infinity", Edge(0, 0x0040), -1, -2, 0, 0, -2},
        {"offset 3 on a near edge from b", Edge(0, 0x0033), 0, 10, 0, 0, 7},
        {"offset 3 on a far edge from b", Edge(0, 0x0033), 0, 10, 2, 0, 13},
        {"partner", Edge(-20, 0x0010), 0, 0, 0, 90, 70},
        {"clamp into the span", Edge(50, 0x0420), 0, 30, 0, 0, 30},
        {"unknown placement keeps the value", Edge(9, 0x0050), 100, 200, 0, 0, 9},
        {"extreme values wrap instead of overflowing", Edge(2147483647, 0x0020), 1, 0, 0, 0, -2147483647 - 1},
        {"extreme middles stay exact", Edge(0, 0x0040), 2147483647, 2147483645, 0, 0, 2147483646},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, row.edge.resolve(row.a, row.b, row.index, row.partner));
    }
    EXPECT_EQ(0x1000, Edge(0, 0x4030, 0).attachment()) << "sibling kind without id is the parent";
    EXPECT_EQ(0x4000, Edge(0, 0x0030, 5).attachment()) << "no kind with an id is a sibling";
    EXPECT_EQ(0, Edge(0, 0x1010).attachment()) << "partner edges need no reference";
}

TEST(Sizing, NaturalFramesAndFixedExtents) {
    struct Row {
        const char* name;
        ASizeSpec rule;
        bool absolute;
        const char* natural;
    } rows[] = {
        {"absolute", ASizeSpec(ARect(5, 6, 40, 30)), true, "5,6,40,30"},
        {"bar across the top, 34 high", Rule(Edge(0, 0x1030), Edge(0, 0), Edge(0, 0x1030), Edge(34, 0)), false,
         "-1000,-534,-500,-500"},
        {"docked right, 215 wide", Rule(Edge(-215, 0x1020), Edge(0, 0x1030), Edge(0, 0x1030), Edge(0, 0x1030)), false,
         "-715,-1000,-500,-500"},
        {"width from the partner", Rule(Edge(10, 0), Edge(0, 0x1030), Edge(80, 0x0010), Edge(0, 0x1030)), false,
         "-580,-1000,-500,-500"},
        {"an extreme width wraps", Rule(Edge(-2147483647 - 1, 0), Edge(0, 0), Edge(2147483646, 0), Edge(0, 0x1030)),
         false, "-498,-1000,-500,-500"},
        {"width that cannot be fixed", Rule(Edge(0, 0x1030), Edge(0, 0), Edge(0, 0x2030), Edge(20, 0)), false,
         "-1000,-520,-500,-500"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.absolute, row.rule.isAbsolute());
        EXPECT_EQ(row.natural, Describe(row.rule.naturalFrame()));
    }
}

TEST_F(DisplayTest, LayoutPassesPlaceChildrenByTheirRules) {
    struct Row {
        const char* name;
        ASizeSpec first;
        ASizeSpec second;
        const char* frames;
    } rows[] = {
        {"four parent edges fill the owner", ASizeSpec::fill,
         Rule(Edge(0, 0x1030), Edge(0, 0x1030), Edge(0, 0x1030), Edge(0, 0x1030)), "0,0,790,500 0,0,790,500"},
        {"docked right with a fixed width", ASizeSpec(ARect(0, 0, 10, 10)),
         Rule(Edge(-215, 0x1020), Edge(0, 0x1030), Edge(0, 0x1030), Edge(0, 0x1030)), "0,0,10,10 575,0,790,500"},
        {"a flow edge starts the next child",
         Rule(Edge(0, 0x3030), Edge(0, 0x3030), Edge(200, 0x0210), Edge(0, 0x3030)), ASizeSpec::fill,
         "0,0,200,500 200,0,790,500"},
        {"below the previous sibling", Rule(Edge(0, 0x1030), Edge(0, 0x1030), Edge(0, 0x1030), Edge(40, 0)),
         Rule(Edge(0, 0x1030), Edge(0, 0x2030), Edge(0, 0x1030), Edge(0, 0x1030)), "0,0,790,40 0,40,790,500"},
        {"beside a sibling named by id", Rule(Edge(100, 0), Edge(0, 0), Edge(300, 0), Edge(50, 0)),
         Rule(Edge(0, 0x4030, 2), Edge(0, 0x4020, 2), Edge(30, 0x0010), Edge(0, 0x4020, 2)),
         "100,0,300,50 300,0,330,50"},
        {"an unknown sibling falls back to the parent", ASizeSpec(ARect(0, 0, 1, 1)),
         Rule(Edge(0, 0x4030, 77), Edge(0, 0x4030, 77), Edge(0, 0x4030, 77), Edge(0, 0x4030, 77)),
         "0,0,1,1 0,0,790,500"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Probe* root = makeRoot(ARect(0, 0, 790, 500));
        Probe* a = make(root, 2, row.first);
        Probe* b = make(root, 3, row.second);
        ADisplayServices::current().flushLayouts();
        EXPECT_EQ(row.frames, Describe(a->getFrame()) + " " + Describe(b->getFrame()));
        AComponent* gone = root;
        DeleteComponent(gone);
    }
}

TEST_F(DisplayTest, AFlushLaysOutEachUnsettledRootOnce) {
    Probe* root = makeRoot(ARect(0, 0, 400, 300));
    Probe* parent = make(root, 2, ASizeSpec::fill);
    Probe* kids[3];
    for (int i = 0; i < 3; ++i)
        kids[i] = make(parent, static_cast<int16_t>(10 + i), ASizeSpec(ARect(0, 0, 10, 10)));
    ADisplayServices& services = ADisplayServices::current();
    services.flushLayouts();
    EXPECT_TRUE(services.pendingLayouts().empty());
    EXPECT_EQ("0,0,400,300", Describe(parent->getFrame()));
    ASSERT_TRUE(parent->isSettled());

    struct Row {
        const char* name;
        bool unsettleParent;
        int rootLayouts;
        int parentLayouts;
    } rows[] = {
        {"settled children: nothing to lay out", false, 0, 0},
        {"an unsettled parent is the root of its children", true, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        root->relayouts = parent->relayouts = 0;
        if (row.unsettleParent) {
            parent->setChildrenPlaced(false);
            for (Probe* k : kids)
                k->setChildrenPlaced(false);
        }
        for (Probe* k : kids)
            services.scheduleLayout(k);
        services.scheduleLayout(parent);
        services.flushLayouts();
        EXPECT_EQ(row.rootLayouts, root->relayouts);
        EXPECT_EQ(row.parentLayouts, parent->relayouts);
        EXPECT_TRUE(services.pendingLayouts().empty());
        for (Probe* k : kids)
            EXPECT_FALSE(k->flags() & AComponent::kInResizeManager);
    }

    // A new rule with scheduling relays out the parent at the next flush only.
    parent->relayouts = 0;
    kids[0]->setSizeSpec(Rule(Edge(0, 0x1030), Edge(0, 0), Edge(0, 0x1030), Edge(34, 0)), true);
    EXPECT_EQ(0, parent->relayouts);
    services.flushLayouts();
    EXPECT_EQ(1, parent->relayouts);
    EXPECT_EQ("0,0,400,34", Describe(kids[0]->getFrame()));

    // A pending component that goes away leaves the table.
    services.scheduleLayout(kids[2]);
    AComponent* gone = kids[2];
    DeleteComponent(gone);
    EXPECT_TRUE(services.pendingLayouts().empty());
}

TEST_F(DisplayTest, ARootDeletedDuringAFlushIsNotLaidOut) {
    Probe* first = makeRoot(ARect(0, 0, 100, 100));
    Probe* second = make(app, 2, ASizeSpec(ARect(0, 0, 100, 100)));
    second->windowed = true;
    second->changeFrame(ARect(0, 0, 100, 100));
    first->victim = &second;
    second->victim = &first;
    for (Probe* p : {first, second}) {
        p->relayouts = 0;
        p->setChildrenPlaced(false);
        ADisplayServices::current().scheduleLayout(p);
    }
    ADisplayServices::current().flushLayouts();
    Probe* survivor = first ? first : second;
    ASSERT_NE(nullptr, survivor);
    EXPECT_TRUE(first == nullptr || second == nullptr) << "one root deleted the other";
    EXPECT_EQ(1, survivor->relayouts);
}

namespace {

// A pass whose end fails, as a broken subclass's might.
class FailingEnd : public ASizingContext {
public:
    void end() override {
        ASizingContext::end();
        throw AThrowableError("test", 1);
    }
};

class FailingEndServices : public ADisplayServices {
public:
    ASizingContext* makeSizingContext(ADisplayComponent* owner) override {
        (void)owner;
        return new FailingEnd;
    }
};

}  // namespace

TEST_F(DisplayTest, APassThatFailsToEndIsLoggedAndLeftBehind) {
    Probe* root = makeRoot(ARect(0, 0, 100, 100));
    Probe* child = make(root, 2, ASizeSpec::fill);
    FailingEndServices services;
    ADisplayServices::install(&services);
    errors.text.clear();
    root->relayout();
    EXPECT_EQ("0,0,100,100", Describe(child->getFrame())) << "the pass itself completed";
    EXPECT_NE(std::string::npos, errors.text.find("#ASizingScope::~ASizingScope() : the pass did not end"))
        << errors.text;
}
