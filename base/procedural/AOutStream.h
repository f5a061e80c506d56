// The output-stream interface for error reports, memory reports and logs,
// and the current error stream (a stream that writes nothing by default).
#pragma once

class AOutStream {
public:
    AOutStream() = default;
    AOutStream(const AOutStream&) = delete;
    AOutStream& operator=(const AOutStream&) = delete;
    // Stops being the current error stream when it is.
    virtual ~AOutStream();

    virtual void becomeTraceSink() {}
    // True when writing here means writing to the trace.
    virtual bool writesToTrace() const { return true; }
    virtual void close() {}
    // Puts what the stream holds in its buffers on disk; nothing by default.
    virtual void flushToDisk() {}

    virtual AOutStream& writeChar(char c) = 0;
    virtual AOutStream& writeUChar(unsigned char c) = 0;
    virtual AOutStream& writeString(const char* s) = 0;
    virtual AOutStream& writeUString(const unsigned char* s) = 0;
    virtual AOutStream& writeShort(short v) = 0;
    virtual AOutStream& writeInt(int v) = 0;
    virtual AOutStream& writeLong(long v) = 0;
    virtual AOutStream& writeUShort(unsigned short v) = 0;
    virtual AOutStream& writeUInt(unsigned int v) = 0;
    virtual AOutStream& writeULong(unsigned long v) = 0;
    virtual AOutStream& writeHex(unsigned long v) = 0;
};

// Writes nothing. One static instance is the default error stream; a newer
// one replaces it as the default while it lives.
class ANullOutStream : public AOutStream {
public:
    ANullOutStream();
    ~ANullOutStream() override;
    AOutStream& writeChar(char) override { return *this; }
    AOutStream& writeUChar(unsigned char) override { return *this; }
    AOutStream& writeString(const char*) override { return *this; }
    AOutStream& writeUString(const unsigned char*) override { return *this; }
    AOutStream& writeShort(short) override { return *this; }
    AOutStream& writeInt(int) override { return *this; }
    AOutStream& writeLong(long) override { return *this; }
    AOutStream& writeUShort(unsigned short) override { return *this; }
    AOutStream& writeUInt(unsigned int) override { return *this; }
    AOutStream& writeULong(unsigned long) override { return *this; }
    AOutStream& writeHex(unsigned long) override { return *this; }

private:
    ANullOutStream* previousDefault_;  // not owned
};

// The current error stream; the default null stream when none is set.
AOutStream& CurrentErrorStream();
// Detaches the trace sink, stores the stream (not owned; null allowed) and
// lets it become the trace sink.
void SetErrorStream(AOutStream* stream);
