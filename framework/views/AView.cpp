// Scrolling, scroll keys, tracking and picture freezing of views.
#include "framework/views/AView.h"

#include <algorithm>
#include <cstdlib>

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AUpdateWatch.h"
#include "framework/views/AScroller.h"

SV_IMPLEMENT_CLASS(AView, 102, AAtomicItem)
SV_IMPLEMENT_CLASS(APanelView, 350, AView)

AView::AView(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
             const char* environment, uint16_t focusMode)
    : AAtomicItem(parent, id, rule, cursorId, idMode, environment, focusMode) {}

AView::~AView() {
    deletePicture();
}

void AView::readFrom(AMemoryStream& stream) {
    AAtomicItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fview", 81);
}

void AView::attachItems() {
    AAtomicItem::attachItems();
    if (AApp* app = AApp::current())
        appSetting_ = app->mouseSetting();
    if (scroller_ && scroller_->hasFlags(kTransparent))
        setTransparent(true);
    native_.reset(makeNativeWindow(0, getNaturalFrame()));
    if (native_) {
        setNativeWindow(CheckAlloc(native_->hwnd(), "fview", 98));
        computeWindowPosition(getDisplayParent());
    }
}

void AView::detachItems() {
    deletePicture();
    if (native_) {
        setNativeWindow(nullptr);
        native_.reset();
    }
    scroller_ = nullptr;
    autoScroller_.reset();
    AAtomicItem::detachItems();
}

void AView::windowActivated(int16_t on) {
    AAtomicItem::windowActivated(on);
    // Views marked for it show their frozen picture while inactive.
    if (itemFlags() & 0x0400)
        setLiveDrawing(on);
}

int32_t AView::maxScrollX() {
    return std::max<int32_t>(0, content_.x - getFrame().width());
}

int32_t AView::maxScrollY() {
    return std::max<int32_t>(0, content_.y - getFrame().height());
}

bool AView::scrollAxis(int16_t code, int32_t value, int32_t step, int32_t extent, int32_t max, bool lineCount,
                       bool vertical, int16_t& shift, int32_t& delta) {
    int32_t cur = vertical ? scroll_.y : scroll_.x;
    int32_t d = 0;
    switch (code) {
        case 0:
        case 1:
            d = lineCount && value != 0 ? std::max(step * value, extent - step) : step;
            if (code == 0)
                d = -d;
            break;
        case 2:
            d = -std::max(step, extent - step);
            break;
        case 3:
            d = std::max(step, extent - step);
            break;
        case 4:
            d = value - cur;
            break;
        default:
            break;
    }
    int64_t next = int64_t(cur) + d;
    if (next < 0)
        next = 0;
    if (next > max)
        next = max;
    scrollTo(vertical ? APoint(scroll_.x, int32_t(next)) : APoint(int32_t(next), scroll_.y));
    delta = int32_t(next) - cur;
    if (std::abs(delta) < extent) {
        shift = int16_t(-delta);
        return true;
    }
    shift = 0;
    return false;
}

bool AView::scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    return scrollAxis(code, value, verticalLineStep(), getFrame().height(), maxScrollY(), true, true, shift, delta);
}

bool AView::scrollHorizontally(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    return scrollAxis(code, value, horizontalLineStep(), getFrame().width(), maxScrollX(), false, false, shift, delta);
}

void AView::updateScrollers() {
    if (scroller_)
        scroller_->update();
}

void AView::scrollTo(const APoint& p) {
    APoint delta = p - scroll_;
    if (delta.x == 0 && delta.y == 0)
        return;
    scroll_ = p;
    excluded_.offsetBy(delta);
    shiftWindowPositions(APoint(0, 0) - delta, true, true);
}

