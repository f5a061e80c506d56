// A model's exports of ranges, its selection or all of it, through the
// plain-text or the slash-markup writer and a sink.
#include "base/procedural/AError.h"
#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/AExportWriter.h"
#include "docengine/export/AMarkupExportWriter.h"
#include "docengine/model/ADocModel.h"

namespace {

// The given provider, or one made over the model alone.
AExportProvider* ProviderFor(ADocModel* model, AExportProvider* given) {
    if (given)
        return given;
    return CheckAlloc(new ARendererExportProvider(model, nullptr, AString(), AString()), "gmodel", 781);
}

}  // namespace

bool ADocModel::exportRange(AExportSink* sink, long start, long end, AExportProvider* provider, bool markup) {
    ARefHold<AExportProvider> hold(ProviderFor(this, provider));
    if (markup) {
        AMarkupExportWriter writer(sink, hold.get(), false);
        writer.exportRange(ADocRange{start, end});
        return true;
    }
    sink->setFilter(filter_);
    APlainExportWriter writer(sink, hold.get());
    writer.exportRange(ADocRange{start, end});
    return true;
}

AString ADocModel::exportText(long start, long end, AExportProvider* provider, bool markup) {
    ARefHold<AStringExportSink> out(CheckAlloc(new AStringExportSink, "gmodel", 803));
    exportRange(out.get(), start, end, provider, markup);
    return out.get()->getString();
}

AString ADocModel::exportToMemory(long start, long end, AExportProvider* provider) {
    ARefHold<AMemoryExportSink> out(CheckAlloc(new AMemoryExportSink, "gmodel", 794));
    exportRange(out.get(), start, end, provider, false);
    return out.get()->result();
}

bool ADocModel::exportToStream(AOutStream* stream, long start, long end, AExportProvider* provider, bool markup) {
    ARefHold<AStreamExportSink> out(CheckAlloc(new AStreamExportSink(stream), "gmodel", 816));
    return exportRange(out.get(), start, end, provider, markup);
}

AString ADocModel::exportSelection(AExportProvider* provider, bool markup) {
    ADocRange r = GetSelection();
    return exportText(r.start, r.end, provider, markup);
}

AString ADocModel::exportSelectionToMemory(AExportProvider* provider) {
    ADocRange r = GetSelection();
    return exportToMemory(r.start, r.end, provider);
}

bool ADocModel::exportSelectionToStream(AOutStream* stream, AExportProvider* provider, bool markup) {
    ADocRange r = GetSelection();
    return exportToStream(stream, r.start, r.end, provider, markup);
}

AString ADocModel::exportAllToMemory(AExportProvider* provider) {
    return exportToMemory(0, getPositionCount(), provider);
}

bool ADocModel::exportAllToStream(AOutStream* stream, AExportProvider* provider, bool markup) {
    return exportToStream(stream, 0, getPositionCount(), provider, markup);
}
