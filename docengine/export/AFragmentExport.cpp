// How each kind of fragment writes itself through an export writer.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "docengine/export/AExportWriter.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/ASegment.h"
#include "docengine/text/MarkupScan.h"

void AFragment::exportTo(AExportWriter* writer, ALocalRange range, const AExportContext&) {
    AString text = getText(range);
    writer->write(text.c_str(), text.length());
}

void AParagraphFragment::exportTo(AExportWriter* writer, ALocalRange, const AExportContext&) {
    if (previous_)
        writer->newParagraph();
}

void AClickableFragment::exportTo(AExportWriter* writer, ALocalRange, const AExportContext& context) {
    if (writer->options() & AExportWriter::kClickables)
        writer->writeClickable(this, context);
}

void ALinkFragment::exportTo(AExportWriter* writer, ALocalRange, const AExportContext&) {
    char text[24];
    unsigned long target = strtoul(target_.c_str(), nullptr, 10);
    int n = snprintf(text, sizeof text, "(%lu)", target >> 24);
    writer->write(text, n);
}

// Styled runs: a special byte is a run of its own (its argument byte written,
// the byte itself as the record's code); other text runs up to the next one.
void ATextFragment::exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) {
    if (!(writer->options() & AExportWriter::kStyledRuns)) {
        AFragment::exportTo(writer, range, context);
        return;
    }
    const AString& all = checkedSegment(460)->text();
    long end = std::min<long>(range.end, all.length());
    const char* text = all.c_str();
    bool escape = range.start > 0 && range.start <= all.length() && text[range.start - 1] == '\\';
    for (long p = range.start; p < end;) {
        uint16_t code = 0;
        long from = p, to;
        if (isSpecialByte(text[p])) {
            code = static_cast<unsigned char>(text[p]);
            from = p + 1;
            to = std::min(p + 2, end);
        } else {
            to = p;
            while (to < end && !isSpecialByte(text[to]))
                ++to;
        }
        ARunRecord record{code, style_, colour_, hValue_};
        writer->beginRun(record, context);
        if (escape && writer->writesEscapes()) {
            writer->write("\\", 1);
            escape = false;
        }
        if (to > from)
            writer->write(text + from, to - from);
        writer->endRun(context);
        p = to > p ? to : p + 1;
    }
}
