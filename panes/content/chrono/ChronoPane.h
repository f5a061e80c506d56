// The chronology screen's centre pane: the time line (item 3705) in its
// scroller, the strip of nine period buttons (3710 to 3718) in a scroller of
// its own, the buttons that scroll the strip (3701, 3702) and the time line
// (3707, 3708), and the year field (3706) with its search button (3704).
// It loads the chronology base (data base 9) the first time it is shown,
// keeps the zoom step, follows the state's year and event, keeps the strip in
// step with the middle of the time line, and opens a clicked event's article.
//
// Owns its scale (from the first load to detach) and one reference on the
// base's bitmap supplier; the items, the main window and the switcher are
// not owned. Missing items or enclosing panes fail the allocation check
// ("ChronoPane"); a missing chronology base or style sheet 10 is an
// assertion. Years here are internal years (real year + the scale's offset)
// unless named real; positions are x pixels of the time axis.
#pragma once

#include <cstdint>
#include <memory>

#include "app/frame/SVPane.h"
#include "base/object/ASortedArray.h"

class AChronoScale;
class AChronoView;
class AEditBox;
class AScroller;
class DockLCRPane;
class StandardBitmapSupplier;

class ChronoPane : public SVPane {
    SV_DECLARE_CLASS(ChronoPane)
public:
    enum : int16_t {
        kStripBack = 3701, kStripForward = 3702, kInert = 3703, kYearSearch = 3704, kView = 3705, kYearField = 3706,
        kViewBack = 3707, kViewForward = 3708, kFirstPeriod = 3710, kLastPeriod = 3718
    };
    static const int kPeriodButtons = 9;
    static const long kDefaultStep = 200;
    // The left edge of each period button in the strip.
    static const long kStripOffsets[kPeriodButtons];

    ChronoPane() = default;
    ~ChronoPane() override;

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void updatePane() override;
    // The state's document part shows the chronology (type 7).
    int16_t isPaneWanted() override;

    void loadChronology();
    // Period boundaries from the list "year[TAB ...]" per line; empty lines are skipped.
    void parsePeriods(const char* text);
    void placePeriods();
    // The period whose stretch holds the position, within the buttons.
    int16_t periodAt(long position) const;
    // Moves to a real year and selects event index (-1: none).
    void goToYear(long year, long index);
    void syncViews();
    void centreStrip();
    void goToPeriod();
    void applyStep();
    // The year field: "year" or "year:step".
    void yearSearch();
    void openEventDocument(const char* text);
    // Whether period button i has both its boundaries.
    bool periodComplete(long i) const { return i >= 0 && i < kPeriodButtons && i + 1 < periodYears_.count(); }

    AChronoView* view() const { return view_; }
    AChronoScale* scale() const { return scale_.get(); }
    AScroller* stripScroller() const { return stripScroller_; }
    AScroller* viewScroller() const { return viewScroller_; }
    const ASortedArray& periodYears() const { return periodYears_; }
    const ASortedArray& periodPositions() const { return periodPositions_; }
    const ASortedArray& stripPositions() const { return stripPositions_; }
    int16_t currentPeriod() const { return currentPeriod_; }
    long currentPosition() const { return currentPosition_; }
    long currentEvent() const { return currentEvent_; }
    long step() const { return step_; }
    void setStep(long step) { step_ = step; }
    // Takes the scale (owned) without loading the base: the periods' tests.
    void useScale(AChronoScale* scale);

private:
    AScroller* scrollerOf(AComponent* item, int line);

    DockLCRPane* switcher_ = nullptr;  // not owned
    AChronoView* view_ = nullptr;      // item 3705, not owned
    std::unique_ptr<AChronoScale> scale_;
    ASortedArray periodPositions_;
    ASortedArray periodYears_;
    AEditBox* yearField_ = nullptr;             // item 3706, not owned
    StandardBitmapSupplier* bitmaps_ = nullptr;  // one reference held
    AScroller* stripScroller_ = nullptr;        // not owned
    AScroller* viewScroller_ = nullptr;         // not owned
    ASortedArray stripPositions_;
    int16_t currentPeriod_ = 0;
    long currentPosition_ = 0;
    long currentEvent_ = -1;
    long step_ = kDefaultStep;
    int16_t syncing_ = 0;
};
