// Copy-on-write regions over pooled bodies that hold a GDI region.
#include "framework/graphics/ARegion.h"

#include "base/object/AError.h"
#include "base/object/AFixedPool.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/AUpdateWatch.h"

struct ARegion::Body {
    int16_t refs;
    HRGN rgn;  // owned
};

namespace {

AFixedPool* g_bodyPool = nullptr;  // 8-byte blocks, 200 a chunk
long g_liveBodies = 0;

ARegion::Body* NewBody(HRGN rgn, long line) {
    if (!rgn)
        CheckAlloc(static_cast<void*>(nullptr), "fregion", line);
    void* p = AFixedPool::allocIn(&g_bodyPool, sizeof(ARegion::Body), 200, "fregion", 128);
    auto* body = static_cast<ARegion::Body*>(p);
    body->refs = 0;
    body->rgn = rgn;
    ++g_liveBodies;
    return body;
}

void ReleaseBody(ARegion::Body* body) {
    if (--body->refs > 0)
        return;
    DeleteObject(body->rgn);
    --g_liveBodies;
    AFixedPool::freeIn(&g_bodyPool, body);
}

HRGN EmptyRgn() {
    return CreateRectRgn(0, 0, 0, 0);
}

HRGN CopyRgn(HRGN from) {
    HRGN rgn = EmptyRgn();
    if (rgn && from)
        CombineRgn(rgn, from, nullptr, RGN_COPY);
    return rgn;
}

bool LiveWindow(HWND window) {
    return window && IsWindow(window);
}

}  // namespace

long ARegion::liveBodies() {
    return g_liveBodies;
}

ARegion::ARegion() : body_(nullptr) {
    replaceBody(NewBody(EmptyRgn(), 459));
}

ARegion::ARegion(const APoint& offset, HRGN rgn) : body_(nullptr), offset_(offset) {
    replaceBody(NewBody(CopyRgn(rgn), 467));
}

ARegion::ARegion(const ARegion& other) : body_(other.body_), offset_(other.offset_) {
    ++body_->refs;
}

ARegion::~ARegion() {
    ReleaseBody(body_);
}

void ARegion::replaceBody(Body* body) {
    ++body->refs;
    if (body_)
        ReleaseBody(body_);
    body_ = body;
}

void ARegion::makeOwnBody(long line, bool copy) {
    if (body_->refs > 1)
        replaceBody(NewBody(copy ? CopyRgn(body_->rgn) : EmptyRgn(), line));
}

void ARegion::assign(const ARegion& other) {
    if (other.body_ != body_) {
        ++other.body_->refs;
        ReleaseBody(body_);
        body_ = other.body_;
    }
    offset_ = other.offset_;
}

void ARegion::initFromRect(const ARect& rect) {
    replaceBody(NewBody(CreateRectRgn(0, 0, rect.width(), rect.height()), 483));
    offset_ = rect.first;
}

void ARegion::setRect(const ARect& rect) {
    makeOwnBody(504, false);
    offset_ = rect.first;
    SetRectRgn(body_->rgn, 0, 0, rect.width(), rect.height());
}

void ARegion::alignTo(const APoint& target) {
    APoint d = offset_ - target;
    if (d == APoint(0, 0))
        return;
    makeOwnBody(562, true);
    offset_ = target;
    OffsetRgn(body_->rgn, d.x, d.y);
}

void ARegion::combine(const ARegion& other, int mode) {
    static const long kLines[] = {0, 207, 217, 227, 237};
    alignTo(other.offset_);
    Body* result = NewBody(EmptyRgn(), kLines[mode]);
    CombineRgn(result->rgn, body_->rgn, other.body_->rgn, mode);
    replaceBody(result);
}

bool ARegion::isEmpty() const {
    RECT box;
    if (GetRgnBox(body_->rgn, &box) == NULLREGION)
        return true;
    return box.left == box.right || box.top == box.bottom;
}

