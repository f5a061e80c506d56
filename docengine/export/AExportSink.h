// Where exported bytes go: a string, a growing memory block or an output
// stream. A sink runs written bytes through its character filter unless the
// writer asks for raw output. Shared (ARefObj); a stream sink without a
// stream is an assertion ("gexport").
#pragma once

#include <string>

#include "base/object/AFilter.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AOutStream;

class AExportSink : public ARefObj {
public:
    explicit AExportSink(const AFilter& filter = AFilter()) : filter_(filter) {}
    void setFilter(const AFilter& filter) { filter_ = filter; }
    void write(const char* data, long length, bool filtered);
    virtual void writeRaw(const char* data, long length) = 0;

private:
    AFilter filter_;
};

class AStringExportSink : public AExportSink {
public:
    void writeRaw(const char* data, long length) override { text_.append(data, length); }
    const AString& getString() const { return text_; }

private:
    AString text_;
};

// The bytes in memory this sink owns; result() hands them out as a string.
class AMemoryExportSink : public AExportSink {
public:
    void writeRaw(const char* data, long length) override;
    AString result() const { return AString(bytes_.data(), static_cast<long>(bytes_.size())); }

private:
    std::string bytes_;
};

class AStreamExportSink : public AExportSink {
public:
    explicit AStreamExportSink(AOutStream* stream) : stream_(stream) {}
    void writeRaw(const char* data, long length) override;

private:
    AOutStream* stream_;  // not owned
};
