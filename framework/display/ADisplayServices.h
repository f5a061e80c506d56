// What display components need of the application object: the pending
// layouts, the look and options word, the hover component and cursor code,
// the mouse tracker, and the hooks around mouse input and window updating.
//
// One instance is current: the one the application installs, else a default
// kept here. The services never own components; the tracker is owned until
// the drag ends. Components that go away leave them (componentGone).
// The application takes part by installing a subclass (install) and by
// running flushLayouts when its update of kind 15 is delivered.
#pragma once

#include <cstdint>

#include "base/object/InputRecords.h"
#include "framework/display/ASizing.h"

class ACommand;
class AComponent;

// Captures the mouse during a drag: moves and the release go to it only.
class AMouseTracker {
public:
    virtual ~AMouseTracker() = default;
    // The component whose coordinates the tracker's events are in (not owned).
    virtual ADisplayComponent* owner() = 0;
    virtual ACommand* trackMove(AMouseEvent& event) = 0;
    virtual ACommand* trackRelease(AMouseEvent& event) = 0;
};

class ADisplayServices {
public:
    enum : uint16_t {
        kPainterOrder = 0x0020,        // a component draws everything, then its children
        kQueueWindowShowing = 0x0800,  // off-screen windows show and hide from the queue
    };
    static constexpr int16_t kNoComponentCursor = -1;
    static constexpr int16_t kDefaultCursor = -2;
    static constexpr int16_t kNoCursorChoice = -3;

    ADisplayServices() = default;
    virtual ~ADisplayServices();
    ADisplayServices(const ADisplayServices&) = delete;
    ADisplayServices& operator=(const ADisplayServices&) = delete;

    static ADisplayServices& current();
    // Makes services current (not owned); null restores the default.
    static void install(ADisplayServices* services);

    // Layouts: schedule adds to the table, then posts change 15 to the
    // application, whose pending work calls flushLayouts.
    virtual void scheduleLayout(ADisplayComponent* component);
    virtual void flushLayouts() { pending_.flush(); }
    virtual void layoutNow(ADisplayComponent* component) { pending_.layoutNow(component); }
    // A new context for one pass over owner's children (the caller owns it).
    virtual ASizingContext* makeSizingContext(ADisplayComponent* owner);
    APendingLayouts& pendingLayouts() { return pending_; }

    uint16_t lookOptions() const { return lookOptions_; }
    void setLookOptions(uint16_t options) { lookOptions_ = options; }

    // Hover: the old component is left, the new one entered, the cursor code chosen.
    ADisplayComponent* hoverComponent() const { return hover_; }
    virtual void setHoverComponent(ADisplayComponent* component);
    int16_t cursorCode() const { return cursor_; }

    AMouseTracker* tracker() const { return tracker_; }
    // Takes ownership; a tracker already running is deleted.
    void startTracking(AMouseTracker* tracker);
    void endTracking();

    virtual void noteMouseDown(ADisplayComponent* component) { (void)component; }
    virtual void noteMouseMove(ADisplayComponent* component) { (void)component; }
    virtual bool isUpdateLocked(ADisplayComponent* component) {
        (void)component;
        return false;
    }
    virtual void lockWindowUpdate(ADisplayComponent* component) { (void)component; }
    // A new printer for owner (the caller owns it), or null without printing.
    virtual ADisplayComponent* makePrinter(ADisplayComponent* owner) {
        (void)owner;
        return nullptr;
    }
    // The standard preview and print-options dialogs for the printed
    // component (owned by the tree), or null.
    virtual AComponent* makePreviewDialog(ADisplayComponent* printed) {
        (void)printed;
        return nullptr;
    }
    virtual AComponent* makePrintOptionsDialog(ADisplayComponent* printed) {
        (void)printed;
        return nullptr;
    }
    // Moves the command target out of component's subtree.
    virtual void releaseTarget(AComponent* component);

    // Forgets a component that goes away: pending layout, hover, tracker owner.
    void componentGone(ADisplayComponent* component);

private:
    APendingLayouts pending_;
    uint16_t lookOptions_ = 0;
    ADisplayComponent* hover_ = nullptr;  // not owned
    int16_t cursor_ = kNoComponentCursor;
    AMouseTracker* tracker_ = nullptr;  // owned
};
