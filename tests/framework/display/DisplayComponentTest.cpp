// Display components: the layout record, shown and enabled states through
// the tree and the native windows, frame changes and screen geometry.
#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

std::vector<unsigned char> EdgeBytes(int32_t value, uint16_t mode, uint16_t aux = 0) {
    std::vector<unsigned char> out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i)));
    out.push_back(mode & 0xFF);
    out.push_back(mode >> 8);
    out.push_back(aux & 0xFF);
    out.push_back(aux >> 8);
    return out;
}

// One display component object after its class name: id, rule, end mark
// (or the given word), then its children, each a whole object.
std::vector<unsigned char> DisplayRecord(int16_t id, std::vector<std::vector<unsigned char>> edges,
                                         uint16_t mark = 0xFFFF,
                                         std::vector<std::vector<unsigned char>> children = {}) {
    std::vector<unsigned char> rest = {static_cast<unsigned char>(id), 0x00, 0xFF, 0xFF};
    for (const auto& e : edges)
        rest.insert(rest.end(), e.begin(), e.end());
    rest.push_back(mark & 0xFF);
    rest.push_back(mark >> 8);
    std::vector<unsigned char> block = {0xFF, 0xFF, 0xFF, 0xFF, static_cast<unsigned char>(children.size()), 0x00};
    for (const auto& c : children)
        block.insert(block.end(), c.begin(), c.end());
    rest.insert(rest.end(), block.begin(), block.end());
    return rest;
}

