// The contexts runs are laid out and drawn in: columns, tab stops, the line
// being built and the line being drawn.
#include "docengine/lines/ADataRun.h"

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"

namespace {

const char kEllipsis[] = "\x85";

}  // namespace

ARunContext::ARunContext(ALineRenderer* r) : renderer(r), display(r ? r->display() : nullptr), printing(0), scaled(0) {
    if (display)
        printing = display->printing() ? 1 : 0;
}

ARunLayoutContext::ARunLayoutContext(ALineRenderer* r, ALine* builtLine)
    : ARunContext(r),
      fragment(nullptr),
      pendingTab(nullptr),
      columnStart(nullptr),
      columnOpen(0),
      tabIndex(-1),
      currentX(0),
      leftMarginX(0),
      stops(nullptr),
      startAtMargin(0),
      tabsActive(1),
      justify(0),
      truncationPending(0),
      startAtFirstStop(0),
      nextIndexTabs(0),
      line(builtLine) {
    edgeOpen = edgeColumn();
}

int16_t ARunLayoutContext::edgeColumn() const {
    // The whole line is one column, so that endLine cuts it at the edge.
    return renderer && renderer->edgeEllipsis && renderer->tabStyle != -1 ? 1 : 0;
}

ARunLayoutContext::~ARunLayoutContext() {
    if (stops)
        stops->release();
}

void ARunLayoutContext::setFragment(AFragment* f, uint16_t styleWord) {
    if (!f)
        ThrowAssert("gdatarun", 95);
    fragment = f;
    startAtMargin = (styleWord & ParaBits::kStartAtMargin) ? 1 : 0;
    tabsActive = (styleWord & ParaBits::kNoWrap) ? 0 : 1;
    justify = (styleWord & ParaBits::kJustify) ? 1 : 0;
    startAtFirstStop = (styleWord & ParaBits::kStartAtFirstStop) ? 1 : 0;
    nextIndexTabs = (styleWord & ParaBits::kNextIndexTabs) ? 1 : 0;
    if (stops) {
        stops->release();
        stops = nullptr;
    }
    truncationPending = 0;
    if (tabsActive && (styleWord & ParaBits::kTruncate)) {
        ATabStops* set = tabStops();
        truncationPending = (set->truncate() && set->stopAt(0).position < renderer->pageWidth()) ? 1 : 0;
    }
}

ATabStops* ARunLayoutContext::tabStops() {
    if (stops)
        return stops;
    AStyleSheet* sheet = renderer ? renderer->styleSheet() : nullptr;
    if (!sheet)
        ThrowAssert("gdatarun", 149);
    long style = 0;
    if (ATextFragment* text = dynamic_cast<ATextFragment*>(fragment))
        style = text->style();
    ATabStops* set = sheet->getTabStops(style);
    if (!set)
        ThrowAssert("gdatarun", 152);
    long frameWidth = renderer->frame().second.x - renderer->frame().first.x;
    if (set->refWidth() > 0 && frameWidth > 0)
        stops = new ATabStops(*set, frameWidth * 100 / set->refWidth(), 100);
    else
        stops = new ATabStops(*set, 1, 1);
    stops->addRef();
    return stops;
}

void ARunLayoutContext::takeColumnStart(ADataRun* run) {
    if (edgeOpen) {
        edgeOpen = 0;
        // Only text is cut at the edge: a table or picture row keeps its width.
        if (!columnStart && !columnOpen && dynamic_cast<ATextDataRun*>(run)) {
            columnStart = run;
            edgeCut = 1;
        }
    }
    if (columnOpen && !dynamic_cast<ATabDataRun*>(run)) {
        columnStart = run;
        columnOpen = 0;
    }
}

void ARunLayoutContext::runAdded(ADataRun* run) {
    takeColumnStart(run);
    if (pendingTab && pendingTab != run)
        pendingTab->followedBy(*this, run);
}

void ARunLayoutContext::runPlaced(ADataRun* run) {
    run->place(*this);
    takeColumnStart(run);
    if (pendingTab && pendingTab != run)
        pendingTab->followedBy(*this, run);
}

