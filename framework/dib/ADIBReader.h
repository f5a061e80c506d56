// The reader of one packed device-independent bitmap over an abstract byte
// source: it reads the stored header (12-byte core header, or an information
// header of 16 to 124 bytes), the colour table and the rows through a small
// state machine, and builds a packed DIB, a logical palette and device bitmaps.
//
// Headers come from files: every size is checked against the source and
// kMaxDibBytes before anything is allocated. Bad data raises AImageLibError
// ("fbitmap", line) with the reason in the message buffer; the reader's
// owned DIB and palette are freed by its destructor.
#pragma once

#include <windows.h>

#include <cstdint>

class ADIBReader {
public:
    // Source states: 0 closed, 1 before the header, 2 after it, 3 at the rows.
    enum { kClosed = 0, kAtStart = 1, kHeaderRead = 2, kAtRows = 3 };

    virtual ~ADIBReader();
    ADIBReader(const ADIBReader&) = delete;
    ADIBReader& operator=(const ADIBReader&) = delete;

    // Moving to 1 from another state rewinds the source; 2 reads the header, 3 skips the colour table.
    void gotoState(long n);
    void readHeader();
    long bytesPerRow() const;
    // The stored colour table in a new movable block (the caller frees it), or 0 without one.
    HGLOBAL readColourTable();
    void skipColourTable();

    // The packed DIB, built once: 40-byte header, 4-byte colour entries, rows. Owned.
    HGLOBAL dib();
    // As dib(), handed over: the caller frees it.
    HGLOBAL takeDib();
    // The logical palette, 0 without a colour table; with a reference palette
    // the colours (and a built DIB's table) snap to its nearest entries. Owned.
    HPALETTE palette(HPALETTE reference);
    HPALETTE takePalette(HPALETTE reference);
    // A device-dependent bitmap of the DIB for dc (the caller deletes it), 0 on failure.
    HBITMAP createBitmap(HDC dc, HPALETTE reference);

    long width() const { return width_; }
    long height() const { return height_; }
    int bitCount() const { return bitCount_; }
    long colourCount() const { return colourCount_; }
    long headerSize() const { return headerSize_; }
    long colourTableSize() const { return colourTableSize_; }
    long totalSize() const { return totalSize_; }
    bool coreHeader() const { return coreHeader_ != 0; }
    long state() const { return state_; }

protected:
    ADIBReader();

    // Copies the next count bytes of the source; raises when it cannot.
    virtual void read(void* dst, long count) = 0;
    // Puts the source before the first header byte.
    virtual void rewind() = 0;
    // The header and colour table are consumed; the rows come next.
    virtual void startBits() = 0;
    // Bytes the source holds from the first header byte on, or -1 when the
    // rows do not lie there as stored (expanded or decoded rows).
    virtual long sourceBytes() const { return -1; }
    // Bytes the source holds for the header and colour table alone (-1: no limit).
    virtual long headerBytes() const { return sourceBytes(); }

    void setState(long n);
    long rowsSize() const { return totalSize_ - headerSize_ - colourTableSize_; }

private:
    HPALETTE makePalette(const uint8_t* table, HPALETTE reference, uint8_t* snapTo);

    long width_;
    long height_;
    int16_t bitCount_;
    long colourCount_;
    long totalSize_;  // as stored: header + colour table + rows
    long headerSize_;
    long colourTableSize_;  // as stored: 3 or 4 bytes an entry
    int16_t coreHeader_;
    long state_;
    HPALETTE palette_;  // owned until taken
    HGLOBAL dib_;       // owned until taken
};

// Raises AImageLibError("fbitmap", line) with the formatted reason.
[[noreturn]] void RefuseBitmap(long line, const char* format, ...);
