// Component tree: open and close order, the set-up passes, id search, and
// deletion out of the command queue.
#include <string>

#include "framework/components/ACommand.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

std::string g_log;

// Logs its set-up passes and its deletion; opens a child in childrenLoaded when asked.
class Probe : public AComponent {
public:
    Probe(AComponent* parent = nullptr, int16_t id = 0, bool openInner = false)
        : AComponent(parent, id), openInner_(openInner) {}
    ~Probe() override { g_log += "~" + std::to_string(id()) + " "; }
    void childrenLoaded() override {
        if (openInner_)
            AObject::completeNew(new Probe(this, static_cast<int16_t>(id() + 1)));
    }
    void setUpItems() override { g_log += "S" + std::to_string(id()) + " "; }
    void itemsSetUp() override { g_log += "I" + std::to_string(id()) + " "; }
    void bindActions() override { g_log += "B" + std::to_string(id()) + " "; }
    bool acceptsTarget() override { return accepts; }
    bool accepts = false;

private:
    bool openInner_;
};

// A second component class, for the searches by class.
class Marked : public Probe {
    SV_DECLARE_CLASS(Marked)
public:
    Marked(AComponent* parent = nullptr, int16_t id = 0) : Probe(parent, id) {}
};

SV_IMPLEMENT_CLASS(Marked, 0, AComponent)

template <class T = Probe>
T* Make(AComponent* parent, int16_t id) {
    T* c = new T(parent, id);
    AObject::completeNew(c);
    return c;
}

std::string Ids(Alist& list) {
    std::string out;
    AListIterator it(&list);
    while (void* value = it.next())
        out += std::to_string(static_cast<AComponent*>(value)->id()) + " ";
    return out;
}

}  // namespace

TEST_F(FrameworkTest, CloseDeletesChildrenLastFirst) {
    AComponent* parent = Make(app, 1);
    for (int16_t id = 2; id <= 4; ++id)
        Make(parent, id);
    g_log.clear();
    DeleteComponent(parent);
    EXPECT_EQ("~4 ~3 ~2 ~1 ", g_log);
    EXPECT_EQ("", describeChildren(app));
}

TEST_F(FrameworkTest, SetUpPassesRunOnceWhenAnInnerOpenNests) {
    int flushes = app->flushes;
    g_log.clear();
    AObject::completeNew(new Probe(app, 1, true));
    EXPECT_EQ("S2 S1 I2 I1 B2 B1 ", g_log) << "children first, each pass once over the whole subtree";
    EXPECT_EQ(flushes + 1, app->flushes);
    EXPECT_EQ(0, AComponent::openDepth());
}

TEST_F(FrameworkTest, IdSearchFindsNearestRelativesOutsideOwnSubtree) {
    // app -> a(1) -> [caller(2) -> [d(5), e(7)], s(5)]; app -> p(9)
    AComponent* a = Make(app, 1);
    AComponent* caller = Make(a, 2);
    AComponent* d = Make(caller, 5);
    Make(caller, 7);
    AComponent* s = Make(a, 5);
    AComponent* p = Make(app, 9);
    struct Row {
        const char* what;
        AComponent* answer;
        AComponent* expected;
    } rows[] = {
        {"sendToId answers the sibling", caller->sendToId(5, 1), s},
        {"sendToId never searches the caller's subtree", caller->sendToId(7, 1), nullptr},
        {"sendToId climbs to the ancestors' siblings", caller->sendToId(9, 1), p},
        {"sendToId of id 0", caller->sendToId(0, 1), nullptr},
        {"findById searches the subtree depth first", a->findById(5, 0), d},
        {"findById of id 0", a->findById(0, 0), nullptr},
        {"findById does not answer the component itself", caller->findById(2, 0), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.expected, row.answer);
    }
}

TEST_F(FrameworkTest, ClassSearchesAndTargetChainWalkTheTree) {
    // app -> r(1) -> [m2 -> [m3, p4], p5 -> [m6]]
    Probe* r = Make(app, 1);
    Marked* m2 = Make<Marked>(r, 2);
    Marked* m3 = Make<Marked>(m2, 3);
    Probe* p4 = Make(m2, 4);
    Probe* p5 = Make(r, 5);
    Make<Marked>(p5, 6);
    Alist deep, outermost;
    r->collectDescendants(&Marked::classRecord, deep, 1);
    r->collectOutermost(&Marked::classRecord, outermost);
    EXPECT_EQ("2 3 6 ", Ids(deep));
    EXPECT_EQ("2 6 ", Ids(outermost));
    EXPECT_EQ(r, m3->findAncestor(&AComponent::classRecord)->getParent()) << "never the component itself";
    EXPECT_EQ(m2, m3->findAncestor(&Marked::classRecord));
    EXPECT_EQ(r, p4->commonAncestor(p5));

    EXPECT_EQ(nullptr, r->preferredTarget());
    p4->accepts = p5->accepts = true;
    EXPECT_EQ(p4, r->preferredTarget()) << "depth first, children before their parent";

    m3->targetChanged(1, r);
    m3->targetChanged(1, m3);
    p4->targetChanged(0, r);
    std::string chain;
    for (AComponent* c : {static_cast<AComponent*>(r), static_cast<AComponent*>(m2), static_cast<AComponent*>(m3)})
        chain += (c->flags() & AComponent::kOnTargetChain) ? "1" : "0";
    EXPECT_EQ("011", chain) << "set below the common ancestor only";
}

TEST_F(FrameworkTest, DeletedComponentLeavesTheCommandQueue) {
    AComponent* c = Make(app, 1);
    ACommand* command = new ADeleteComponentCmd(1, c);
    AObject::completeNew(command);
    c->perform(command);
    ASSERT_EQ(1, app->queue.count());
    EXPECT_TRUE(c->flags() & AComponent::kInCommandQueue);
    g_log.clear();
    DeleteComponent(c);
    EXPECT_EQ(0, app->queue.count()) << "the command aimed at the deleted component is dropped";
    app->queue.run();
    EXPECT_EQ("~1 ", g_log) << "deleted once";
}
