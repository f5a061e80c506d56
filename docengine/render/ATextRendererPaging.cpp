// The text renderer's paging: laying its lines out page by page for printing.
#include "docengine/render/ATextRenderer.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AMarkerCallBack.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/controls/APopupMenu.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/views/AScroller.h"

namespace {

// 2 landscape, 1 portrait, else the given orientation.
long OrientationOf(ALine* line, long otherwise) {
    uint16_t bits = line->styleWord();
    return (bits & 0x4000) ? 2 : (bits & 0x2000) ? 1 : otherwise;
}

}  // namespace

long ATextRenderer::preparePrint(const ARect& rect, bool) {
    nextPage_ = AAnchor{0, 0};
    pagesDone_ = false;
    setFrame(rect, false);
    state |= RendererBits::kAttached;
    if (!lines_)
        makeLines();
    return model_ ? 1 : 0;
}

bool ATextRenderer::hasMorePages(bool) {
    return model_ && !pagesDone_;
}

AAnchor ATextRenderer::layoutRange(AAnchor range, long) {
    AViewMeasureLock lock(view());
    if (!lines_)
        makeLines();
    if (!lines_)
        return range;
    lines_->setFrame(frame_);
    // A printed copy may never have been laid out on screen: its named pictures need the supplier too.
    lines_->bitmapSupplier = bitmapSupplier();
    lines_->imageStateSupplier = imageStateSupplier();
    lines_->flags2 |= LineFlags::kMayLayout | LineFlags::kWholeDocument;
    lines_->lines.clear();
    lines_->relayoutFromAnchor(lines_->lines, range, false, false, false);
    lines_->flags2 &= static_cast<uint16_t>(~LineFlags::kWholeDocument);
    return range;
}

void ATextRenderer::printPage(const ARect& rect, long page, bool draw, bool selectionOnly, long lastPage) {
    if (page != lastPage && page != lastPage + 1)
        ThrowAssert("glines", 1117);
    if (!model_ || !lines_)
        return;
    if (page != lastPage) {
        if (selectionOnly && nextPage_ == AAnchor{0, 0})
            nextPage_ = AAnchor{model_->GetSelection().start, 0};
        long endPosition = selectionOnly ? model_->GetSelection().end : -1;
        frame_ = rect;
        lines_->setFrame(rect);
        lines_->bitmapSupplier = bitmapSupplier();
        lines_->imageStateSupplier = imageStateSupplier();
        lines_->updateLayoutWidth();
        lines_->flags2 |= LineFlags::kMayLayout;
        ALineArray& ls = lines_->lines;
        ls.clear();
        AAnchor start = nextPage_;
        lines_->relayoutFromAnchor(ls, start, true, false, false);
        long height = rect.second.y - rect.first.y;
        // The first line of each later segment may ask for a new page or another orientation.
        long orientation = ls.count() ? OrientationOf(ls.at(0), 1) : 1;
        for (long i = 1; i < ls.count(); ++i) {
            ALine* line = ls.at(i);
            bool segmentStart = line->segment() != ls.at(i - 1)->segment();
            if ((segmentStart && ((line->styleWord() & 0x1000) || OrientationOf(line, orientation) != orientation)) ||
                (endPosition >= 0 && segmentStart && line->start >= endPosition)) {
                ls.removeRange(i, ls.count());
                break;
            }
        }
        while (ls.count() > 1 && ls.last()->top >= height)
            ls.removeRange(ls.count() - 1, ls.count());
        ALine* last = ls.last();
        lines_->flags1 &= static_cast<uint16_t>(~LineFlags::kClipLastLine);
        if (!last) {
            pagesDone_ = true;
        } else if (last->bottom() <= height) {
            nextPage_ = AAnchor{last->end, 0};
        } else if (last->height > height) {
            nextPage_ = AAnchor{last->start,
                                start.position == last->start ? start.offset + height - last->top : height - last->top};
        } else {
            nextPage_ = AAnchor{last->start, 0};
            lines_->flags1 |= LineFlags::kClipLastLine;
        }
        // Anchors count shown positions: a model with folded sections ends before its source does.
        if (nextPage_.position >= model_->getPositionCount() || (endPosition >= 0 && nextPage_.position >= endPosition))
            pagesDone_ = true;
        state |= RendererBits::kLaidOut;
    }
    if (draw) {
        bool saved = lines_->hasSelection;
        lines_->hasSelection = false;
        lines_->draw(rect);
        lines_->hasSelection = saved;
    }
}

// The orientation the next page asks for when the last one ended at a segment's start.
long ATextRenderer::pageKind(long page, long lastPage) {
    if (page != lastPage + 1)
        ThrowAssert("glines", 1239);
    if (!model_ || !lines_ || nextPage_.offset != 0)
        return 0;
    ASegment* segment = model_->segmentAtPosition(nextPage_.position);
    if (!segment || segment->docStart() != nextPage_.position)
        return 0;
    ALineArray next;
    long y = 0;
    segment->lock();
    try {
        lines_->buildLines(next, segment, 0, y);
    } catch (...) {
        segment->unlock();
        throw;
    }
    segment->unlock();
    return next.count() ? OrientationOf(next.first(), 0) : 0;
}
