// The line renderer: building, relayout, drawing, hit records, scrolling and view queries.
#include "docengine/lines/ALineRenderer.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/object/AError.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"

namespace {

const long kNoLimit = 0x7FFFFFFF;

// Keeps a segment locked for a scope.
class SegmentHold {
public:
    explicit SegmentHold(ASegment* s) : s_(s) {
        if (s_)
            s_->lock();
    }
    ~SegmentHold() {
        if (s_)
            s_->unlock();
    }
    SegmentHold(const SegmentHold&) = delete;
    SegmentHold& operator=(const SegmentHold&) = delete;

private:
    ASegment* s_;
};

bool SameSegment(ASegment* a, ASegment* b) {
    return a == b || (a && b && a->getStart() == b->getStart() && a->getEnd() == b->getEnd());
}

bool Overlaps(const ARect& a, const ARect& b) {
    return std::min(a.second.x, b.second.x) > std::max(a.first.x, b.first.x) &&
           std::min(a.second.y, b.second.y) > std::max(a.first.y, b.first.y);
}

}  // namespace

ALineRenderer::ALineRenderer(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display)
    : markedRange{0, 0},
      topAnchor{0, 0},
      layoutWidth(300),
      margin(5),
      lineSpacing(0),
      minLineHeight(0),
      anchorExtra(0),
      scrollDelta(0),
      scrollFlags(0),
      drawnOnce(0),
      cellHits(0),
      flags1(0),
      flags2(LineFlags::kMayLayout),
      defaultStyle(-1),
      defaultColour(-1),
      tabStyle(-1),
      minAscent(0),
      minDescent(0),
      colour(RunColour::kDisplayDefault),
      selectionColour(RunColour::kDisplayDefault),
      hasSelection(false),
      fitBitmaps(false),
      drawMode(0),
      drawnLines(0),
      model_(model),
      sheet_(sheet),
      display_(display),
      frame_(0, 0, 0, 0),
      viewScroll_(0) {
    if (model_) {
        model_->addRef();
        dependOn(model_);
    }
    if (sheet_)
        sheet_->addRef();
}

ALineRenderer::ALineRenderer(const ALineRenderer& other, long numerator, long denominator)
    : ALineRenderer(other.model_, other.sheet_, other.display_, other.frame_) {
    flags1 = other.flags1;
    flags2 = other.flags2;
    defaultStyle = other.defaultStyle;
    defaultColour = other.defaultColour;
    tabStyle = other.tabStyle;
    minAscent = other.minAscent;
    minDescent = other.minDescent;
    colour = other.colour;
    selectionColour = other.selectionColour;
    hasSelection = other.hasSelection;
    fitBitmaps = other.fitBitmaps;
    drawMode = other.drawMode;
    defaultFormat = other.defaultFormat;
    layoutWidth = other.layoutWidth;
    margin = other.margin;
    cellHits = other.cellHits;
    if (numerator != denominator && denominator != 0) {
        margin = MulDiv(margin, numerator, denominator);
        layoutWidth = MulDiv(layoutWidth, numerator, denominator);
        updateLayoutWidth();
    }
}

ALineRenderer::ALineRenderer(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display, const ARect& frame)
    : ALineRenderer(model, sheet, display) {
    frame_ = frame;
    layoutWidth = frame.second.x - frame.first.x - 10;
}

ALineRenderer::~ALineRenderer() {
    lines.clear();
    if (sheet_)
        sheet_->release();
    if (model_) {
        stopDependingOn(model_);
        model_->release();
    }
}

void ALineRenderer::changed(ADependable* source, long code, long) {
    if (source != static_cast<ADependable*>(model_) || code == 2 || !(flags2 & LineFlags::kMayLayout))
        return;
    // Lines of a changed model may show old text: a scroll (101) and a realignment (200) keep them.
    if (code != 101 && code != 200)
        lines.clear();
    layoutFrom(code == 201 ? 6 : code);
}

void ALineRenderer::setFrame(const ARect& frame) {
    frame_ = frame;
    updateLayoutWidth();
}

void ALineRenderer::updateLayoutWidth() {
    if (!(flags1 & LineFlags::kFixedLayoutWidth))
        layoutWidth = frame_.second.x - frame_.first.x - 2 * margin;
    if (layoutWidth < 1)
        layoutWidth = 300;
}

long ALineRenderer::heightLimit() const {
    return (flags2 & LineFlags::kWholeDocument) ? kNoLimit : viewHeight();
}

ASegment* ALineRenderer::segmentAt(long position) {
    return model_ ? model_->segmentAtPosition(position) : nullptr;
}

// --- building

