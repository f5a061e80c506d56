// The RTF writer's control words for each step of the export walk.
#include "docengine/export/ARtfExportWriter.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/object/AGlobalMemory.h"
#include "base/procedural/AError.h"
#include "docengine/export/AWmfWriter.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/AImage.h"

uint16_t gRtfListExport = 0;

ARtfExportWriter::ARtfExportWriter(AExportSink* sink, AExportProvider* provider)
    : AExportWriter(sink, provider, 1, 0xF, 1) {}

// TAB is "\tab "; '\', '{', '}' take a backslash; control bytes and bytes of
// 0x80 and above are "\'hh" (Windows-1252, no conversion). Plain bytes go out
// in pieces.
void ARtfExportWriter::write(const char* data, long length) {
    long i = 0;
    while (i < length) {
        long start = i;
        while (i < length) {
            auto c = static_cast<unsigned char>(data[i]);
            if (c < 0x20 || c >= 0x80 || c == '\\' || c == '{' || c == '}')
                break;
            ++i;
        }
        if (i > start)
            writeRaw(data + start, i - start);
        if (i >= length)
            break;
        auto c = static_cast<unsigned char>(data[i++]);
        if (c == '\t') {
            writeRaw("\\tab ", 5);
        } else if (c == '\\' || c == '{' || c == '}') {
            char pair[2] = {'\\', static_cast<char>(c)};
            writeRaw(pair, 2);
        } else {
            writeFormatted("\\'%.02x", c);
        }
    }
}

long ARtfExportWriter::colourIndex(uint32_t colour) const {
    Pix p = colours_.seek(static_cast<long>(colour & 0xFFFFFF));
    return p ? colours_.numberOf(p) : -1;
}

long ARtfExportWriter::fontIndex(const AString& face) const {
    Pix p = fonts_.seek(face);
    return p ? static_cast<long>(reinterpret_cast<intptr_t>(fonts_.contents(p))) : -1;
}

// One entry per distinct face, numbered by first appearance over the font
// numbers and, within each, the sub-styles (0 always included).
void ARtfExportWriter::writeFontTable(AStyleSheet* sheet) {
    writeRaw("{\\fonttbl\r\n", 11);
    fonts_.clear();
    longa_pvoidAVLMap numbers, subStyles;
    sheet->collectFontKeys(numbers);
    sheet->collectSubStyleKeys(subStyles);
    subStyles.slot(0) = nullptr;
    long next = 0;
    for (Pix s = numbers.first(); s; numbers.next(s)) {
        if (numbers.keyOf(s) < 0 || numbers.keyOf(s) > 0xFFFF)
            continue;  // a font cached under a sub-style is reached through that sub-style
        for (Pix u = subStyles.first(); u; subStyles.next(u)) {
            AStyleFont* font = sheet->getFont(numbers.keyOf(s), static_cast<int16_t>(subStyles.keyOf(u)));
            if (!font || fonts_.contains(font->desc().face))
                continue;
            const AString& face = font->desc().face;
            writeFormatted("{\\f%ld ", next);
            // ';' ends a face name in the table: it goes out as a hexadecimal byte.
            for (long i = 0; i < face.length(); ++i) {
                if (face[i] == ';')
                    writeRaw("\\'3b", 4);
                else
                    write(face.c_str() + i, 1);
            }
            writeRaw(";}\r\n", 4);
            fonts_.insert(face) = reinterpret_cast<void*>(static_cast<intptr_t>(next));
            ++next;
        }
    }
    writeRaw("}\r\n", 3);
}

// No leading empty entry: the first colour has index 0.
void ARtfExportWriter::writeColourTable(AStyleSheet* sheet) {
    writeRaw("{\\colortbl\r\n", 12);
    colours_.clear();
    longa_pvoidAVLMap numbers;
    sheet->collectColorKeys(numbers);
    long next = 0;
    for (Pix p = numbers.first(); p; numbers.next(p)) {
        uint32_t value = sheet->getColor(numbers.keyOf(p));
        if (colourIndex(value) >= 0)
            continue;
        writeFormatted("\\red%lu\\green%lu\\blue%lu;\r\n", static_cast<unsigned long>(value & 0xFF),
                       static_cast<unsigned long>((value & 0xFFFF) >> 8),
                       static_cast<unsigned long>((value >> 16) & 0xFF));
        colours_.slot(static_cast<long>(value & 0xFFFFFF)) = next++;
    }
    writeRaw("}\r\n", 3);
}

