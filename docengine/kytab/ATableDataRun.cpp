// The table run: layout, drawing, hit testing and regions; the cell boxes.
#include "docengine/kytab/ATableDataRun.h"

#include <windows.h>

#include <algorithm>

#include "base/procedural/AError.h"
#include "docengine/kytab/AKytabCell.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ARegion.h"

namespace {

const long kUnbounded = 10000;
const uint32_t kNoFill = 0xFFFFFF;

long naturalWidth(ALineRenderer* r) {
    return r->lines.widest();
}

}  // namespace

// --- cell renderer

AKytabCellRenderer::AKytabCellRenderer(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display, const ARect& frame)
    : ALineRenderer(model, sheet, display, frame) {
    flags1 |= LineFlags::kNoBackgroundErase;
    flags2 |= LineFlags::kWholeDocument;
    setMargin(0);  // the table's cell margin insets the frame instead
}

// --- cell box

ATableCellBox::ATableCellBox(ATableDataRun* owningRun, AKytabCell* shown)
    : run(owningRun),
      cell(shown),
      x(0),
      y(0),
      width(0),
      height(0),
      renderer(nullptr),
      textColour(0),
      fill(kNoFill),
      lineColour(0),
      owner(this),
      picture(nullptr) {
    if (!run || !cell)
        ThrowAssert("kytab", 46);
    if (cell->width < 0)
        width = -cell->width;
}

ATableCellBox::~ATableCellBox() {
    ReleaseAndNull(renderer);
    ReleaseAndNull(picture);
}

bool ATableCellBox::isAnchor() const {
    return !cell->covered;
}

uint32_t ATableCellBox::displayColour(long value, uint32_t dflt, AStyleSheet* sheet) const {
    uint32_t v = static_cast<uint32_t>(value);
    if (v & 0xFF000000u)
        return v & 0xFFFFFFu;
    return v ? sheet->getColor(static_cast<long>(v)) & 0xFFFFFFu : dflt;
}

ARect ATableCellBox::contentFrame() const {
    long mh = run->scaled(run->table()->marginH), mv = run->scaled(run->table()->marginV);
    return ARect(x + mh, y + mv, x + width - mh, y + height - mv);
}

void ATableCellBox::layout(ARunContext& context) {
    ALineRenderer* tableRenderer = context.renderer;
    if (!tableRenderer)
        ThrowAssert("kytab", 80);
    long w = width ? width : kUnbounded;
    long h = kUnbounded;
    if (cell->height > 0)
        h = MulDiv(w, cell->height, 100);
    else if (cell->height < 0)
        h = -cell->height;
    ARect frame(0, 0, w, h);
    AStyleSheet* sheet = tableRenderer->styleSheet();
    if (!renderer) {
        renderer = new AKytabCellRenderer(cell->fModel, sheet, tableRenderer->display(), frame);
        renderer->addRef();
        // A title keeps to one unwrapped line, whatever its column's width.
        if (cell->titleFlag)
            renderer->defaultFormat.bits |= ParaBits::kNoWrap;
        // In a list whose rows end with an ellipsis, a cell's text stops at its
        // own column with one too, rather than running over the next cell.
        if (tableRenderer->edgeEllipsis) {
            renderer->edgeEllipsis = tableRenderer->edgeEllipsis;
            renderer->tabStyle = tableRenderer->tabStyle;
        }
        if (sheet) {
            fill = displayColour(cell->fill, kNoFill, sheet);
            textColour = displayColour(cell->textColour, 0, sheet);
            lineColour = displayColour(cell->lineColour, 0, sheet);
        }
    }
    ReleaseAndNull(picture);
    if (cell->picture != -1 && sheet && context.display) {
        picture = sheet->getBitmap(cell->picture);
        if (picture) {
            picture->addRef();
            ARunExtent size = context.display->bitmapSize(picture);
            width = size.width;
            height = size.height;
            return;
        }
    }
    long mh = run->scaled(run->table()->marginH), mv = run->scaled(run->table()->marginV);
    if (w != kUnbounded)
        frame = ARect(mh, mv, w - mh, h - mv);
    renderer->setFrame(frame);
    renderer->layoutFrom(0);
    if (cell->height > 0) {
        width = w;
        height = h;
        return;
    }
    width = w == kUnbounded ? naturalWidth(renderer) + 2 * mh : w;
    height = (h == kUnbounded ? renderer->contentHeight() : h) + 2 * mv;
}

