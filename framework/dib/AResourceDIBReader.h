// The DIB reader of a bitmap resource (type 2) of the program or of a
// resource library: the data starts at once with the bitmap header.
//
// The resource stays open while the reader lives. A damaged resource raises
// AImageLibError ("fbitmap", line) as a damaged file does.
#pragma once

#include "framework/dib/ADIBReader.h"
#include "framework/resources/AResource.h"

class AResourceDIBReader : public ADIBReader {
public:
    explicit AResourceDIBReader(const AResourceRef& ref);
    ~AResourceDIBReader() noexcept override;

protected:
    void read(void* dst, long count) override;
    void rewind() override { position_ = 0; }
    void startBits() override {}
    long sourceBytes() const override { return size_; }

private:
    AResource resource_;
    const uint8_t* data_;  // not owned: the open resource's
    long size_;
    long position_;
};
