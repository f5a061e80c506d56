// Prints the time to open a list of 100,000 generated rows in a 400 x 300
// view to its first screen painted (model, layout, paint), to page down once
// and to select the next row with the Down key, each to the screen painted,
// with the number of rows the list asked its line getter for; beside it the
// same rows in the system's virtual list view (LVS_OWNERDATA, report view),
// painted the same way. Medians of 5 rounds, the sides taking turns at each.
// Needs a display (Xvfb).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/BenchWindow.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AReader.h"

namespace {

const long kRows = 100000;
const int kRounds = 5;

std::string RowText(long row) {
    return "R\xE9sultat " + std::to_string(row) + " : une ligne de la liste";
}

class Rows : public ALineGetter {
public:
    void getLine(AString& out, long row) override {
        ++calls;
        out = AString((RowText(row) + "\n").c_str());
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

// One round's milliseconds per step, the rows fetched, the top row after the
// page down and the row the Down key selected.
struct Round {
    double open, page, down;
    long openRows, pageRows, top, selected;
};

// The same rows in the system's virtual list view, in a window beside ours.
class Peer {
public:
    ~Peer() {
        if (host_)
            DestroyWindow(host_);
    }
    bool open() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = instance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "SvBenchListPeer";
        RegisterClassA(&wc);
        host_ = CreateWindowExA(0, "SvBenchListPeer", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 420, 0, 400, 300,
                                nullptr, nullptr, instance, nullptr);
        if (!host_)
            return false;
        SetWindowLongPtrA(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                                0, 0, 400, 300, host_, nullptr, instance, nullptr);
        if (!list_)
            return false;
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = 380;
        SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        UpdateWindow(host_);
        return true;
    }
    Round round() {
        SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
        UpdateWindow(list_);
        Round r{};
        calls_ = 0;
        double t0 = Now();
        SendMessageA(list_, LVM_SETITEMCOUNT, kRows, 0);
        RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        double t1 = Now();
        r.openRows = calls_;
        SendMessageA(list_, WM_VSCROLL, SB_PAGEDOWN, 0);
        UpdateWindow(list_);
        double t2 = Now();
        r.pageRows = calls_ - r.openRows;
        r.top = static_cast<long>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
        SetFocus(list_);
        ListView_SetItemState(list_, r.top, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        UpdateWindow(list_);
        double t3 = Now();
        SendMessageA(list_, WM_KEYDOWN, VK_DOWN, 0);
        UpdateWindow(list_);
        double t4 = Now();
        r.selected = static_cast<long>(ListView_GetNextItem(list_, -1, LVNI_SELECTED));
        r.open = (t1 - t0) * 1e3;
        r.page = (t2 - t1) * 1e3;
        r.down = (t4 - t3) * 1e3;
        return r;
    }

private:
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
        try {
            Peer* peer = reinterpret_cast<Peer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            NMHDR* header = reinterpret_cast<NMHDR*>(lp);
            if (peer && message == WM_NOTIFY && header->code == LVN_GETDISPINFOA) {
                NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
                if (info->item.mask & LVIF_TEXT) {
                    ++peer->calls_;
                    lstrcpynA(info->item.pszText, RowText(info->item.iItem).c_str(), info->item.cchTextMax);
                }
                return 0;
            }
        } catch (...) {
            return 0;
        }
        return DefWindowProcA(hwnd, message, wp, lp);
    }

    HWND host_ = nullptr, list_ = nullptr;
    long calls_ = 0;
};

// Our list in the bench window's view, each round a new renderer on the same rows.
Round OurRound(BenchWindow& bench, AStandardView* view, Rows* rows) {
    HWND window = bench.shell->hwnd();
    Round r{};
    rows->calls = 0;
    double t0 = Now();
    auto* list = new AListRenderer(view->rendererLayer());
    list->addRef();
    list->setSourceModel(rows, nullptr);
    view->rendererLayer()->setRenderer(list);
    list->attach();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    double t1 = Now();
    r.openRows = rows->calls;
    int32_t delta = 0;
    list->scrollVerticallyBy(3, 0, delta);
    UpdateWindow(window);
    double t2 = Now();
    r.pageRows = rows->calls - r.openRows;
    ADocRange top{0, 0};
    list->visibleLineRange(true, top);
    list->setCurrentMark(top.start);
    UpdateWindow(window);
    double t3 = Now();
    list->keyDown(0x28, 0);
    UpdateWindow(window);
    double t4 = Now();
    r.top = top.start;
    r.selected = list->markedIndex();
    r.open = (t1 - t0) * 1e3;
    r.page = (t2 - t1) * 1e3;
    r.down = (t4 - t3) * 1e3;
    list->release();  // the view holds it until the next round's
    return r;
}

double Median(const std::vector<Round>& rounds, double Round::*step) {
    std::vector<double> ms;
    for (const Round& r : rounds)
        ms.push_back(r.*step);
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
}

void Print(const char* name, const std::vector<Round>& rounds) {
    const Round& last = rounds.back();
    std::printf("%s\n", name);
    std::printf("  open, painted:      %8.2f ms  (%ld rows fetched)\n", Median(rounds, &Round::open), last.openRows);
    std::printf("  page down, painted: %8.2f ms  (%ld rows fetched, top row %ld)\n", Median(rounds, &Round::page),
                last.pageRows, last.top);
    std::printf("  Down key, painted:  %8.3f ms  (row %ld selected)\n", Median(rounds, &Round::down), last.selected);
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
    Peer peer;
    bool withPeer = peer.open();
    auto* rows = new Rows;
    rows->addRef();
    std::vector<Round> ours, theirs;
    // One round to warm the caches, then the sides in turn.
    for (int round = 0; round <= kRounds; ++round) {
        Round a = OurRound(bench, view, rows);
        Round b = withPeer ? peer.round() : Round{};
        if (round == 0)
            continue;
        ours.push_back(a);
        theirs.push_back(b);
    }
    std::printf("list of %ld rows, 400 x 300 view, medians of %d rounds\n", kRows, kRounds);
    Print("ours", ours);
    if (withPeer) {
        Print("virtual list view", theirs);
        auto ratio = [&](double Round::*step) {
            double t = Median(theirs, step);
            return t > 0 ? Median(ours, step) / t : 0.0;
        };
        std::printf("ours / list view: open %.3f, page down %.3f, Down key %.3f\n", ratio(&Round::open),
                    ratio(&Round::page), ratio(&Round::down));
    } else {
        std::printf("virtual list view: not created\n");
    }
    rows->release();
    bench.close();
    return 0;
}