void ATableCellBox::placeRenderer(ARunContext&) {
    if (!renderer || picture)
        return;
    ARect frame = contentFrame();
    bool relayout = frame.width() != renderer->frame().width();
    renderer->setFrame(frame);
    if (relayout)
        renderer->layoutFrom(0);
}

void ATableCellBox::alignContent(ARunContext&) {
    if (!renderer || picture)
        return;
    ARect frame = contentFrame();
    long free = frame.height() - renderer->contentHeight();
    long shift = 0;
    if (free > 0 && cell->verticalAlign == 2)
        shift = free;
    else if (free > 0 && cell->verticalAlign == 1)
        shift = free / 2;
    frame.first.y += shift;
    frame.second.y += shift;
    renderer->setFrame(frame);
}

void ATableCellBox::drawBackground(ARunDrawContext& context) {
    ARunDisplay* display = context.display;
    if (!display)
        return;
    if (picture) {
        display->drawBitmap(picture, rect(), 0, context.printing ? 2 : 0);
        return;
    }
    long inset = std::max<long>(run->table()->frameKind, 0) + 1;
    ARect area = rect();
    if (cell->sides & 8)
        area.second.x -= inset;
    if (cell->sides & 4)
        area.second.y -= inset;
    // A selected line in hilite mode shows its cells in the selection colour.
    bool hilited = context.hilite && context.lineSelected() && context.renderer &&
                   (context.renderer->flags2 & LineFlags::kLaidOut) && !RunColour::isNone(context.selectionColour);
    uint32_t shown = hilited ? context.selectionColour : fill;
    if (shown != kNoFill && area.width() > 0 && area.height() > 0)
        display->fillRect(area, shown);
    long t = cell->lineWidth;
    if (t <= 0)
        return;
    long right = x + width, bottom = y + height;
    if (cell->sides & 1)
        display->fillRect(ARect(x, y, right, y + t), lineColour);
    if (cell->sides & 2)
        display->fillRect(ARect(x, y, x + t, bottom), lineColour);
    if (cell->sides & 4)
        display->fillRect(ARect(x, bottom, right, bottom + t), lineColour);
    if (cell->sides & 8)
        display->fillRect(ARect(right, y, right + t, bottom), lineColour);
}

void ATableCellBox::drawContent(ARunDrawContext& context) {
    if (!renderer)
        ThrowAssert("kytab", 178);
    if (picture)
        return;
    ARect clip = renderer->frame();
    clip.first.x = std::max(clip.first.x, context.frame.first.x);
    clip.first.y = std::max(clip.first.y, context.frame.first.y);
    clip.second.x = std::min(clip.second.x, context.frame.second.x);
    clip.second.y = std::min(clip.second.y, context.frame.second.y);
    if (clip.width() > 0 && clip.height() > 0)
        renderer->draw(clip);
}

// --- the run

ATableDataRun::ATableDataRun(AKytabFragment* table)
    : ADataRun(table->textRange().start, table->textRange().end),
      tableRect(0, 0, 0, 0),
      table_(table),
      rows_(table->rowCount),
      columns_(table->columnCount),
      scaleNumerator_(1),
      scaleDenominator_(1) {
    if (table_->segment())
        table_->segment()->lock();
    columnWidths.assign(columns_, 0);
    grid_.assign(rows_, std::vector<ATableCellBox*>(columns_, nullptr));
    for (long r = 0; r < rows_; ++r)
        for (long c = 0; c < columns_; ++c) {
            AKytabCell* cell = table_->cellAt(r, c);
            if (!cell)
                ThrowAssert("kytab", 209);
            ATableCellBox* box = new ATableCellBox(this, cell);
            grid_[r][c] = box;
            if (cell->fModel && !cell->covered)
                cellIndex_[cell->fModel] = box;
        }
}