bool ARegion::contains(const APoint& gdiPoint) const {
    return !isEmpty() && PtInRegion(body_->rgn, gdiPoint.x, gdiPoint.y);
}

void ARegion::bounds(ARect& out) const {
    RECT box;
    GetRgnBox(body_->rgn, &box);
    out.set(box.left, box.top, box.right, box.bottom);
}

ARect ARegion::ownerBounds() const {
    if (isEmpty())
        return kEmptyRect;
    ARect box;
    bounds(box);
    return box + offset_;
}

HRGN ARegion::handle() const {
    return body_->rgn;
}

void ARegion::fromUpdateRegion(const APoint& p, HWND window) {
    makeOwnBody(592, false);
    offset_ = APoint(0, 0) - p;
    GetUpdateRgn(window, body_->rgn, FALSE);
}

bool ARegion::fromClipRegion(const APoint& p, HDC dc) {
    makeOwnBody(577, false);
    offset_ = APoint(0, 0) - p;
    if (GetClipRgn(dc, body_->rgn) == 1)
        return true;
    SetRectRgn(body_->rgn, 0, 0, 0, 0);
    return false;
}

void ARegion::shiftedCall(const APoint& p, void (*call)(HRGN, void*), void* arg) {
    AOriginShift shift(*this, p);
    call(body_->rgn, arg);
}

void ARegion::selectClipAt(const APoint& p, HDC dc) {
    // Under MM_TEXT a logical move is a device move: the context moves its
    // own copy, and no region is copied to be moved (a shared body would be).
    if (GetMapMode(dc) == MM_TEXT) {
        APoint d = offset_ + p;
        if (SelectClipRgn(dc, body_->rgn) != ERROR && (d.x || d.y))
            OffsetClipRgn(dc, d.x, d.y);
        return;
    }
    shiftedCall(
        p, [](HRGN rgn, void* a) { SelectClipRgn(static_cast<HDC>(a), rgn); }, dc);
}

void ARegion::validateAt(const APoint& p, HWND window) {
    if (!LiveWindow(window))
        ThrowAssert("fregion", 395);
    shiftedCall(
        p, [](HRGN rgn, void* a) { ValidateRgn(static_cast<HWND>(a), rgn); }, window);
}

void ARegion::invalidateAt(const APoint& p, HWND window) {
    if (!LiveWindow(window))
        ThrowAssert("fregion", 410);
    AUpdateWatch::touch();
    shiftedCall(
        p, [](HRGN rgn, void* a) { InvalidateRgn(static_cast<HWND>(a), rgn, TRUE); }, window);
}

namespace {

struct PaintArgs {
    HDC dc;
    HBRUSH brush;
    bool frame;
};

APoint WindowPosition(AGraphicDisplay& display) {
    ADisplaySite* site = display.site();
    return site ? site->originInWindow() : APoint(0, 0);
}

}  // namespace

void ARegion::frameOn(AGraphicDisplay& display) {
    if (!display.isDrawable())
        ThrowAssert("fregion", 416);
    PaintArgs args{display.dc(), SolidBrush(display.resolvedForeColor()), true};
    shiftedCall(
        WindowPosition(display),
        [](HRGN rgn, void* a) {
            auto* pa = static_cast<PaintArgs*>(a);
            FrameRgn(pa->dc, rgn, pa->brush, 1, 1);
        },
        &args);
}

void ARegion::fillOn(AGraphicDisplay& display, HBRUSH brush) {
    if (!display.isDrawable())
        ThrowAssert("fregion", 427);
    PaintArgs args{display.dc(), brush, false};
    shiftedCall(
        WindowPosition(display),
        [](HRGN rgn, void* a) {
            auto* pa = static_cast<PaintArgs*>(a);
            FillRgn(pa->dc, rgn, pa->brush);
        },
        &args);
}

void ARegion::fillOn(AGraphicDisplay& display) {
    fillOn(display, SolidBrush(display.resolvedForeColor()));
}
