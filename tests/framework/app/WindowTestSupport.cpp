// Shared set-up of the tests of windows in a real MDI frame.
#include "tests/framework/app/WindowTestSupport.h"

void PressKey(BYTE modifier, BYTE key) {
    if (modifier)
        keybd_event(modifier, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (modifier)
        keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
}


bool RunUntil(AApp* app, const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            app->runOnce();
        else
            Sleep(10);
    }
    return done();
}
