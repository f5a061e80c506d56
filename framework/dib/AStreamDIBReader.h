// The DIB reader of an image lying in a byte range of a file: a Windows
// bitmap file ("BM"), the framework's bitmap file whose rows are a PNG stream
// ("KY", expanded by the codec's mode 5) or a JFIF JPEG image.
//
// The file stays open from construction to destruction. Nothing is read
// outside the range; a range outside the file, an unknown format, a short
// read or a failing expansion raises AImageLibError ("fbitmap", line).
#pragma once

#include "base/object/ACodecReader.h"
#include "base/object/AFileSpec.h"
#include "base/object/AFileStream.h"
#include "framework/dib/ADIBReader.h"
#include "framework/dib/ADibJpegDecoder.h"

class AStreamDIBReader : public ADIBReader {
public:
    // Option bits: the image description's first word.
    enum : uint16_t {
        kCompressedRows = 0x0001,
        kJpeg = 0x0020,
        kReduce256 = ADibJpegDecoder::kReduce256,
        kReduce216 = ADibJpegDecoder::kReduce216,
        kAppPalette = ADibJpegDecoder::kAppPalette,
    };

    // The image is bytes [start, end) of the file; start == end: the whole
    // file from start. headerOnly: only the header is wanted (width, height,
    // bit count): a JPEG image is not started, and no row can be read.
    AStreamDIBReader(const AFileSpec& spec, long start, long end, uint16_t options, bool headerOnly = false);
    ~AStreamDIBReader() override;

    uint16_t options() const { return options_; }

protected:
    void read(void* dst, long count) override;
    void rewind() override;
    void startBits() override;
    long sourceBytes() const override;
    long headerBytes() const override;

private:
    void seek(long offset, long line);
    void readFile(void* dst, long count);
    void checkPngHeader();

    ACodecReader* codec_;  // owned, null without compressed rows
    uint16_t options_;
    AFileStream stream_;
    long rangeStart_;
    long rangeLength_;
    ADibJpegDecoder jpeg_;
    long prefixRead_;  // JPEG: bytes of the synthesised header and table already read
    bool headerOnly_;
};