ATableDataRun::~ATableDataRun() {
    for (auto& row : grid_)
        for (ATableCellBox* box : row)
            delete box;
    if (table_->segment())
        table_->segment()->unlock();
}

AFragment* ATableDataRun::getFragment() {
    return table_;
}

ATableCellBox* ATableDataRun::boxAt(long row, long column) const {
    if (row < 0 || column < 0)
        ThrowAssert("kytab", 229);
    if (row >= rows_ || column >= columns_)
        return nullptr;
    return grid_[row][column];
}

long ATableDataRun::gap() const {
    return scaled(table_->frameKind > 0 ? table_->frameKind : 0);
}

long ATableDataRun::scaled(long length) const {
    if (scaleNumerator_ == scaleDenominator_ || scaleDenominator_ == 0)
        return length;
    return MulDiv(length, scaleNumerator_, scaleDenominator_);
}

template <class F>
void ATableDataRun::forEachAnchor(F f) {
    for (long r = 0; r < rows_; ++r)
        for (long c = 0; c < columns_; ++c)
            if (grid_[r][c]->isAnchor())
                f(r, c, grid_[r][c]);
}

void ATableDataRun::fixColumnWidths() {
    for (long c = 0; c < columns_; ++c) {
        long w = columnWidths[c];
        for (long r = 0; r < rows_; ++r)
            w = std::max(w, grid_[r][c]->width);
        columnWidths[c] = w;
        for (long r = 0; r < rows_; ++r)
            grid_[r][c]->width = std::max(grid_[r][c]->width, w);
    }
}

void ATableDataRun::equaliseRowHeights() {
    for (long r = 0; r < rows_; ++r) {
        long h = 0;
        for (long c = 0; c < columns_; ++c)
            h = std::max(h, grid_[r][c]->height);
        for (long c = 0; c < columns_; ++c)
            grid_[r][c]->height = std::max(grid_[r][c]->height, h);
    }
}

void ATableDataRun::mergeSpan(long r, long c) {
    ATableCellBox* anchor = grid_[r][c];
    long n = anchor->cell->rowSpan, m = anchor->cell->colSpan;
    long g = gap();
    for (long k = 1; k < n; ++k)
        if (ATableCellBox* b = boxAt(r + k, c)) {
            anchor->height += g + b->height;
            b->width = b->height = 0;
            b->owner = anchor;
        }
    for (long k = 1; k < m; ++k)
        if (ATableCellBox* b = boxAt(r, c + k)) {
            anchor->width += g + b->width;
            b->width = b->height = 0;
            b->owner = anchor;
        }
    for (long i = 1; i < n; ++i)
        for (long j = 1; j < m; ++j)
            if (ATableCellBox* b = boxAt(r + i, c + j)) {
                b->width = b->height = 0;
                b->owner = anchor;
            }
}

