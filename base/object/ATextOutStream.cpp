// Output streams over a file.
#include "base/object/ATextOutStream.h"

#include "base/procedural/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

ATextOutStream::ATextOutStream() = default;

ATextOutStream::ATextOutStream(const AFile& file, long extra) : AFileStream(file, "w+b", extra) {
    setCache(kCachedFileOptions);
}

ATextOutStream::~ATextOutStream() {
    if (!file_)
        return;
    KY_File* previous = TraceSetSink(nullptr);
    if (previous != file_)
        TraceSetSink(previous);
}

void ATextOutStream::becomeTraceSink() {
    TraceSetSink(file_);
}

void ATextOutStream::close() {
    if (!file_)
        return;
    KY_File* previous = TraceSetSink(nullptr);
    if (previous != file_)
        TraceSetSink(previous);
    AFileStream::close();
}

void ATextOutStream::flushToDisk() {
    if (file_)
        KY_FileFlush(file_);
}

AOutStream& ATextOutStream::writeChar(char c) {
    if (file_)
        KY_FPutc(static_cast<unsigned char>(c), file_);
    return *this;
}

AOutStream& ATextOutStream::writeUChar(unsigned char c) {
    if (file_)
        KY_FPutc(c, file_);
    return *this;
}

AOutStream& ATextOutStream::writeString(const char* s) {
    if (file_ && s && *s)
        KY_FWrite(file_, s, static_cast<long>(std::strlen(s)));
    return *this;
}

AOutStream& ATextOutStream::writeUString(const unsigned char* s) {
    return writeString(reinterpret_cast<const char*>(s));
}

AOutStream& ATextOutStream::writeShort(short v) {
    return writeFormatted("%hd", v);
}

AOutStream& ATextOutStream::writeInt(int v) {
    return writeFormatted("%d", v);
}

AOutStream& ATextOutStream::writeLong(long v) {
    return writeFormatted("%ld", v);
}

AOutStream& ATextOutStream::writeUShort(unsigned short v) {
    return writeFormatted("%hu", v);
}

AOutStream& ATextOutStream::writeUInt(unsigned int v) {
    return writeFormatted("%u", v);
}

AOutStream& ATextOutStream::writeULong(unsigned long v) {
    return writeFormatted("%lu", v);
}

AOutStream& ATextOutStream::writeHex(unsigned long v) {
    return writeFormatted("%.08lX", v);
}

AOutStream& ATextOutStream::writeFormatted(const char* format, ...) {
    char text[20];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return writeString(text);
}
