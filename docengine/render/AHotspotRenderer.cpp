// The hotspot renderer: the region list, outlines and marker, hit records,
// the three interaction modes and their cursors.
#include "docengine/render/AHotspotRenderer.h"

#include <windows.h>

#include <new>

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragmentArea.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/app/AApp.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/views/AScroller.h"

namespace {

const long kPressed = static_cast<long>(0x80000000UL);
const long kCrossCursor = 0x7F03;  // IDC_CROSS

// Keeps a segment locked for a scope.
class Locked {
public:
    explicit Locked(ASegment* s) : s_(s) { s_->lock(); }
    ~Locked() { s_->unlock(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    ASegment* s_;
};

ARect RectOf(const AFragmentArea* area) {
    const AAreaRect& r = area->rect();
    return ARect(int32_t(r.left), int32_t(r.top), int32_t(r.right), int32_t(r.bottom));
}

bool Meets(const ARect& a, const ARect& b) {
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// A press outside every region drags in pan and cross modes; elsewhere it is a click.
bool Drags(const ARendererTracker& tracker, uint16_t interaction, uint16_t modes) {
    return tracker.hit.kind == 3 && (interaction & modes);
}

}  // namespace

AHotspotRenderer::AHotspotRenderer(ADisplayComponent* view) : ARenderer(view, ARect(), nullptr) {
    setCursorTable();
    options |= RendererBits::kFitContent;
    interaction &= static_cast<uint16_t>(~HotspotBits::kCrossMode);
}

AHotspotRenderer::AHotspotRenderer(const AHotspotRenderer& source, const ARect& frame, long scaleX, long scaleY,
                                   ARenderer* parent)
    : ARenderer(source, frame, scaleX, scaleY, parent), pickMargin_(source.pickMargin_) {
    if (source.marker_)
        marker_.reset(new AImage(*source.marker_));
}

AHotspotRenderer::~AHotspotRenderer() {
    AFragmentArea::deleteList(regions_);
}

// The cursor of each hit kind, and its variant while the button is down.
void AHotspotRenderer::setCursorTable() {
    long view = viewDefaultCursor();
    setCursors(0, view, view);
    setCursors(1, 128, 228);
    setCursors(2, 130, 230);
    setCursors(3, 129, 229);
    setCursors(4, kCrossCursor, kCrossCursor);
    setCursors(5, 120, 120);
}

long AHotspotRenderer::viewDefaultCursor() {
    return view()->getCursor(0);
}

ARenderer* AHotspotRenderer::makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) {
    return CheckAlloc(new (std::nothrow) AHotspotRenderer(*this, frame, scaleX, scaleY, parent), "ghotspot", 140);
}

void AHotspotRenderer::setMarkerPicture(const AImageSpec& spec) {
    std::unique_ptr<AImage> picture(new AImage(spec));
    // Loaded first: a picture the reader refuses leaves the old marker.
    picture->body()->size();
    clearMarker();
    marker_ = std::move(picture);
}

// --- layout

// Segment 0 names the picture; each later segment holds one region.
void AHotspotRenderer::layoutFrom(long) {
    if (model_ && !regions_) {
        AFragmentArea* last = nullptr;
        ASegment* segment = model_->segmentAtPosition(0);
        bool first = true;
        while (segment) {
            Locked hold(segment);
            AFragment* fragment = first ? nullptr : segment->load();
            if (AFragmentArea* area = fragment ? fragment->makeArea() : nullptr) {
                if (last)
                    last->append(area);
                else
                    regions_ = area;
                last = area;
            }
            first = false;
            ASegment* next = model_->nextSegment(segment);
            // A segment that does not move forward would be walked for ever.
            segment = next && next->getStart() > segment->getStart() ? next : nullptr;
        }
    }
    if (view()->hasFlags(ADisplayComponent::kVisible) && !isDetached() &&
        (options & HotspotBits::kOutlines))
        view()->invalidate();
    setRelayoutAll(true);
}

void AHotspotRenderer::invalidateLayout() {
    AFragmentArea::deleteList(regions_);
    regions_ = nullptr;
    markerRect_ = ARect();
    ARenderer::invalidateLayout();
}

// --- drawing

void AHotspotRenderer::draw(const ARect& area) {
    AGraphicDisplay* display = ADisplayContext::drawableCurrent();
    if (!display)
        return;
    if (options & HotspotBits::kOutlines) {
        for (AFragmentArea* a = regions_; a; a = a->next()) {
            ARect r = RectOf(a);
            if (!Meets(r, area))
                continue;
            COLORREF colour = styleSheet()->getColor(a->fragment()->linkKind() & 0xFFF);
            if (display->foreColor() != colour)
                display->SetForeColor(colour);
            display->FrameRect(r, 1);
        }
    }
    if (marker_ && markerRect_.width() > 0 && markerRect_.height() > 0) {
        _AImage* picture = marker_->body();
        bool lit = (state & RendererBits::kHighlightDrawn) && picture->spec().columns() * picture->spec().rows() > 1;
        int frame = lit ? 1 : 0;
        picture->drawFrame(markerRect_, nullptr, frame, _AImage::kTransparent);
    }
}

void AHotspotRenderer::drawHighlight(bool) {
    if (markerRect_.width() > 0 && markerRect_.height() > 0)
        view()->invalidateRect(markerRect_);
}

void AHotspotRenderer::moveMarker(const APoint& point) {
    if (!marker_)
        return;
    AViewMeasureLock lock(view());
    APoint size = marker_->body()->frameSize();
    APoint corner(point.x - size.x / 2, point.y - size.y / 2);
    view()->invalidateRect(markerRect_);
    markerRect_ = ARect(corner, corner + size);
    view()->invalidateRect(markerRect_);
}

void AHotspotRenderer::clearMarker() {
    view()->invalidateRect(markerRect_);
    markerRect_ = ARect();
}

void AHotspotRenderer::showRegion(long, long count) {
    if (isDetached() || count < 1)
        return;
    if (!regions_)
        relayoutFrom(0, false);
    AFragmentArea* a = regions_;
    for (long i = 1; a && i < count; ++i)
        a = a->next();
    if (!a)
        return;
    const AAreaRect& r = a->rect();
    APoint centre(int32_t(r.left + (r.right - r.left) / 2), int32_t(r.top + (r.bottom - r.top) / 2));
    if (scroller())
        scroller()->centerOn(centre);
    if (marker_) {
        moveMarker(centre);
        return;
    }
    APoint screen = view()->localToScreen(centre);
    SetCursorPos(screen.x, screen.y);
    view()->redrawPendingUpdate();
}

// --- hits

AHitRecord AHotspotRenderer::hitRecordAt(const APoint& point) {
    AHitRecord hit;
    hit.point = point;
    for (AFragmentArea* a = regions_; a; a = a->next()) {
        if (RectOf(a).contains(point)) {
            if (a->fragment()->linkKind() & 0xFFF)
                hit.fragment = a->fragment();
            break;
        }
    }
    return hit;
}

uint16_t AHotspotRenderer::hitCodeOf(AFragment* fragment, ADataRun*, long) {
    return fragment ? 1 : 0;
}

uint16_t AHotspotRenderer::hitKindOf(AFragment* fragment, uint16_t) {
    return fragment && (fragment->linkKind() & 0xFFF) ? 1 : 3;
}

long AHotspotRenderer::cursorKindOf(const AHitRecord& hit) {
    if (hit.kind != 3)
        return ARenderer::cursorKindOf(hit);
    if (interaction & HotspotBits::kPanMode)
        return 5;
    return (interaction & HotspotBits::kCrossMode) ? 4 : 0;
}

ACommand* AHotspotRenderer::activateHit(const AHitRecord& hit) {
    if (hit.kind != 3)
        return ARenderer::activateHit(hit);
    setHitRecord(hit, true);
    return AComponent::noChangeCommand();
}

// --- mouse

void AHotspotRenderer::showCursor(long key) {
    shownCursor_ = cursorFor(key);
    showCursorId(shownCursor_);
}

ACommand* AHotspotRenderer::mouseMoved(AMouseEvent& event) {
    if (!model_)
        return AComponent::passThroughCommand();
    long kind = cursorKindOf(finishHit(hitRecordAt(event.where)));
    showCursor(kind < 0 ? 0 : kind);
    return AComponent::noChangeCommand();
}

void AHotspotRenderer::trackStart(ARendererTracker& tracker) {
    if (Drags(tracker, interaction, HotspotBits::kPanMode | HotspotBits::kCrossMode))
        return;
    ARenderer::trackStart(tracker);
}

void AHotspotRenderer::trackMove(ARendererTracker& tracker) {
    if (Drags(tracker, interaction, HotspotBits::kPanMode)) {
        if (tracker.hasMoved() && scroller()) {
            APoint d = tracker.current().where - tracker.startEvent().where;
            scroller()->scrollBy(d.x, d.y);
        }
        return;
    }
    if (Drags(tracker, interaction, HotspotBits::kCrossMode))
        return;
    ARenderer::trackMove(tracker);
}

ACommand* AHotspotRenderer::trackEnd(ARendererTracker& tracker) {
    if (Drags(tracker, interaction, HotspotBits::kPanMode | HotspotBits::kCrossMode))
        return AComponent::noChangeCommand();
    return ARenderer::trackEnd(tracker);
}

// The press keeps counting as a click while the pointer stays on its region,
// or, outside every region, within the pick margin of the press.
void AHotspotRenderer::trackPressed(ARendererTracker& tracker) {
    APoint p = tracker.startEvent().where;
    AHitRecord hit = hitRecordAt(p);
    std::unique_ptr<AFragmentArea> area(hit.fragment ? hit.fragment->makeArea() : nullptr);
    if (area)
        tracker.feedback = ARegion(RectOf(area.get()));
    else
        tracker.feedback = ARegion(ARect(int32_t(p.x - pickMargin_), int32_t(p.y - pickMargin_),
                                         int32_t(p.x + pickMargin_), int32_t(p.y + pickMargin_)));
    tracker.inside = true;
    trackInside(tracker, true);
}

void AHotspotRenderer::trackInside(ARendererTracker& tracker, bool pressed) {
    long kind = cursorKindOf(finishHit(hitRecordAt(tracker.current().where)));
    if (kind < 0)
        kind = 0;
    showCursor(pressed ? kind | kPressed : kind);
}
