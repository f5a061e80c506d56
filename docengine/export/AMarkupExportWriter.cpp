// The slash-markup writer's codes for each step of the export walk.
#include "docengine/export/AMarkupExportWriter.h"

#include <cstdio>

#include "docengine/export/AExportProvider.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"

AMarkupExportWriter::AMarkupExportWriter(AExportSink* sink, AExportProvider* provider, bool trailer)
    : AExportWriter(sink, provider, 3, 7, 0xFFFF), trailer_(trailer) {}

void AMarkupExportWriter::writeCode(char letter, long value) {
    writeFormatted("/@%c%ld/", letter, value);
}

void AMarkupExportWriter::flushPending() {
    if (!holding_)
        return;
    holding_ = false;
    writeRaw(pending_.c_str(), pending_.length());
    pending_ = AString();
}

void AMarkupExportWriter::newParagraph() {
    writeRaw("/$", 2);
    flushPending();
}

void AMarkupExportWriter::endDocument(const AExportCursor&) {
    flushPending();
    writeLineFeed();
}

// The paragraph's own format, not the copy merged with the context's defaults.
void AMarkupExportWriter::beginParagraph(AFragmentRef* reference, long, const AExportContext&) {
    auto* paragraph = reference ? dynamic_cast<AParagraphFragment*>(reference->fragment()) : nullptr;
    flushPending();
    if (!paragraph)
        return;
    char text[48];
    int n = 0;
    if (paragraph->format.bits != 0)
        n += snprintf(text + n, sizeof text - n, "/@J%ld/", static_cast<long>(paragraph->format.bits));
    if (paragraph->format.first != 0)
        n += snprintf(text + n, sizeof text - n, "/@T%ld/", static_cast<long>(paragraph->format.first));
    pending_ = AString(text, n);
    holding_ = n > 0;
}

// A special character's code goes out alone: the fragment then writes its argument byte.
void AMarkupExportWriter::beginRun(const ARunRecord& run, const AExportContext&) {
    flushPending();
    if (run.code != 0) {
        char code = static_cast<char>(run.code);
        writeRaw(&code, 1);
        return;
    }
    writeCode('S', run.style);
    writeCode('C', run.colour);
    if (run.hValue > 0)
        writeCode('H', run.hValue);
}

namespace {

// The first flag of a group that is set gives its letter; 0 when none is.
char FlagLetter(uint16_t flags, const uint16_t* bits, const char* letters) {
    for (int i = 0; letters[i]; ++i)
        if (flags & bits[i])
            return letters[i];
    return 0;
}

}  // namespace

void AMarkupExportWriter::writeClickable(AFragment* fragment, const AExportContext& context) {
    auto* clickable = dynamic_cast<AClickableFragment*>(fragment);
    if (!clickable)
        return;
    flushPending();
    AString target = clickable->getOwnText();
    if (provider()) {
        const auto* cursor = dynamic_cast<const AExportCursor*>(&context);
        target = provider()->formatTarget(target, cursor ? cursor->linkPrefix : AString());
    }
    writeFormatted("/!%ld", static_cast<long>(clickable->number()));
    uint16_t flags = clickable->clickFlags();
    if (flags != 0) {
        static const uint16_t kAlign[] = {0x2, 0x1, 0x4, 0x8};
        static const uint16_t kMark[] = {0x20, 0x10, 0x40, 0x80};
        static const uint16_t kOption[] = {0x1000, 0x2000, 0x4000};
        char letters[5] = {','};
        int n = 1;
        for (char c :
             {FlagLetter(flags, kAlign, "<|>="), FlagLetter(flags, kMark, "^+_*"), FlagLetter(flags, kOption, "SWR")})
            if (c)
                letters[n++] = c;
        writeRaw(letters, n);
    }
    writeRaw("!", 1);
    write(target.c_str(), target.length());
    writeRaw("/", 1);
}

void AMarkupExportWriter::beginTable(const AExportTable& table) {
    flushPending();
    const char* kind = table.kind == -1 ? "N " : table.kind == 1 ? "B " : table.kind == 2 ? "D " : "";
    writeFormatted("/&TABLE:%ld%s:%s%ld:[", static_cast<long>(table.width), table.widthUnit == 3 ? "%" : "", kind,
                   static_cast<long>(table.gap));
}

void AMarkupExportWriter::beginRow(const AExportRow& row) {
    if (row.noLeadingRow == 0) {
        char leading = static_cast<char>(row.leading & 0xFF);
        writeRaw(&leading, 1);
    }
    writeRaw("[", 1);
}

// A cell covered by a vertical span is written by the span's first cell.
void AMarkupExportWriter::beginCell(const AExportCell& cell, const AExportContext&) {
    if (cell.spanIndex != 0)
        return;
    if (cell.noLeadingCell == 0) {
        char leading = static_cast<char>(cell.leading & 0xFF);
        writeRaw(&leading, 1);
    }
    writeFormatted("%ld,%ld,%ld,%ld,%ld:%ld|", static_cast<long>(cell.value2), static_cast<long>(cell.rowSpan),
                   static_cast<long>(cell.secondSpan), static_cast<long>(cell.verticalAlign),
                   static_cast<long>(cell.background), static_cast<long>(cell.borders));
}

void AMarkupExportWriter::writeTrailer(const AExportCursor& cursor, ADocRange range) {
    if (trailer_)
        AExportWriter::writeTrailer(cursor, range);
}

// A table cell's content lives in a child model: its lines end with the two
// characters '\' 'n' so that the cell stays on its table's line.
void AMarkupExportWriter::endSegment(ASegment* segment, ALocalRange range) {
    flushPending();
    if (segment->text().length() > range.end)
        return;
    if (segment->owner() && segment->owner()->GetParentModel())
        writeRaw("\\n", 2);
    else
        writeLineFeed();
}

void AMarkupExportWriter::beginLink(const AExportLink& link, const AExportContext&) {
    flushPending();
    if (!link.text.empty())
        writeRaw("{r", 2);
}

void AMarkupExportWriter::endLink(const AExportLink& link, const AExportContext&) {
    if (link.text.empty())
        return;
    writeRaw("#", 1);
    write(link.text.c_str(), link.text.length());
    writeRaw("}", 1);
}
