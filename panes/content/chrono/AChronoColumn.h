// Laid-out event lines of the chronology: a column is one line's segment and
// the chain of runs of its events; the column array is the ordered set of
// columns that covers one stretch of the time axis, with the view rectangle
// it was built for.
//
// A column is shared (ARefObj): it holds its segment locked and owns its run
// chain. The array holds one reference per element. Positions and extents are
// x pixels of the time axis; a run covers [x, x + width).
#pragma once

#include <utility>

#include "base/object/ARandomArray.h"
#include "base/object/ARect.h"
#include "base/object/ARefObj.h"

class ADataRun;
class ARunDrawContext;
class ASegment;

typedef std::pair<long, long> AChronoRange;

class AChronoColumn : public ARefObj {
public:
    // Locks the segment (may be null) and takes its range as the position; owns runs.
    AChronoColumn(ASegment* segment, ADataRun* runs);
    AChronoColumn(const AChronoRange& position, ADataRun* runs);
    ~AChronoColumn() override;
    AChronoColumn(const AChronoColumn&) = delete;
    AChronoColumn& operator=(const AChronoColumn&) = delete;

    void setPosition(const AChronoRange& position);
    const AChronoRange& position() const { return position_; }
    const AChronoRange& extent() const { return extent_; }
    bool containsX(long x) const { return extent_.first <= x && x <= extent_.second - 1; }
    bool overlaps(const AChronoRange& range) const;
    // The first run of the chain whose rectangle holds the point, or null.
    ADataRun* runAt(const APoint& point) const;
    void draw(ARunDrawContext& context);
    ADataRun* runs() const { return runs_; }
    ASegment* segment() const { return segment_; }

private:
    void computeExtent();

    ASegment* segment_;  // locked, or null
    ADataRun* runs_;     // owned chain
    AChronoRange position_;
    AChronoRange extent_;
};

// One element of the array: a counted reference to a column, or none.
class AChronoColumnPointer {
public:
    AChronoColumnPointer() = default;
    explicit AChronoColumnPointer(AChronoColumn* column) { assign(column); }
    AChronoColumnPointer(const AChronoColumnPointer& other) { assign(other.column_); }
    AChronoColumnPointer& operator=(const AChronoColumnPointer& other) {
        assign(other.column_);
        return *this;
    }
    ~AChronoColumnPointer() { assign(nullptr); }
    AChronoColumn* get() const { return column_; }

private:
    void assign(AChronoColumn* column);
    AChronoColumn* column_ = nullptr;  // one reference held
};

class AChronoColumnArray {
public:
    AChronoColumnArray() = default;
    AChronoColumnArray(const AChronoColumnArray&) = delete;
    AChronoColumnArray& operator=(const AChronoColumnArray&) = delete;

    long count() const { return columns_.count(); }
    // The column at index, or null beyond the count.
    AChronoColumn* at(long index) const { return columns_.at(index).get(); }
    // Holds a reference on the column.
    void append(AChronoColumn* column) { columns_.append(AChronoColumnPointer(column)); }
    // False when the rectangle is the cached one; a new width or height first releases every column.
    bool setRect(const ARect& rect);
    const ARect& rect() const { return rect_; }
    // The part of wanted that no column covers; the overlapping columns are
    // set aside into kept, and appended back at once when the part lies after them.
    AChronoRange missingRange(const AChronoRange& wanted, AChronoColumnArray& kept);
    // Appends other's columns in order, then empties other.
    void appendAll(AChronoColumnArray& other);
    // Releases every column; the cached rectangle and built range become empty.
    void clear();
    void releaseColumns() { columns_.clear(); }
    ADataRun* runAt(const APoint& point) const;
    // The run of event index of the line starting at position (picture run), or null.
    ADataRun* runOfEvent(long position, long index) const;
    // Draws the columns meeting [area left, area right), in order.
    void draw(const ARect& area, ARunDrawContext& context);

    // The stretch of positions already built (background runs): the part of
    // wanted outside it, and the union after a build.
    AChronoRange unbuilt(const AChronoRange& wanted) const;
    void markBuilt(const AChronoRange& range);

private:
    ARandomArray<AChronoColumnPointer, 10> columns_;
    ARect rect_;
    AChronoRange built_{0, 0};
};
