// The application object and the top-level window that the windowed
// benchmarks draw in: a root cluster of the given size in a popup window.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/app/AApp.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/windows/AWindowShell.h"

class BenchApp : public AApp {
public:
    explicit BenchApp(const char* name) : AApp(AString(name), ARect(), 0, 0) {}
    void beep(uint32_t) override {}

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

class BenchWindow {
public:
    // False without a display.
    bool open(const char* name, int32_t width, int32_t height) {
        AClass::buildRegistry();
        app = new BenchApp(name);
        app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        AObject::completeNew(app);
        root = new ALocalCluster(app, 1, ASizeSpec(ARect(0, 0, width, height)), 0, 1, nullptr);
        AObject::completeNew(root);
        shell.reset(
            new ATopLevelShell(root, nullptr, "bench", WS_POPUP | WS_CLIPCHILDREN, root->getFrame(), false, true));
        return shell->hwnd() != nullptr;
    }
    // Shows the window with what the root holds now.
    void show() {
        root->showUpdate();
        ShowWindow(shell->hwnd(), SW_SHOW);
        UpdateWindow(shell->hwnd());
    }
    // Destroys the window, then the application and its components.
    void close() {
        shell.reset();
        root->setNativeWindow(nullptr);
        AComponent* a = app;
        DeleteComponent(a);
    }

    BenchApp* app = nullptr;        // deleted by close
    ALocalCluster* root = nullptr;  // the application's child
    std::unique_ptr<ATopLevelShell> shell;
};
