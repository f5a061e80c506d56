// Lines, line references and the line array.
#include <algorithm>

#include "base/procedural/AError.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"

ALine::ALine(AFragmentRef* ref, ADataRun* firstRun, long docStart, long local)
    : runs(firstRun),
      localStart(local),
      localEnd(local),
      start(docStart),
      end(docStart),
      x(0),
      top(0),
      right(0),
      baseline(0),
      height(0),
      hasCells(0),
      hasBackground(0),
      background(RunColour::kNone),
      flags(0),
      fragmentRef_(ref) {
    if (!ref)
        ThrowAssert("glines", 58);
    ref->addRef();
    ASegment* seg = segment();
    if (docStart == -1 && local == -1) {
        start = seg ? seg->docStart() : 0;
        localStart = 0;
    } else if (docStart == -1) {
        start = seg ? seg->toDocument(local) : local;
    } else if (local == -1) {
        localStart = seg ? seg->fromDocument(docStart) : docStart;
    }
    end = start;
    localEnd = localStart;
}

ALine::~ALine() {
    delete runs;
    fragmentRef_->release();
}

void ALine::setGeometry(long newTop, long newBaseline, long descentAndPadding, long newRight, long newX) {
    top = newTop;
    baseline = newBaseline;
    height = newBaseline + descentAndPadding;
    right = newRight;
    x = newX;
}

ASegment* ALine::segment() const {
    return fragmentRef_->fragment() ? fragmentRef_->fragment()->segment() : nullptr;
}

uint16_t ALine::styleWord() const {
    return fragmentRef_->format().bits;
}

long ALine::xOfPosition(long localPosition, long dflt) const {
    if (localPosition < localStart)
        return 0;
    for (ADataRun* r = runs; r; r = r->getNext())
        if (localPosition >= r->start && localPosition < r->end)
            return r->x + r->xOfPosition(localPosition);
    if (localPosition < localEnd && runs) {
        ADataRun* r = runs;
        while (r->getNext() && r->getNext()->start <= localPosition)
            r = r->getNext();
        return r->x + r->xOfPosition(localPosition);
    }
    return dflt;
}

long ALine::positionAtX(ADataRun* run, long px) const {
    if (!run)
        return px > 0 ? localEnd : localStart;
    if (px < run->x)
        return run->start;
    // The nearest boundary: without the side flag a run answers the character
    // under x, one before the boundary when x falls exactly on it.
    int16_t atStart = 0;
    return run->positionAtX(px - run->x, &atStart);
}

ADataRun* ALine::runAtX(long px) const {
    ADataRun* r = runs;
    for (; r; r = r->getNext()) {
        if (r->x + r->width > px || !r->getNext())
            return r;
    }
    return nullptr;
}

void ALineRef::assign(ALine* line) {
    if (line)
        line->addRef();
    if (line_)
        line_->release();
    line_ = line;
}

ALine* ALineArray::at(long index) const {
    if (index < 0 || index >= count())
        ThrowAssert("glinearray", 40);
    return lines_[static_cast<size_t>(index)].get();
}

void ALineArray::resize() {
    long wanted = 20 * (count() / 20) + 20;
    if (wanted != capacity_) {
        lines_.reserve(static_cast<size_t>(wanted));
        capacity_ = wanted;
    }
}

void ALineArray::insertAt(ALine* line, long index) {
    if (index < 0 || index > count())
        ThrowAssert("glinearray", 60);
    if (index < count() && at(index)->start < line->start)
        ThrowAssert("glinearray", 62);
    lines_.insert(lines_.begin() + index, ALineRef(line));
    resize();
}

void ALineArray::removeRange(long from, long to) {
    if (from < 0 || from > to || to > count())
        ThrowAssert("glinearray", 70);
    lines_.erase(lines_.begin() + from, lines_.begin() + to);
    resize();
}

void ALineArray::clear() {
    lines_.clear();
    lines_.shrink_to_fit();
    capacity_ = -1;
}

void ALineArray::shiftAll(long dy) {
    for (ALineRef& ref : lines_)
        ref->top += dy;
}

long ALineArray::totalHeight() const {
    return lines_.empty() ? 0 : bottom() - firstTop();
}

long ALineArray::widest() const {
    long w = 0;
    for (const ALineRef& ref : lines_)
        w = std::max(w, ref->contentWidth());
    return w;
}

long ALineArray::indexAtY(long y) const {
    return firstBelow(y, 0);
}

long ALineArray::firstBelow(long y, long from) const {
    long low = std::max(0L, from), high = count();
    while (low < high) {
        long mid = (low + high) / 2;
        if (at(mid)->bottom() > y)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

long ALineArray::indexAtPoint(long px, long y, long from) const {
    long low = firstBelow(y, from);
    while (low < count() && at(low)->x + at(low)->right < px)
        ++low;
    return low;
}

long ALineArray::indexOfPosition(long position, long from) const {
    long low = std::max(0L, from), high = count();
    while (low < high) {
        long mid = (low + high) / 2;
        if (at(mid)->end > position)
            high = mid;
        else
            low = mid + 1;
    }
    while (low > 0 && low < count() && at(low - 1)->start == position && at(low - 1)->end == position)
        --low;
    return low;
}

AAnchor ALineArray::anchorAtY(long y) const {
    long i = indexAtY(y);
    if (i >= count())
        return AAnchor{0, 0};
    while (i > 0 && at(i - 1)->start == at(i)->start)
        --i;
    return AAnchor{at(i)->start, y - at(i)->top};
}
