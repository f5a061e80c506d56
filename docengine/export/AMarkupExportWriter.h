// The slash-markup writer: a model or a range of it written back in the
// engine's own text format, keeping styles, colours, paragraph codes, buttons
// and inline tables. Codes go out raw, text through the sink's filter.
//
// Not shared: lives on the caller's stack for one export (see AExportWriter).
#pragma once

#include "docengine/export/AExportWriter.h"

class AMarkupExportWriter : public AExportWriter {
public:
    // The trailer is written only when trailer is set (model exports pass false).
    AMarkupExportWriter(AExportSink* sink, AExportProvider* provider, bool trailer);

    void newParagraph() override;
    void beginParagraph(AFragmentRef* reference, long tabs, const AExportContext& context) override;
    void beginRun(const ARunRecord& run, const AExportContext& context) override;
    void writeClickable(AFragment* fragment, const AExportContext& context) override;
    void beginTable(const AExportTable& table) override;
    void endTable(const AExportTable&) override { writeRaw("]&/", 3); }
    void beginRow(const AExportRow& row) override;
    void endRow(const AExportRow&) override { writeRaw("]", 1); }
    void beginCell(const AExportCell& cell, const AExportContext& context) override;
    void writeTrailer(const AExportCursor& cursor, ADocRange range) override;
    void endDocument(const AExportCursor& cursor) override;
    void endSegment(ASegment* segment, ALocalRange range) override;
    void beginLink(const AExportLink& link, const AExportContext& context) override;
    void endLink(const AExportLink& link, const AExportContext& context) override;

    // "/@" letter value "/", e.g. "/@S3/".
    void writeCode(char letter, long value);

private:
    void flushPending();

    // The paragraph codes wait for the "/$" that opens their paragraph: the
    // parser gives a code to the paragraph it stands in.
    AString pending_;
    bool holding_ = false;
    bool trailer_;
};
