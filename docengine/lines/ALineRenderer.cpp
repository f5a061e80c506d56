// The line renderer: construction, model notices, frame, line building and incremental relayout.
#include "docengine/lines/ALineRenderer.h"

#include <windows.h>

#include <algorithm>

#include "base/procedural/AError.h"
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
      edgeEllipsis(0),
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
    edgeEllipsis = other.edgeEllipsis;
    minAscent = other.minAscent;
    minDescent = other.minDescent;
    colour = other.colour;
    selectionColour = other.selectionColour;
    hasSelection = other.hasSelection;
    fitBitmaps = other.fitBitmaps;
    bitmapSupplier = other.bitmapSupplier;
    imageStateSupplier = other.imageStateSupplier;
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
    long before = layoutWidth;
    if (!(flags1 & LineFlags::kFixedLayoutWidth))
        layoutWidth = frame_.second.x - frame_.first.x - 2 * margin;
    if (layoutWidth < 1)
        layoutWidth = 300;
    // Lines broken for the old width would be kept by the next relayout and run past the frame's edge.
    if (layoutWidth != before)
        lines.clear();
}

long ALineRenderer::heightLimit() const {
    return (flags2 & LineFlags::kWholeDocument) ? kNoLimit : viewHeight();
}

ASegment* ALineRenderer::segmentAt(long position) {
    return model_ ? model_->segmentAtPosition(position) : nullptr;
}

ASegment* ALineRenderer::nextRowSegment(ASegment* segment) {
    return model_->nextSegment(segment);
}

ASegment* ALineRenderer::previousRowSegment(ASegment* segment) {
    return model_->previousSegment(segment);
}

bool ALineRenderer::sameRow(ASegment* a, ASegment* b) {
    return SameSegment(a, b);
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
        if (stopAtLimit && line->top + dy >= limit && !sameRow(line->segment(), last))
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
        ASegment* seg = from ? nextRowSegment(from) : nullptr;
        while (seg && into.bottom() < limit) {
            SegmentHold hold(seg);
            long y = into.bottom();
            buildLines(into, seg, into.count(), y);
            seg = nextRowSegment(seg);
        }
    };
    if (i >= into.count()) {
        into.clear();
        if (limit == 0)
            return 0;
        ASegment* seg = rowStartSegment(segmentAt(position));
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
            seg = nextRowSegment(seg);
        }
    } else if (position < into.at(i)->start) {
        ASegment* kept = into.at(i)->segment();
        ASegment* seg = rowStartSegment(segmentAt(position));
        long y = 0, ins = 0;
        bool first = true;
        if (limit > 0) {
            while (seg && !sameRow(seg, kept) && (first || y < limit)) {
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
                seg = nextRowSegment(seg);
            }
        }
        if (seg && sameRow(seg, kept)) {
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
        while (f < i && !sameRow(into.at(f)->segment(), seg))
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
            while (k < into.count() && k > 0 && sameRow(into.at(k)->segment(), into.at(k - 1)->segment()))
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
    if (code == 200 && lines.count())  // a new width dropped the lines: nothing to realign
        realignLines();
    else
        relayoutAfterChange(code);
    flags2 |= LineFlags::kLaidOut;
}

long ALineRenderer::prependSegment(ALineArray& into) {
    if (!model_ || !into.count())
        return 0;
    ASegment* seg = previousRowSegment(into.first()->segment());
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
    ASegment* seg = nextRowSegment(into.last()->segment());
    if (!seg)
        return 0;
    SegmentHold hold(seg);
    long y = into.bottom();
    return buildLines(into, seg, into.count(), y);
}

bool ALineRenderer::hasMoreBelow() {
    return model_ && topAnchor.position < model_->getPositionCount();
}