// A child window of the test's top-level window.
HWND ChildWindow(HWND parent) {
    return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST_F(DisplayTest, LayoutRecordsCarryTheSizingRule) {
    struct Row {
        const char* name;
        std::vector<unsigned char> bytes;
        bool fails;
        bool sizer;
        const char* frame;
    } rows[] = {
        {"absolute rule: no sizer, the rule's frame",
         DisplayRecord(3, {EdgeBytes(5, 0), EdgeBytes(6, 0), EdgeBytes(45, 0), EdgeBytes(26, 0)}), false, false,
         "5,6,45,26"},
        {"docked right: a sizer and the natural frame",
         DisplayRecord(3, {EdgeBytes(-215, 0x1020), EdgeBytes(0, 0x1030), EdgeBytes(0, 0x1030), EdgeBytes(34, 0)}),
         false, true, "-715,-1000,-500,-500"},
        {"a word other than the end mark after the rule",
         DisplayRecord(3, {EdgeBytes(0, 0), EdgeBytes(0, 0), EdgeBytes(0, 0), EdgeBytes(0, 0)}, 0x0000), true, false,
         ""},
        {"a rule cut short", {0x03, 0x00, 0xFF, 0xFF, 0x01}, true, false, ""},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        errors.text.clear();
        std::vector<unsigned char> bytes =
            LayoutBytes({{0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00}, ObjectBytes("ADisplayComponent", row.bytes)});
        AComponent* made = loadBytes(bytes, app);
        EXPECT_EQ(row.fails, loadFailed);
        if (row.fails) {
            EXPECT_NE(std::string::npos, errors.text.find("#LoadComponent Failure:")) << errors.text;
            EXPECT_EQ("", describeChildren(app)) << "the failed load left nothing behind";
            continue;
        }
        auto* d = static_cast<ADisplayComponent*>(made->castTo(&ADisplayComponent::classRecord));
        ASSERT_NE(nullptr, d);
        EXPECT_EQ(row.sizer, d->sizer() != nullptr);
        EXPECT_EQ(row.frame, Describe(d->getFrame()));
        EXPECT_FALSE(d->hasFlags(ADisplayComponent::kPlaced));
        DeleteComponent(made);
    }

    // The missing end mark fails at its own place.
    std::vector<unsigned char> bad =
        DisplayRecord(3, {EdgeBytes(0, 0), EdgeBytes(0, 0), EdgeBytes(0, 0), EdgeBytes(0, 0)}, 0x1234);
    std::vector<unsigned char> bytes =
        LayoutBytes({{0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00}, ObjectBytes("ADisplayComponent", bad)});
    AMemoryStream stream(bytes.data(), static_cast<long>(bytes.size()));
    try {
        ALayoutLoader::loadFromStream(app, stream, 0);
        ADD_FAILURE() << "the load went through";
    } catch (const AError& e) {
        EXPECT_STREQ("fdisplay", e.fileOrUnknown());
        EXPECT_EQ(212, e.line());
    }
}

TEST_F(DisplayTest, ALoadedTreeIsShownBelowItsRootAndLaidOutByItsParent) {
    Probe* root = makeRoot(ARect(0, 0, 790, 500));
    auto fill = [] {
        return std::vector<std::vector<unsigned char>>{EdgeBytes(0, 0x1030), EdgeBytes(0, 0x1030), EdgeBytes(0, 0x1030),
                                                       EdgeBytes(0, 0x1030)};
    };
    std::vector<unsigned char> bar =
        ObjectBytes("ADisplayComponent",
                    DisplayRecord(3, {EdgeBytes(0, 0x1030), EdgeBytes(0, 0), EdgeBytes(0, 0x1030), EdgeBytes(34, 0)}));
    std::vector<unsigned char> side = ObjectBytes(
        "ADisplayComponent",
        DisplayRecord(4, {EdgeBytes(-215, 0x1020), EdgeBytes(0, 0x1030), EdgeBytes(0, 0x1030), EdgeBytes(0, 0x1030)}));
    std::vector<unsigned char> pane = ObjectBytes("ADisplayComponent", DisplayRecord(2, fill(), 0xFFFF, {bar, side}));
    root->relayouts = 0;
    AComponent* loaded = loadBytes(LayoutBytes({{0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00}, pane}), root);
    ASSERT_NE(nullptr, loaded) << errors.text;
    auto* top = static_cast<ADisplayComponent*>(loaded->castTo(&ADisplayComponent::classRecord));
    auto* first = static_cast<ADisplayComponent*>(top->findById(3, 0));
    auto* second = static_cast<ADisplayComponent*>(top->findById(4, 0));
    EXPECT_FALSE(top->hasFlags(ADisplayComponent::kShown)) << "the root of the load starts hidden";
    EXPECT_TRUE(first->hasFlags(ADisplayComponent::kShown)) << "what it holds starts shown";
    EXPECT_EQ(0, root->relayouts) << "layout waits for the flush";
    ADisplayServices::current().flushLayouts();
    EXPECT_EQ(1, root->relayouts);
    EXPECT_EQ("0,0,790,500", Describe(top->getFrame()));
    EXPECT_EQ("0,0,790,34", Describe(first->getFrame()));
    EXPECT_EQ("575,0,790,500", Describe(second->getFrame()));
    top->show(false);
    EXPECT_TRUE(second->hasFlags(ADisplayComponent::kVisible));
}

TEST_F(DisplayTest, ShowingAndHidingFollowTheShownBits) {
    Probe* root = makeRoot(ARect(0, 0, 200, 100));
    Probe* parent = make(root, 2, ASizeSpec::fill);
    Probe* child = make(parent, 3, ARect(0, 0, 50, 50));
    Probe* grandchild = make(child, 4, ARect(0, 0, 10, 10));
    ADisplayServices::current().flushLayouts();
    for (Probe* p : {parent, child, grandchild})
        EXPECT_FALSE(p->hasFlags(ADisplayComponent::kShown)) << "components made by code start hidden";
    grandchild->show(false);
    EXPECT_FALSE(grandchild->hasFlags(ADisplayComponent::kVisible)) << "under a hidden parent only the bit is set";
    parent->show(false);
    EXPECT_TRUE(parent->hasFlags(ADisplayComponent::kVisible));
    EXPECT_FALSE(child->hasFlags(ADisplayComponent::kVisible)) << "a hidden child stays invisible";
    EXPECT_FALSE(grandchild->hasFlags(ADisplayComponent::kVisible)) << "and so does its subtree";
    int parentLayouts = parent->relayouts;
    child->show(false);
    EXPECT_TRUE(child->hasFlags(ADisplayComponent::kVisible));
    EXPECT_TRUE(grandchild->hasFlags(ADisplayComponent::kVisible));
    EXPECT_EQ(parentLayouts, parent->relayouts) << "showing the child leaves the parent alone";
    int childLayouts = child->relayouts;
    child->setVisible(true);
    EXPECT_EQ(childLayouts, child->relayouts) << "showing a shown component changes nothing";
    parent->hide(false);
    for (Probe* p : {parent, child, grandchild})
        EXPECT_FALSE(p->hasFlags(ADisplayComponent::kVisible));
    EXPECT_TRUE(child->hasFlags(ADisplayComponent::kShown)) << "hiding a parent keeps the children's wishes";
    parent->show(false);
    EXPECT_TRUE(grandchild->hasFlags(ADisplayComponent::kVisible));
}

TEST_F(DisplayTest, DisablingReachesTheNativeWindowsOfEnabledDescendants) {
    PaintWindow window(200, 100);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    Probe* parent = make(root, 2, ASizeSpec::fill);
    Probe* on = make(parent, 3, ARect(0, 0, 10, 10));
    Probe* off = make(parent, 4, ARect(10, 0, 20, 10));
    Probe* below = make(on, 5, ARect(0, 0, 5, 5));
    for (Probe* p : {on, off, below})
        p->setNativeWindow(ChildWindow(window.hwnd));
    off->setEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(off->getHWnd()));

    parent->setEnabled(false);
    for (Probe* p : {parent, on, off, below}) {
        SCOPED_TRACE(p->id());
        EXPECT_FALSE(p->hasFlags(ADisplayComponent::kActive));
    }
    EXPECT_FALSE(IsWindowEnabled(on->getHWnd()));
    EXPECT_FALSE(IsWindowEnabled(below->getHWnd()));
    EXPECT_TRUE(on->hasFlags(ADisplayComponent::kEnabled)) << "the child's own wish stays";

    parent->setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(on->getHWnd()));
    EXPECT_TRUE(IsWindowEnabled(below->getHWnd()));
    EXPECT_FALSE(IsWindowEnabled(off->getHWnd())) << "a child disabled on its own stays disabled";
    EXPECT_FALSE(off->hasFlags(ADisplayComponent::kActive));
    for (Probe* p : {on, off, below}) {
        DestroyWindow(p->getHWnd());
        p->setNativeWindow(nullptr);
    }
}

