// Shared set-up of the tests of windows in a real MDI frame under Xvfb: an
// application with the framework's own frame and menu bar, opening windows,
// real keys, and running the loop until a condition holds.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "tests/framework/app/AppTestSupport.h"

// An application with the framework's own MDI frame and menu bar.
class MdiApp : public AApp {
public:
    MdiApp() : AApp(AString("WindowTestApp"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}
};

class WindowTest : public AppTest {
protected:
    void SetUp() override {
        AClass::buildRegistry();
        TestClock() = 1000;
        SetErrorStream(&errors);
        AWindow::resetUntitledCounter();
        app = new MdiApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        AObject::completeNew(app);
        app->flushUpdates();
    }
    void TearDown() override {
        AComponent* root = app;
        DeleteComponent(root);
        drainMessages();
        SetErrorStream(nullptr);
        AClass::releaseRegistry();
        TestClock() = 0;
    }
    bool haveDisplay() const { return app->frameWindow() != nullptr; }
    AWindow* open(uint16_t flags, const char* title = "", const ARect& frame = ARect(10, 10, 210, 130)) {
        auto* w = new AWindow(app, 0, ASizeSpec(frame), title, "", flags, 0, ARect());
        AObject::completeNew(w);
        app->flushUpdates();
        return w;
    }
    template <class W>
    W* openAs(uint16_t flags) {
        auto* w = new W(app, 0, ASizeSpec(ARect(10, 10, 210, 130)), "w", "", flags, 0, ARect());
        AObject::completeNew(w);
        app->flushUpdates();
        return w;
    }
};

// Presses key (with modifier when not 0) on the real keyboard.
void PressKey(BYTE modifier, BYTE key);
// Runs the loop until done answers true or about three seconds passed.
bool RunUntil(AApp* app, const std::function<bool()>& done);
