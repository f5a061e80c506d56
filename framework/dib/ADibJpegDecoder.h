// The JPEG side of the stream DIB reader: a JFIF image decoded by the JPEG
// library into an 8-bit (grey or reduced colours) or 24-bit DIB, one
// scanline at a time, straight into the caller's rows.
//
// Library errors longjmp back into small frames holding plain data and are
// raised there as AImageLibError ("fbitmap", line) with the library's text
// after "Error in JPEG Library: "; warnings (damaged data) are ignored. An
// image whose DIB would pass kMaxDibBytes is refused before decoding starts.
#pragma once

#include <cstdint>

struct KY_File;

class ADibJpegDecoder {
public:
    // Option bits of the image description.
    enum : uint16_t { kReduce256 = 0x0100, kReduce216 = 0x0200, kAppPalette = 0x0400 };

    ADibJpegDecoder();
    ~ADibJpegDecoder();
    ADibJpegDecoder(const ADibJpegDecoder&) = delete;
    ADibJpegDecoder& operator=(const ADibJpegDecoder&) = delete;

    // Reads the header and starts decoding from the file's current position,
    // reading at most length bytes. Any earlier decoding is dropped first.
    // headerOnly: the header alone is read (for the image's size); no row
    // can be read then.
    void open(KY_File* file, long length, uint16_t options, bool headerOnly = false);
    bool isOpen() const { return state_ != nullptr; }
    // True once a row was delivered: the decoder cannot go back.
    bool rowsTaken() const;

    // The 40-byte information header of the DIB, then the colour table.
    long prefixSize() const { return 40 + 4 * colours_; }
    // Copies count bytes of the header and colour table from offset.
    void readPrefix(long offset, uint8_t* dst, long count) const;
    // Decodes every row into dst (count bytes, stride apart), bottom row first.
    void readRows(uint8_t* dst, long count, long stride);

    struct State;  // the library's records; defined in the source

private:
    void close();
    void buildPrefix();

    State* state_;  // owned, null while closed
    long colours_;  // 0 or 256
    int bitCount_;  // 8 or 24
    uint8_t prefix_[40 + 4 * 256];
};
