// The kytab table fragment: grid placement, holes, text and export.
#include "docengine/kytab/AKytabFragment.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/export/AExportWriter.h"
#include "docengine/kytab/AKytabCell.h"
#include "docengine/kytab/ATableDataRun.h"
#include "docengine/kytab/KyTab.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"

namespace {

// Grid positions a table may place, placeholders and fillers included.
const long kMaxCells = 50000;

// The table's descriptions are read over the segment text between "/&" and
// the closing '&' (the range ends after it).
const char* textAt(ASegment* segment, long offset) {
    return segment->text().c_str() + offset;
}

}  // namespace

AKytabFragment::AKytabFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags,
                               ALocalRange name, uint16_t linkKind, long fill, char sep)
    : ATextFragment(segment, previous, range, flags, name, linkKind, 0, 0),
      rowCount(0),
      columnCount(0),
      widthMode(kAuto),
      marginH(0),
      marginV(0),
      widthValue(0),
      frameKind(0),
      defaultFill(fill),
      lineColour(0),
      separator(sep),
      cellsMade_(0),
      description_(nullptr) {
    if (!segment || range.end <= range.start || range.end > segment->text().length())
        ThrowAssert("kytab", 44);
    try {
        description_ = KyTab::ParseTable(*this, textAt(segment, range.start), textAt(segment, range.end - 1));
        placeCells();
        fillHoles();
    } catch (...) {
        clearGrid();
        detachFromPrevious();
        throw;
    }
}

AKytabFragment::~AKytabFragment() {
    clearGrid();
}

void AKytabFragment::clearGrid() {
    for (auto& row : grid_)
        for (AKytabCell*& slot : row)
            ReleaseAndNull(slot);
    grid_.clear();
    if (description_) {
        for (AKytabCell* row = description_->firstChild; row;) {
            AKytabCell* next = row->nextSibling;
            dropRow(row);
            row = next;
        }
        description_->firstChild = nullptr;
    }
    ReleaseAndNull(description_);
}

void AKytabFragment::dropRow(AKytabCell* node) {
    for (AKytabCell* child = node->firstChild; child;) {
        AKytabCell* next = child->nextSibling;
        dropRow(child);
        child = next;
    }
    node->firstChild = nullptr;
    node->release();
}

AKytabCell* AKytabFragment::cellAt(long row, long column) {
    if (row < 0 || column < 0)
        ThrowAssert("kytab", 86);
    if (row >= KyTab::kMaxRows || column >= KyTab::kMaxColumns)
        KyTab::Fail("KyTab error: table beyond its bounds", 88);
    if (row >= static_cast<long>(grid_.size()))
        grid_.resize(row / 10 * 10 + 10);
    std::vector<AKytabCell*>& cells = grid_[row];
    if (column >= static_cast<long>(cells.size()))
        cells.resize(column / 10 * 10 + 10, nullptr);
    return cells[column];
}

void AKytabFragment::setCell(AKytabCell* cell, long row, long column) {
    if (cellAt(row, column) == cell)
        return;
    AKytabCell*& slot = grid_[row][column];
    if (cell)
        cell->addRef();
    ReleaseAndNull(slot);
    slot = cell;
}

AKytabCell* AKytabFragment::newCell() {
    if (++cellsMade_ > kMaxCells)
        KyTab::Fail("KyTab error: too many cells", 108);
    AKytabCell* cell = new AKytabCell(this);
    cell->lineColour = lineColour;
    return cell;
}

void AKytabFragment::storeNew(AKytabCell* cell, long row, long column) {
    ARefHold<AKytabCell> hold(cell);
    setCell(cell, row, column);
}