TEST_F(DisplayTest, FrameChangesMoveSizeAndInvalidate) {
    PaintWindow window(300, 200);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    Probe* box = make(root, 2, ARect(10, 10, 60, 40));
    Probe* inner = make(box, 3, ARect(5, 5, 15, 15));
    ADisplayServices::current().flushLayouts();
    box->show(false);
    inner->show(false);
    ASSERT_TRUE(box->isSettled());
    UpdateWindow(window.hwnd);
    ValidateRect(window.hwnd, nullptr);

    RECT update;
    box->frameChanges = 0;
    EXPECT_EQ(0, box->changeFrame(ARect(10, 10, 60, 40))) << "the same frame is no change";
    EXPECT_FALSE(GetUpdateRect(window.hwnd, &update, FALSE)) << "and invalidates nothing";

    EXPECT_EQ(1, box->changeFrame(ARect(30, 20, 80, 50))) << "a move answers 1";
    EXPECT_EQ(0, box->frameChanges);
    EXPECT_EQ(APoint(35, 25), inner->windowPosition()) << "descendants follow the move";
    ASSERT_TRUE(GetUpdateRect(window.hwnd, &update, FALSE));
    EXPECT_EQ("10,10,80,50", Describe(ARect(update.left, update.top, update.right, update.bottom)))
        << "the old and the new place are invalid";

    EXPECT_EQ(7, box->changeFrame(ARect(30, 20, 90, 70))) << "a resize answers frameChanged";
    EXPECT_EQ(1, box->frameChanges);

    // Screen geometry follows the window.
    POINT origin = {0, 0};
    ClientToScreen(window.hwnd, &origin);
    EXPECT_EQ(APoint(origin.x + 35, origin.y + 25), inner->localToScreen(APoint(0, 0)));
    EXPECT_EQ(APoint(1, 2), inner->screenToLocal(inner->localToScreen(APoint(1, 2))));

    // centerIn: an odd difference leaves the rectangle one unit wider.
    Probe* odd = make(root, 4, ARect(0, 0, 101, 50));
    ADisplayServices::current().flushLayouts();
    odd->centerIn(nullptr, false);
    EXPECT_EQ("99,75,201,125", Describe(odd->getFrame()));
    Probe* ruled = make(root, 5, ASizeSpec::fill);
    ADisplayServices::current().flushLayouts();
    ruled->setFrame(ARect(0, 0, 5, 5), false);
    EXPECT_EQ("0,0,300,200", Describe(ruled->getFrame())) << "a component with a sizer ignores setFrame";
}

TEST_F(DisplayTest, QueuedWindowShowingWaitsForTheQueue) {
    PaintWindow window(100, 100);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    root->setOffscreenRootFlag(true);
    Probe* child = make(root, 2, ARect(0, 0, 10, 10));
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window.hwnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    child->setNativeWindow(hwnd);
    ADisplayServices::current().setLookOptions(ADisplayServices::kQueueWindowShowing);
    child->setNativeWindowShown(true, true);
    EXPECT_FALSE(IsWindowVisible(hwnd)) << "inside an off-screen root the showing is queued";
    app->runPending();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    child->setNativeWindow(nullptr);
    DestroyWindow(hwnd);
}

