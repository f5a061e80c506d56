// The chronology's event renderer: layout of the visible stretch, drawing,
// hits, hover and selection, cursors and the drag of the time line.
#include "panes/content/chrono/AChronoEventRenderer.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/ASegment.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/views/AScroller.h"
#include "panes/content/chrono/AChronoDataRuns.h"
#include "panes/content/chrono/AChronoFragment.h"
#include "panes/content/chrono/AChronoScale.h"
#include "panes/content/chrono/AChronoSegParser.h"

namespace {

const long kPressed = static_cast<long>(0x80000000UL);
const long kCrossCursor = 32515;  // IDC_CROSS

// The background, with drag or cross mode on, is not pressed like an event.
bool Passive(const ARendererTracker& tracker, uint16_t interaction) {
    return tracker.hit.kind == 3 && (interaction & (ChronoBits::kDragMode | ChronoBits::kCrossMode));
}

}  // namespace

AChronoEventRenderer::AChronoEventRenderer(ADisplayComponent* view, ARunDisplay* display)
    : ARenderer(view, ARect(), nullptr), display_(display) {
    long dflt = viewDefaultCursor();
    setCursors(0, dflt, dflt);
    setCursors(1, 128, 228);
    setCursors(2, 130, 230);
    setCursors(3, 129, 229);
    setCursors(4, kCrossCursor, kCrossCursor);
    setCursors(5, 120, 120);
    lineFlags |= 0x80;
    interaction &= static_cast<uint16_t>(~ChronoBits::kCrossMode);
}

AChronoEventRenderer::AChronoEventRenderer(const AChronoEventRenderer& source, const ARect& frame, long scaleX,
                                           long scaleY, ARenderer* parent)
    : ARenderer(source, frame, scaleX, scaleY, parent), display_(source.display_) {}

AChronoEventRenderer::~AChronoEventRenderer() {
    columns_.clear();
    if (lines_)
        lines_->release();
}

long AChronoEventRenderer::viewDefaultCursor() {
    return view()->getCursor(0);
}

ARenderer* AChronoEventRenderer::makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) {
    return CheckAlloc(new (std::nothrow) AChronoEventRenderer(*this, frame, scaleX, scaleY, parent), "chrono", 1271);
}

void AChronoEventRenderer::setModel(ADocModel* model) {
    dropRuns();
    ARenderer::setModel(model);
}

void AChronoEventRenderer::invalidateLayout() {
    dropRuns();
    ARenderer::invalidateLayout();
}

void AChronoEventRenderer::dropRuns() {
    hover_ = selected_ = nullptr;
    columns_.clear();
}

// The context the runs measure in: the style sheet, bitmap supplier and
// display, made again when the style sheet changes.
ALineRenderer* AChronoEventRenderer::lineLayer() {
    if (!display_) {
        ownDisplay_.reset(new AGdiRunDisplay());
        display_ = ownDisplay_.get();
    }
    if (!lines_ || lines_->styleSheet() != styleSheet()) {
        if (lines_)
            lines_->release();
        lines_ = CheckAlloc(new (std::nothrow) ALineRenderer(nullptr, styleSheet(), display_), "chrono", 1290);
        lines_->addRef();
    }
    lines_->bitmapSupplier = bitmapSupplier();
    return lines_;
}

bool AChronoEventRenderer::holdsRun(ADataRun* run) const {
    for (long i = 0; run && i < columns_.count(); ++i)
        for (ADataRun* r = columns_.at(i)->runs(); r; r = r->next)
            if (r == run)
                return true;
    return false;
}

// --- layout