long ALineRenderer::buildLines(ALineArray& into, ASegment* segment, long index, long& ioTop) {
    if (!segment)
        ThrowAssert("glines", 756);
    SegmentHold hold(segment);
    ARunLayoutContext context(this, nullptr);
    AFragment* fragment = segment->load();
    long limit = layoutWidth;
    if (limit <= 0)
        ThrowAssert("glines", 776);
    long inserted = 0;
    AFragmentRef* ref = nullptr;  // held
    ALine* open = nullptr;
    bool openLine = false;
    ADataRun* tail = nullptr;
    ADataRun* carried = nullptr;
    ADataRun* candidate = nullptr;
    ADataRun* pulled = nullptr;  // the last run a fragment gave, and where it ended then
    long pulledEnd = 0;
    long nextDoc = segment->docStart(), nextLocal = 0;
    // A damaged article cannot make this loop run without end: every pass
    // either consumes a carried run, pulls a new run or moves to the next fragment.
    auto startLine = [&](ADataRun* first) {
        if (!ref || open)
            ThrowAssert("glines", 805);
        open = new ALine(ref, first, nextDoc, nextLocal);
        into.insertAt(open, index + inserted);
        ++inserted;
        openLine = false;
    };
    auto closeLine = [&](bool overflow) {
        if (!open && openLine && ref)
            startLine(nullptr);
        if (open) {
            context.endLine(limit);
            finishLine(open, ioTop, (overflow || !context.justify) ? limit - context.currentX : 0);
            ioTop = open->bottom();
            nextDoc = open->end;
            nextLocal = open->localEnd;
            context.startLine();
            if (context.currentX >= limit)
                context.currentX = 0;
            candidate = nullptr;
            open = nullptr;
        }
        tail = nullptr;
    };
    try {
        while (fragment || carried) {
            ADataRun* run = nullptr;
            if (carried) {
                run = carried;
                carried = run->takeNext();
                context.runPlaced(run);
            } else {
                if (pulled) {
                    // a cut shortened the last run; the fragment goes on from where it ended
                    long cutEnd = pulled->end;
                    pulled->end = pulledEnd;
                    run = fragment->nextDataRun(pulled, context.justify != 0);
                    pulled->end = cutEnd;
                    if (run && run->end <= pulledEnd) {
                        // a damaged fragment that does not move on is left, never pulled from again
                        delete run;
                        run = nullptr;
                    }
                } else {
                    AFragmentRef* made = fragment->makeReference();
                    if (made) {
                        made->addRef();
                        closeLine(false);
                        if (ref)
                            ref->release();
                        ref = made;
                        ref->mergeFormat(defaultFormat);
                        context.setFragment(fragment, ref->format().bits);
                        openLine = true;
                        fragment = fragment->next();
                        continue;
                    }
                    run = fragment->nextDataRun(nullptr, context.justify != 0);
                }
                if (!run) {
                    fragment = fragment->next();
                    pulled = nullptr;
                    continue;
                }
                pulled = run;
                pulledEnd = run->end;
                if (!ref) {
                    // text before any paragraph (a damaged segment) is laid out in the default paragraph
                    ref = new AFragmentRef(defaultFormat, fragment);
                    ref->addRef();
                }
                if (context.fragment != fragment)
                    context.setFragment(fragment, ref->format().bits);
                run->measure(context);
                context.runAdded(run);
            }
            if (!open)
                startLine(run);
            else if (tail != run)
                tail->setNext(run);
            bool wraps = context.tabsActive && !context.truncationPending && !(ref->format().bits & ParaBits::kNoWrap);
            bool overflow = false;
            if (wraps && run->right() > limit) {
                overflow = true;
                ADataRun* rest = nullptr;
                if (run->canBreak() && run->breakAt(limit)) {
                    rest = run->takeNext();
                    context.currentX = run->right();
                } else if (candidate) {
                    context.currentX = candidate->x;
                    if (!candidate->breakAt(limit))
                        candidate->width = 0;
                    rest = candidate->takeNext();
                    context.currentX = candidate->right();
                } else if (run->forceBreakAt(limit)) {
                    rest = run->takeNext();
                    context.currentX = run->right();
                } else if (tail) {
                    context.currentX = run->x;
                    tail->takeNext();
                    rest = run;
                } else {
                    context.currentX = run->right();
                }
                if (rest) {
                    // the rest goes before whatever was already carried
                    ADataRun* last = rest;
                    while (last->getNext())
                        last = last->getNext();
                    last->setNext(carried);
                    carried = rest;
                }
            } else {
                if (run->canBreak())
                    candidate = run;
                context.currentX = run->right();
            }
            if (overflow) {
                closeLine(true);
            } else {
                tail = run;
                while (tail->getNext())
                    tail = tail->getNext();
            }
        }
        closeLine(false);
    } catch (...) {
        delete carried;
        if (ref)
            ref->release();
        throw;
    }
    if (ref)
        ref->release();
    if (inserted > 0) {
        ALine* last = into.at(index + inserted - 1);
        last->setEnds(segment->docEnd(), segment->fromDocument(segment->docEnd()));
    }
    return inserted;
}

void ALineRenderer::finishLine(ALine* line, long top, long freeWidth) {
    long ascent = minAscent, descent = minDescent;
    uint16_t style = line->styleWord();
    long shift = 0;
    bool justify = false;
    if (freeWidth > 0 && !(flags2 & LineFlags::kNoAlignment)) {
        if (style & ParaBits::kCentre)
            shift = freeWidth / 2;
        else if (style & ParaBits::kRight)
            shift = freeWidth;
        else if (style & ParaBits::kJustify)
            justify = true;
    }
    if (line->fragmentRef()->format().second != 0 && sheet_)
        line->background = sheet_->getColor(line->fragmentRef()->format().second);
    // 32-bit totals: 16-bit ones overflow on wide lines.
    int32_t total = 0;
    long lastEnd = -1, rightEdge = 0;
    for (ADataRun* r = line->runs; r; r = r->getNext()) {
        ascent = std::max(ascent, r->ascent);
        descent = std::max(descent, r->height - r->ascent);
        if (shift)
            r->x += shift;
        else if (justify && r->getNext())
            total += r->isBlank();
        lastEnd = r->end;
        rightEdge = r->right();
        if (r->getCell()) {
            line->hasCells = 1;
            line->hasBackground = 1;
        } else if (r->hasBackground()) {
            line->hasBackground = 1;
        }
    }
    if (ascent + descent == 0) {
        AStyleFont* font = sheet_ ? sheet_->getFont(0, 0) : nullptr;
        if (!font || !display_)
            ThrowAssert("glines", 970);
        ARunExtent e = display_->extent(font, " ", 1);
        ascent = e.ascent;
        descent = e.height - e.ascent;
    }
    if (justify && total != 0) {
        int32_t s = 0, given = 0;
        for (ADataRun* r = line->runs; r; r = r->getNext()) {
            r->x += given;
            int b = r->getNext() ? r->isBlank() : 0;
            if (b) {
                s += b;
                if (s <= total) {
                    int32_t share = static_cast<int32_t>(static_cast<int64_t>(s) * freeWidth / total);
                    r->setStretch(share - given + 0);
                    given = share;
                }
            }
        }
        rightEdge += given;
    }
    long padding = (ascent + descent < minLineHeight) ? minLineHeight - ascent - descent : 0;
    line->setGeometry(top, ascent, descent + padding + lineSpacing, rightEdge, 0);
    ASegment* segment = line->segment();
    if (lastEnd >= 0) {
        line->localEnd = lastEnd;
        line->end = segment ? segment->toDocument(lastEnd) : lastEnd;
    }
}

