// The export walk over models, segments and fragments.
#include "docengine/export/AExportWriter.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"

AExportWriter::AExportWriter(AExportSink* sink, AExportProvider* provider, uint16_t format, uint16_t options,
                             uint16_t linkMode)
    : sink_(sink), provider_(provider), format_(format), options_(options), linkMode_(linkMode) {
    if (sink_)
        sink_->addRef();
    if (provider_)
        provider_->addRef();
}

AExportWriter::~AExportWriter() {
    ReleaseAndNull(sink_);
    ReleaseAndNull(provider_);
}

void AExportWriter::exportAll() {
    exportChosen(kAll, ADocRange{0, 0});
}

void AExportWriter::exportSelection() {
    exportChosen(kSelection, ADocRange{0, 0});
}

void AExportWriter::exportRange(ADocRange range) {
    exportChosen(kRange, range);
}

void AExportWriter::exportChosen(Choice choice, ADocRange range) {
    if (!provider_)
        return;
    AExportCursor cursor = provider_->makeRootCursor();
    ADocModel* model = cursor.model();
    if (!model)
        return;
    if (choice == kSelection)
        range = model->GetSelection();
    else if (choice == kAll || range.start >= range.end)
        range = ADocRange{0, model->getPositionCount()};
    exportDocument(cursor, range);
}

bool AExportWriter::isWholeSegment(ASegment* segment) {
    return segment && segment->hasTable();
}

void AExportWriter::exportModel(ADocModel* model, const AExportContext& context) {
    if (model)
        exportModelRange(model, ADocRange{0, model->getPositionCount()}, context);
}

void AExportWriter::writeBytes(const char* data, long length, bool filtered) {
    if (sink_)
        sink_->write(data, length, filtered);
}

void AExportWriter::writeFormatted(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n > 0)
        writeRaw(text, n < static_cast<int>(sizeof text) ? n : static_cast<int>(sizeof text) - 1);
}

void AExportWriter::writeHex(const unsigned char* data, long length) {
    char digits[81];
    while (length > 0) {
        long n = length < 40 ? length : 40;
        for (long i = 0; i < n; ++i)
            snprintf(digits + 2 * i, 3, "%.02x", data[i]);
        writeRaw(digits, 2 * n);
        newLine();
        data += n;
        length -= n;
    }
}

void AExportWriter::writeClickable(AFragment* fragment, const AExportContext& context) {
    if (!(options_ & kClickables) || !fragment)
        return;
    auto* clickable = dynamic_cast<AClickableFragment*>(fragment);
    if (!clickable)
        return;
    if (clickable->number() != -1) {
        if (AStyleSheet* sheet = context.styleSheet())
            if (ABitmapRef* bitmap = sheet->getBitmap(clickable->number()))
                writePicture(bitmap, context);
        return;
    }
    // A picture by name is the application's, asked of the supplier the view
    // draws with; a name it does not know (or no supplier) writes no picture.
    ABitmapSupplier* supplier = context.bitmapSupplier();
    if (!supplier)
        return;
    AString name = clickable->getName();
    if (!name.length())
        name = clickable->getOwnText();
    ABitmapRef* bitmap = supplier->bitmapNamed(name);
    if (!bitmap)
        return;
    bitmap->addRef();
    try {
        writePicture(bitmap, context);
    } catch (...) {
        bitmap->release();
        throw;
    }
    bitmap->release();
}

void AExportWriter::exportDocument(const AExportCursor& cursor, ADocRange range) {
    if (!cursor.model())
        return;
    beginDocument(cursor);
    exportExtras(&AExportProvider::prologueCursor, cursor, range);
    exportModelRange(cursor.model(), range, cursor);
    exportExtras(&AExportProvider::epilogueCursor, cursor, range);
    writeTrailer(cursor, range);
    endDocument(cursor);
}

void AExportWriter::exportExtras(ExtraCursor which, const AExportCursor& cursor, ADocRange range) {
    for (long i = 0; provider_; ++i) {
        AExportCursor extra = (provider_->*which)(i, range, cursor);
        if (!extra.model())
            break;
        paragraphBreak();
        exportModel(extra.model(), extra);
    }
}

