// Helpers of the kytab tests.
#include "tests/docengine/kytab/KytabTestSupport.h"

#include <cstdio>

#include "docengine/kytab/AKytabCell.h"
#include "docengine/model/ASegment.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/model/ModelTestSupport.h"

ParsedTable::ParsedTable(const std::string& markup, char separator) {
    ATextFragParser* parser = new ATextFragParser('/');
    parser->setSubParser(new AKytabSubParser(separator));
    model = MakeIndexedModel(markup, parser);
    segment = model->getSegmentAt(0, true);
    if (!segment)
        return;
    segment->lock();
    try {
        for (AFragment* f = segment->load(); f; f = f->next())
            if (f->isTable() && !table)
                table = static_cast<AKytabFragment*>(f);
    } catch (const AParserError& e) {
        error = e.message().c_str();
    }
}

ParsedTable::~ParsedTable() {
    if (segment)
        segment->unlock();
    model->release();
}

std::string DescribeTable(AKytabFragment* table) {
    char head[160];
    snprintf(head, sizeof head, "mode=%d width=%ld frame=%d margin=%ld line=%lX fill=%ld %dx%d", table->widthMode,
             table->widthValue, table->frameKind, table->marginH, static_cast<unsigned long>(table->lineColour),
             table->defaultFill, table->rowCount, table->columnCount);
    std::string out = head;
    for (long r = 0; r < table->rowCount; ++r) {
        out += " [";
        for (long c = 0; c < table->columnCount; ++c) {
            AKytabCell* cell = table->cellAt(r, c);
            if (c)
                out += " ";
            if (cell->covered) {
                out += "^";
                continue;
            }
            if (!cell->start && !cell->end && !cell->sides && !cell->lineWidth) {
                out += "_";
                continue;
            }
            char text[160];
            snprintf(text, sizeof text, "%ld,%ld,%d,%d,%ld,%lX:%u:%ld", cell->width, cell->height, cell->rowSpan,
                     cell->colSpan, cell->verticalAlign, static_cast<unsigned long>(cell->fill), cell->sides,
                     cell->lineWidth);
            out += text;
            if (cell->titleFlag)
                out += " T";
            if (cell->picture != -1)
                out += " pic=" + std::to_string(cell->picture);
            out += "|";
            out += cell->getText(0, 0x7FFFFFFF).c_str();
        }
        out += "]";
    }
    return out;
}