void ALineRenderer::realignLines() {
    flags2 = static_cast<uint16_t>(flags2 & ~LineFlags::kNoAlignment);
    for (long i = 0; i < lines.count(); ++i) {
        ALine* line = lines.at(i);
        if (!line->fragmentRef())
            ThrowAssert("glines", 1750);
        uint16_t style = line->styleWord();
        bool inner = i + 1 == lines.count() ||
                     (!(style & ParaBits::kNoWrap) && lines.at(i + 1)->fragmentRef() == line->fragmentRef());
        // lines laid out without alignment get it now, from their free width
        long free = (inner || !(style & ParaBits::kJustify)) ? layoutWidth - line->right : 0;
        finishLine(line, line->top, free);
    }
}

// --- incremental relayout

ASegment* ALineRenderer::shiftLines(ALineArray& into, long fromLine, long& ioBottom, long& ioIndex, long limit,
                                    bool stopAtLimit) {
    ASegment* last = nullptr;
    if (fromLine >= into.count())
        return last;
    long dy = ioBottom - into.at(fromLine)->top;
    long i = fromLine;
    for (; i < into.count(); ++i) {
        ALine* line = into.at(i);
        if (stopAtLimit && line->top + dy >= limit && !SameSegment(line->segment(), last))
            break;
        line->top += dy;
        ioBottom = line->bottom();
        last = line->segment();
    }
    ioIndex = i;
    return last;
}

long ALineRenderer::relayoutLines(ALineArray& into, long position, long top, bool trim, bool keepInside) {
    if (!model_) {
        into.clear();
        return 0;
    }
    long limit = heightLimit();
    if (flags2 & LineFlags::kWholeDocument)
        trim = false;
    long i = into.indexOfPosition(position, 0);
    long result = 0;
    auto appendAfter = [&](ASegment* from) {
        ASegment* seg = from ? model_->nextSegment(from) : nullptr;
        while (seg && into.bottom() < limit) {
            SegmentHold hold(seg);
            long y = into.bottom();
            buildLines(into, seg, into.count(), y);
            seg = model_->nextSegment(seg);
        }
    };
    if (i >= into.count()) {
        into.clear();
        if (limit == 0)
            return 0;
        ASegment* seg = segmentAt(position);
        long y = 0;
        bool first = true;
        while (seg) {
            SegmentHold hold(seg);
            buildLines(into, seg, into.count(), y);
            if (first && into.count()) {
                long k = std::min(into.indexOfPosition(position, 0), into.count() - 1);
                if (into.at(k)->start > position)
                    ThrowAssert("glines", 694);
                long d = top - into.at(k)->top;
                into.shiftAll(d);
                y += d;
                first = false;
            }
            if (y >= limit)
                break;
            seg = model_->nextSegment(seg);
        }
    } else if (position < into.at(i)->start) {
        ASegment* kept = into.at(i)->segment();
        ASegment* seg = segmentAt(position);
        long y = 0, ins = 0;
        bool first = true;
        if (limit > 0) {
            while (seg && !SameSegment(seg, kept) && (first || y < limit)) {
                SegmentHold hold(seg);
                ins += buildLines(into, seg, ins, y);
                if (first) {
                    long k = into.indexOfPosition(position, 0);
                    if (k >= ins)
                        ThrowAssert("glines", 610);
                    long d = top - into.at(k)->top;
                    for (long j = 0; j < ins; ++j)
                        into.at(j)->top += d;
                    y += d;
                    first = false;
                }
                seg = model_->nextSegment(seg);
            }
        }
        if (seg && SameSegment(seg, kept)) {
            long bottom = y, index = ins;
            ASegment* last = shiftLines(into, ins, bottom, index, limit, trim);
            if (trim)
                into.removeRange(index, into.count());
            appendAfter(last);
        } else {
            into.removeRange(ins, into.count());
        }
    } else {
        ASegment* seg = into.at(i)->segment();
        long f = 0;
        while (f < i && !SameSegment(into.at(f)->segment(), seg))
            ++f;
        if (trim && f > 0) {
            into.removeRange(0, f);
            i -= f;
        }
        result = top - into.at(i)->top;
        into.shiftAll(result);
        if (trim) {
            long k = into.indexAtY(limit);
            // whole segments only: keep to the end of the segment at the limit
            while (k < into.count() && k > 0 && SameSegment(into.at(k)->segment(), into.at(k - 1)->segment()))
                ++k;
            if (k < into.count())
                into.removeRange(k, into.count());
        }
        appendAfter(into.count() ? into.last()->segment() : nullptr);
    }
    if (keepInside && top == 0 && into.count()) {
        long k = into.indexOfPosition(position, 0);
        if (k < into.count()) {
            ALine* line = into.at(k);
            if (line->height > limit / 2 && line->length() >= 2) {
                long offset = (position - line->start) * line->height / line->length();
                if (offset == line->height)
                    offset -= 1;
                if (offset != 0)
                    result += relayoutFromAnchor(into, AAnchor{line->start, offset}, trim, false, true);
            }
        }
    }
    return result;
}

