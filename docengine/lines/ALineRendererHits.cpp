// The line renderer's hit records (points and positions to runs, lines above and below) and scrolling by anchors.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "docengine/lines/ALineRenderer.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"

// --- hit records

AHitRecord ALineRenderer::hitRecordAt(const APoint& point) {
    long px = point.x - frame_.first.x - margin;
    long y = point.y - frame_.first.y;
    long i = lineIndexAt(px, y);
    // Run positions count from their line's own x.
    return buildHitRecord(point, i < lines.count() ? px - lines.at(i)->x : px, i);
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
    if (run && run->getCell() && px >= run->x && px < run->right()) {
        // A click inside a table is answered by the cell under it.
        placeCells(line, APoint(static_cast<int32_t>(frame_.first.x + line->x + margin),
                                static_cast<int32_t>(frame_.first.y + line->top + line->baseline)));
        AHitRecord cellHit = run->getCell()->hitTest(point);
        // A row that links as a whole (a list's table row ending in "#name")
        // answers for its cells that have no link of their own.
        bool rowLinks = run->getFragment() && (run->getFragment()->linkKind() & 0xFFF);
        bool cellLinks = cellHit.fragment && (cellHit.fragment->linkKind() & 0xFFF);
        if (!cellHit.empty() && (cellLinks || !rowLinks))
            return cellHit;
    }
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

AEmbeddedRun* ALineRenderer::cellOfPosition(long position, ARect& box) {
    long px;
    ADataRun* run = nullptr;
    box = ARect();
    long i = lineOfPosition(position, px, -1, &run);
    if (i >= lines.count() || !run || !run->getCell())
        return nullptr;
    ALine* line = lines.at(i);
    placeCells(line, APoint(static_cast<int32_t>(frame_.first.x + line->x + margin),
                            static_cast<int32_t>(frame_.first.y + line->top + line->baseline)));
    box = run->getCell()->rectOfPosition(position);
    return box.second.y > box.first.y ? run->getCell() : nullptr;
}

// A position inside a table is the cell's: its record is made at the middle of the position's box there.
AHitRecord ALineRenderer::hitRecordOfPosition(long position, long localHint) {
    ARect box;
    if (AEmbeddedRun* cell = cellOfPosition(position, box)) {
        AHitRecord hit = cell->hitTest(APoint((box.first.x + box.second.x) / 2, (box.first.y + box.second.y) / 2));
        if (!hit.empty())
            return hit;
    }
    long px;
    long i = lineOfPosition(position, px, localHint, nullptr);
    if (i >= lines.count())
        return AHitRecord();
    ALine* line = lines.at(i);
    APoint point(static_cast<int32_t>(frame_.first.x + margin + line->x + px),
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
        if (lastLaidOutPosition() < model_->getPositionCount())
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
    long length = model_ ? model_->getPositionCount() : 0;
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
    // Lines and anchors count document positions: a closed section has none but its end.
    return model_ ? endAnchorFrom(into, model_->getPositionCount()) : AAnchor{0, 0};
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
    return relayoutLines(into, anchor.position, -anchor.offset, trim, keepInside);
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
            // The end anchor is found in the shown lines themselves, which it empties first: after
            // a change the model may have dropped their segments, and nothing laid out before may
            // be kept.
            markedRange = endAnchor(lines);
            anchorExtra = std::max(0L, model_->getPositionCount() - markedRange.position);
            if ((flags1 & LineFlags::kEndAnchorAtLastLine) && lines.count())
                markedRange = lines.anchorAtY(lines.last()->top);
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
