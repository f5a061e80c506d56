// The RTF writer: a model written as an RTF file in Windows-1252, with a
// font and a colour table from the context's style sheet, paragraphs with
// alignment and tab stops, each styled run as its own group, tables,
// footnotes, note markers and pictures as hexadecimal metafiles.
//
// Not shared: lives on the caller's stack for one export (see AExportWriter).
// Without a style sheet it writes no tables and no run formatting.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AStrDic.h"
#include "docengine/export/AExportWriter.h"

// Set by the application while it exports a result list: segment ends then
// write no paragraph mark.
extern uint16_t gRtfListExport;

class ARtfExportWriter : public AExportWriter {
public:
    ARtfExportWriter(AExportSink* sink, AExportProvider* provider);

    void paragraphBreak() override { writeRaw("\\par\r\n", 6); }
    // Escapes '\', '{', '}', TAB, control bytes and bytes of 0x80 and above.
    void write(const char* data, long length) override;
    void beginParagraph(AFragmentRef* reference, long tabs, const AExportContext& context) override;
    void beginRun(const ARunRecord& run, const AExportContext& context) override;
    void endRun(const AExportContext& context) override;
    void writePicture(ABitmapRef* bitmap, const AExportContext& context) override;
    void beginTable(const AExportTable&) override { writeRaw("\\pard\\plain\\intbl\r\n", 19); }
    void endTable(const AExportTable&) override { writeRaw("\\pard\\plain\r\n", 13); }
    void beginRow(const AExportRow& row) override;
    void endRow(const AExportRow&) override { writeRaw("\\row\r\n", 6); }
    void beginCell(const AExportCell& cell, const AExportContext& context) override;
    void endCell(const AExportCell&) override { writeRaw("\\cell\r\n", 7); }
    bool writesEscapes() override { return false; }
    void beginDocument(const AExportCursor& cursor) override;
    void endDocument(const AExportCursor&) override;
    void endSegment(ASegment* segment, ALocalRange range) override;
    void endLink(const AExportLink& link, const AExportContext& context) override;
    void beginNoteMarker(const AExportLink&, const AExportContext&) override { writeRaw("{\\b\\super", 9); }
    void endNoteMarker(const AExportLink&, const AExportContext&) override { writeRaw("}\r\n", 3); }

    // The picture of a bitmap as a packed device-independent bitmap in a new
    // global block (the caller frees it), with the size of one frame in pixels
    // and the sub-image counts; null when it cannot be read.
    virtual void* renderBitmap(ABitmapRef* bitmap, const AExportContext& context, long* width, long* height,
                               int* across, int* down);

    // Index in the tables made by beginDocument, -1 when absent.
    long colourIndex(uint32_t colour) const;
    long fontIndex(const AString& face) const;

private:
    void writeFontTable(AStyleSheet* sheet);
    void writeColourTable(AStyleSheet* sheet);

    ALongLongDic colours_;  // COLORREF (low 24 bits) -> index
    AStrDic fonts_;         // face -> index (stored in the value pointer)
};