void ALineRenderer::resetLayout() {
    lines.clear();
    markedRange = AAnchor{0, 0};
    topAnchor = AAnchor{0, 0};
    drawnOnce = 0;
    scrollDelta = 0;
    scrollFlags = 0;
    pendingRegion = ARegion();
}

void ALineRenderer::layoutFrom(long code) {
    updateLayoutWidth();
    if (code == 200)
        realignLines();
    else
        relayoutAfterChange(code);
    flags2 |= LineFlags::kLaidOut;
}

long ALineRenderer::prependSegment(ALineArray& into) {
    if (!model_ || !into.count())
        return 0;
    ASegment* seg = model_->previousSegment(into.first()->segment());
    if (!seg || into.firstPosition() <= 0)
        return 0;
    SegmentHold hold(seg);
    long oldTop = into.firstTop();
    long y = 0;
    long n = buildLines(into, seg, 0, y);
    for (long j = 0; j < n; ++j)
        into.at(j)->top += oldTop - y;
    return n;
}

long ALineRenderer::appendSegment(ALineArray& into) {
    if (!model_ || !into.count())
        return 0;
    ASegment* seg = model_->nextSegment(into.last()->segment());
    if (!seg)
        return 0;
    SegmentHold hold(seg);
    long y = into.bottom();
    return buildLines(into, seg, into.count(), y);
}

bool ALineRenderer::hasMoreBelow() {
    return model_ && topAnchor.position < model_->getLength();
}

// --- drawing and hit records

void ALineRenderer::draw(const ARect& area) {
    ARunDrawContext context(this, area);
    ARect local(area.first.x - frame_.first.x, area.first.y - frame_.first.y, area.second.x - frame_.first.x,
                area.second.y - frame_.first.y);
    drawnLines = 0;
    for (long i = lines.indexAtY(local.first.y); i < lines.count(); ++i) {
        ALine* line = lines.at(i);
        if (line->top >= local.second.y)
            break;
        if ((flags1 & LineFlags::kClipLastLine) && line->bottom() > viewHeight() && line->top > 0) {
            display_->eraseRect(
                ARect(area.first.x, frame_.first.y + line->top, area.second.x, frame_.first.y + line->bottom()));
            break;
        }
        APoint origin(static_cast<int32_t>(frame_.first.x + margin + line->x),
                      static_cast<int32_t>(frame_.first.y + line->top + line->baseline));
        context.setLine(origin, line, line->baseline, line->height - line->baseline);
        if (!RunColour::isNone(line->background))
            display_->fillRect(
                ARect(area.first.x, frame_.first.y + line->top, area.second.x, frame_.first.y + line->bottom()),
                line->background);
        for (int pass = line->hasBackground ? 0 : 1; pass < 2; ++pass) {
            for (ADataRun* r = line->runs; r; r = r->getNext()) {
                ARect box = context.boxOf(r);
                if (box.first.x >= area.second.x)
                    break;
                if (!Overlaps(box, area) && r->width > 0)
                    continue;
                if (pass == 0)
                    r->drawBackground(context);
                else
                    r->draw(context);
            }
        }
        ++drawnLines;
    }
    drawnOnce = 1;
}

AHitRecord ALineRenderer::hitRecordAt(const APoint& point) {
    long px = point.x - frame_.first.x - margin;
    long y = point.y - frame_.first.y;
    return buildHitRecord(point, px, lines.indexAtY(y));
}

AHitRecord ALineRenderer::buildHitRecord(const APoint& point, long px, long index) {
    AHitRecord hit;
    if (index < 0 || index >= lines.count())
        return hit;
    ALine* line = lines.at(index);
    if ((flags1 & LineFlags::kClipLastLine) && line->bottom() > viewHeight() && line->top > 0) {
        hit.point = point;
        return hit;
    }
    px = std::min(px, line->right);
    ADataRun* run = line->runAtX(px);
    long local = line->positionAtX(run, px);
    if (run && local == run->end && run->getNext() && local != run->start)
        run = run->getNext();
    ASegment* segment = line->segment();
    hit.renderer = this;
    hit.point = point;
    hit.fragment = run ? run->getFragment() : line->fragmentRef()->fragment();
    hit.position = segment ? segment->toDocument(local) : local;
    hit.run = run;
    if (run)
        hit.origin = APoint(static_cast<int32_t>(frame_.first.x + line->x + margin),
                            static_cast<int32_t>(frame_.first.y + line->top + line->baseline));
    return hit;
}

