// Prints the time to open a list of 100,000 generated rows in a 400 x 300
// view (model, layout of the first screen), to page down once, and to select
// the next row with the Down key, with the number of rows the list asked its
// line getter for. Needs a display (Xvfb).
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AReader.h"
#include "framework/app/AApp.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/windows/AWindowShell.h"

namespace {

const long kRows = 100000;

class BenchApp : public AApp {
public:
    BenchApp() : AApp(AString("ListBench"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

class Rows : public ALineGetter {
public:
    void getLine(AString& out, long row) override {
        ++calls;
        out = AString(("R\xE9sultat " + std::to_string(row) + " : une ligne de la liste\n").c_str());
    }
    long getLineCount() override { return kRows; }
    long calls = 0;
};

double Seconds() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

}  // namespace

int main() {
    AClass::buildRegistry();
    auto* app = new BenchApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    AObject::completeNew(app);
    auto* root = new ALocalCluster(app, 1, ASizeSpec(ARect(0, 0, 400, 300)), 0, 1, nullptr);
    AObject::completeNew(root);
    std::unique_ptr<ATopLevelShell> shell(
        new ATopLevelShell(root, nullptr, "bench", WS_POPUP | WS_CLIPCHILDREN, root->getFrame(), false, true));
    if (!shell->hwnd()) {
        std::printf("no display\n");
        return 0;
    }
    auto* view = new AStandardView(root, 7, ASizeSpec(ARect(0, 0, 400, 300)));
    AObject::completeNew(view);
    view->show(false);
    root->showUpdate();
    ShowWindow(shell->hwnd(), SW_SHOW);
    UpdateWindow(shell->hwnd());

    auto* rows = new Rows;
    rows->addRef();
    double t0 = Seconds();
    auto* list = new AListRenderer(view->rendererLayer());
    list->addRef();
    list->setSourceModel(rows, nullptr);
    view->rendererLayer()->setRenderer(list);
    list->attach();
    double t1 = Seconds();
    long opened = rows->calls;
    int32_t delta = 0;
    list->scrollVerticallyBy(3, 0, delta);
    double t2 = Seconds();
    long paged = rows->calls - opened;
    ADocRange top{0, 0};
    list->visibleLineRange(true, top);
    list->setCurrentMark(top.start);
    double t3 = Seconds();
    list->keyDown(0x28, 0);
    double t4 = Seconds();
    std::printf("list of %ld rows, 400 x 300 view\n", kRows);
    std::printf("  open:          %8.2f ms  (%ld rows fetched)\n", (t1 - t0) * 1e3, opened);
    std::printf("  page down:     %8.2f ms  (%ld rows fetched, top row %ld)\n", (t2 - t1) * 1e3, paged, top.start);
    std::printf("  Down key:      %8.3f ms  (row %ld selected)\n", (t4 - t3) * 1e3, list->markedIndex());
    list->release();
    rows->release();
    return 0;
}