void AExportWriter::writeTrailer(const AExportCursor& cursor, ADocRange range) {
    if (cursor.trailerModel() && provider_ && provider_->wantsTrailer(range, cursor.linkPrefix)) {
        paragraphBreak();
        exportModel(cursor.trailerModel(), cursor);
    }
}

namespace {

// Unlocks a segment when the walk leaves it, normally or by an exception.
class SegmentHold {
public:
    explicit SegmentHold(ASegment* segment) : segment_(segment) {
        if (segment_)
            segment_->lock();
    }
    ~SegmentHold() {
        if (segment_)
            segment_->unlock();
    }
    SegmentHold(const SegmentHold&) = delete;
    SegmentHold& operator=(const SegmentHold&) = delete;
    ASegment* get() const { return segment_; }
    void moveTo(ASegment* next) {
        if (next)
            next->lock();
        ASegment* old = segment_;
        segment_ = next;
        if (old)
            old->unlock();
    }

private:
    ASegment* segment_;
};

}  // namespace

void AExportWriter::exportModelRange(ADocModel* model, ADocRange range, const AExportContext& context) {
    if (!model)
        return;
    SegmentHold hold(model->segmentAtPosition(range.start));
    while (ASegment* segment = hold.get()) {
        long length = segment->text().length();
        ALocalRange local{0, length};
        if (!isWholeSegment(segment)) {
            if (range.start >= segment->docStart() && range.start <= segment->docEnd() - 1)
                local.start = segment->fromDocument(range.start);
            if (range.end >= segment->docStart() && range.end <= segment->docEnd() - 1)
                local.end = segment->fromDocument(range.end);
        }
        beginSegment(segment, local, context);
        AFragmentRef* open = nullptr;
        try {
            for (AFragment* f = segment->load(); f && f->textRange().start < local.end; f = f->next()) {
                open = paragraphStep(open, f, context);
                ALocalRange clipped{std::max(f->textRange().start, local.start),
                                    std::min(f->textRange().end, local.end)};
                if (clipped.start <= clipped.end)
                    exportFragment(f, clipped, context);
            }
            open = paragraphStep(open, nullptr, context);
        } catch (...) {
            if (open)
                open->release();
            throw;
        }
        endSegment(segment, local);
        hold.moveTo(segment->docEnd() < range.end ? model->nextSegment(segment) : nullptr);
    }
}

AFragmentRef* AExportWriter::paragraphStep(AFragmentRef* previous, AFragment* fragment, const AExportContext& context) {
    AFragmentRef* next = fragment ? fragment->makeReference() : nullptr;
    if (previous && (next || !fragment)) {
        endParagraph(previous, context);
        previous->release();
        previous = nullptr;
    }
    if (!next)
        return previous;
    next->addRef();
    long tabs = 0;
    if (options_ & kCountTabs) {
        const AString& text = fragment->segment()->text();
        for (long i = 0; i < text.length(); ++i)
            tabs += text[i] == '\t';
    }
    next->mergeFormat(context.paragraphFormat);
    try {
        beginParagraph(next, tabs, context);
    } catch (...) {
        next->release();
        throw;
    }
    return next;
}

void AExportWriter::endSegment(ASegment* segment, ALocalRange range) {
    if (segment->text().length() <= range.end)
        paragraphBreak();
}

void AExportWriter::exportFragment(AFragment* fragment, ALocalRange range, const AExportContext& context) {
    uint16_t kind = fragment->linkKind();
    if ((kind & 0xFFF) != 3) {
        fragment->exportTo(this, range, context);
        return;
    }
    AString name = fragment->getName();
    if ((kind & 0xF000) == 0x7000) {
        if (!context.noteMarkers)
            return;
        AExportLink link = makeLink(name, context);
        beginNoteMarker(link, context);
        fragment->exportTo(this, range, context);
        endNoteMarker(link, context);
    } else if (!name.empty()) {
        AExportLink link = makeLink(name, context);
        beginLink(link, context);
        fragment->exportTo(this, range, context);
        endLink(link, context);
    }
}

AExportLink AExportWriter::makeLink(const AString& target, const AExportContext& context) {
    const auto* cursor = dynamic_cast<const AExportCursor*>(&context);
    if (provider_ && linkMode_ != 0)
        return provider_->makeLink(target, linkMode_, cursor ? cursor->linkPrefix : AString());
    return AExportLink();
}