void AChronoEventRenderer::layout() {
    if (!model_ || !scale_ || !scale_->parsed())
        return;
    const ARect R = view()->getLocalBounds();
    if (!columns_.setRect(R))
        return;
    // The hit record points into columns this layout may release.
    clearHitRecord(nullptr);
    if (columns_.count())
        setSelectedRun(nullptr);
    else
        hover_ = selected_ = nullptr;
    long start = R.left() - 200;
    if (start < 0)
        start = 0;
    long end = R.right() + 28;
    long U = scale_->firstUnit();
    start -= start % U;
    if (end % U)
        end += U - end % U;
    AChronoColumnArray kept;
    AChronoRange missing = columns_.missingRange(AChronoRange(start, end), kept);
    long lo = missing.first, hi = missing.second;
    linesLaidOut_ = 0;
    if (hi - lo > 0) {
        AViewMeasureLock measuring(view());
        lineLayer();
        long available = R.height() - bandHeight;
        long bottom = R.bottom() - bandHeight;
        ASegment* segment = model_->segmentAtPosition(lo);
        // Before the first line there is no segment: the walk starts at the first line.
        auto* lines = dynamic_cast<AChronoSegParser*>(model_->getSegParser());
        if (!segment && lines && lines->lineCount() > 0 && lo < lines->lineStart(0))
            segment = model_->segmentAtPosition(lines->lineStart(0));
        if (segment)
            segment->lock();
        // Lines past the wanted range cannot meet it: the walk stops there.
        while (segment && segment->getStart() < hi) {
            if (std::max(segment->getStart(), lo) < std::min(segment->getEnd(), hi)) {
                ADataRun* runs = buildRuns(segment, bottom, available);
                columns_.append(CheckAlloc(new (std::nothrow) AChronoColumn(segment, runs), "chrono", 1355));
                ++linesLaidOut_;
            }
            ASegment* next = model_->nextSegment(segment);
            if (next)
                next->lock();
            segment->unlock();
            segment = next;
        }
        if (segment)
            segment->unlock();
    }
    columns_.appendAll(kept);
    if (hover_ && !holdsRun(hover_))
        hover_ = nullptr;
}

// The runs of one event line. An event stands in the band of its category
// (four bands of a quarter of the virtual height), raised by its row (modulo
// the row cycle); the virtual height is scaled to the height above the band.
ADataRun* AChronoEventRenderer::buildRuns(ASegment* segment, long bottom, long available) {
    const long V = kVirtualHeight - bandHeight;
    const long H = V / 4;
    AChronoLayoutContext context(lineLayer(), view());
    ADataRun* head = nullptr;
    ADataRun* tail = nullptr;
    for (AFragment* f = segment->load(); f; f = segment->nextFragment(f)) {
        auto* event = dynamic_cast<AChronoFragment*>(f);
        if (!event)
            continue;
        long o = static_cast<int16_t>((event->row % kRowCycle) * kRowStep + event->category * H);
        long D = bottom - MulDiv(static_cast<int>(o), static_cast<int>(available), static_cast<int>(V));
        context.currentX = segment->getStart();
        ADataRun* previous = nullptr;
        while (ADataRun* run = event->nextDataRun(previous, false)) {
            if (tail)
                tail->next = run;
            else
                head = run;
            tail = run;
            run->measure(context);
            run->ascent -= D;
            previous = run;
        }
    }
    return head;
}

// --- drawing and hits

void AChronoEventRenderer::draw(const ARect& area) {
    if (!model_)
        return;
    layout();
    if (!lines_ || !display_)
        return;
    ARunDrawContext context(lines_, area);
    context.origin = APoint(0, 0);
    columns_.draw(area, context);
}

AHitRecord AChronoEventRenderer::hitRecordAt(const APoint& point) {
    AHitRecord hit;
    hit.point = point;
    if (!model_)
        return hit;
    ADataRun* run = columns_.runAt(point);
    if (!run)
        return hit;
    auto* event = dynamic_cast<AChronoFragment*>(run->getFragment());
    if (!event)
        ThrowAssert("chrono", 1563);
    ARect r = ChronoRunRect(run);
    event->rect[0] = r.left();
    event->rect[1] = r.top();
    event->rect[2] = r.right();
    event->rect[3] = r.bottom();
    hit.run = run;
    if (event->linkKind() & 0xFFF)
        hit.fragment = event;
    return hit;
}

uint16_t AChronoEventRenderer::hitCodeOf(AFragment* fragment, ADataRun*, long) {
    return fragment ? 1 : 0;
}

uint16_t AChronoEventRenderer::hitKindOf(AFragment* fragment, uint16_t) {
    return fragment && (fragment->linkKind() & 0xFFF) ? 1 : 3;
}

