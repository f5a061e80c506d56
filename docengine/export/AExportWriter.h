// The export walk: a writer visits a model's segments and fragments over a
// range and calls its own operations for paragraphs, runs, clickables,
// links, note markers and tables; a format overrides what it needs. The
// plain-text writer overrides only isWholeSegment.
//
// Not shared: a writer lives on the caller's stack for one export and holds a
// reference on its sink and its provider. Without a provider nothing is
// written. Exceptions leave the sink with what was written so far.
#pragma once

#include <cstdint>

#include "docengine/export/AExportContext.h"
#include "docengine/model/ADocModel.h"

class AExportProvider;
class AExportSink;
class AFragmentRef;
class ABitmapRef;

// Four 16-bit values of a run: special character code (0: plain run),
// style number, colour number, H value.
struct ARunRecord {
    uint16_t code;
    int16_t style;
    int16_t colour;
    int16_t hValue;
};

class AExportWriter {
public:
    enum : uint16_t { kClickables = 1, kStyledRuns = 2, kMarkupOrRtf = 4, kCountTabs = 8 };

    AExportWriter(AExportSink* sink, AExportProvider* provider, uint16_t format, uint16_t options, uint16_t linkMode);
    virtual ~AExportWriter();
    AExportWriter(const AExportWriter&) = delete;
    AExportWriter& operator=(const AExportWriter&) = delete;

    virtual void exportAll();
    virtual void exportSelection();
    // An empty or reversed range exports the whole model.
    virtual void exportRange(ADocRange range);
    // True when the segment is always exported whole (it holds an inline table).
    virtual bool isWholeSegment(ASegment* segment);
    virtual void exportModel(ADocModel* model, const AExportContext& context);
    virtual void exportModelRange(ADocModel* model, ADocRange range, const AExportContext& context);
    virtual void paragraphBreak() { newLine(); }
    virtual void newParagraph() { paragraphBreak(); }
    virtual void writeBytes(const char* data, long length, bool filtered);
    virtual void write(const char* data, long length) { writeBytes(data, length, true); }
    virtual void writeRaw(const char* data, long length) { writeBytes(data, length, false); }
    // Two lower-case digits a byte, 40 bytes a line, each line ended by "\r\n".
    virtual void writeHex(const unsigned char* data, long length);
    virtual void newLine() { writeRaw("\r\n", 2); }
    virtual void writeLineFeed() { writeRaw("\n", 1); }
    virtual void beginParagraph(AFragmentRef*, long, const AExportContext&) {}
    virtual void endParagraph(AFragmentRef*, const AExportContext&) {}
    virtual void beginRun(const ARunRecord&, const AExportContext&) {}
    virtual void endRun(const AExportContext&) {}
    virtual void writeClickable(AFragment* fragment, const AExportContext& context);
    virtual void writePicture(ABitmapRef*, const AExportContext&) {}
    virtual void beginTable(const AExportTable&) {}
    virtual void endTable(const AExportTable&) {}
    virtual void beginRow(const AExportRow&) {}
    virtual void endRow(const AExportRow&) {}
    virtual void beginCell(const AExportCell&, const AExportContext&) {}
    virtual void endCell(const AExportCell&) {}
    virtual bool writesEscapes() { return true; }
    virtual void exportDocument(const AExportCursor& cursor, ADocRange range);
    virtual void beginDocument(const AExportCursor&) {}
    virtual void writeTrailer(const AExportCursor& cursor, ADocRange range);
    virtual void endDocument(const AExportCursor&) {}
    virtual void beginSegment(ASegment*, ALocalRange, const AExportContext&) {}
    // A segment that ends inside the exported range ends its paragraph.
    virtual void endSegment(ASegment* segment, ALocalRange range);
    virtual void exportFragment(AFragment* fragment, ALocalRange range, const AExportContext& context);
    virtual AExportLink makeLink(const AString& target, const AExportContext& context);
    virtual void beginLink(const AExportLink&, const AExportContext&) {}
    virtual void endLink(const AExportLink&, const AExportContext&) {}
    virtual void beginNoteMarker(const AExportLink&, const AExportContext&) {}
    virtual void endNoteMarker(const AExportLink&, const AExportContext&) {}

    uint16_t format() const { return format_; }
    uint16_t options() const { return options_; }
    AExportProvider* provider() const { return provider_; }

protected:
    // printf into the sink, raw; at most 200 bytes.
    void writeFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    enum Choice { kAll, kSelection, kRange };
    void exportChosen(Choice choice, ADocRange range);
    typedef AExportCursor (AExportProvider::*ExtraCursor)(long, ADocRange, const AExportCursor&);
    // The provider's prologue or epilogue models, each after a paragraph break.
    void exportExtras(ExtraCursor which, const AExportCursor& cursor, ADocRange range);
    // Closes the open paragraph and opens the fragment's; answers the open reference.
    AFragmentRef* paragraphStep(AFragmentRef* previous, AFragment* fragment, const AExportContext& context);

    AExportSink* sink_;          // one reference held
    AExportProvider* provider_;  // one reference held, or null
    uint16_t format_;            // 0 plain, 1 RTF, 3 slash markup
    uint16_t options_;
    uint16_t linkMode_;  // 0: no link records
};

class APlainExportWriter : public AExportWriter {
public:
    APlainExportWriter(AExportSink* sink, AExportProvider* provider) : AExportWriter(sink, provider, 0, 0, 0) {}
    bool isWholeSegment(ASegment*) override { return false; }
};