long ALineRenderer::lineOfPosition(long position, long& xOut, long localHint, ADataRun** runOut) {
    xOut = 0;
    if (runOut)
        *runOut = nullptr;
    if (!model_ || !lines.count() || position < lines.firstPosition() || position > lines.lastPosition())
        return lines.count();
    long low = 0, high = lines.count();
    while (low < high) {
        long mid = (low + high) / 2;
        if (lines.at(mid)->end + 1 > position)
            high = mid;
        else
            low = mid + 1;
    }
    for (long i = low; i < lines.count(); ++i) {
        ALine* line = lines.at(i);
        ASegment* segment = line->segment();
        long local = localHint != -1 ? localHint : (segment ? segment->fromDocument(position) : position);
        if (local >= line->localStart && (local < line->localEnd || i + 1 == lines.count() ||
                                          lines.at(i + 1)->start > position || line->localEnd == line->localStart)) {
            xOut = line->xOfPosition(local, line->right);
            if (runOut)
                for (ADataRun* r = line->runs; r; r = r->getNext())
                    if (local >= r->start && local < r->end)
                        *runOut = r;
            return i;
        }
    }
    return lines.count();
}

AHitRecord ALineRenderer::hitRecordOfPosition(long position, long localHint) {
    long px;
    long i = lineOfPosition(position, px, localHint, nullptr);
    if (i >= lines.count())
        return AHitRecord();
    ALine* line = lines.at(i);
    APoint point(static_cast<int32_t>(frame_.first.x + margin + px),
                 static_cast<int32_t>(frame_.first.y + line->top + line->baseline));
    return buildHitRecord(point, px, i);
}

AHitRecord ALineRenderer::previousFragmentHit(const AHitRecord& hit) {
    for (long p = hit.position - 1; p >= 1; --p) {
        if (p < firstLaidOutPosition() && !prependSegment(lines))
            break;
        AHitRecord h = hitRecordOfPosition(p, -1);
        ASegment* segment = h.fragment ? h.fragment->segment() : nullptr;
        long fragmentStart = h.fragment ? h.fragment->textRange().start : 0;
        if (h.fragment && (segment ? segment->toDocument(fragmentStart) : fragmentStart) < hit.position)
            return h;
    }
    return AHitRecord();
}

AHitRecord ALineRenderer::hitAbove(const AHitRecord& place, long px) {
    long placeX;
    long i = lineOfPosition(place.position, placeX, -1, nullptr);
    if (px == -1)
        px = placeX;
    if (i == 0 && firstLaidOutPosition() > 0)
        i = prependSegment(lines);
    if (i >= lines.count() + 1)
        return AHitRecord();
    long j = i - 1;
    if (j < 0) {
        j = 0;
        px = 0;
    }
    if (j >= lines.count())
        return AHitRecord();
    ALine* line = lines.at(j);
    APoint point(static_cast<int32_t>(frame_.first.x + margin + line->x + px),
                 static_cast<int32_t>(frame_.first.y + line->top + line->baseline));
    return buildHitRecord(point, line->x + px, j);
}

AHitRecord ALineRenderer::hitBelow(const AHitRecord& place, long px) {
    long placeX;
    long i = lineOfPosition(place.position, placeX, -1, nullptr);
    if (px == -1)
        px = placeX;
    if (!model_ || i >= lines.count())
        return AHitRecord();
    long j = i + 1;
    if (j == lines.count()) {
        if (lastLaidOutPosition() < model_->getLength())
            appendSegment(lines);
        if (j == lines.count()) {
            j = i;
            px = lines.at(i)->x + lines.at(i)->right;
        }
    }
    ALine* line = lines.at(j);
    APoint point(static_cast<int32_t>(frame_.first.x + margin + px + line->x),
                 static_cast<int32_t>(line->top + line->baseline + frame_.first.y));
    return buildHitRecord(point, px + line->x, j);
}

AHitRecord ALineRenderer::nextFragmentHit(const AHitRecord& hit) {
    long length = model_ ? model_->getLength() : 0;
    for (long p = hit.position + 1; p <= length; ++p) {
        if (p > lastLaidOutPosition() && !appendSegment(lines))
            break;
        AHitRecord h = hitRecordOfPosition(p, -1);
        if (h.fragment && h.position > hit.position)
            return h;
    }
    return AHitRecord();
}

// --- scrolling

AAnchor ALineRenderer::lineDownAnchor(long n) {
    long half = viewHeight() / 2, m = std::min(half, 16L);
    long ia = lines.indexAtY(0);
    if (ia >= lines.count())
        return AAnchor::none();
    ALine* a = lines.at(ia);
    ALine* b = n > 1 ? lines.at(std::min(ia + n - 1, lines.count() - 1)) : a;
    long next = b->end == a->start ? b->end + 1 : b->end;
    if (b->bottom() - a->top >= half && m < b->bottom())
        return AAnchor{a->start, m - a->top};
    return AAnchor{next, 0};
}

AAnchor ALineRenderer::lineUpAnchor(long n) {
    long half = viewHeight() / 2, m = std::min(half, 16L);
    long ia = lines.indexAtY(0);
    if (ia >= lines.count())
        return AAnchor{0, 0};
    ALine* a = lines.at(ia);
    ALine* b = a;
    if (n > 1) {
        long index = ia - n + 1;
        while (index < 0) {
            long added = prependSegment(lines);
            if (!added)
                break;
            index += added;
        }
        b = lines.at(std::max(0L, index));
    }
    if (a->bottom() - b->top >= half && m <= -b->top)
        return AAnchor{b->start, -(m + b->top)};
    return AAnchor{b->start - 1, 0};
}

