// The tile renderer: rows of tiles laid out side by side by its line layer,
// arrow keys between tiles and scrolling by rows of tiles.
#include "docengine/render/ATileRenderer.h"

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/model/ASegment.h"

namespace {

const uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;

// Lays the items out a row of tiles at a time: a row is never cut, and lines
// of one row share its top, each tile in its own column.
class ATileLineLayer : public AListLineLayer {
public:
    ATileLineLayer(ATileRenderer* tiles, ADocModel* model, AStyleSheet* sheet, ARunDisplay* display, const ARect& frame)
        : AListLineLayer(tiles, model, sheet, display, frame), tiles_(tiles) {
        updateLayoutWidth();
    }

    // The columns share the frame's width less the margins; each tile is laid out at the tile width.
    void updateLayoutWidth() override {
        long before = layoutWidth;
        int16_t beforeColumns = tiles_->columns;
        long span = frame().second.x - frame().first.x - 2 * margin;
        if ((flags1 & LineFlags::kFixedLayoutWidth) && tiles_->spanWidth > 0)
            span = tiles_->spanWidth;
        if (span < 1)
            span = 300;
        long columns, width;
        if (tiles_->fixedColumns > 0) {
            columns = tiles_->fixedColumns;
            width = std::max(1L, span / columns);
            tiles_->tileWidth = width;
        } else {
            width = std::max(1L, tiles_->tileWidth);
            columns = std::max(1L, span / width);
        }
        tiles_->spanWidth = span;
        tiles_->columns = static_cast<int16_t>(std::min(columns, 0x7FFFL));
        layoutWidth = width;
        if (layoutWidth != before || tiles_->columns != beforeColumns)
            lines.clear();
    }

    ASegment* rowStartSegment(ASegment* segment) override {
        return segment ? segmentOfItem(rowStartOf(segment->docStart())) : nullptr;
    }
    ASegment* nextRowSegment(ASegment* segment) override {
        return segmentOfItem(rowStartOf(segment->docStart()) + tiles_->columns);
    }
    ASegment* previousRowSegment(ASegment* segment) override {
        long start = rowStartOf(segment->docStart());
        return start > 0 ? segmentOfItem(start - tiles_->columns) : nullptr;
    }
    bool sameRow(ASegment* a, ASegment* b) override {
        return a == b || (a && b && rowStartOf(a->docStart()) == rowStartOf(b->docStart()));
    }
    bool linesSideBySide() override { return true; }

    long lineIndexAt(long px, long y) override {
        for (long i = 0; i < lines.count(); ++i) {
            ALine* line = lines.at(i);
            if (line->top <= y && y < line->bottom() && line->x <= px && px < line->x + layoutWidth)
                return i;
        }
        return lines.count();
    }

    // The tiles from the given one to the end of its row, tile c at x = c * tile width.
    long buildLines(ALineArray& into, ASegment* segment, long index, long& ioTop) override {
        if (!segment)
            ThrowAssert("gtile", 300);
        long top = ioTop, bottom = ioTop, inserted = 0;
        long count = tiles_->tileCount();
        ASegment* s = segment;
        for (long c = s->docStart() % tiles_->columns; c < tiles_->columns && s; ++c) {
            s->lock();
            ASegment* next = nullptr;
            try {
                long y = top;
                long n = ALineRenderer::buildLines(into, s, index + inserted, y);
                for (long j = 0; j < n; ++j)
                    into.at(index + inserted + j)->x = c * layoutWidth;
                inserted += n;
                bottom = std::max(bottom, y);
                if (c + 1 < tiles_->columns && s->docStart() + 1 < count)
                    next = model()->nextSegment(s);
            } catch (...) {
                s->unlock();
                throw;
            }
            s->unlock();
            s = next;
        }
        ioTop = bottom;
        return inserted;
    }