void ARtfExportWriter::beginDocument(const AExportCursor& cursor) {
    writeRaw("{\\rtf1\\ansi\\deflang1036\r\n", 25);
    if (AStyleSheet* sheet = cursor.styleSheet()) {
        writeFontTable(sheet);
        writeColourTable(sheet);
    }
    writeRaw("\\pard\r\n", 7);
}

void ARtfExportWriter::endDocument(const AExportCursor&) {
    paragraphBreak();
    writeRaw("}", 1);
}

void ARtfExportWriter::beginParagraph(AFragmentRef* reference, long tabs, const AExportContext& context) {
    if (!reference)
        return;
    writeRaw("\\pard", 5);
    ASegment* segment = reference->fragment() ? reference->fragment()->segment() : nullptr;
    if (segment && segment->owner() && segment->owner()->GetParentModel())
        writeRaw("\\intbl", 6);
    writeRaw("\\plain", 6);
    const AParagraphFormat& format = reference->format();
    static const struct {
        uint16_t bit;
        const char* word;
    } kAlign[] = {{2, "\\ql"}, {1, "\\qc"}, {4, "\\qr"}, {8, "\\qj"}};
    for (const auto& a : kAlign) {
        if (format.bits & a.bit) {
            writeRaw(a.word, 3);
            break;
        }
    }
    AStyleSheet* sheet = context.styleSheet();
    if (sheet && tabs > 0) {
        ATabStops* own = sheet->getTabStops(format.first);
        long width = context.referenceWidth < 1 ? 451 : context.referenceWidth;
        ATabStops stops(*own, context.scaleTabStops ? width : 1, context.scaleTabStops ? 100 : 1);
        if (format.bits & (0x800 | 0x100)) {
            long at = stops.stopAt(format.bits & 0x800 ? 0 : tabs - 1).position * 20;
            writeFormatted("\\fi%ld\\li%ld", -at, at);
        }
        writeRaw("\r\n", 2);
        for (long i = 0; i < tabs; ++i) {
            ATabStop stop = stops.stopAt(i);
            if (stop.justification & 1)
                writeRaw("\\tqc", 4);
            else if (stop.justification & 4)
                writeRaw("\\tqr", 4);
            writeFormatted("\\tx%ld", static_cast<long>(stop.position) * 20);
        }
    }
    writeRaw("\r\n", 2);
}

void ARtfExportWriter::beginRun(const ARunRecord& run, const AExportContext& context) {
    AStyleSheet* sheet = context.styleSheet();
    if (!sheet)
        return;
    if (run.hValue > 0) {
        long index = colourIndex(sheet->getColor(run.hValue));
        if (index >= 0)
            writeFormatted("\\cbpat%ld ", index);
    }
    writeRaw("{", 1);
    if (AStyleFont* font = sheet->getFont(run.style, static_cast<int16_t>(run.code))) {
        const AFontDesc& desc = font->desc();
        long index = fontIndex(desc.face);
        if (index >= 0)
            writeFormatted("\\f%ld", index);
        writeFormatted("\\fs%ld", static_cast<long>(desc.size) * 2);
        static const struct {
            uint16_t bit;
            const char* word;
        } kStyles[] = {{1, "\\b"}, {2, "\\i"}, {4, "\\ul"}, {0x100, "\\super"}, {0x200, "\\sub"}};
        for (const auto& s : kStyles)
            if (desc.style & s.bit)
                writeRaw(s.word, static_cast<long>(strlen(s.word)));
        writeRaw(" ", 1);
    }
    long colour = colourIndex(sheet->getColor(run.colour));
    if (colour >= 0)
        writeFormatted("\\cf%ld ", colour);
}

void ARtfExportWriter::endRun(const AExportContext& context) {
    if (context.styleSheet())
        writeRaw("}\r\n", 3);
}

