// The message loop of the application object: its outer frame with the error
// handlers, one turn, the frame window's timer, start and quit.
#include <windows.h>

#include "base/procedural/AOutStream.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AApp.h"

#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/AUpdateWatch.h"
#include "framework/graphics/ARegion.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/ANativeWindow.h"
#include "framework/windows/AWindowShell.h"
#include "framework/app/AppServices.h"
#include "framework/components/ACommand.h"
#include "framework/menus/AMenuBar.h"

namespace {

// Time of the last fallback timer step.
uint32_t g_lastIdleTime = 0;

}  // namespace

int AApp::run() {
    while (!quitFlag_) {
        AOutStream& stream = CurrentErrorStream();
        stream.writeString("#Running...\n");
        reportInstances(stream);
        try {
            runLoop();
        } catch (const AAssertError& e) {
            reportError(e, 0);
            endThroughError();
        } catch (const AError& e) {
            goOnAfter(e);
        }
    }
    return exitCode_;
}

bool AApp::goOnAfter(const AError& error) {
    if (reportError(error, MB_RETRYCANCEL) == IDRETRY)
        return true;
    endThroughError();
    return false;
}

void AApp::endThroughError() {
    quitFlag_ = 1;
    exitCode_ = kErrorExitCode;
}

void AApp::runLoop() {
    while (!quitFlag_)
        runOnce();
}

void AApp::runOnce() {
    // Reading messages may bring exposures into any window's update region.
    AUpdateWatch::touch();
    updateTime();
    lockWindowUpdate(nullptr);
    if (pendingFlag_) {
        pendingFlag_ = 0;
        flushUpdates();
    }
    long left = timerList_.timeLeft(currentTime_);
    bool armed = armFrameTimer(left);
    MSG msg;
    // Without a Win32 timer the loop fires due timers itself, at most every 100 ms.
    if (!armed && left == 0 && currentTime_ - g_lastIdleTime >= 100 &&
        !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        g_lastIdleTime = currentTime_;
        fireDueTimers();
    }
    if (pendingFlag_ && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        return;
    // Timers that no Win32 timer wakes must not leave the loop blocked in GetMessageA.
    left = timerList_.timeLeft(currentTime_);
    if (!armed && left >= 0 && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        uint32_t wait = left > 0 ? static_cast<uint32_t>(left) : g_lastIdleTime + 100 - currentTime_;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait ? wait : 1, QS_ALLINPUT);
        return;
    }
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
        exitCode_ = static_cast<int>(msg.wParam);
        quitFlag_ = 1;
        return;
    }
    AUpdateWatch::touch();
    if (msg.message == frameworkMessage_ && !msg.hwnd) {
        frameMessage(nullptr, msg.message, msg.wParam, msg.lParam);
        return;
    }
    HWND frame = static_cast<HWND>(frameWindow_);
    if (frame) {
        // While a modal window is up the frame is disabled: its accelerators
        // act for the modal window, and the frame's own commands stay out.
        HWND translator = frame;
        if (!IsWindowEnabled(frame)) {
            if (ADisplayComponent* modal = ModalWindowAfter(nullptr))
                translator = modal->getHWnd() ? modal->getHWnd() : frame;
        }
        for (void* table : accelerators_) {
            SetTranslatingAccelerator(true);
            int translated = TranslateAcceleratorA(translator, static_cast<HACCEL>(table), &msg);
            SetTranslatingAccelerator(false);
            if (translated)
                return;
        }
    }
    HWND client = GetMdiClientWindow();
    if (client && TranslateMDISysAccel(client, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (focusRetryFlag_)
        restoreTargetFocus(target_);
}

// The focus goes to the first window on the component's way up whose
// component takes the target; a refusal is tried again after the next message.
void AApp::restoreTargetFocus(AComponent* component) {
    focusRetryFlag_ = 0;
    for (AComponent* c = component; c && c != this; c = c->getParent()) {
        auto* display = dynamic_cast<ADisplayComponent*>(c);
        HWND h = display ? display->getHWnd() : nullptr;
        if (!h || !display->acceptsTarget())
            continue;
        if (IsWindow(h) && GetFocus() != h) {
            focusChangeFlag_ = 1;
            MoveFocusTo(h);
            focusChangeFlag_ = 0;
            if (GetFocus() != h && MayTakeFocus(h))
                focusRetryFlag_ = 1;
        }
        return;
    }
}

void AApp::flushUpdates() {
    {
        // The items that change together ask for one update of their window.
        AInvalidationHold oneUpdate;
        updateList_.deliver();
        if (menuBar_ && menuBar_->dirty())
            menuBar_->redraw();
    }
    // The flush that a component's deletion makes leaves the queue alone: a
    // delete command aimed at that component would run inside its deletion.
    if (AComponent::openDepth() >= 0)
        commandQueue_.run();
}

bool AApp::armFrameTimer(long timeLeft) {
    if (frame_)
        return frame_->setTimer(timeLeft);
    HWND frame = static_cast<HWND>(frameWindow_);
    if (!frame)
        return timeLeft == -1;
    KillTimer(frame, 1);
    if (timeLeft == -1)
        return true;
    return SetTimer(frame, 1, timeLeft == 0 ? 1 : static_cast<UINT>(timeLeft), nullptr) != 0;
}

void AApp::fireDueTimers() {
    armFrameTimer(timerList_.runDue(currentTime_));
}

bool AApp::frameMessage(void* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    (void)lParam;
    bool start = message == frameworkMessage_ && frameworkMessage_ != 0;
    bool timer = message == WM_TIMER && wParam == 1 && window && window == frameWindow_;
    if (!start && !timer)
        return false;
    // Called from a window procedure: no exception may leave it.
    try {
        if (start && wParam == kStartRequest && !started())
            this->start();
        if (timer) {
            updateTime();
            fireDueTimers();
        }
    } catch (const AError& e) {
        goOnAfter(e);
    } catch (...) {
        ErrorBox("Unhandled Exception");
        endThroughError();
    }
    return true;
}

void AApp::start() {
    doStart();
    setStarted(1);
}

ACommand* AApp::quitRequest() {
    if (closeAllWindowsChecked(1))
        quit();
    return noChange_;
}

ACommand* AApp::quit() {
    quitRequested_ = 1;
    quitFlag_ = 1;
    PostQuitMessage(0);
    return noChange_;
}

void AApp::beep(uint32_t type) {
    MessageBeep(type);
}
