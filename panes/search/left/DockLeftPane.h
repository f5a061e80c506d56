// The left column of the main window: it holds the left-dock panes (each
// included from its own layout and shown when it wants to be), a strip of
// buttons that stays visible when the column is folded, one bar of entry
// buttons per kind of screen, and the padlock switch between automatic and
// manual display of a list's first document.
//
// Dock modes (kept in the left part's fExpand): 0 folded (only the strip),
// 1 normal width (the sizer at its lower limit), 2 the reader's width (left
// part key 8), 3 full width. Left part key 7 = 1 hides the show and hide
// buttons. Widths are pixels of the main window.
//
// Nothing is owned: the items, the frame and the arrangement around the dock
// belong to the component tree. The arrangement is the enclosing centre
// switcher, with which the dock registers its sizing; without one, the
// nearest enclosing component holding the left area 0x3fe, the centre 0x3ff,
// the area 0x400 and the sizer 0x3f5; without either the dock changes no
// geometry. A missing
// or mistyped item of the dock's own layout fails the allocation check
// ("DockLeftPane"); updatePane without a left part is an assertion.
#pragma once

#include "app/frame/SVPane.h"
#include "framework/components/ACommand.h"
#include "panes/content/article/DockLCRPane.h"

class ADisplayComponent;
class AIconButton;
class ASizerButton;
class AStaticItem;

class DockLeftPane : public SVPane, public ALeftDockSizing {
    SV_DECLARE_CLASS(DockLeftPane)
public:
    enum : int16_t {
        kSizer = 0x3f5, kLeftArea = 0x3fe, kCentre = 0x3ff, kFollower = 0x400,
        kStrip = 0x4c4, kShowButton = 0x4d1, kHideA = 0x4ce, kHideB = 0x4d0, kPadlock = 0xbc3,
        kScreenBar = 0x4d8, kEphemerisBar = 0x4e3, kEphemerisEntry = 0x50b,
    };
    static const int kBarCount = 11;

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    void updatePane() override;

    void applyDockMode(int16_t mode);
    // The reader moved the sizer to position (the sizer's left, in its parent).
    void setDockMode(long position) override;
    // Digit 11 of the current document's information (0 without a text document part).
    virtual int16_t currentDocInfoFlag();

    int16_t getDockMode() const { return dockMode; }
    int16_t getCurrentEntry() const { return currentEntry; }
    int16_t getManualDisplay() const { return manualDisplay; }
    // The bar of a screen (index in the bar table), -1 for none.
    static int barOfScreen(int16_t screenMode, int16_t room);
    AStaticItem* getBar(int index) const { return bars[index]; }
    // The value a room bar's entry passes to the frame: the fourth room's
    // bar skips that room's third and fourth tabs.
    static int16_t roomEntryValue(int barIndex, int16_t entry);

private:
    // The bar table: bar id, first and last entry.
    struct Bar {
        int16_t id, first, last;
    };
    static const Bar kBars[kBarCount];

    long leftKey(long key);
    void setLeftKey(long key, long value);
    int16_t barShown(int index) const;
    ACommand* entryCommand(int index, int16_t entry);
    // Delivers the command of a button as a click would, when it is available.
    void performButton(int16_t id);
    ACommand* showCommand();
    ACommand* hideACommand();
    ACommand* hideBCommand();
    void relayoutHost();
    ADisplayComponent* hostItem(int16_t id);

    AComponent* lcr = nullptr;  // the arrangement, not owned, or null
    DockLCRPane* switcher = nullptr;  // not owned, or null
    int16_t manualDisplay = 0;
    int16_t currentEntry = 0;
    AStaticItem* strip = nullptr;  // not owned
    AStaticItem* bars[kBarCount] = {};
    AStaticItem* holders[5] = {};
    AIconButton* showButton = nullptr;
    AIconButton* hideButtonA = nullptr;
    AIconButton* hideButtonB = nullptr;
    long initialWidth = 0;
    long fullWidth = 0;
    long stripWidth = 0;
    int16_t dockMode = -1;
};

// Action 0 shows the dock's wanted child panes (without updating them).
class ADockLeftCmd : public ACommand {
    SV_DECLARE_CLASS(ADockLeftCmd)
public:
    ADockLeftCmd() = default;
    ADockLeftCmd(int16_t action, DockLeftPane* pane) : ACommand(pane, 0, 1), action_(action), pane_(pane) {}
    long doIt() override;

private:
    int16_t action_ = 0;
    DockLeftPane* pane_ = nullptr;  // not owned
};