    // n rows down; a row taller than half the view moves by the margin only.
    AAnchor lineDownAnchor(long n) override {
        long half = viewHeight() / 2, m = std::min(half, 16L);
        long t = lines.indexAtY(0);
        if (t >= lines.count())
            return AAnchor::none();
        ALine* top = lines.at(t);
        long last = rowStartOf(AListRenderer::rowOfLine(top)) + tiles_->columns * (std::max(n, 1L) - 1);
        long bottom = top->bottom();
        for (long i = t; i < lines.count() && rowStartOf(AListRenderer::rowOfLine(lines.at(i))) <= last; ++i)
            bottom = std::max(bottom, lines.at(i)->bottom());
        if (bottom - top->top >= half && m < bottom)
            return AAnchor{top->start, m - top->top};
        return AAnchor{last + tiles_->columns, 0};
    }

    // n rows up (the row before the one at the top, at the top); inside a tall row by the margin.
    AAnchor lineUpAnchor(long n) override {
        long half = viewHeight() / 2, m = std::min(half, 16L);
        long t = lines.indexAtY(0);
        if (t >= lines.count())
            return AAnchor{0, 0};
        ALine* top = lines.at(t);
        long start = rowStartOf(AListRenderer::rowOfLine(top));
        long k = std::max(n, 1L) - 1;
        if (k == 0 && top->height >= half && m <= -top->top)
            return AAnchor{top->start, -(m + top->top)};
        return AAnchor{std::max(0L, start - k * tiles_->columns - 1), 0};
    }

private:
    long rowStartOf(long item) const { return item - item % tiles_->columns; }
    ASegment* segmentOfItem(long item) {
        return item >= 0 && item < tiles_->tileCount() ? model()->segmentAtPosition(item) : nullptr;
    }

    ATileRenderer* tiles_;  // not owned: it owns this layer
};

}  // namespace

ATileRenderer::ATileRenderer(ADisplayComponent* view, ARunDisplay* display) : AListRenderer(view, ARect(), display) {}

ALineRenderer* ATileRenderer::newLineLayer(ARunDisplay* display) {
    return new (std::nothrow) ATileLineLayer(this, model_, styleSheet(), display, frame_);
}

void ATileRenderer::setTileLayout(long count, long width) {
    itemCount = std::max(0L, count);
    tileWidth = width;
    fixedColumns = 0;
}

void ATileRenderer::setTiles(int16_t count, long size) {
    setTileLayout(count, size);
    scrollToPosition(0);
}

long ATileRenderer::tileCount() {
    long length = model_ ? model_->getLength() : 0;
    return itemCount > 0 ? std::min(itemCount, length) : length;
}

ARenderer* ATileRenderer::makeCopy(const ARect& frame, long, long, ARenderer*) {
    auto* copy =
        CheckAlloc(new (std::nothrow) ATileRenderer(view(), lines() ? lines()->display() : nullptr), "gtile", 500);
    copyListSettings(*copy);
    copy->itemCount = itemCount;
    copy->fixedColumns = fixedColumns;
    copy->tileWidth = tileWidth;
    copy->setFrame(frame, false);
    copy->setModel(model_);
    return copy;
}

long ATileRenderer::tileAbove(long item) {
    return item >= columns && item < tileCount() ? item - columns : -1;
}

long ATileRenderer::tileBelow(long item) {
    long count = tileCount();
    if (item < 0 || item >= count)
        return -1;
    if (item + columns < count)
        return item + columns;
    // A shorter last row: its last tile.
    return item - item % columns + columns < count ? count - 1 : -1;
}

ACommand* ATileRenderer::moveSelection(uint16_t key, uint16_t) {
    if (!model_)
        return AComponent::passThroughCommand();
    AViewMeasureLock lock(view());
    long current = markedIndex();
    if (current < 0) {
        selectRow(0, 0, SelectMode::kNotify, -1);
        return AComponent::noChangeCommand();
    }
    showRow(current);
    long next = -1;
    switch (key) {
        case kLeft:
            next = current - 1;
            break;
        case kRight:
            next = current + 1 < tileCount() ? current + 1 : -1;
            break;
        case kUp:
            next = tileAbove(current);
            break;
        case kDown:
            next = tileBelow(current);
            break;
        default:
            break;
    }
    if (next >= 0 && next != current) {
        showRow(next);
        selectRow(next, 0, SelectMode::kNotify, -1);
    }
    return AComponent::noChangeCommand();
}
