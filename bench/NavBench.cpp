// Steps the main window back and forward 200 times through states of sample
// articles and prints the median and 99th-percentile time from the command to
// the painted frame, against the system's rich edit control loading the same
// articles as RTF and painting them; the ratio of medians is what to watch.
// Run under xvfb-run: bench_nav SAMPLE_FOLDER (a Windows path).
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "bench/RtfStream.h"
#include "bench/SampleSearch.h"
#include "framework/app/AApp.h"
#include "search/facade/ASearchBase.h"

// Last: its RPC headers declare a global `byte` that the file layer's
// parameters would shadow.
#include <richedit.h>

namespace {

const int kArticles = 20;
const int kSteps = 200;

class NavApp : public AApp {
public:
    NavApp() : AApp(AString("bench_nav"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}
};

// No data base: the tool-bar menus stay empty.
class NavServices : public AFrameServices {
public:
    AString menuRecordText(long) override { return AString(); }
    void activateFrame() override {}
};

struct Figures {
    double median, p99;
};

Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]};
}

// The step pattern: ten back, ten forward, again and again.
bool StepBack(int i) {
    return (i / (kArticles / 2)) % 2 == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_nav SAMPLE_FOLDER\n");
        return 2;
    }
    ADataLocation location;
    SetCurrentDirectoryA(argv[1]);
    if (location.open((std::string(argv[1]) + "\\sv.sgm").c_str()) != 0) {
        std::printf("sv.sgm: %s\n", location.getLastError().c_str());
        return 1;
    }
    std::vector<std::string> rtf;
    {
        std::unique_ptr<ASearchBase> base(location.openBase("TEXT:DOC", nullptr));
        for (long n = 0; base && n < kArticles; ++n)
            rtf.push_back(ToRtf(base->getText(0, n, 1).c_str()));
    }
    if (rtf.size() != kArticles) {
        std::printf("the sample's TEXT base did not open\n");
        return 1;
    }

    AClass::buildRegistry();
    NavServices services;
    gFrameServices = &services;
    AApp* app = new NavApp();
    app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOW);
    AObject::completeNew(app);
    AComponent* made = AComponent::loadLayout(app, "Frame1Fixed", 0);
    Frame1* frame = made ? static_cast<Frame1*>(made->castTo(&Frame1::classRecord)) : nullptr;
    if (!frame) {
        std::printf("the layout Frame1Fixed did not load\n");
        return 1;
    }
    frame->setMaxStates(50);
    frame->select();
    for (long n = 0; n < kArticles; ++n) {
        AppState* state = frame->makeNavState(1, 0, 1, 0, -1, 0, 1);
        state->setDocNo(n);
        frame->goToState(state, 1);
    }
    HWND hwnd = frame->getHWnd();
    std::vector<double> ours, theirs, docs;
    for (int i = 0; i < kSteps; ++i) {
        double a = SampleNow();
        frame->doCommand(StepBack(i) ? 1043 : 1045, 0);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ours.push_back(1000 * (SampleNow() - a));
        docs.push_back(static_cast<double>(frame->currentState()->getDocNo()));
    }

    HMODULE riched = LoadLibraryA("riched20.dll");
    HWND host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND edit = riched ? CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 800, 600,
                                         host, nullptr, GetModuleHandleA(nullptr), nullptr)
                       : nullptr;
    for (int i = 0; edit && i < kSteps; ++i) {
        const std::string& text = rtf[static_cast<size_t>(docs[static_cast<size_t>(i)])];
        double a = SampleNow();
        SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        StreamState state{&text, 0};
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&state), 0, ReadRtf};
        SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        theirs.push_back(1000 * (SampleNow() - a));
    }

    Figures f = Summarise(ours);
    std::printf("%d steps through %d sample articles\n", kSteps, kArticles);
    std::printf("main window, command to painted frame: median %.3f ms, p99 %.3f ms\n", f.median, f.p99);
    if (edit) {
        Figures t = Summarise(theirs);
        std::printf("rich edit, RTF stream-in and paint:   median %.3f ms, p99 %.3f ms (ours / theirs = %.2f)\n",
                    t.median, t.p99, t.median > 0 ? f.median / t.median : 0.0);
        DestroyWindow(edit);
    } else {
        std::printf("rich edit: riched20.dll did not load\n");
    }
    DestroyWindow(host);
    AComponent* root = app;
    DeleteComponent(root);
    gFrameServices = nullptr;
    return 0;
}