AAnchor ALineRenderer::pageDownAnchor() {
    long h = viewHeight(), m = std::min(h / 2, 16L);
    long i = lines.indexAtY(h - 1);
    if (i >= lines.count()) {
        if (!lines.count())
            return AAnchor::none();
        i = lines.count() - 1;
    }
    ALine* l = lines.at(i);
    if (l->top >= 1)
        return AAnchor{l->start, 0};
    if (h - m < l->bottom())
        return AAnchor{l->start, h - m - l->top};
    return AAnchor{l->end, 0};
}

AAnchor ALineRenderer::pageUpAnchor() {
    long h = viewHeight(), m = std::min(h / 2, 16L);
    long i = lines.indexAtY(0);
    if (i >= lines.count())
        return AAnchor{0, 0};
    ALine* l = lines.at(i);
    if (l->height > h) {
        if (h - m <= -l->top)
            return AAnchor{l->start, -((h - m) + l->top)};
        return lineUpAnchor(0);
    }
    return anchorByPixels(l->height - h);
}

AAnchor ALineRenderer::anchorByPixels(long dy) {
    while (lines.count() && lines.firstTop() > dy && prependSegment(lines)) {
    }
    while (lines.count() && lines.bottom() < dy && appendSegment(lines)) {
    }
    return lines.anchorAtY(dy);
}

AAnchor ALineRenderer::endAnchorFrom(ALineArray& into, long position) {
    if (!model_)
        return AAnchor{0, 0};
    into.clear();
    long p = position;
    long h = viewHeight();
    while (p - 1 >= 0) {
        relayoutLines(into, p - 1, 0, false, false);
        if (into.totalHeight() >= h) {
            into.shiftAll(h - into.bottom());
            if (flags1 & LineFlags::kClipLastLine) {
                long i = into.indexAtY(0);
                if (i < into.count() && into.at(i)->top < 0)
                    into.shiftAll(-into.at(i)->bottom());
            }
            return into.anchorAtY(0);
        }
        long first = into.firstPosition();
        if (first >= p)
            break;  // nothing earlier to lay out: never loop on a damaged model
        p = first;
    }
    return AAnchor{0, 0};
}

AAnchor ALineRenderer::endAnchor(ALineArray& into) {
    return model_ ? endAnchorFrom(into, model_->getLength()) : AAnchor{0, 0};
}

long ALineRenderer::relayoutFromAnchor(ALineArray& into, AAnchor anchor, bool trim, bool keepInside, bool clamp) {
    if (!model_)
        return 0;
    if (clamp) {
        if (anchor < AAnchor{0, 0})
            anchor = AAnchor{0, 0};
        if (markedRange < anchor)
            anchor = markedRange;
    }
    return relayoutLines(into, model_->sourceToPosition(anchor.position), -anchor.offset, trim, keepInside);
}

void ALineRenderer::rememberTop() {
    topAnchor = lines.anchorAtY(0);
    scrollDelta = firstVisiblePosition();
    scrollFlags = 0;
}

void ALineRenderer::relayoutAfterChange(long code) {
    if (!model_) {
        lines.clear();
        markedRange = topAnchor = AAnchor{0, 0};
        return;
    }
    long p = topAnchor.position;
    long waitingLength = 0;
    if (scrollDelta >= 0) {
        p = scrollDelta;
        scrollFlags = 0;
    } else {
        waitingLength = -scrollDelta;
    }
    if (!(flags2 & LineFlags::kWholeDocument)) {
        topAnchor = AAnchor{p, topAnchor.position == p ? topAnchor.offset : 0};
        if (code != 101) {
            ALineArray scratch;
            markedRange = endAnchor(scratch);
            anchorExtra = std::max(0L, model_->getLength() - markedRange.position);
            if ((flags1 & LineFlags::kEndAnchorAtLastLine) && scratch.count())
                markedRange = scratch.anchorAtY(scratch.last()->top);
        }
        if (topAnchor < AAnchor{0, 0})
            topAnchor = AAnchor{0, 0};
        if (markedRange < topAnchor)
            topAnchor = markedRange;
    } else {
        markedRange = topAnchor = AAnchor{0, 0};
        if (code != 101)
            lines.clear();
    }
    bool k = scrollFlags == 0;
    relayoutFromAnchor(lines, topAnchor, k, k, false);
    if (scrollFlags)
        showRangeRegion(p, p + waitingLength, scrollFlags);
    if (lines.count() && isAllLaidOut() && lines.totalHeight() < viewHeight()) {
        uint16_t v = lines.first()->styleWord() & ParaBits::kVertical;
        if (v & ParaBits::kVCentre)
            lines.shiftAll((viewHeight() - lines.totalHeight()) / 2);
        else if (v & ParaBits::kVBottom)
            lines.shiftAll(viewHeight() - lines.totalHeight());
    }
    rememberTop();
}

int ALineRenderer::scroll(long kind, long amount, long* changedOut, long* deltaOut) {
    if (!model_ || (flags2 & LineFlags::kWholeDocument))
        return 0;
    AAnchor anchor = topAnchor;
    switch (kind) {
        case 0:
            anchor = lineUpAnchor(amount ? amount : 1);
            break;
        case 1:
            anchor = lineDownAnchor(amount ? amount : 1);
            break;
        case 2:
            anchor = pageUpAnchor();
            break;
        case 3:
            anchor = pageDownAnchor();
            break;
        case 4:
            anchor = AAnchor{amount, 0};
            break;
        case 2000:
            anchor = anchorByPixels(amount);
            break;
        default:
            break;
    }
    if (anchor < AAnchor{0, 0})
        anchor = AAnchor{0, 0};
    if (markedRange < anchor)
        anchor = markedRange;
    if (changedOut)
        *changedOut = 0;
    if (deltaOut)
        *deltaOut = 0;
    if (anchor == topAnchor)
        return 1;
    long before = currentScrollValue();
    if (ALine* cut = cutBottomLine())
        pendingRegion = ARegion(bandOf(cut, 0));
    long changed = static_cast<int16_t>(relayoutFromAnchor(lines, anchor, true, true, false));
    if (changedOut)
        *changedOut = changed;
    // the view moves the rest of its picture and repaints only the cut bands
    if (ALine* cut = cutBottomLine())
        pendingRegion.unite(ARegion(bandOf(cut, -changed)));
    rememberTop();
    if (deltaOut)
        *deltaOut = currentScrollValue() - before;
    return 1;
}

