// The set of the framework's windows kept by the application: the counts from
// which it enables its window commands, hiding and closing them all, the
// walks in stacking order, and the global coordinates, whose origin is the
// screen position of the MDI client's client area ((0, 0) without a frame).
//
// Holds its windows without owning them; every window must have left when
// the application detaches (checkEmpty, assertion "fwinmgr" 313). Geometry on a dead window handle and
// a walk from an unregistered window are assertions too.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/object/ARect.h"

class AComponent;
class AKindSet;
class AWindow;

class AWindowManager {
public:
    enum Walk { kTopLevel, kFrontToBack, kBackToFront };

    // owner: the application, not owned.
    explicit AWindowManager(AComponent* owner) : owner_(owner) {}
    ~AWindowManager() = default;
    void checkEmpty() const;
    AWindowManager(const AWindowManager&) = delete;
    AWindowManager& operator=(const AWindowManager&) = delete;

    void addWindow(AWindow* window);
    void removeWindow(AWindow* window);
    bool contains(AWindow* window) const;
    // Kinds 5 opened, 9 closed, 10 visibility, 11 native state; each posts kind 6 for the owner.
    void windowChanged(AWindow* window, const AKindSet& kinds);

    // True when a modal window is showing: a visible top-level window with the modal flag.
    bool HasWindowFlag2();
    bool hasOpenDocumentWindows();
    // Dismisses every visible top-level window, refused or not.
    void hideAll();
    // Closes every visible closable MDI window, back to front; with ask a
    // refusal stops it (false).
    bool closeAll(bool ask);

    AWindow* firstWindow(Walk walk);
    AWindow* nextWindow(Walk walk, AWindow* window);

    APoint origin();
    void updateOrigin();
    HWND referenceParent(HWND window);
    APoint clientOrigin(HWND window);
    ARect availableRect(HWND window);
    ARect windowRect(HWND window);
    ARect clientRectInParent(HWND window);
    void setClientRect(HWND window, const ARect& rect);

    int16_t openCount() const { return openCount_; }
    int16_t openClosableCount() const { return openClosableCount_; }
    int16_t visibleCount() const { return visibleCount_; }
    int16_t stateCount() const { return stateCount_; }
    long windowCount() const { return static_cast<long>(windows_.size()); }

private:
    void requireWindow(HWND window, long line);
    bool plain() const;
    AWindow* stackWalk(HWND from, bool forward);

    std::vector<AWindow*> windows_;  // not owned, in registration order
    int16_t openCount_ = 0;
    int16_t openClosableCount_ = 0;
    int16_t visibleCount_ = 0;
    int16_t stateCount_ = 0;
    APoint origin_;
    AComponent* owner_;  // not owned
};

// The cursor in global coordinates, and moving it to a global position.
APoint GetWindowCursorPos();
void SetWindowCursorPos(const APoint& point);
