// Plane geometry of layout and drawing: points and rectangles of signed 32-bit
// coordinates, passed by value. A rectangle's second corner is exclusive.
#pragma once

#include <cstdint>

struct ARect;

struct APoint {
    int32_t x;
    int32_t y;

    APoint() : x(0), y(0) {}
    APoint(int32_t px, int32_t py) : x(px), y(py) {}

    bool operator==(const APoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const APoint& o) const { return !(*this == o); }
    // True when both coordinates are smaller than the other's.
    bool isLessThan(const APoint& o) const { return x < o.x && y < o.y; }
    static APoint min(const APoint& a, const APoint& b);
    static APoint max(const APoint& a, const APoint& b);
    APoint operator+(const APoint& o) const { return APoint(x + o.x, y + o.y); }
    APoint operator-(const APoint& o) const { return APoint(x - o.x, y - o.y); }

    // Each coordinate limited to [first corner, second corner], both ends included.
    void clampTo(const ARect& r);
    APoint clampedTo(const ARect& r) const;
    // coordinate = MulDiv(coordinate, num, den) wherever num and den differ (rounded).
    void scale(const APoint& num, const APoint& den);
    APoint scaled(const APoint& num, const APoint& den) const;
};

struct ARect {
    APoint first;   // left, top
    APoint second;  // right, bottom (exclusive)

    ARect() = default;
    ARect(int32_t left, int32_t top, int32_t right, int32_t bottom) : first(left, top), second(right, bottom) {}
    ARect(const APoint& a, const APoint& b) : first(a), second(b) {}

    void set(int32_t left, int32_t top, int32_t right, int32_t bottom) { *this = ARect(left, top, right, bottom); }
    void setCorners(const APoint& a, const APoint& b) {
        first = a;
        second = b;
    }
    const APoint& firstCorner() const { return first; }
    const APoint& secondCorner() const { return second; }
    int32_t left() const { return first.x; }
    int32_t top() const { return first.y; }
    int32_t right() const { return second.x; }
    int32_t bottom() const { return second.y; }
    int32_t width() const { return second.x - first.x; }
    int32_t height() const { return second.y - first.y; }
    bool operator==(const ARect& o) const { return first == o.first && second == o.second; }
    bool operator!=(const ARect& o) const { return !(*this == o); }

    // True when the corners are in order (zero width or height allowed).
    bool isValid() const { return first.x <= second.x && first.y <= second.y; }
    bool contains(const APoint& p) const { return outcode(p) == 0; }
    // 1 left of, 2 at or right of the right edge, 4 above, 8 at or below the bottom.
    int outcode(const APoint& p) const;

    ARect operator+(const APoint& p) const { return ARect(first + p, second + p); }
    ARect minusPoint(const APoint& p) const { return ARect(first - p, second - p); }
    void scale(const APoint& num, const APoint& den);
    ARect scaled(const APoint& num, const APoint& den) const;

    // Overlap; the empty rectangle when the corners cross, a zero-width overlap is kept.
    void intersect(const ARect& o);
    // Smallest rectangle holding both (an empty rectangle counts as its corners).
    void unite(const ARect& o);
    // Follows a frame that moved and was resized from oldFrame to newFrame.
    void adjustBy(const ARect& oldFrame, const ARect& newFrame);
    // Slides (or, where it is larger, cuts) the rectangle into bounds.
    void fitInside(const ARect& bounds);
};

extern const APoint kOriginPoint;
extern const ARect kEmptyRect;
extern const ARect kWholePlane;  // (-32768, -32768) to (32767, 32767)