void AKytabFragment::placeCells() {
    long rows = description_->childCount();
    if (rows > KyTab::kMaxRows)
        KyTab::Fail("KyTab error: too many rows", 123);
    rowCount = static_cast<int16_t>(rows);
    long i = 0;
    for (AKytabCell* row = description_->firstChild; row; row = row->nextSibling, ++i) {
        long c = 0;
        long lastPlaced = -1;
        for (AKytabCell* cell = row->firstChild; cell; cell = cell->nextSibling) {
            AKytabCell* slot;
            while ((slot = cellAt(i, c)) != nullptr && slot->covered)
                ++c;
            if (cell->isGroup && !cell->fModel)
                cell->setContent(nullptr, nullptr);  // a group in a cell's place shows as an empty cell
            setCell(cell, i, c);
            long c0 = c;
            // Placeholders below the last row would never be shown: they are not made.
            long down = cell->rowSpan > 0 ? std::min<long>(cell->rowSpan, rows - i) : 1;
            long across = cell->colSpan > 0 ? cell->colSpan : 1;
            if (c0 + across > KyTab::kMaxColumns)
                KyTab::Fail("KyTab error: span beyond the grid", 146);
            for (long k = 0; k < down; ++k)
                for (long m = 0; m < across; ++m)
                    if (k || m) {
                        AKytabCell* placeholder = newCell();
                        placeholder->covered = 1;
                        storeNew(placeholder, i + k, c0 + m);
                    }
            c = c0 + across - 1;
            lastPlaced = c;
            ++c;
        }
        if (lastPlaced + 1 > columnCount)
            columnCount = static_cast<int16_t>(lastPlaced + 1);
    }
    if (static_cast<long>(rowCount) * columnCount > kMaxCells)
        KyTab::Fail("KyTab error: too many cells", 163);
}

void AKytabFragment::fillHoles() {
    for (long r = 0; r < rowCount; ++r)
        for (long c = 0; c < columnCount; ++c)
            if (!cellAt(r, c)) {
                AKytabCell* cell = newCell();
                storeNew(cell, r, c);
                cell->setContent(nullptr, nullptr);
            }
}

long AKytabFragment::tableWidth(long available) const {
    if (widthMode == kAuto)
        return 0;
    if (widthValue < 1)
        ThrowAssert("kytab", 187);
    if (widthMode == kAbsolute)
        return widthValue;
    return MulDiv(available, widthValue * 10, 1000);
}

ADataRun* AKytabFragment::nextDataRun(ADataRun* previous, bool) {
    if (previous)
        return nullptr;
    return new ATableDataRun(this);
}

AString AKytabFragment::getText(ALocalRange range) {
    AString text;
    for (long r = 0; r < rowCount; ++r) {
        for (long c = 0; c < columnCount; ++c) {
            AKytabCell* cell = cellAt(r, c);
            if (cell && !cell->covered && cell->start < range.end && range.start < cell->end)
                text += cell->getText(range.start, range.end);
            text += '\t';
        }
        text += '\n';
    }
    return text;
}

// The content laid out unbounded on the measuring display, as the table's own layout sizes such a cell.
long AKytabFragment::measuredWidth(AKytabCell* cell, ARunDisplay* measure, AStyleSheet* sheet) {
    ARefHold<AKytabCellRenderer> trial(
        CheckAlloc(new (std::nothrow) AKytabCellRenderer(cell->fModel, sheet, measure, ARect(0, 0, 10000, 10000)),
                   "kytab", 250));
    trial->layoutFrom(0);
    return trial->lines.widest() * 1100 / 1000 + 2 * marginH;
}

std::vector<long> AKytabFragment::exportWidths(long available, ARunDisplay* measure, AStyleSheet* sheet) {
    bool measuring = measure && sheet && measure->canMeasure();
    std::vector<long> widths(columnCount, 0);
    long target = tableWidth(available);
    for (long r = 0; r < rowCount; ++r) {
        long rowWidth = target ? target : available;
        for (long c = 0; c < columnCount; ++c) {
            AKytabCell* cell = cellAt(r, c);
            if (!cell->covered && cell->width < 0)
                rowWidth += cell->width;
        }
        long sum = 0, unset = 0;
        for (long c = 0; c < columnCount; ++c) {
            AKytabCell* cell = cellAt(r, c);
            if (!cell->covered && cell->colSpan < 2) {
                // Without a measuring display a natural-width cell asks for the row.
                long w = cell->width < 0                  ? -cell->width
                         : cell->width > 0                ? rowWidth * cell->width * 10 / 1000
                         : measuring && cell->fModel ? measuredWidth(cell, measure, sheet)
                                                          : rowWidth;
                widths[c] = std::max(widths[c], w);
            }
        }
        for (long w : widths) {
            sum += w;
            unset += w == 0;
        }
        if (unset && sum < rowWidth)
            for (long& w : widths)
                if (!w)
                    w = (rowWidth - sum) / unset;
    }
    return widths;
}