void ALineRenderer::showRange(long start, long end, uint16_t showFlags) {
    if (end <= start)
        end = start + 1;
    if (!(flags2 & LineFlags::kLaidOut) || !isLaidOut(start)) {
        scrollFlags = showFlags ? static_cast<uint16_t>(showFlags | 0x8000) : 0;
        topAnchor = AAnchor{start, 0};
        scrollDelta = start - end;
        if (flags2 & LineFlags::kLaidOut)
            layoutFrom(101);
        return;
    }
    showRangeRegion(start, end, showFlags);
}

void ALineRenderer::showRangeRegion(long start, long end, uint16_t showFlags) {
    if (!isLaidOut(start))
        return;
    scrollRectIntoView(rangeRegion(start, end).ownerBounds(), showFlags);
}

long ALineRenderer::scrollRectIntoView(const ARect& rect, uint16_t showFlags) {
    const ARect& v = frame_;
    bool fits = (showFlags & 0x8000) ? false : isRectVisible(rect, false, true);
    uint16_t bits = static_cast<uint16_t>((showFlags >> 4) & 0xF);
    if (!bits || (fits && (bits & 0x8)))
        return 0;
    long dl = rect.first.y - v.first.y, dr = rect.second.y - v.second.y, d = 0;
    if (bits & 0x1)
        d = (dl + dr) >> 1;
    else if (bits & 0x2)
        d = dl;
    else if (bits & 0x4)
        d = dr;
    else if (dl >= 1 && dr >= 1)
        d = std::min(dl, dr);
    else if (dl < 0 && dr < 0)
        d = std::max(dl, dr);
    if (!d)
        return 0;
    if (flags2 & LineFlags::kWholeDocument) {
        viewScroll_ += d;
    } else {
        AAnchor a = anchorByPixels(d);
        relayoutFromAnchor(lines, a, true, false, true);
        rememberTop();
    }
    return d;
}

void ALineRenderer::scrollToPosition(long position) {
    if (!(flags2 & LineFlags::kLaidOut) || (flags1 & LineFlags::kQuietLayout)) {
        topAnchor = AAnchor{position, 0};
        scrollFlags = 0;
        scrollDelta = -1;
        return;
    }
    if (!(flags2 & LineFlags::kWholeDocument)) {
        long changed, delta;
        scroll(4, position, &changed, &delta);
        return;
    }
    long i = lines.indexOfPosition(position, 0);
    if (i >= lines.count())
        return;
    ALine* line = lines.at(i);
    long y = line->top + frame_.first.y;
    if (line->height && line->length())
        y += MulDiv(position - line->start, line->height, line->length());
    viewScroll_ = y;
}

void ALineRenderer::scrollToName(const char* text) {
    if (!text || !*text)
        return;
    long position = -1;
    if (isdigit(static_cast<unsigned char>(text[0])))
        position = strtol(text, nullptr, 10);
    else if (model_) {
        AFindAnchorFragment finder{AString(text)};
        position = model_->findPosition(&finder, 0, model_->getLength());
    }
    if (position != -1)
        scrollToPosition(position);
}

ALine* ALineRenderer::cutBottomLine() {
    if (!(flags1 & LineFlags::kClipLastLine))
        return nullptr;
    ALine* line = lineAtY(viewHeight(), true);
    return (line && line->top > 0 && line->bottom() > viewHeight()) ? line : nullptr;
}

ARect ALineRenderer::bandOf(ALine* line, long dy) const {
    return ARect(frame_.first.x, static_cast<int32_t>(frame_.first.y + line->top + dy), frame_.second.x,
                 static_cast<int32_t>(frame_.first.y + line->bottom() + dy));
}

ARegion ALineRenderer::pendingRegionCopy() const {
    return (flags1 & LineFlags::kClipLastLine) ? pendingRegion : ARegion();
}

// --- view queries

long ALineRenderer::scrollValueOf(AAnchor a, AAnchor reference) const {
    if (a.position == reference.position)
        return a.position + a.offset;
    if (a.position == 0 && a.offset != 0)
        return 1;
    return a.position;
}

long ALineRenderer::topLineLength() {
    if (flags2 & LineFlags::kWholeDocument)
        return -1;
    ALine* line = lineAtY(0, false);
    return line ? line->length() : 0;
}

long ALineRenderer::maxScrollValue() {
    if (flags2 & LineFlags::kWholeDocument)
        return -1;
    return scrollValueOf(markedRange, markedRange);
}

long ALineRenderer::scrollValue() {
    return (flags2 & LineFlags::kWholeDocument) ? -1 : currentScrollValue();
}

long ALineRenderer::pageLength() {
    return (flags2 & LineFlags::kWholeDocument) ? -1 : anchorExtra;
}

