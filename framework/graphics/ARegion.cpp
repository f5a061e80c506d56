// Copy-on-write regions over pooled bodies that hold a GDI region.
#include "framework/graphics/ARegion.h"

#include <algorithm>
#include <new>
#include <vector>

#include "base/object/AFixedPool.h"
#include "base/procedural/AError.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/AUpdateWatch.h"

// A body whose area is one rectangle (or none) keeps the rectangle and makes
// its GDI region only when one is handed out: each region call costs about a
// tenth of a microsecond under Wine, and a scroll step made thirty of them.
struct ARegion::Body {
    int16_t refs;
    bool simple;      // the area is box
    bool rgnCurrent;  // rgn holds the area
    RECT box;         // GDI coordinates, normalised; all 0 when empty; valid when simple
    HRGN rgn;         // owned; may be null while simple
};

namespace {

AFixedPool* g_bodyPool = nullptr;  // 200 blocks a chunk
long g_liveBodies = 0;

const RECT kNoRect = {0, 0, 0, 0};

bool IsEmptyRect(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// The rectangle GDI would keep of (l, t, r, b): corners ordered, nothing when flat.
RECT Normalised(LONG l, LONG t, LONG r, LONG b) {
    RECT box = {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    return IsEmptyRect(box) ? kNoRect : box;
}

bool Holds(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The combination of two rectangles when it is a rectangle; false when it
// may not be (GDI then works it out).
bool CombineRects(const RECT& a, const RECT& b, int mode, RECT& out) {
    bool noA = IsEmptyRect(a), noB = IsEmptyRect(b);
    RECT both = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    if (IsEmptyRect(both))
        both = kNoRect;
    switch (mode) {
        case RGN_AND:
            out = both;
            return true;
        case RGN_OR:
        case RGN_XOR:
            if (noA || noB) {
                out = noA ? b : a;
                return true;
            }
            if (mode == RGN_XOR)
                return false;
            if (Holds(a, b) || Holds(b, a)) {
                out = Holds(a, b) ? a : b;
                return true;
            }
            if ((a.left == b.left && a.right == b.right && a.top <= b.bottom && b.top <= a.bottom) ||
                (a.top == b.top && a.bottom == b.bottom && a.left <= b.right && b.left <= a.right)) {
                out = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                       std::max(a.bottom, b.bottom)};
                return true;
            }
            return false;
        case RGN_DIFF:
            if (noA || IsEmptyRect(both)) {
                out = a;
                return true;
            }
            if (Holds(b, a)) {
                out = kNoRect;
                return true;
            }
            out = a;
            if (b.left <= a.left && a.right <= b.right) {
                if (b.top <= a.top)
                    out.top = b.bottom;
                else if (a.bottom <= b.bottom)
                    out.bottom = b.top;
                else
                    return false;
                return true;
            }
            if (b.top <= a.top && a.bottom <= b.bottom) {
                if (b.left <= a.left)
                    out.left = b.right;
                else if (a.right <= b.right)
                    out.right = b.left;
                else
                    return false;
                return true;
            }
            return false;
        default:
            return false;
    }
}

ARegion::Body* AllocBody(HRGN rgn, bool simple, const RECT& box) {
    void* p = AFixedPool::allocIn(&g_bodyPool, sizeof(ARegion::Body), 200, "fregion", 128);
    auto* body = static_cast<ARegion::Body*>(p);
    body->refs = 0;
    body->simple = simple;
    body->rgnCurrent = rgn != nullptr;
    body->box = box;
    body->rgn = rgn;
    ++g_liveBodies;
    return body;
}

ARegion::Body* NewBody(HRGN rgn, long line) {
    if (!rgn)
        CheckAlloc(static_cast<void*>(nullptr), "fregion", line);
    return AllocBody(rgn, false, kNoRect);
}

ARegion::Body* NewRectBody(const RECT& box) {
    return AllocBody(nullptr, true, box);
}

void SetBox(ARegion::Body* body, const RECT& box) {
    body->simple = true;
    body->rgnCurrent = false;
    body->box = box;
}

// After GDI wrote the area into rgn: a rectangle is remembered as one.
void TookRegion(ARegion::Body* body, int type) {
    body->rgnCurrent = true;
    body->simple = type == NULLREGION || (type == SIMPLEREGION && GetRgnBox(body->rgn, &body->box) == SIMPLEREGION);
    if (type == NULLREGION)
        body->box = kNoRect;
}

void ReleaseBody(ARegion::Body* body) {
    if (--body->refs > 0)
        return;
    if (body->rgn)
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

// The body's GDI region for GDI to write the area into (the caller then says what it holds).
HRGN Target(ARegion::Body* body, long line) {
    if (!body->rgn)
        body->rgn = CheckAlloc(EmptyRgn(), "fregion", line);
    return body->rgn;
}

// The body's GDI region holding its area, made or brought up to date.
HRGN Materialised(ARegion::Body* body, long line) {
    if (body->rgnCurrent)
        return body->rgn;
    const RECT& b = body->box;
    if (body->rgn)
        SetRectRgn(body->rgn, b.left, b.top, b.right, b.bottom);
    else
        body->rgn = CheckAlloc(CreateRectRgn(b.left, b.top, b.right, b.bottom), "fregion", line);
    body->rgnCurrent = true;
    return body->rgn;
}

bool LiveWindow(HWND window) {
    return window && IsWindow(window);
}

}  // namespace

long ARegion::liveBodies() {
    return g_liveBodies;
}

ARegion::ARegion() : body_(nullptr) {
    replaceBody(NewRectBody(kNoRect));
}

ARegion::ARegion(const APoint& offset, HRGN rgn) : body_(nullptr), offset_(offset) {
    RECT box;
    int type = rgn ? GetRgnBox(rgn, &box) : NULLREGION;
    if (type == COMPLEXREGION)
        replaceBody(NewBody(CopyRgn(rgn), 467));
    else
        replaceBody(NewRectBody(type == SIMPLEREGION ? Normalised(box.left, box.top, box.right, box.bottom) : kNoRect));
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
    if (body_->refs <= 1)
        return;
    if (!copy)
        replaceBody(NewRectBody(kNoRect));
    else if (body_->simple)
        replaceBody(NewRectBody(body_->box));
    else
        replaceBody(NewBody(CopyRgn(body_->rgn), line));
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
    replaceBody(NewRectBody(Normalised(0, 0, rect.width(), rect.height())));
    offset_ = rect.first;
}

void ARegion::setRect(const ARect& rect) {
    makeOwnBody(504, false);
    offset_ = rect.first;
    SetBox(body_, Normalised(0, 0, rect.width(), rect.height()));
}

void ARegion::alignTo(const APoint& target) {
    APoint d = offset_ - target;
    if (d == APoint(0, 0))
        return;
    makeOwnBody(562, true);
    offset_ = target;
    if (body_->simple) {
        RECT box = body_->box;
        if (!IsEmptyRect(box))
            OffsetRect(&box, d.x, d.y);
        SetBox(body_, box);
        return;
    }
    OffsetRgn(body_->rgn, d.x, d.y);
}

void ARegion::combine(const ARegion& other, int mode) {
    static const long kLines[] = {0, 207, 217, 227, 237};
    alignTo(other.offset_);
    RECT box;
    if (body_->simple && other.body_->simple && CombineRects(body_->box, other.body_->box, mode, box)) {
        makeOwnBody(kLines[mode], false);
        SetBox(body_, box);
        return;
    }
    Body* result = NewBody(EmptyRgn(), kLines[mode]);
    HRGN mine = Materialised(body_, kLines[mode]);
    HRGN theirs = Materialised(other.body_, kLines[mode]);
    TookRegion(result, CombineRgn(result->rgn, mine, theirs, mode));
    replaceBody(result);
}

bool ARegion::isEmpty() const {
    if (body_->simple)
        return IsEmptyRect(body_->box);
    RECT box;
    if (GetRgnBox(body_->rgn, &box) == NULLREGION)
        return true;
    return box.left == box.right || box.top == box.bottom;
}

bool ARegion::isRectangle() const {
    if (body_->simple)
        return !IsEmptyRect(body_->box);
    RECT box;
    return GetRgnBox(body_->rgn, &box) == SIMPLEREGION;
}

bool ARegion::contains(const APoint& gdiPoint) const {
    if (body_->simple) {
        const RECT& b = body_->box;
        return gdiPoint.x >= b.left && gdiPoint.x < b.right && gdiPoint.y >= b.top && gdiPoint.y < b.bottom;
    }
    return !isEmpty() && PtInRegion(body_->rgn, gdiPoint.x, gdiPoint.y);
}

void ARegion::bounds(ARect& out) const {
    RECT box = body_->box;
    if (!body_->simple)
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
    return Materialised(body_, 150);
}

void ARegion::fromUpdateRegion(const APoint& p, HWND window) {
    AInvalidationHold::flush(window);
    makeOwnBody(592, false);
    offset_ = APoint(0, 0) - p;
    int type = GetUpdateRgn(window, Target(body_, 592), FALSE);
    if (type == ERROR)
        SetBox(body_, kNoRect);
    else
        TookRegion(body_, type);
}

bool ARegion::fromClipRegion(const APoint& p, HDC dc) {
    makeOwnBody(577, false);
    offset_ = APoint(0, 0) - p;
    if (GetClipRgn(dc, Target(body_, 577)) != 1) {
        SetBox(body_, kNoRect);
        return false;
    }
    body_->simple = false;
    body_->rgnCurrent = true;
    return true;
}

void ARegion::shiftedCall(const APoint& p, void (*call)(HRGN, void*), void* arg) {
    AOriginShift shift(*this, p);
    call(handle(), arg);
}

void ARegion::selectClipAt(const APoint& p, HDC dc) {
    // Under MM_TEXT a logical move is a device move: the context moves its
    // own copy, and no region is copied to be moved (a shared body would be).
    if (GetMapMode(dc) == MM_TEXT) {
        APoint d = offset_ + p;
        if (SelectClipRgn(dc, handle()) != ERROR && (d.x || d.y))
            OffsetClipRgn(dc, d.x, d.y);
        return;
    }
    shiftedCall(
        p, [](HRGN rgn, void* a) { SelectClipRgn(static_cast<HDC>(a), rgn); }, dc);
}

void ARegion::validateAt(const APoint& p, HWND window) {
    if (!LiveWindow(window))
        ThrowAssert("fregion", 395);
    AInvalidationHold::flush(window);
    shiftedCall(
        p, [](HRGN rgn, void* a) { ValidateRgn(static_cast<HWND>(a), rgn); }, window);
}

namespace {

// The regions gathered while a hold lives, a window each.
struct Gathered {
    HWND window;
    HRGN region;
};
int gHoldDepth = 0;
std::vector<Gathered> gGathered;

std::vector<Gathered>::iterator GatheredFor(HWND window) {
    return std::find_if(gGathered.begin(), gGathered.end(), [window](const Gathered& g) { return g.window == window; });
}

void HandOver(Gathered& g) {
    if (IsWindow(g.window))
        InvalidateRgn(g.window, g.region, TRUE);
    DeleteObject(g.region);
}

}  // namespace

void ARegion::invalidateAt(const APoint& p, HWND window) {
    if (!LiveWindow(window))
        ThrowAssert("fregion", 410);
    AUpdateWatch::touch();
    if (gHoldDepth > 0) {
        auto it = GatheredFor(window);
        if (it == gGathered.end()) {
            // Without room to gather, the invalidation goes on its own.
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            try {
                if (region) {
                    gGathered.push_back({window, region});
                    it = gGathered.end() - 1;
                }
            } catch (const std::bad_alloc&) {
                DeleteObject(region);
            }
        }
        if (it != gGathered.end()) {
            shiftedCall(
                p, [](HRGN rgn, void* to) { CombineRgn(static_cast<HRGN>(to), static_cast<HRGN>(to), rgn, RGN_OR); },
                it->region);
            return;
        }
    }
    shiftedCall(
        p, [](HRGN rgn, void* a) { InvalidateRgn(static_cast<HWND>(a), rgn, TRUE); }, window);
}

AInvalidationHold::AInvalidationHold() {
    ++gHoldDepth;
}

AInvalidationHold::~AInvalidationHold() {
    if (--gHoldDepth > 0)
        return;
    std::vector<Gathered> all;
    all.swap(gGathered);
    for (Gathered& g : all)
        HandOver(g);
}

void AInvalidationHold::flush(HWND window) {
    auto it = GatheredFor(window);
    if (it == gGathered.end())
        return;
    Gathered g = *it;
    gGathered.erase(it);
    HandOver(g);
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