void ARunLayoutContext::closeColumn(long stopX, uint16_t justification, ADataRun* last) {
    ADataRun* first = columnStart;
    columnStart = nullptr;
    const bool edge = edgeCut != 0;
    edgeCut = 0;
    if (!first)
        return;
    if (currentX <= stopX) {
        long free = stopX - currentX;
        long shift = 2 + (justification == ATabStop::kRight    ? free
                          : justification == ATabStop::kCenter ? free >> 1
                                                               : 0);
        for (ADataRun* r = first; r; r = r->getNext()) {
            r->x += shift;
            if (r == last)
                break;
        }
        currentX += shift;
        return;
    }
    // The text passes the stop: keep what fits, cut the crossing run, then an ellipsis.
    long limit = stopX;
    bool ellipsis = false;
    if (renderer->tabStyle != -1 && renderer->styleSheet()) {
        AStyleFont* tabFont = renderer->styleSheet()->getFont(renderer->tabStyle, 0);
        long e = display->extent(tabFont, kEllipsis, 1).width + 5;
        // At the edge a line is often one run (a title): it is cut before the ellipsis.
        if (first->right() <= stopX - e || (edge && first->x < stopX - e)) {
            limit = stopX - e;
            ellipsis = true;
        }
    }
    ADataRun* kept = nullptr;
    ADataRun* r = first;
    for (; r; r = r->getNext()) {
        if (r->right() <= limit) {
            kept = r;
        } else {
            if (r->x < limit && r->forceBreakAt(limit)) {
                r->width = limit - r->x;
                kept = r;
                r = r->getNext();
            }
            break;
        }
        if (r == last) {
            r = r->getNext();
            break;
        }
    }
    if (ellipsis && kept && fragment) {
        AEllipsisDataRun* dots = new AEllipsisDataRun(fragment, kept->end);
        dots->measure(*this);
        dots->x = limit;
        dots->setNext(kept->takeNext());
        kept->setNext(dots);
    }
    for (ADataRun* later = kept ? kept->getNext() : first; later; later = later->getNext()) {
        if (dynamic_cast<AEllipsisDataRun*>(later))
            continue;
        later->x = stopX;
        later->width = 0;
    }
    currentX = stopX;
}

void ARunLayoutContext::endLine(long limitX) {
    if (!columnStart) {
        return;
    }
    if (stops && tabIndex >= 0 && currentX > stops->stopAt(tabIndex).position) {
        long index = stops->nextStopIndex(currentX, tabIndex);
        ATabStop stop = stops->stopAt(index);
        long at = stop.position;
        if (renderer->tabStyle != -1 && limitX < at)
            at = limitX;
        closeColumn(at, stop.justification, nullptr);
    } else if (renderer->tabStyle != -1 && currentX > limitX) {
        closeColumn(limitX, 0, nullptr);
    }
    columnStart = nullptr;
}

void ARunLayoutContext::startLine() {
    if (startAtFirstStop)
        currentX = tabStops()->stopAt(0).position;
    else if (startAtMargin)
        currentX = leftMarginX;
    else
        currentX = 0;
    tabIndex = -1;
    pendingTab = nullptr;
    columnStart = nullptr;
    columnOpen = 0;
    edgeOpen = edgeColumn();
    edgeCut = 0;
    truncationPending = 0;
}

ARunDrawContext::ARunDrawContext(ALineRenderer* r, const ARect& area)
    : ARunContext(r),
      frame(area),
      line(nullptr),
      lineAscent(r ? r->minAscent : 0),
      lineDescent(r ? r->minDescent : 0),
      selectionColour(RunColour::kNone),
      selStart(0),
      selEnd(0),
      drawSelection(0),
      hilite(0),
      fixedSelection(0) {
    if (!r || !display)
        ThrowAssert("gdatarun", 378);
    drawSelection = (!printing && !(r->flags1 & LineFlags::kNoSelectionDrawing)) ? 1 : 0;
    hilite = (r->flags1 & LineFlags::kHiliteMode) ? 1 : 0;
    fixedSelection = (r->flags2 & LineFlags::kFixedSelection) ? 1 : 0;
    if (fixedSelection)
        drawSelection = 0;
    if (!printing && r->hasSelection) {
        uint32_t c = r->selectionColour;
        if (c == RunColour::kDisplayDefault)
            c = display->defaultColour();
        else if (c == RunColour::kRendererDefault)
            c = RunColour::kNone;
        else if (RunColour::isNone(c))
            c = 0;
        selectionColour = c;
    }
}

ARunDrawContext::~ARunDrawContext() {
    if (line)
        line->release();
}

void ARunDrawContext::setLine(const APoint& lineOrigin, ALine* drawnLine, long a, long d) {
    if (!drawnLine)
        ThrowAssert("glines", 246);
    origin = lineOrigin;
    lineAscent = a;
    lineDescent = d;
    if (drawnLine == line)
        return;
    drawnLine->addRef();
    if (line)
        line->release();
    line = drawnLine;
    if (!renderer->model())
        ThrowAssert("gdatarun", 457);
    ADocRange sel = renderer->model()->GetSelection();
    ASegment* segment = line->segment();
    selStart = segment ? segment->fromDocument(sel.start) : sel.start;
    selEnd = segment ? segment->fromDocument(sel.end) : sel.end;
    if (sel.end <= sel.start)
        selStart = selEnd = 0;
}

void ARunDrawContext::visibleRange(ADataRun* run, long length, long& from, long& to) const {
    from = std::max(0L, selStart - run->start);
    to = std::min(length, selEnd - run->start);
}

ARect ARunDrawContext::boxOf(ADataRun* run) const {
    return ARect(origin.x + run->x, origin.y - lineAscent, origin.x + run->x + run->width, origin.y + lineDescent);
}

bool ARunDrawContext::lineSelected() const {
    return line && (line->flags & ParaBits::kLineSelected);
}
