// The movie panes' reader support.
#include "tests/panes/content/flash/MovieReaderSupport.h"

#include <windows.h>

#include "platform/flashmovie/FlashMovie.h"
#include "web/browser/AMozillaView.h"

namespace {

struct Search {
    RECT bounds;  // the view's, on the screen
    HWND found;
};

// Every browser of the frame shares its window: the view's stand-in is the
// shown one that lies in the view.
BOOL CALLBACK FindStandIn(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    RECT r;
    if (DescribeFlashStandIn(hwnd).empty() || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r))
        return TRUE;
    POINT corner{r.left, r.top};
    if (!PtInRect(&search->bounds, corner))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND StandInOf(AMozillaView* view) {
    if (!view || !view->getNativeWindow())
        return nullptr;
    ARect frame = view->getScreenFrame();
    Search search{{frame.left(), frame.top(), frame.right(), frame.bottom()}, nullptr};
    EnumChildWindows(view->getNativeWindow(), FindStandIn, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void MovieReaderTest::SetUp() {
    SampleReaderTest::SetUp();
    if (!frame)
        return;
    recorder.reset(new RecordingContent(AContentApp::current()));
    AContentApp::install(recorder.get());
}

void MovieReaderTest::TearDown() {
    if (recorder)
        AContentApp::install(app ? &app->contentServices() : nullptr);
    SampleReaderTest::TearDown();
}

std::string MovieReaderTest::standIn(AMozillaView* view) {
    return DescribeFlashStandIn(StandInOf(view));
}

bool MovieReaderTest::waitForStandIn(AMozillaView* view) {
    for (int i = 0; i < 200; ++i) {
        pump();
        if (view)
            view->processEvents();
        if (StandInOf(view))
            return true;
        Sleep(10);
    }
    return false;
}

bool MovieReaderTest::clickMovie(AMozillaView* view, long mw, long mh, long x, long y, long w, long h) {
    HWND hwnd = StandInOf(view);
    if (!hwnd)
        return false;
    RECT client;
    GetClientRect(hwnd, &client);
    double rx = double(client.right) / mw, ry = double(client.bottom) / mh;
    double s = rx < ry ? rx : ry;
    long left = static_cast<long>((client.right - mw * s) / 2), top = static_cast<long>((client.bottom - mh * s) / 2);
    LPARAM at = MAKELPARAM(left + static_cast<long>((x + w / 2) * s), top + static_cast<long>((y + h / 2) * s));
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    return true;
}