TEST_F(DisplayTest, ChildrenInheritFromTheirDisplayParentAtAttach) {
    struct Row {
        const char* name;
        uint16_t parentFlags;
        bool parentClips;
        uint16_t inherited;
    } rows[] = {
        {"inside an off-screen root", ADisplayComponent::kOffscreenRoot, false, ADisplayComponent::kOffscreen},
        {"inside an off-screen component", ADisplayComponent::kOffscreen, false, ADisplayComponent::kOffscreen},
        {"under a clipped parent", ADisplayComponent::kClippedByAncestors, false,
         ADisplayComponent::kClippedByAncestors},
        {"under a parent that clips its children", 0, true, ADisplayComponent::kClippedByAncestors},
        {"in an activated window", ADisplayComponent::kModeFlag, false, ADisplayComponent::kModeFlag},
        {"under a plain parent", 0, false, 0},
    };
    const uint16_t watched =
        ADisplayComponent::kOffscreen | ADisplayComponent::kClippedByAncestors | ADisplayComponent::kModeFlag;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Probe* root = makeRoot(ARect(0, 0, 100, 100));
        root->clips = row.parentClips;
        root->setOffscreenRootFlag(row.parentFlags & ADisplayComponent::kOffscreenRoot);
        root->setOffscreenFlag(row.parentFlags & ADisplayComponent::kOffscreen);
        root->setClippedByAncestorsFlag(row.parentFlags & ADisplayComponent::kClippedByAncestors);
        root->setModeFlag(row.parentFlags & ADisplayComponent::kModeFlag);
        Probe* child = make(root, 2, ARect(50, 50, 150, 150));
        EXPECT_EQ(row.inherited, child->displayFlags() & watched);
        AComponent* gone = root;
        DeleteComponent(gone);
    }

    // A clipped child shows only what lies inside its parent.
    Probe* root = makeRoot(ARect(0, 0, 100, 100));
    root->clips = true;
    Probe* child = make(root, 2, ARect(50, 50, 150, 150));
    ADisplayServices::current().flushLayouts();
    EXPECT_EQ("0,0,50,50", Describe(child->getVisibleRegion().ownerBounds()));

    // Off-screen membership: excluding works only inside an off-screen area.
    Probe* plain = make(root, 3, ARect(0, 0, 10, 10));
    plain->setOffscreenExcluded(true);
    EXPECT_FALSE(plain->hasFlags(ADisplayComponent::kOffscreenExcluded));
    root->setOffscreenRootFlag(true);
    plain->setOffscreen(true, true);
    EXPECT_TRUE(plain->hasFlags(ADisplayComponent::kOffscreen));
    plain->setOffscreenExcluded(true);
    EXPECT_EQ(ADisplayComponent::kOffscreenExcluded,
              plain->displayFlags() & (ADisplayComponent::kOffscreen | ADisplayComponent::kOffscreenExcluded));

    // Activation reaches the tree; onActivate runs when the mode turns on.
    root->broadcastWindowActivated(1);
    root->broadcastWindowActivated(1);
    EXPECT_EQ(1, child->activations);
    EXPECT_TRUE(child->hasFlags(ADisplayComponent::kModeFlag));
    root->broadcastWindowActivated(0);
    EXPECT_FALSE(child->hasFlags(ADisplayComponent::kModeFlag));
}

TEST_F(DisplayTest, WindowedComponentsFollowTheirNativeWindows) {
    PaintWindow window(300, 200);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    Probe* pane = make(root, 2, ARect(20, 10, 120, 60));
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 10, 10, window.hwnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    pane->setNativeWindow(hwnd);
    ADisplayServices::current().flushLayouts();
    RECT client;
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, window.hwnd, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ("20,10,120,60", Describe(ARect(client.left, client.top, client.right, client.bottom)))
        << "the native window's client area is the frame";
    EXPECT_EQ("20,10,120,60", Describe(pane->getFrame()));
    ARect outer = pane->getOuterFrame();
    EXPECT_LT(outer.left(), 20) << "the outer frame holds the border";

    APoint border = pane->getOuterSize() - pane->getSize();
    pane->setSize(APoint(50, 30), false);
    EXPECT_EQ("20,10,70,40", Describe(pane->getFrame())) << "setSize keeps the border around the new size";
    EXPECT_EQ(APoint(50, 30) + border, pane->getOuterSize());

    // A move of a plain ancestor carries the native window along, border and all.
    Probe* box = make(root, 3, ARect(100, 100, 200, 200));
    ADisplayServices::current().flushLayouts();
    pane->reparent(box);
    auto clientInWindow = [&] {
        RECT r;
        GetClientRect(hwnd, &r);
        MapWindowPoints(hwnd, window.hwnd, reinterpret_cast<POINT*>(&r), 2);
        return ARect(r.left, r.top, r.right, r.bottom);
    };
    ARect before = clientInWindow();
    box->changeFrame(ARect(110, 105, 210, 205));
    EXPECT_EQ(Describe(before + APoint(10, 5)), Describe(clientInWindow()))
        << "the native window moved with the box, keeping its size";
    pane->reparent(root);

    POINT origin = {0, 0};
    ClientToScreen(window.hwnd, &origin);
    EXPECT_EQ(ARect(origin.x, origin.y, origin.x + 300, origin.y + 200), root->getContainerRect())
        << "at the top, the own window's client area on screen";
    pane->moveTo(APoint(origin.x + 280, origin.y + 190), true);
    ARect inside = pane->getScreenFrame();
    EXPECT_LE(inside.right(), origin.x + 300) << "keepInside holds the pane inside its container";
    EXPECT_LE(inside.bottom(), origin.y + 200);
    pane->setNativeWindow(nullptr);
    DestroyWindow(hwnd);
}

