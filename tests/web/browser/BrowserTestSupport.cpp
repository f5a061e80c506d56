// Shared set-up of the browser tests.
#include "tests/web/browser/BrowserTestSupport.h"

#include "tests/base/procedural/NetTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

#include "platform/webrt/nsEmbedding.h"

#include <windows.h>

#include <cstdio>
#include <sys/stat.h>

int16_t RecordingHandler::onEvent(AMozillaView*, AMozillaEvent* event) {
    events.push_back(describe(event));
    return answer;
}

std::string RecordingHandler::describe(AMozillaEvent* event) {
    std::string name = event->name.c_str();
    if (auto* e = dynamic_cast<AMozillaUpdateProgressEvent*>(event))
        return name + "(" + std::to_string(e->current) + "," + std::to_string(e->maximum) + ")";
    if (auto* e = dynamic_cast<AMozillaUpdateUrlEvent*>(event))
        return name + "(" + e->url.c_str() + "," + std::to_string(e->programLoad) + ")";
    if (auto* e = dynamic_cast<AMozillaUpdateTitleEvent*>(event))
        return name + "(" + e->title.c_str() + ")";
    if (auto* e = dynamic_cast<AMozillaStatusChangedEvent*>(event))
        return name + "(" + e->status.c_str() + ")";
    if (auto* e = dynamic_cast<AMozillaObserveEvent*>(event))
        return name + "(" + e->topic.c_str() + "," + e->data.c_str() + ")";
    return name;
}

void BrowserTest::SetUp() {
    recorder = new RecordingHandler;
    recorder->addRef();
    NS_ScriptLog().clear();
    ClusterTest::SetUp();
    folders.reset(new RuntimeFolders);
    provider = new TableProvider;
    provider->paths["PrfDef"] = folders->runtime + "\\defaults\\pref";
    ASSERT_EQ(NS_OK, folders->init(provider.get())) << errors.text;
}

void BrowserTest::TearDown() {
    if (window) {
        AComponent* w = window;
        DeleteComponent(w);
        window = nullptr;
        view = nullptr;
    }
    recorder->release();
    NS_TermEmbedding();
    provider = nullptr;
    folders.reset();
    ClusterTest::TearDown();
}

bool BrowserTest::openView(int width, int height) {
    window = Open<TestWindow>(app, ARect(0, 0, width, height), "#background:255,255,255");
    if (!window->openWindow("browser"))
        return false;
    view = Shown(Open<AMozillaView>(window, int16_t(5), Frame(0, 0, width, height)));
    window->showUpdate();
    ShowWindow(window->hwnd(), SW_SHOW);
    UpdateWindow(window->hwnd());
    return true;
}

bool BrowserTest::waitLoaded(RecordingHandler* handler, size_t count) {
    return pumpUntil(20000, [&] {
        size_t loaded = 0;
        for (const std::string& e : handler->events)
            loaded += e == "Loaded";
        return loaded >= count;
    });
}

void BrowserTest::settle(int milliseconds) {
    pumpUntil(milliseconds, [] { return false; });
}

bool BrowserTest::pumpUntil(int milliseconds, const std::function<bool()>& done) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        if (done())
            return true;
        if (view)
            view->processEvents();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(5);
    }
    return false;
}

std::string BrowserTest::loadServed(const char* page, std::string& url) {
    url = staticUrl("pages", page);
    if (url.empty())
        return "no test server";
    if (!openView())
        return "no display";
    view->addHandler("AllEvent", recorder);
    view->loadUrl(url.c_str());
    return waitLoaded(recorder) ? std::string() : std::string("not loaded");
}

std::string BrowserTest::staticUrl(const char* root, const char* rest) {
    if (!ServerPorts().origin)
        return std::string();
    return "http://127.0.0.1:" + std::to_string(ServerPorts().origin) + "/static/" + root + "/" + rest;
}

bool BrowserTest::haveGimpPages() {
    struct stat s;
    return stat((std::string(SV_SOURCE_DIR) + "/build/sample-src/usr/share/gimp/2.0/help/fr/index.html").c_str(),
                &s) == 0;
}

void BrowserTest::screenshot(const char* name, HWND w) {
    if (!w)
        w = window->hwnd();
    RECT r;
    GetClientRect(w, &r);
    Canvas canvas(r.right, r.bottom);
    HDC dc = GetDC(w);
    BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(w, dc);
    canvas.savePng(name);
}

HWND ContentWindow(AMozillaView* view) {
    nsPtr<nsIBaseWindow> base = QueryAs<nsIBaseWindow>(view->webBrowser());
    void* widget = nullptr;
    if (base)
        base->GetMainWidget(&widget);
    return static_cast<HWND>(widget);
}

void Click(HWND content, int x, int y) {
    SendMessageA(content, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(content, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ClickParagraph(HWND content, int index) {
    Click(content, 12, 8 + 4 + index * 24);
}
