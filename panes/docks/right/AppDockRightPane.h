// The part common to the right docks: the wide column (1420) with its hide
// button (1421) and links panel holder (1422), the narrow strip (1430) with
// its show button (1431), the two widths and the lock and extension flags.
// Widths in pixels as laid out at set-up (210 and 32).
//
// The items are the layout's, not owned; a missing one fails the allocation
// check ("DockRightPane").
#pragma once

#include "app/frame/SVPane.h"

class AIconButton;
class AStaticItem;

class AppDockRightPane : public SVPane {
    SV_DECLARE_CLASS(AppDockRightPane)
public:
    enum : int16_t { kWideId = 1420, kHideId = 1421, kPanelId = 1422, kNarrowId = 1430, kShowId = 1431 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    // 1421: 1; 1431: 1 with extensions or locked, else 2.
    int16_t commandStatus(int16_t id, long argument) override;
    // A right part whose fExpand is 0 or 1.
    int16_t isPaneWanted() override;

    int16_t widthMode() const { return widthMode_; }
    int16_t isLocked() const { return locked_; }
    int16_t hasExtensions() const { return hasExt_; }
    long wideWidth() const { return wideWidth_; }
    long narrowWidth() const { return narrowWidth_; }

protected:
    template <class T>
    T* itemOf(int16_t id, long line);
    // Mode 1 shows the wide column, 0 the narrow strip.
    void showHeaders(int16_t mode);

    AStaticItem* wide_ = nullptr;    // not owned
    AStaticItem* panel_ = nullptr;   // not owned
    AIconButton* hide_ = nullptr;    // not owned
    AIconButton* show_ = nullptr;    // not owned
    AStaticItem* narrow_ = nullptr;  // not owned
    long wideWidth_ = 0;
    long narrowWidth_ = 0;
    int16_t widthMode_ = 1;
    int16_t locked_ = 0;
    int16_t hasExt_ = 1;
};

template <class T>
T* AppDockRightPane::itemOf(int16_t id, long line) {
    AClusterItem* item = findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "DockRightPane", line);
}