void ARtfExportWriter::beginRow(const AExportRow& row) {
    writeFormatted("\\trowd\\trgaph%ld\\trleft%ld\r\n", static_cast<long>(row.gap) * 10,
                   -static_cast<long>(row.gap) * 10);
}

// A vertical span: its first cell writes "\clvmgf" and keeps its top border,
// the others "\clvmrg" without it; only the last keeps the bottom border.
void ARtfExportWriter::beginCell(const AExportCell& cell, const AExportContext& context) {
    uint16_t borders = cell.borders;
    if (cell.rowSpan > 1) {
        if (cell.spanIndex != cell.rowSpan - 1)
            borders &= static_cast<uint16_t>(~4);
        if (cell.spanIndex == 0) {
            writeRaw("\\clvmgf\r\n", 9);
        } else {
            borders &= static_cast<uint16_t>(~1);
            writeRaw("\\clvmrg\r\n", 9);
        }
    }
    if (cell.verticalAlign == 1)
        writeRaw("\\clvertalc\r\n", 12);
    else if (cell.verticalAlign == 2)
        writeRaw("\\clvertalb\r\n", 12);
    if (borders & 0xF) {
        long black = colourIndex(0);
        static const struct {
            uint16_t bit;
            const char* word;
        } kBorders[] = {{1, "\\clbrdrt"}, {2, "\\clbrdrl"}, {4, "\\clbrdrb"}, {8, "\\clbrdrr"}};
        for (const auto& b : kBorders)
            if (borders & b.bit)
                writeFormatted("%s\\brdrs\\brdrw15\\brdrcf%ld\r\n", b.word, black < 0 ? 0 : black);
    }
    if (AStyleSheet* sheet = context.styleSheet()) {
        if (cell.background != 0) {
            uint32_t value = sheet->getColor(cell.background);
            long index = colourIndex(value);
            if ((value & 0xFFFFFF) != 0xFFFFFF && index >= 0)
                writeFormatted("\\clcbpat%ld\r\n", index);
        }
    }
    writeFormatted("\\cellx%ld\r\n", static_cast<long>(cell.rightEdge) * 20);
}

void ARtfExportWriter::endSegment(ASegment* segment, ALocalRange range) {
    if (!gRtfListExport)
        AExportWriter::endSegment(segment, range);
}

void ARtfExportWriter::endLink(const AExportLink& link, const AExportContext& context) {
    if (!(link.flags & 1) || !link.model())
        return;
    writeRaw("\\chftn\r\n{\\*\\footnote", 20);
    exportModel(link.model(), context);
    writeRaw("}\r\n", 3);
}

// Bitmaps from files and resources come as they are stored; named bitmaps
// belong to the application and are not reachable here.
void* ARtfExportWriter::renderBitmap(ABitmapRef* bitmap, const AExportContext&, long* width, long* height,
                                     int* across, int* down) {
    // A picture that cannot be read writes none.
    _AImage* picture = bitmap ? bitmap->picture() : nullptr;
    if (!picture)
        return nullptr;
    APoint frame = picture->frameSize();
    *width = frame.x;
    *height = frame.y;
    *across = picture->spec().columns();
    *down = picture->spec().rows();
    return frame.x > 0 && frame.y > 0 ? picture->copyBits() : nullptr;
}

void ARtfExportWriter::writePicture(ABitmapRef* bitmap, const AExportContext& context) {
    long w = 0, h = 0;
    int across = 1, down = 1;
    AGlobalHandle block(renderBitmap(bitmap, context, &w, &h, &across, &down));
    if (!block.handle())
        return;
    AGlobalMemory memory(block.handle());
    if (!memory.data())
        return;
    long n = static_cast<long>(GlobalSize(block.handle()));
    writeFormatted("{\\pict\\picwgoal%ld\\pichgoal%ld\\piccropr%ld\\piccropb%ld\\wmetafile8\r\n", w * 20, h * 20,
                   (across - 1) * 20 * w, (down - 1) * 20 * h);
    AWmfWriter::picture(static_cast<const unsigned char*>(memory.data()), n, w, h).writeTo(*this);
    writeRaw("}\r\n", 3);
}