namespace {

bool IsRect(const ARegion& region, const ARect& rect) {
    return region.isRectangle() && region.ownerBounds() == rect;
}

// True when the visible part of dc is one rectangle holding r (window
// coordinates), the common case; false may be wrong, true never is.
bool OnScreen(HDC dc, const RECT& r) {
    HRGN system = CreateRectRgn(0, 0, 0, 0);
    RECT box;
    POINT o = {0, 0};
    // The system region is in screen coordinates.
    bool whole = GetRandomRgn(dc, system, SYSRGN) == 1 && GetRgnBox(system, &box) == SIMPLEREGION &&
                 GetDCOrgEx(dc, &o) && box.left <= r.left + o.x && box.top <= r.top + o.y &&
                 box.right >= r.right + o.x && box.bottom >= r.bottom + o.y;
    DeleteObject(system);
    return whole;
}

// Moves the pixels of r (window coordinates of dc) by (dx, dy), less than
// its size, and answers what must be drawn again, in window coordinates.
// ScrollDC's own bookkeeping costs about 4 microseconds under Wine: when r is
// the whole clip and wholly on screen, a BitBlt moves the same pixels and a
// one-way move uncovers one band.
ARegion MovePixels(HDC dc, int dx, int dy, const RECT& r, bool wholeClip) {
    if (wholeClip && (dx == 0 || dy == 0) && OnScreen(dc, r)) {
        RECT to = {r.left + std::max(dx, 0), r.top + std::max(dy, 0), r.right + std::min(dx, 0),
                   r.bottom + std::min(dy, 0)};
        BitBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, dc, to.left - dx, to.top - dy, SRCCOPY);
        if (dx == 0)
            return ARegion(ARect(r.left, dy < 0 ? to.bottom : r.top, r.right, dy < 0 ? r.bottom : to.top));
        return ARegion(ARect(dx < 0 ? to.right : r.left, r.top, dx < 0 ? r.right : to.left, r.bottom));
    }
    HRGN uncovered = CreateRectRgn(0, 0, 0, 0);
    ScrollDC(dc, dx, dy, &r, &r, uncovered, nullptr);
    ARegion region(APoint(0, 0), uncovered);
    DeleteObject(uncovered);
    return region;
}

}  // namespace

void AView::doScroll(int16_t dx, int16_t dy) {
    if (!hasFlags(kVisible))
        return;
    if ((displayFlags() & (kTransparent | kDrawnThroughAncestor)) || (dx == 0 && dy == 0)) {
        redraw(false);
        return;
    }
    ARect local = getLocalBounds();
    bool excluding = !excluded_.isEmpty();
    ARegion clip;
    if (excluding) {
        clip.setRect(local);
        clip.subtract(excluded_);
    }
    // One lock moves the pixels and draws what they uncovered: each lock
    // takes and gives back a window context and its saved state. The clip
    // waits for the band, unless the view is cut (then it guides ScrollDC).
    ADeviceLock lock(this, excluding ? &clip : nullptr, false);
    if (!lock.display())
        return;
    bool whole = !excluding && IsRect(lock.lockRegion(), local);
    if (!whole)
        lock.reclip(lock.lockRegion());
    ARect w = getWindowBounds();
    RECT r = {w.left(), w.top(), w.right(), w.bottom()};
    ARegion repaint = MovePixels(lock.display()->dc(), dx, dy, r, whole);
    repaint.offsetBy(APoint(0, 0) - windowPosition());
    APoint shift(dx, dy);
    ARegion bounds;
    if (excluding) {
        bounds.setRect(local);
        ARegion moved(excluded_);
        moved.offsetBy(shift);
        moved.intersect(bounds);
        repaint.unite(moved);
        repaint.subtract(excluded_);
    }
    ARegion extra = updateRegion();
    if (!extra.isEmpty()) {
        bounds.setRect(local);
        extra.offsetBy(shift);
        extra.intersect(bounds);
        repaint.unite(extra);
    }
    // A pending repaint moves with the picture.
    HWND window = enclosingWindow();
    if (window && !AUpdateWatch::knownClean(window)) {
        ARegion pending;
        pending.fromUpdateRegion(windowPosition(), window);
        if (pending.isEmpty()) {
            AUpdateWatch::markClean(window);
        } else {
            bounds.setRect(local);
            pending.offsetBy(shift);
            pending.intersect(bounds);
            repaint.unite(pending);
        }
    }
    if (repaint.isEmpty())
        return;
    lock.reclip(repaint);
    draw(repaint);
}

int16_t AView::keyScrollFlags() {
    AItemCluster* cluster = owner() ? owner() : enclosingCluster();
    if (!cluster)
        return 5;
    if (cluster->currentItem())
        return 1;
    int n = 0;
    for (AClusterItem* item : cluster->items())
        if (item->itemFlags() & kTabStop)
            ++n;
    return n > 1 ? 1 : 5;
}

ACommand* AView::keyToCommand(AKeyEvent& event) {
    // Horizontal and vertical codes of the keys from Page Up (0x21) to Down (0x28).
    static const int16_t kCodes[8][2] = {{1000, 2}, {1000, 3}, {6, 7},    {6, 6},
                                         {0, 1000}, {1000, 0}, {1, 1000}, {1000, 1}};
    if (event.down && scroller_ && (keyScrollFlags() & 1) && hasFlags(kActive) && event.keyCode >= VK_PRIOR &&
        event.keyCode <= VK_DOWN) {
        const int16_t* c = kCodes[event.keyCode - VK_PRIOR];
        scroller_->scroll({c[0], 0}, {c[1], 0}, true);
        return noChangeCommand();
    }
    return AAtomicItem::keyToCommand(event);
}

ACommand* AView::trackRelease(AViewTracker& tracker) {
    (void)tracker;
    return noChangeCommand();
}

