// Export sinks.
#include "docengine/export/AExportSink.h"

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"

void AExportSink::write(const char* data, long length, bool filtered) {
    if (!filtered || !filter_.handle()) {
        writeRaw(data, length);
        return;
    }
    AString mapped = filter_.apply(data, length);
    writeRaw(mapped.c_str(), mapped.length());
}

void AMemoryExportSink::writeRaw(const char* data, long length) {
    if (length > 0)
        bytes_.append(data, static_cast<size_t>(length));
}

void AStreamExportSink::writeRaw(const char* data, long length) {
    if (!stream_)
        ThrowAssert("gexport", 387);
    for (long i = 0; i < length; ++i)
        stream_->writeChar(data[i]);
}
