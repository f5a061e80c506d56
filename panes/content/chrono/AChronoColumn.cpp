// Columns of laid-out event lines and their ordered array.
#include "panes/content/chrono/AChronoColumn.h"

#include <algorithm>

#include "docengine/lines/ADataRun.h"
#include "docengine/model/ASegment.h"
#include "panes/content/chrono/AChronoDataRuns.h"

// --- column

AChronoColumn::AChronoColumn(ASegment* segment, ADataRun* runs) : segment_(segment), runs_(runs) {
    if (segment_)
        segment_->lock();
    setPosition(segment_ ? AChronoRange(segment_->getStart(), segment_->getEnd()) : AChronoRange(0, 0));
}

AChronoColumn::AChronoColumn(const AChronoRange& position, ADataRun* runs) : segment_(nullptr), runs_(runs) {
    setPosition(position);
}

AChronoColumn::~AChronoColumn() {
    delete runs_;
    if (segment_)
        segment_->unlock();
}

void AChronoColumn::setPosition(const AChronoRange& position) {
    position_ = position;
    computeExtent();
}

void AChronoColumn::computeExtent() {
    extent_ = position_;
    for (ADataRun* run = runs_; run; run = run->next) {
        extent_.first = std::min(extent_.first, run->x);
        extent_.second = std::max(extent_.second, run->x + run->width);
    }
}

bool AChronoColumn::overlaps(const AChronoRange& range) const {
    return std::max(extent_.first, range.first) < std::min(extent_.second, range.second);
}

ADataRun* AChronoColumn::runAt(const APoint& point) const {
    for (ADataRun* run = runs_; run; run = run->next)
        if (ChronoRunRect(run).contains(point))
            return run;
    return nullptr;
}

void AChronoColumn::draw(ARunDrawContext& context) {
    for (ADataRun* run = runs_; run; run = run->next)
        run->draw(context);
}

void AChronoColumnPointer::assign(AChronoColumn* column) {
    if (column)
        column->addRef();
    if (column_)
        column_->release();
    column_ = column;
}

// --- array

bool AChronoColumnArray::setRect(const ARect& rect) {
    if (rect == rect_)
        return false;
    if (rect.width() != rect_.width() || rect.height() != rect_.height()) {
        columns_.clear();
        built_ = AChronoRange(0, 0);
    }
    rect_ = rect;
    return true;
}

void AChronoColumnArray::clear() {
    columns_.clear();
    rect_ = ARect();
    built_ = AChronoRange(0, 0);
}

void AChronoColumnArray::appendAll(AChronoColumnArray& other) {
    for (long i = 0; i < other.count(); ++i)
        append(other.at(i));
    other.columns_.clear();
}

// The kept columns are those that meet the wanted range. When the first
// column starts after the wanted start, the new lines go in front of the kept
// ones (a move to the left) and the caller appends the kept ones after them;
// otherwise the kept ones stay and the missing part starts after the last of them.
AChronoRange AChronoColumnArray::missingRange(const AChronoRange& wanted, AChronoColumnArray& kept) {
    long lo = wanted.first, hi = wanted.second;
    bool backFill = true;
    long first = -1, last = -1;
    for (long i = 0; i < count(); ++i) {
        if (at(i)->overlaps(wanted)) {
            if (first < 0)
                first = i;
            last = i + 1;
        }
    }
    if (first == 0 && at(0)->position().first > lo) {
        backFill = false;
        hi = at(0)->position().first;
    }
    if (backFill && first >= 0)
        for (long i = first; i < last; ++i)
            lo = std::min(at(i)->position().second, hi);
    for (long i = first; first >= 0 && i < last; ++i)
        kept.append(at(i));
    columns_.clear();
    if (backFill)
        appendAll(kept);
    return AChronoRange(lo, hi);
}

ADataRun* AChronoColumnArray::runAt(const APoint& point) const {
    for (long i = 0; i < count(); ++i) {
        AChronoColumn* column = at(i);
        if (!column->containsX(point.x))
            continue;
        if (ADataRun* run = column->runAt(point))
            return run;
    }
    return nullptr;
}

ADataRun* AChronoColumnArray::runOfEvent(long position, long index) const {
    for (long i = 0; i < count(); ++i) {
        AChronoColumn* column = at(i);
        if (column->position().first > position)
            return nullptr;
        if (column->position().first != position)
            continue;
        AFragment* previous = nullptr;
        for (ADataRun* run = column->runs(); run; run = run->next) {
            if (run != column->runs() && run->getFragment() != previous)
                --index;
            previous = run->getFragment();
            if (index == 0)
                return run;
            if (index < 0)
                return nullptr;
        }
        return nullptr;
    }
    return nullptr;
}

void AChronoColumnArray::draw(const ARect& area, ARunDrawContext& context) {
    AChronoRange span(area.left(), area.right());
    for (long i = 0; i < count(); ++i)
        if (at(i)->overlaps(span))
            at(i)->draw(context);
}

AChronoRange AChronoColumnArray::unbuilt(const AChronoRange& wanted) const {
    if (built_.second <= built_.first)
        return wanted;
    if (wanted.first < built_.first)
        return AChronoRange(wanted.first, std::min(wanted.second, built_.first));
    return AChronoRange(std::max(wanted.first, built_.second), wanted.second);
}

void AChronoColumnArray::markBuilt(const AChronoRange& range) {
    if (built_.second <= built_.first)
        built_ = range;
    else
        built_ = AChronoRange(std::min(built_.first, range.first), std::max(built_.second, range.second));
}