AScrollingTracker* AView::makeMouseTracker(AMouseEvent& event) {
    return CheckAlloc(new (std::nothrow) AViewTracker(this, event), "fview", 514);
}

void AView::makeTracker(const APoint& p, uint16_t a, uint16_t b) {
    setAutoScroller(CheckAlloc(new (std::nothrow) AEdgeScroller(this, p, a, b), "fview", 598));
}

void AView::setAutoScroller(AEdgeScroller* scroller) {
    if (scroller != autoScroller_.get())
        autoScroller_.reset(scroller);
}

void AView::refreshAutoScroller() {
    if (autoScroller_)
        autoScroller_->refresh();
}

ACommand* AView::mouseMoved(AMouseEvent& event) {
    if (autoScroller_ && autoScroller_->mouseMoved(event))
        return noChangeCommand();
    return AAtomicItem::mouseMoved(event);
}

void AView::mouseLeft() {
    if (autoScroller_)
        autoScroller_->stop();
    AAtomicItem::mouseLeft();
}

long AView::timerFired(uint16_t id, uint32_t now) {
    if (autoScroller_ && autoScroller_->ownsTimer(id))
        return autoScroller_->timerFired(id) ? 1 : 0;
    long answer = AScrollingTracker::timerOf(this, id);
    if (answer >= 0)
        return answer;
    return AAtomicItem::timerFired(id, now);
}

ACommand* AView::mouseDown(AMouseEvent& event) {
    if (isActiveTarget())
        becomeTarget();
    if (AScrollingTracker* tracker = makeMouseTracker(event))
        return tracker->mouseDown(event);
    return AAtomicItem::mouseDown(event);
}

void AView::setContentSize(const APoint& size) {
    content_ = size;
    scrollTo(APoint(std::min(scroll_.x, size.x), std::min(scroll_.y, size.y)));
}

long AView::frameChanged(const APoint& size) {
    updateScrollers();
    return AAtomicItem::frameChanged(size);
}

long AView::draw(const ARegion& region) {
    if (frozen_ && picture_) {
        AGraphicDisplay* display = ADisplayContext::instance().current();
        if (!display || !display->dc())
            ThrowAssert("fview", 543);
        // Recorded in window coordinates, where the frame still is.
        PlayMetaFile(display->dc(), picture_);
        return 1;
    }
    return AAtomicItem::draw(region);
}

void AView::setScroller(AScroller* scroller) {
    if (scroller == scroller_)
        return;
    scroller_ = scroller;
    if (scroller_)
        scroller_->update();
}

void AView::freezePicture() {
    if (frozen_)
        return;
    AMetafileLock lock(this);
    draw(ARegion(getLocalBounds()));
    pictureFrozen();
    frozen_ = 1;
    picture_ = lock.close();
}

void AView::thawPicture() {
    if (!frozen_)
        return;
    deletePicture();
    pictureThawed();
    frozen_ = 0;
}

// The window is made over the frame in the enclosing window's client area;
// none while that window has no native window yet to be its parent.
static ANativeViewWindow* MakeViewWindow(AView* view, DWORD style, const ARect& frame, long line) {
    ADisplayComponent* parent = view->getDisplayParent();
    HWND host = parent ? parent->enclosingWindow() : nullptr;
    if (!host)
        return nullptr;
    ARect rect = frame + parent->windowPosition();
    return CheckAlloc(new (std::nothrow) ANativeViewWindow(view, host, style, rect, view->hasFlags(AView::kShown)),
                      "fview", line);
}

ANativeViewWindow* AView::makeNativeWindow(DWORD style, const ARect& frame) {
    AComponent* c = this;
    while (c && !dynamic_cast<AWindow*>(c))
        c = c->getParent();
    auto* window = static_cast<AWindow*>(c);
    if (!window || !(window->windowFlags() & AWindow::kNoErase))
        return nullptr;
    return MakeViewWindow(this, style, frame, 636);
}

void AView::deletePicture() {
    if (picture_)
        DeleteMetaFile(picture_);
    picture_ = nullptr;
}

void APanelView::readFrom(AMemoryStream& stream) {
    AView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fview", 690);
}

void APanelView::attachItems() {
    AView::attachItems();
    setContentSize(getSize());
    if (scroller() && scroller()->getSize() != getSize())
        setSizeSpec(ASizeSpec::fill, false);
}

ANativeViewWindow* APanelView::makeNativeWindow(DWORD style, const ARect& frame) {
    (void)frame;
    return MakeViewWindow(this, style, getNaturalFrame(), 710);
}

void APanelView::doScroll(int16_t dx, int16_t dy) {
    (void)dx;
    (void)dy;
    if (hasFlags(kVisible))
        redraw(false);
}