long AChronoEventRenderer::cursorKindOf(const AHitRecord& hit) {
    if (hit.kind != 3)
        return ARenderer::cursorKindOf(hit);
    if (interaction & ChronoBits::kDragMode)
        return 5;
    return (interaction & ChronoBits::kCrossMode) ? 4 : 0;
}

ACommand* AChronoEventRenderer::activateHit(const AHitRecord& hit) {
    if (hit.kind != 3)
        return ARenderer::activateHit(hit);
    setHitRecord(hit, true);
    return AComponent::noChangeCommand();
}

// --- hover and selection

void AChronoEventRenderer::setHoverRun(ADataRun* run) {
    if (run == hover_)
        return;
    if (hover_)
        hover_->onMouseLeave();
    hover_ = run;
    if (hover_)
        hover_->onMouseEnter();
}

void AChronoEventRenderer::setWindowShown(bool shown) {
    if (shown)
        return;
    setHoverRun(nullptr);
    setSelectedRun(nullptr);
}

void AChronoEventRenderer::setSelectedRun(ADataRun* run) {
    if (run == selected_)
        return;
    markRun(selected_, false);
    selected_ = run;
    markRun(selected_, true);
}

void AChronoEventRenderer::markRun(ADataRun* run, bool on) {
    if (!run)
        return;
    if (auto* event = dynamic_cast<AChronoFragment*>(run->getFragment()))
        event->setFlag(AChronoFragment::kSelected, on);
    view()->invalidateRect(ChronoRunRect(run));
}

void AChronoEventRenderer::showPosition(long position, long index) {
    if (scroller())
        scroller()->centerOn(APoint(int32_t(position), 0));
    if (index == -1)
        return;
    layout();
    ADataRun* found = columns_.runOfEvent(position, index);
    setSelectedRun(found ? found->next : nullptr);
}

// --- mouse

void AChronoEventRenderer::showCursor(long key) {
    shownCursor_ = cursorFor(key);
    showCursorId(shownCursor_);
}

ACommand* AChronoEventRenderer::mouseMoved(AMouseEvent& event) {
    if (!model_)
        return AComponent::passThroughCommand();
    AHitRecord hit = finishHit(hitRecordAt(event.where));
    setHoverRun(hit.run);
    long kind = cursorKindOf(hit);
    showCursor(kind < 0 ? 0 : kind);
    return AComponent::noChangeCommand();
}

void AChronoEventRenderer::trackStart(ARendererTracker& tracker) {
    if (Passive(tracker, interaction))
        return;
    ARenderer::trackStart(tracker);
}

void AChronoEventRenderer::trackMove(ARendererTracker& tracker) {
    if (tracker.hit.kind == 3 && (interaction & ChronoBits::kDragMode)) {
        if (tracker.hasMoved() && scroller()) {
            APoint d = tracker.current().where - tracker.previous().where;
            scroller()->scrollBy(d.x, d.y);
        }
        return;
    }
    if (Passive(tracker, interaction))
        return;
    ARenderer::trackMove(tracker);
}

ACommand* AChronoEventRenderer::trackEnd(ARendererTracker& tracker) {
    if (Passive(tracker, interaction))
        return AComponent::noChangeCommand();
    return ARenderer::trackEnd(tracker);
}

void AChronoEventRenderer::trackPressed(ARendererTracker& tracker) {
    if (auto* event = dynamic_cast<AChronoFragment*>(tracker.hit.fragment))
        tracker.feedback = ARegion(ARect(int32_t(event->rect[0]), int32_t(event->rect[1]), int32_t(event->rect[2]),
                                         int32_t(event->rect[3])));
    else
        tracker.feedback = ARegion(ARect(tracker.startEvent().where, tracker.startEvent().where + APoint(1, 1)));
    tracker.inside = true;
    trackInside(tracker, true);
}

void AChronoEventRenderer::trackInside(ARendererTracker& tracker, bool inside) {
    long kind = cursorKindOf(tracker.hit);
    if (kind < 0)
        kind = 0;
    showCursor(inside ? kind | kPressed : kind);
}
