// The window manager: registration, counts, hiding and closing all windows,
// walks and global coordinates.
#include "framework/app/AWindowManager.h"

#include <algorithm>
#include <set>

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/components/ACommand.h"
#include "framework/components/AKindSet.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/ANativeWindow.h"

namespace {

// Where the window's client area starts, in screen pixels.
APoint ScreenClientOrigin(HWND window) {
    POINT p{0, 0};
    ClientToScreen(window, &p);
    return APoint(p.x, p.y);
}

}  // namespace

void AWindowManager::checkEmpty() const {
    if (!windows_.empty())
        ThrowAssert("fwinmgr", 313);
}

bool AWindowManager::contains(AWindow* window) const {
    return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

void AWindowManager::addWindow(AWindow* window) {
    if (contains(window))
        return;
    windows_.push_back(window);
    if (window->isMdiChild()) {
        if (!owner_)
            ThrowAssert("fwinmgr", 354);
        window->addLink(owner_);
    }
}

void AWindowManager::removeWindow(AWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

void AWindowManager::windowChanged(AWindow* window, const AKindSet& kinds) {
    if (!window->isMdiChild())
        return;
    auto post = [this] {
        if (!owner_)
            ThrowAssert("fwinmgr", 322);
        owner_->queueUpdate(kUpdateAppTarget);
    };
    int16_t closable = window->isClosable() ? 1 : 0;
    if (kinds.contains(kUpdateSetUp)) {
        ++openCount_;
        openClosableCount_ += closable;
        post();
    }
    if (kinds.contains(kUpdateUnbound)) {
        --openCount_;
        openClosableCount_ -= closable;
        post();
    }
    if (kinds.contains(kUpdateVisibility)) {
        visibleCount_ += window->hasFlags(ADisplayComponent::kVisible) ? 1 : -1;
        post();
    }
    if (kinds.contains(kUpdateNativeState)) {
        stateCount_ += window->getNativeWindow() && window->isMinimized() ? 1 : -1;
        post();
    }
}

bool AWindowManager::plain() const {
    return GetFrameWindow() == nullptr;
}

// The modal flag, not the visible flag: a test of visibility alone would
// report a modal window, and disable Quit, whenever any window is on screen.
bool AWindowManager::HasWindowFlag2() {
    for (AWindow* w = firstWindow(kTopLevel); w; w = nextWindow(kTopLevel, w)) {
        if ((w->windowFlags() & AWindow::kTopLevel) && w->hasFlags(ADisplayComponent::kVisible))
            return true;
    }
    return false;
}

bool AWindowManager::hasOpenDocumentWindows() {
    if (plain())
        return true;
    return openClosableCount_ != 0 && !HasWindowFlag2();
}

void AWindowManager::hideAll() {
    if (plain())
        return;
    if (!owner_)
        ThrowAssert("fwinmgr", 374);
    // Each window is dismissed once: one that shows itself again cannot hold the loop.
    std::set<AWindow*> done;
    for (;;) {
        AWindow* w = firstWindow(kTopLevel);
        while (w && (!w->hasFlags(ADisplayComponent::kVisible) || done.count(w)))
            w = nextWindow(kTopLevel, w);
        if (!w)
            return;
        done.insert(w);
        long ran = w->shellTable()->dispatch(2, 1, nullptr);
        if (!contains(w))
            continue;
        if ((!ran || w->hasFlags(ADisplayComponent::kVisible)) && w->isClosable() && w->canClose(false))
            owner_->perform(w->closeWindow());
        if (contains(w) && w->hasFlags(ADisplayComponent::kVisible))
            w->hideUpdate();
    }
}

bool AWindowManager::closeAll(bool ask) {
    if (plain())
        return true;
    if (!owner_)
        ThrowAssert("fwinmgr", 399);
    hideAll();
    std::set<AWindow*> done;
    for (;;) {
        AWindow* w = firstWindow(kBackToFront);
        while (w && (done.count(w) || !w->isClosable() || !w->hasFlags(ADisplayComponent::kVisible)))
            w = nextWindow(kBackToFront, w);
        if (!w)
            return true;
        done.insert(w);
        if (!w->canClose(ask) && ask)
            return false;
        // Asked or not, the window goes: it was told, and shut-down does not wait.
        ACommand* command = w->doClose();
        owner_->perform(command);
    }
}

AWindow* AWindowManager::stackWalk(HWND from, bool forward) {
    HWND client = GetMdiClientWindow();
    if (!client)
        return nullptr;
    HWND h;
    if (from) {
        h = GetWindow(from, forward ? GW_HWNDNEXT : GW_HWNDPREV);
    } else {
        h = GetWindow(client, GW_CHILD);
        if (h && !forward)
            h = GetWindow(h, GW_HWNDLAST);
    }
    for (; h; h = GetWindow(h, forward ? GW_HWNDNEXT : GW_HWNDPREV)) {
        auto* w = dynamic_cast<AWindow*>(ComponentFromWindow(h));
        if (w && contains(w))
            return w;
    }
    return nullptr;
}

AWindow* AWindowManager::firstWindow(Walk walk) {
    if (walk == kTopLevel) {
        for (AWindow* w : windows_) {
            if (!w->isMdiChild())
                return w;
        }
        return nullptr;
    }
    return stackWalk(nullptr, walk == kFrontToBack);
}

AWindow* AWindowManager::nextWindow(Walk walk, AWindow* window) {
    auto at = std::find(windows_.begin(), windows_.end(), window);
    if (at == windows_.end())
        ThrowAssert("fwinmgr", walk == kTopLevel ? 452 : walk == kFrontToBack ? 469 : 517);
    if (walk == kTopLevel) {
        for (++at; at != windows_.end(); ++at) {
            if (!(*at)->isMdiChild())
                return *at;
        }
        return nullptr;
    }
    HWND h = window->getHWnd();
    return h ? stackWalk(h, walk == kFrontToBack) : nullptr;
}

void AWindowManager::updateOrigin() {
    HWND client = GetMdiClientWindow();
    if (plain() || !client) {
        origin_ = APoint(0, 0);
        return;
    }
    origin_ = ScreenClientOrigin(client);
}

// Read again at each use: the frame may have moved since the last one.
APoint AWindowManager::origin() {
    updateOrigin();
    return origin_;
}

void AWindowManager::requireWindow(HWND window, long line) {
    if (!window || !IsWindow(window))
        ThrowAssert("fwinmgr", line);
}

HWND AWindowManager::referenceParent(HWND window) {
    if (!owner_)
        ThrowAssert("fwinmgr", 905);
    HWND parent = GetParent(window);
    if (!parent)
        return GetDesktopWindow();
    if (parent != GetMdiClientWindow() && (GetWindowLongA(window, GWL_STYLE) & WS_POPUP))
        return GetDesktopWindow();
    return parent;
}

APoint AWindowManager::clientOrigin(HWND window) {
    requireWindow(window, 548);
    return ScreenClientOrigin(window) - origin();
}

ARect AWindowManager::availableRect(HWND window) {
    requireWindow(window, 586);
    HWND parent = referenceParent(window);
    RECT r;
    GetClientRect(parent, &r);
    return ARect(r.left, r.top, r.right, r.bottom) + (ScreenClientOrigin(parent) - origin());
}

ARect AWindowManager::windowRect(HWND window) {
    requireWindow(window, 604);
    RECT r;
    GetWindowRect(window, &r);
    return ARect(r.left, r.top, r.right, r.bottom).minusPoint(origin());
}

ARect AWindowManager::clientRectInParent(HWND window) {
    requireWindow(window, 666);
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, referenceParent(window), reinterpret_cast<POINT*>(&r), 2);
    return ARect(r.left, r.top, r.right, r.bottom);
}

void AWindowManager::setClientRect(HWND window, const ARect& rect) {
    requireWindow(window, 685);
    ARect outer = windowRect(window);
    RECT c;
    GetClientRect(window, &c);
    APoint clientAt = ScreenClientOrigin(window) - origin();
    // The outer rectangle keeps its margins around the client area.
    int32_t left = rect.left() - (clientAt.x - outer.left());
    int32_t top = rect.top() - (clientAt.y - outer.top());
    int32_t width = outer.width() + rect.width() - (c.right - c.left);
    int32_t height = outer.height() + rect.height() - (c.bottom - c.top);
    APoint o = origin();
    POINT p{left + o.x, top + o.y};
    MapWindowPoints(nullptr, referenceParent(window), &p, 1);
    MoveWindow(window, p.x, p.y, width, height, TRUE);
}

namespace {

APoint GlobalOrigin() {
    AApp* app = AApp::current();
    return app ? app->windowManager().origin() : APoint(0, 0);
}

}  // namespace

APoint GetWindowCursorPos() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return APoint(p.x, p.y) - GlobalOrigin();
}

void SetWindowCursorPos(const APoint& point) {
    APoint o = GlobalOrigin();
    SetCursorPos(point.x + o.x, point.y + o.y);
}
