// Top-level window components over the window layer's shells.
#include "framework/extras/ATopWindow.h"

#include "framework/windows/AWindowShell.h"

// Passes the activation and close messages to the component.
class ATopWindow::Shell : public ATopLevelShell {
public:
    Shell(ATopWindow* window, const ARect& rect)
        : ATopLevelShell(window, nullptr, "", WS_POPUP | WS_CLIPCHILDREN, rect, false, true), owner_(window) {}

    AMessageResult handle(AMessage& m) override {
        switch (m.message) {
            case WM_ACTIVATE:
                owner_->activationChanged(LOWORD(m.wParam) != WA_INACTIVE);
                break;
            case WM_CLOSE:
                owner_->closeRequested();
                return Handled(0);
            default:
                break;
        }
        return ATopLevelShell::handle(m);
    }

private:
    ATopWindow* owner_;  // not owned: owns this shell
};

ATopWindow::ATopWindow(AComponent* parent, const ARect& frame)
    : ADisplayComponent(parent, 0, ASizeSpec(frame)), shell_(nullptr) {}

ATopWindow::~ATopWindow() {
    delete shell_;
}

void ATopWindow::attachItems() {
    ADisplayComponent::attachItems();
    if (!shell_) {
        // Placed once it has its window: a component without one needs a placed parent.
        const ARect frame = getSizeSpec().naturalFrame();
        shell_ = new Shell(this, frame);
        if (getHWnd())
            changeFrame(frame);
    }
}

void ATopWindow::detachItems() {
    delete shell_;
    shell_ = nullptr;
    setNativeWindow(nullptr);
    ADisplayComponent::detachItems();
}

ARect ATopWindow::getContainerRect() {
    if (HWND client = GetMdiClientWindow()) {
        RECT r;
        GetClientRect(client, &r);
        POINT origin = {0, 0};
        ClientToScreen(client, &origin);
        return ARect(origin.x, origin.y, origin.x + r.right, origin.y + r.bottom);
    }
    return ARect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void ATopWindow::showWindow(bool activate) {
    if (!shell_ || !shell_->hwnd())
        return;
    // The shell first: shown already, the window would not be activated.
    shell_->show(activate);
    show(false);
}