void ATableDataRun::measure(ARunLayoutContext& context) {
    long available = context.renderer ? context.renderer->getLayoutWidth() : 0;
    long target = table_->tableWidth(available);
    // Printer and preview displays scale what the markup gives in screen pixels.
    AGraphicDisplay* current = ADisplayContext::instance().current();
    APoint ratio(1, 1);
    if (current && current->getScale(ratio)) {
        scaleNumerator_ = ratio.x;
        scaleDenominator_ = ratio.y;
    } else {
        scaleNumerator_ = scaleDenominator_ = 1;
    }
    std::fill(columnWidths.begin(), columnWidths.end(), 0);
    if (table_->widthMode == AKytabFragment::kAuto) {
        forEachAnchor([&](long, long, ATableCellBox* b) {
            if (!b->renderer && b->cell->width < 0)
                b->width = scaled(-b->cell->width);
            b->layout(context);
        });
        equaliseRowHeights();
        fixColumnWidths();
    } else {
        for (auto& row : grid_)
            for (ATableCellBox* b : row)
                if (b->cell->colSpan > 0)
                    b->width = 0;
        for (long r = 0; r < rows_; ++r) {
            long left = target;
            for (ATableCellBox* b : grid_[r])
                if (b->isAnchor() && b->cell->width < 0) {
                    b->width = scaled(-b->cell->width);
                    left -= b->width;
                }
            for (ATableCellBox* b : grid_[r])
                if (b->isAnchor() && b->cell->width > 0)
                    b->width = MulDiv(left, b->cell->width * 10, 1000);
        }
        fixColumnWidths();
        long sum = 0, unset = 0;
        for (long w : columnWidths) {
            sum += w;
            unset += w == 0;
        }
        if (sum < target && unset)
            for (long& w : columnWidths)
                if (!w)
                    w = (target - sum) / unset;
        fixColumnWidths();
        forEachAnchor([&](long r, long c, ATableCellBox* b) {
            mergeSpan(r, c);
            b->layout(context);
            long n = b->cell->rowSpan;
            if (n > 0) {
                long h = static_cast<int16_t>(b->height / n);
                for (long k = 0; k < n; ++k)
                    if (ATableCellBox* below = boxAt(r + k, c))
                        below->height = h;
            }
        });
        equaliseRowHeights();
    }
    for (auto& row : grid_)
        for (ATableCellBox* b : row)
            if (b->cell->colSpan > 0)
                b->width = 0;
    fixColumnWidths();

    long g = gap();
    long w = 0, h = 0;
    for (long r = 0; r < rows_; ++r) {
        long rowWidth = 0;
        for (ATableCellBox* b : grid_[r])
            rowWidth += g + b->width;
        w = std::max(w, rowWidth);
        h += g + (columns_ ? grid_[r][columns_ - 1]->height : 0);
    }
    w += g + 1;
    h += g + 1;
    tableRect = ARect(0, 0, w, h);

    rowEdges.clear();
    columnEdges.clear();
    long y = g;
    for (long r = 0; r < rows_; ++r) {
        long x0 = g;
        for (ATableCellBox* b : grid_[r]) {
            b->x = x0;
            b->y = y;
            x0 += g + b->width;
            if (r == 0)
                columnEdges.push_back(x0);
        }
        y += g + (columns_ ? grid_[r][columns_ - 1]->height : 0);
        rowEdges.push_back(y);
    }
    forEachAnchor([&](long r, long c, ATableCellBox*) { mergeSpan(r, c); });
    forEachAnchor([&](long, long, ATableCellBox* b) { b->placeRenderer(context); });
    width = w;
    height = h;
    ascent = h * 3 / 4;
}

void ATableDataRun::moveTo(const APoint& origin, ARunContext& context) {
    long dx = origin.x + x - tableRect.first.x;
    long dy = origin.y - ascent + yOffset - tableRect.first.y;
    if (!dx && !dy)
        return;
    tableRect = ARect(tableRect.first.x + dx, tableRect.first.y + dy, tableRect.second.x + dx, tableRect.second.y + dy);
    for (auto& row : grid_)
        for (ATableCellBox* b : row) {
            b->x += dx;
            b->y += dy;
        }
    forEachAnchor([&](long, long, ATableCellBox* b) { b->alignContent(context); });
}

void ATableDataRun::drawBackground(ARunDrawContext& context) {
    ARunDisplay* display = context.display;
    if (!display)
        return;
    if (table_->frameKind >= 0) {
        const ARect& t = tableRect;
        display->fillRect(ARect(t.first.x, t.first.y, t.second.x, t.first.y + 1), 0);
        display->fillRect(ARect(t.first.x, t.second.y - 1, t.second.x, t.second.y), 0);
        display->fillRect(ARect(t.first.x, t.first.y, t.first.x + 1, t.second.y), 0);
        display->fillRect(ARect(t.second.x - 1, t.first.y, t.second.x, t.second.y), 0);
    }
    forEachAnchor([&](long, long, ATableCellBox* b) { b->drawBackground(context); });
}