void AKytabFragment::exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) {
    if (!(writer->options() & AExportWriter::kMarkupOrRtf)) {
        ATextFragment::exportTo(writer, range, context);
        return;
    }
    AExportTable table(rowCount, columnCount);
    table.widthUnit = widthMode;
    table.width = widthValue;
    table.gap = marginH;
    table.value = marginV;
    table.kind = frameKind;
    table.extra = static_cast<int16_t>(defaultFill);
    table.leading = separator;
    writer->beginTable(table);
    long available = context.referenceWidth >= 1 ? context.referenceWidth : 451;
    std::vector<long> widths = exportWidths(available, context.measuringDisplay, context.styleSheet());
    std::vector<AKytabCell*> spanCell(columnCount, nullptr);
    std::vector<long> spanRow(columnCount, 0);
    for (long r = 0; r < rowCount; ++r) {
        // The writers put the separator before every row and cell but the first.
        AExportRow row(table, r == 0 ? 1 : 0);
        writer->beginRow(row);
        bool first = true;
        for (long c = 0; c < columnCount; ++c) {
            AKytabCell* cell = cellAt(r, c);
            if (!cell)
                ThrowAssert("kytab", 260);
            if (spanCell[c] && spanCell[c]->rowSpan <= r - spanRow[c])
                spanCell[c] = nullptr;
            bool continuation = cell->covered && spanCell[c];
            if (cell->covered && !continuation)
                continue;
            AKytabCell* shown = continuation ? spanCell[c] : cell;
            long across = std::max<long>(shown->colSpan, 1);
            // The record carries the cell's right edge: RTF places cells by it.
            long right = 0;
            for (long k = 0; k < c + across && k < columnCount; ++k)
                right += widths[k];
            AExportCell record(row, shown->rowSpan, shown->colSpan, right, first ? 1 : 0);
            record.value2 = shown->width;
            record.verticalAlign = shown->verticalAlign;
            record.value3 = static_cast<int16_t>(shown->textColour);
            record.background = static_cast<int16_t>(shown->fill);
            record.borders = shown->sides;
            record.spanIndex = static_cast<int16_t>(continuation ? r - spanRow[c] : 0);
            if (frameKind >= 0 && writer->format() == 1) {
                if (r == 0)
                    record.borders |= 1;
                if (r == rowCount - 1)
                    record.borders |= 4;
                if (c == 0)
                    record.borders |= 2;
                if (c + across == columnCount)
                    record.borders |= 8;
            }
            writer->beginCell(record, context);
            if (!continuation && shown->fModel && shown->start < range.end && range.start < shown->end)
                writer->exportModel(shown->fModel, context);
            writer->endCell(record);
            if (!continuation) {
                first = false;
                if (shown->rowSpan > 1) {
                    spanCell[c] = shown;
                    spanRow[c] = r;
                }
            }
        }
        writer->endRow(row);
    }
    writer->endTable(table);
}

AFragment* AKytabSubParser::makeFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags,
                                         ALocalRange name, uint16_t linkKind) {
    return new AKytabFragment(segment, previous, range, flags, name, linkKind, defaultFill_, separator_);
}

void EnableTables(ALineRenderer* renderer, char separator) {
    ADocModel* model = renderer ? renderer->model() : nullptr;
    AFragParser* parser = model ? model->getFragParser() : nullptr;
    if (!parser)
        ThrowAssert("kytab", 330);
    ARefHold<AKytabSubParser> sub(new AKytabSubParser(separator));
    parser->setSubParser(sub.get());
}
