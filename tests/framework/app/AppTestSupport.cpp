// Shared set-up of the application tests.
#include "tests/framework/app/AppTestSupport.h"

#include <windows.h>

std::string Ticker::log;
int TestBeeps = 0;

namespace {

// The tests drive the loop of an application without a frame window.
class FramelessApp : public AApp {
public:
    FramelessApp() : AApp(AString("TestApplication"), ARect(), 0, 0) {}
    void beep(uint32_t) override { ++TestBeeps; }

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

}  // namespace

long Ticker::handleTimer(uint16_t id, uint32_t now) {
    log += name_ + ":" + std::to_string(id) + "@" + std::to_string(now) + " ";
    return onTimer ? onTimer(*this, id) : 0;
}

void AppTest::SetUp() {
    TestClock() = 1000;
    AClass::buildRegistry();
    SetErrorStream(&errors);
    app = new FramelessApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    AObject::completeNew(app);
    Ticker::log.clear();
}

void AppTest::TearDown() {
    AComponent* root = app;
    DeleteComponent(root);
    drainMessages();
    SetErrorStream(nullptr);
    AClass::releaseRegistry();
    TestClock() = 0;
}

void AppTest::drainMessages() {
    MSG msg;
    // A shown frame's WM_PAINT stays in the queue until the frame is painted.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_PAINT)
            DispatchMessageA(&msg);
    }
}
