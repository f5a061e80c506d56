// Point and rectangle arithmetic.
#include "base/object/ARect.h"

#include <windows.h>

const APoint kOriginPoint(0, 0);
const ARect kEmptyRect(0, 0, 0, 0);
const ARect kWholePlane(-32768, -32768, 32767, 32767);

namespace {

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// One axis of fitInside: lo/hi the rectangle's ends, blo/bhi the bounds'.
void FitAxis(int32_t& lo, int32_t& hi, int32_t blo, int32_t bhi) {
    int32_t w = hi - lo;
    if (w > bhi - blo) {
        lo = blo;
        hi = bhi;
    } else if (lo > blo) {
        if (hi >= bhi) {
            lo = bhi - w;
            hi = bhi;
        }
    } else {
        lo = blo;
        hi = lo + w;
    }
}

}  // namespace

APoint APoint::min(const APoint& a, const APoint& b) {
    return APoint(a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y);
}

APoint APoint::max(const APoint& a, const APoint& b) {
    return APoint(a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y);
}

void APoint::clampTo(const ARect& r) {
    x = Clamp(x, r.first.x, r.second.x);
    y = Clamp(y, r.first.y, r.second.y);
}

APoint APoint::clampedTo(const ARect& r) const {
    APoint p = *this;
    p.clampTo(r);
    return p;
}

void APoint::scale(const APoint& num, const APoint& den) {
    if (num.x != den.x)
        x = MulDiv(x, num.x, den.x);
    if (num.y != den.y)
        y = MulDiv(y, num.y, den.y);
}

APoint APoint::scaled(const APoint& num, const APoint& den) const {
    APoint p = *this;
    p.scale(num, den);
    return p;
}

int ARect::outcode(const APoint& p) const {
    int code = 0;
    if (p.x < first.x)
        code |= 1;
    else if (p.x >= second.x)
        code |= 2;
    if (p.y < first.y)
        code |= 4;
    else if (p.y >= second.y)
        code |= 8;
    return code;
}

void ARect::scale(const APoint& num, const APoint& den) {
    first.scale(num, den);
    second.scale(num, den);
}

ARect ARect::scaled(const APoint& num, const APoint& den) const {
    ARect r = *this;
    r.scale(num, den);
    return r;
}

void ARect::intersect(const ARect& o) {
    first = APoint::max(first, o.first);
    second = APoint::min(second, o.second);
    if (second.x < first.x || second.y < first.y)
        *this = kEmptyRect;
}

void ARect::unite(const ARect& o) {
    first = APoint::min(first, o.first);
    second = APoint::max(second, o.second);
}

void ARect::adjustBy(const ARect& oldFrame, const ARect& newFrame) {
    APoint moved = newFrame.first - oldFrame.first;
    APoint resized(newFrame.width() - oldFrame.width(), newFrame.height() - oldFrame.height());
    first = first + moved;
    second = second + moved + resized;
}

void ARect::fitInside(const ARect& bounds) {
    if (first.x >= bounds.first.x && first.y >= bounds.first.y && second.x <= bounds.second.x &&
        second.y <= bounds.second.y)
        return;
    FitAxis(first.x, second.x, bounds.first.x, bounds.second.x);
    FitAxis(first.y, second.y, bounds.first.y, bounds.second.y);
}