long ALineRenderer::currentScrollValue() {
    if (!(flags2 & LineFlags::kWholeDocument) && topAnchor.position == markedRange.position)
        return scrollValueOf(topAnchor, markedRange);
    return firstVisiblePosition();
}

long ALineRenderer::viewTopY() {
    return (flags2 & LineFlags::kWholeDocument) ? viewScroll_ - frame_.first.y : 0;
}

long ALineRenderer::viewBottomY() {
    return (flags2 & LineFlags::kWholeDocument) ? viewScroll_ - frame_.first.y + viewHeight() : viewHeight();
}

ALine* ALineRenderer::lineAtY(long y, bool fromBelow) {
    long i = lines.indexAtY(fromBelow ? y - 1 : y);
    if (i < lines.count())
        return lines.at(i);
    return (fromBelow && lines.count()) ? lines.last() : nullptr;
}

long ALineRenderer::positionAtY(long y, bool fromBelow) {
    ALine* l = lineAtY(y, fromBelow);
    if (!l)
        return 0;
    if (y <= l->top)
        return l->start;
    if (y >= l->bottom())
        return l->end;
    if (l->length() && l->height)
        return l->start + MulDiv(y - l->top, l->length(), l->height);
    return fromBelow ? l->start : l->end;
}

bool ALineRenderer::isAllLaidOut() {
    return model_ && lines.count() && firstLaidOutPosition() == 0 && lastLaidOutPosition() == model_->getLength();
}

bool ALineRenderer::isLaidOut(long position) const {
    return lines.count() && firstLaidOutPosition() <= position && position <= lastLaidOutPosition() - 1;
}

bool ALineRenderer::isRectVisible(const ARect& rect, bool horizontally, bool vertically) {
    ARect v(0, 0, frame_.second.x - frame_.first.x, viewHeight());
    v = ARect(v.first.x + frame_.first.x, v.first.y + frame_.first.y, v.second.x + frame_.first.x,
              v.second.y + frame_.first.y);
    auto inside = [](long a0, long a1, long v0, long v1) {
        return (a1 - a0 > v1 - v0) ? (a0 <= v0 && v1 <= a1) : (v0 <= a0 && a1 <= v1);
    };
    if (horizontally && !inside(rect.first.x, rect.second.x, v.first.x, v.second.x))
        return false;
    if (vertically && !inside(rect.first.y, rect.second.y, v.first.y, v.second.y))
        return false;
    return true;
}

bool ALineRenderer::isPositionVisible(long position, bool horizontally, bool vertically) {
    if (!isLaidOut(position))
        return false;
    return isRectVisible(rangeRegion(position, position + 1).ownerBounds(), horizontally, vertically);
}

long ALineRenderer::xInLine(ALine* line, long position, long local, long width) {
    ASegment* segment = line->segment();
    if (!segment)
        return 0;
    if (position >= segment->docStart() && position <= segment->docEnd() - 1) {
        if (local == -1)
            local = segment->fromDocument(position);
        return local > line->localStart ? line->xOfPosition(local, width) : 0;
    }
    return position >= segment->docEnd() ? width : 0;
}

ARegion ALineRenderer::runsRegion(ALine* line, long startPosition, long endPosition, long width) {
    ARegion region;
    long x0 = xInLine(line, startPosition, -1, width), x1 = xInLine(line, endPosition, -1, width);
    APoint origin(static_cast<int32_t>(frame_.first.x + margin), static_cast<int32_t>(frame_.first.y));
    for (ADataRun* r = line->runs; r; r = r->getNext()) {
        long a = std::max(r->x, x0), b = std::min(r->right(), x1);
        if (b < a + 1)
            b = a + 1;
        region.unite(
            ARegion(ARect(static_cast<int32_t>(origin.x + a), static_cast<int32_t>(origin.y + line->top),
                          static_cast<int32_t>(origin.x + b), static_cast<int32_t>(origin.y + line->bottom()))));
    }
    return region;
}

ARegion ALineRenderer::rangeRegion(long start, long end) {
    ARegion region;
    if (!lines.count() || start >= lastLaidOutPosition() || end <= firstLaidOutPosition())
        return region;
    long right = displayWidth() - margin;
    long i0 = start < firstLaidOutPosition() ? -1 : lines.indexOfPosition(start, 0);
    long i1 = end >= lastLaidOutPosition() ? lines.count() : lines.indexOfPosition(end, 0);
    long x0 = 0, x1 = right;
    ALine* l0 = lines.at(std::max(0L, i0));
    ALine* l1 = lines.at(std::min(i1, lines.count() - 1));
    if (i0 >= 0)
        x0 = xInLine(l0, start, -1, right);
    if (i1 < lines.count())
        x1 = xInLine(l1, end, -1, right);
    i0 = std::max(0L, i0);
    i1 = std::min(i1, lines.count() - 1);
    auto add = [&](long a, long b, long top, long bottom) {
        if (bottom > top)
            region.unite(ARegion(ARect(static_cast<int32_t>(a), static_cast<int32_t>(top), static_cast<int32_t>(b),
                                       static_cast<int32_t>(bottom))));
    };
    if (i0 < i1) {
        add(std::min(x0, right - 1), right, l0->top, l0->bottom());
        add(0, right, l0->bottom(), l1->top);
        add(0, std::max(x1, 1L), l1->top, l1->bottom());
    } else {
        add(x0, std::max(x1, x0 + 1), l0->top, l0->bottom());
    }
    region.offsetBy(APoint(static_cast<int32_t>(frame_.first.x + margin), static_cast<int32_t>(frame_.first.y)));
    return region;
}
