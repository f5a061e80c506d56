// Prints the time to open a list of 100,000 generated rows in a 400 x 300
// view (model, layout of the first screen), to page down once, and to select
// the next row with the Down key, with the number of rows the list asked its
// line getter for. Needs a display (Xvfb).
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "bench/BenchWindow.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AReader.h"

namespace {

const long kRows = 100000;

class Rows : public ALineGetter {
public:
    void getLine(AString& out, long row) override {
        ++calls;
        out = AString(("R\xE9sultat " + std::to_string(row) + " : une ligne de la liste\n").c_str());
    }
    long getLineCount() override { return kRows; }
    long calls = 0;
};

double Now() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    LARGE_INTEGER zero{};
    return Seconds(zero, c);
}

}  // namespace

int main() {
    BenchWindow bench;
    if (!bench.open("ListBench", 400, 300)) {
        std::printf("no display\n");
        return 0;
    }
    auto* view = new AStandardView(bench.root, 7, ASizeSpec(ARect(0, 0, 400, 300)));
    AObject::completeNew(view);
    view->show(false);
    bench.show();

    auto* rows = new Rows;
    rows->addRef();
    double t0 = Now();
    auto* list = new AListRenderer(view->rendererLayer());
    list->addRef();
    list->setSourceModel(rows, nullptr);
    view->rendererLayer()->setRenderer(list);
    list->attach();
    double t1 = Now();
    long opened = rows->calls;
    int32_t delta = 0;
    list->scrollVerticallyBy(3, 0, delta);
    double t2 = Now();
    long paged = rows->calls - opened;
    ADocRange top{0, 0};
    list->visibleLineRange(true, top);
    list->setCurrentMark(top.start);
    double t3 = Now();
    list->keyDown(0x28, 0);
    double t4 = Now();
    std::printf("list of %ld rows, 400 x 300 view\n", kRows);
    std::printf("  open:          %8.2f ms  (%ld rows fetched)\n", (t1 - t0) * 1e3, opened);
    std::printf("  page down:     %8.2f ms  (%ld rows fetched, top row %ld)\n", (t2 - t1) * 1e3, paged, top.start);
    std::printf("  Down key:      %8.3f ms  (row %ld selected)\n", (t4 - t3) * 1e3, list->markedIndex());
    list->release();
    rows->release();
    bench.close();
    return 0;
}