namespace {

// A printer that logs the all-pages job and its own deletion.
class JobPrinter : public Probe {
public:
    explicit JobPrinter(std::string* into) : Probe(nullptr, 9, ASizeSpec(ARect(0, 0, 10, 10))) { log = into; }
    ~JobPrinter() override { note("gone"); }
    ACommand* printAllPages(ADisplayComponent* component) override {
        note(component ? "all-" + std::to_string(component->id()) : "all-none");
        return noChangeCommand();
    }
};

class JobPrinterServices : public ADisplayServices {
public:
    explicit JobPrinterServices(std::string* log) : log_(log) {}
    ADisplayComponent* makePrinter(ADisplayComponent* owner) override {
        (void)owner;
        auto* printer = new JobPrinter(log_);
        AObject::completeNew(printer);
        return printer;
    }

private:
    std::string* log_;
};

// Gives every component the same printer stand-in.
class PrinterServices : public ADisplayServices {
public:
    explicit PrinterServices(std::string* log) : log_(log) {}
    ADisplayComponent* makePrinter(ADisplayComponent* owner) override {
        (void)owner;
        auto* printer = new Probe(nullptr, 9, ASizeSpec(ARect(0, 0, 10, 10)));
        printer->log = log_;
        AObject::completeNew(printer);
        return printer;
    }

private:
    std::string* log_;
};

}  // namespace

TEST_F(DisplayTest, PrintingNeedsAPrinter) {
    Probe* root = makeRoot(ARect(0, 0, 10, 10));
    Probe* child = make(root, 2, ARect(0, 0, 5, 5));
    PrinterServices services(&log);
    ADisplayServices::install(&services);
    ClearBoxes();
    log.clear();
    EXPECT_EQ(AComponent::noChangeCommand(), child->print()) << "no printer device: a message";
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("Driver d'impression introuvable !", CapturedBoxes()[0].text);
    EXPECT_EQ("", log);

    HDC device = CreateCompatibleDC(nullptr);
    ADisplayContext::instance().setPrinter(device);
    ClearBoxes();
    child->print();
    EXPECT_TRUE(CapturedBoxes().empty());
    EXPECT_EQ("print-2:9", log) << "the printer's job for the component";
    AString text;
    child->pageLabelFormat(text);
    EXPECT_STREQ("Page %d", text.c_str()) << "the built-in label without the framework's list";
    child->headerText(text);
    EXPECT_STREQ("KYCF", text.c_str()) << "the header defaults to the document type";
    app->runPending();
    ADisplayContext::instance().setPrinter(nullptr);
    DeleteDC(device);
}

TEST_F(DisplayTest, PrintingWithoutAComponentTakesTheApplicationsPrinterWhenThereIsADevice) {
    JobPrinterServices services(&log);
    ADisplayServices::install(&services);
    HDC device = CreateCompatibleDC(nullptr);
    struct Row {
        bool device;
        const char* jobs;
        size_t boxes;
    } rows[] = {{false, "", 1}, {true, "all-none:9 gone:9", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.device);
        ADisplayContext::instance().setPrinter(r.device ? device : nullptr);
        ClearBoxes();
        log.clear();
        EXPECT_EQ(AComponent::noChangeCommand(), ADisplayComponent::printDefault());
        app->runPending();
        EXPECT_EQ(r.jobs, log) << "the printer runs its job for no component and goes from the queue";
        ASSERT_EQ(r.boxes, CapturedBoxes().size());
        if (r.boxes) {
            EXPECT_EQ("Driver d'impression introuvable !", CapturedBoxes()[0].text);
        }
    }
    ADisplayContext::instance().setPrinter(nullptr);
    DeleteDC(device);
}
