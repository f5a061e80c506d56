// The line renderer's drawing and view queries (visible range, laid-out range, regions of a range).
#include <windows.h>

#include <algorithm>

#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/ASegment.h"

namespace {

bool Overlaps(const ARect& a, const ARect& b) {
    return std::min(a.second.x, b.second.x) > std::max(a.first.x, b.first.x) &&
           std::min(a.second.y, b.second.y) > std::max(a.first.y, b.first.y);
}

}  // namespace

// --- drawing

void ALineRenderer::draw(const ARect& area) {
    ARunDrawContext context(this, area);
    ARect local(area.first.x - frame_.first.x, area.first.y - frame_.first.y, area.second.x - frame_.first.x,
                area.second.y - frame_.first.y);
    drawnLines = 0;
    // Lines side by side are not ordered by their tops: each is tested.
    bool sideBySide = linesSideBySide();
    for (long i = sideBySide ? 0 : lines.indexAtY(local.first.y); i < lines.count(); ++i) {
        ALine* line = lines.at(i);
        if (sideBySide && (line->top >= local.second.y || line->bottom() <= local.first.y))
            continue;
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
        if (line->hasCells)
            placeCells(line, origin);
        drawLineBackground(line, origin, area);
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

void ALineRenderer::drawLineBackground(ALine* line, const APoint&, const ARect& area) {
    if (!RunColour::isNone(line->background))
        display_->fillRect(
            ARect(area.first.x, frame_.first.y + line->top, area.second.x, frame_.first.y + line->bottom()),
            line->background);
}

void ALineRenderer::placeCells(ALine* line, const APoint& origin) {
    ARunContext context(this);
    for (ADataRun* r = line->runs; r; r = r->getNext())
        if (AEmbeddedRun* cells = r->getCell())
            cells->moveTo(origin, context);
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
    return model_ && lines.count() && firstLaidOutPosition() == 0 && lastLaidOutPosition() == model_->getPositionCount();
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

// A table's run answers for its cells: the covered text of each, not the table's box.
ARegion ALineRenderer::runsRegion(ALine* line, long startPosition, long endPosition, long width) {
    ARegion region;
    long x0 = xInLine(line, startPosition, -1, width), x1 = xInLine(line, endPosition, -1, width);
    APoint origin(static_cast<int32_t>(frame_.first.x + margin), static_cast<int32_t>(frame_.first.y));
    if (line->hasCells)
        placeCells(line, APoint(static_cast<int32_t>(origin.x + line->x),
                                static_cast<int32_t>(origin.y + line->top + line->baseline)));
    for (ADataRun* r = line->runs; r; r = r->getNext()) {
        if (AEmbeddedRun* cells = r->getCell()) {
            region.unite(cells->regionOfRange(frame_, startPosition, endPosition, false));
            continue;
        }
        long a = std::max(r->x, x0), b = std::min(r->right(), x1);
        // A run the range does not reach adds nothing; the one where an empty range starts, one pixel.
        if (b < a + 1) {
            if (x0 < r->x || x0 > r->right())
                continue;
            b = a + 1;
        }
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
    APoint origin(static_cast<int32_t>(frame_.first.x + margin), static_cast<int32_t>(frame_.first.y));
    // A line holding a table is measured run by run; its region comes in view coordinates.
    auto addRuns = [&](ALine* line) {
        if (!line->hasCells)
            return false;
        ARegion runs = runsRegion(line, start, end, right);
        runs.offsetBack(origin);
        region.unite(runs);
        return true;
    };
    if (i0 < i1) {
        if (!addRuns(l0))
            add(std::min(x0, right - 1), right, l0->top, l0->bottom());
        add(0, right, l0->bottom(), l1->top);
        if (!addRuns(l1))
            add(0, std::max(x1, 1L), l1->top, l1->bottom());
    } else if (!addRuns(l0)) {
        add(x0, std::max(x1, x0 + 1), l0->top, l0->bottom());
    }
    region.offsetBy(origin);
    return region;
}
