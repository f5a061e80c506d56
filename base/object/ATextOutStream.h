// The file-backed output stream of logs, error reports and memory reports.
// Unbound, it writes nothing and says so (writesToTrace), so that callers
// send their text to the trace instead. Write failures are not reported.
#pragma once

#include "base/object/AFileStream.h"
#include "base/procedural/AOutStream.h"

class ATextOutStream : public AFileStream, public virtual AOutStream {
public:
    ATextOutStream();
    // Opens the file "w+b" with three cached blocks of 2048 bytes.
    ATextOutStream(const AFile& file, long extra);
    ~ATextOutStream() override;

    void becomeTraceSink() override;
    bool writesToTrace() const override { return file_ == nullptr; }
    // Closes the file; the trace stops writing to it first when it is the sink.
    void close() override;
    void flushToDisk() override;

    AOutStream& writeChar(char c) override;
    AOutStream& writeUChar(unsigned char c) override;
    AOutStream& writeString(const char* s) override;
    AOutStream& writeUString(const unsigned char* s) override;
    AOutStream& writeShort(short v) override;
    AOutStream& writeInt(int v) override;
    AOutStream& writeLong(long v) override;
    AOutStream& writeUShort(unsigned short v) override;
    AOutStream& writeUInt(unsigned int v) override;
    AOutStream& writeULong(unsigned long v) override;
    AOutStream& writeHex(unsigned long v) override;

private:
    AOutStream& writeFormatted(const char* format, ...);
};