void ATableDataRun::draw(ARunDrawContext& context) {
    forEachAnchor([&](long, long, ATableCellBox* b) { b->drawContent(context); });
}

long ATableDataRun::positionAtX(long px, int16_t* atStart) {
    if (!atStart)
        return start;
    bool inside = px < width;
    *atStart = inside ? 1 : 0;
    return inside ? start : end;
}

long ATableDataRun::xOfPosition(long position) {
    if (position >= start && position < end)
        return 0;
    return position > start ? width : 0;
}

ARect ATableDataRun::rectOfPosition(long position) {
    ADocModel* document = table_->segment() ? table_->segment()->owner() : nullptr;
    if (!document)
        ThrowAssert("kytab", 433);
    auto found = cellIndex_.find(document->getChildAt(position));
    if (found == cellIndex_.end())
        return ARect(0, 0, 0, 0);
    ATableCellBox* box = found->second;
    if (!box->renderer)
        ThrowAssert("kytab", 439);
    ADocModel* model = box->cell->fModel;
    long local = model->fromParent(position);
    if (local < 0 || local >= box->cell->textLength())
        return ARect(0, 0, 0, 0);
    long px = 0;
    ADataRun* runOut = nullptr;
    ALineRenderer* r = box->renderer;
    long index = r->lineOfPosition(local, px, -1, &runOut);
    if (index >= r->lines.count())
        return ARect(0, 0, 0, 0);
    ALine* line = r->lines.at(index);
    long left = r->frame().first.x + r->margin + line->x + px;
    return ARect(left, r->frame().first.y + line->top, left + 1, r->frame().first.y + line->bottom());
}

AHitRecord ATableDataRun::hitTest(const APoint& point) {
    long px = point.x - tableRect.first.x, py = point.y - tableRect.first.y;
    long column = std::upper_bound(columnEdges.begin(), columnEdges.end(), px) - columnEdges.begin();
    long row = std::upper_bound(rowEdges.begin(), rowEdges.end(), py) - rowEdges.begin();
    if (!columns_ || !rows_)
        return AHitRecord();
    column = std::min(std::max(column, 0L), columns_ - 1);
    row = std::min(std::max(row, 0L), rows_ - 1);
    ATableCellBox* box = boxAt(row, column);
    if (!box || !box->owner)
        ThrowAssert("kytab", 466);
    ATableCellBox* anchor = box->owner;
    if (!anchor->renderer)
        ThrowAssert("kytab", 469);
    AHitRecord hit = anchor->renderer->hitRecordAt(point);
    if (hit.empty()) {
        long length = anchor->cell->textLength();
        hit = anchor->renderer->hitRecordOfPosition(length > 0 ? length - 1 : 0, -1);
    }
    return hit;
}

ARegion ATableDataRun::regionOfRange(const ARect& clip, long rangeStart, long rangeEnd, bool clipping) {
    ARegion region;
    forEachAnchor([&](long, long, ATableCellBox* b) {
        ARect r = b->rect();
        if (clipping && !(std::max(r.first.x, clip.first.x) < std::min(r.second.x, clip.second.x) &&
                          std::max(r.first.y, clip.first.y) < std::min(r.second.y, clip.second.y)))
            return;
        if (!b->renderer || !b->cell->fModel || !b->cell->fModel->GetParentModel())
            return;
        long from = std::max(b->cell->fModel->fromParent(rangeStart), 0L);
        long to = std::min(b->cell->fModel->fromParent(rangeEnd), b->cell->textLength());
        if (from < to)
            region.unite(b->renderer->rangeRegion(from, to));
    });
    return region;
}
