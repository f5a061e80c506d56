// Prints the cost of laying out and drawing a generated tree of 2,000
// display components (20 levels of 100, every one placed by a relative
// sizing rule) into a memory display, and how many components one
// relayout after a single rule change touches.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/ADisplayLock.h"

namespace {

const int kLevels = 20;
const int kPerLevel = 100;
const int kWidth = 1000;
const int kHeight = 700;

long g_layouts = 0;

// The application object: only the root of the tree.
class BenchApp : public AComponent {
public:
    long executeCommand(ACommand* command) override {
        delete command;
        return 1;
    }
};

BenchApp* g_app = nullptr;

AppComponentHooks MakeHooks() {
    AppComponentHooks hooks{};
    hooks.application = []() -> AComponent* { return g_app; };
    return hooks;
}

const AppComponentHooks kHooks = MakeHooks();

class Node : public ADisplayComponent {
public:
    Node(AComponent* parent, int16_t id, const ASizeSpec& rule, bool windowed)
        : ADisplayComponent(parent, id, rule), windowed_(windowed) {}
    bool isWindowed() override { return windowed_; }
    void relayout() override {
        ++g_layouts;
        ADisplayComponent::relayout();
    }
    long drawContent(const ARect& rect) override {
        AGraphicDisplay* d = ADisplayContext::instance().current();
        d->FillRect(rect, RGB(id() % 256, 128, 255 - id() % 256));
        return 1;
    }

private:
    bool windowed_;
};

AEdge Edge(int32_t value, uint16_t mode) {
    AEdge e;
    e.set(value, mode, 0);
    return e;
}

// Slice i of k across the parent, inset by 1 at the top and bottom.
ASizeSpec Slice(int i, int k) {
    return ASizeSpec::fromEdges(Edge(i * 1000 / k, 0x1130), Edge(1, 0x1030), Edge((i + 1) * 1000 / k, 0x1120),
                                Edge(-1, 0x1030));
}

Node* Make(AComponent* parent, int16_t id, const ASizeSpec& rule, bool windowed = false) {
    auto* n = new Node(parent, id, rule, windowed);
    AObject::completeNew(n);
    return n;
}

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

long SubtreeSize(ADisplayComponent* c) {
    long n = 1;
    Alist& list = c->children();
    for (ALink* link = list.firstLink(); link != list.sentinel(); link = link->next)
        n += SubtreeSize(static_cast<ADisplayComponent*>(ChildOf(link)));
    return n;
}

}  // namespace

int main() {
    SetAppComponentHooks(&kHooks);
    g_app = new BenchApp;
    AObject::completeNew(g_app);
    ADisplayServices& services = ADisplayServices::current();

    Node* root = Make(g_app, 1, ASizeSpec(ARect(0, 0, kWidth, kHeight)), true);
    root->changeFrame(ARect(0, 0, kWidth, kHeight));
    std::vector<Node*> previous = {root};
    std::vector<std::vector<Node*>> levels;
    int16_t id = 2;
    for (int level = 0; level < kLevels; ++level) {
        std::vector<Node*> here;
        for (int i = 0; i < kPerLevel; ++i) {
            // Parent j of the level above takes children j, j + n, j + 2n...
            size_t n = previous.size();
            Node* parent = previous[i % n];
            int k = static_cast<int>((kPerLevel - 1 - i % n) / n + 1);
            here.push_back(Make(parent, id++, Slice(static_cast<int>(i / n), k)));
        }
        levels.push_back(here);
        previous = here;
    }
    services.flushLayouts();
    root->show(false);
    for (auto& level : levels) {
        for (Node* n : level)
            n->show(false);
    }

    const int kRounds = 20;
    g_layouts = 0;
    double start = Now();
    for (int r = 0; r < kRounds; ++r) {
        int grow = (r % 2) ? 0 : 10;
        root->changeFrame(ARect(0, 0, kWidth + grow, kHeight + grow));
    }
    double layoutMs = (Now() - start) / kRounds;
    std::printf("full layout of %d components: %.3f ms (%ld layouts per round)\n", kLevels * kPerLevel + 1, layoutMs,
                g_layouts / kRounds);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth + 10, kHeight + 10);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ARegion everything(ARect(0, 0, kWidth + 10, kHeight + 10));
    for (uint16_t options : {uint16_t(0), uint16_t(ADisplayServices::kPainterOrder)}) {
        services.setLookOptions(options);
        start = Now();
        for (int r = 0; r < kRounds; ++r) {
            ADisplayLock lock(root, memory, AGraphicDisplay::kOwnDevice, nullptr, &everything);
            root->drawChildren(everything, true);
        }
        std::printf("full redraw, %s order: %.3f ms\n", options ? "painter's" : "clipped", (Now() - start) / kRounds);
    }
    services.setLookOptions(0);

    // One rule change deep in the tree: only the scheduled root's subtree is laid out.
    Node* changed = levels[10][37];
    auto* parent = static_cast<ADisplayComponent*>(changed->getDisplayParent());
    g_layouts = 0;
    changed->setSizeSpec(Slice(0, 2), true);
    services.flushLayouts();
    std::printf("relayout after one rule change: %ld components laid out (scheduled root's subtree: %ld)\n", g_layouts,
                SubtreeSize(parent));

    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    AComponent* gone = g_app;
    DeleteComponent(gone);
    ADisplayContext::Shutdown();
    SetAppComponentHooks(nullptr);
    return 0;
}
