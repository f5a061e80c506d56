// File-backed result lists (kind 2): ascending documents kept in the list's
// file as 18-bit differences, one 4096-byte page in memory whatever the length.
//
// Body: whole pages of 1024 32-bit little-endian words; fields run from the
// most significant bit of word 0 down, across words and pages, most
// significant bit first. Entry k takes bits [k e, (k + 1) e), e = 18, or 36
// with weights: the document field (element - previous element; the first
// entry's previous element is -1), then the weight field (the weight when the
// element changes, else the weight's growth). Fields hold 0..262143: an add
// that does not fit raises ASearchError; weights are cut to that range.
#pragma once

#include "search/facade/ALo.h"

// The page stream over a list body. Reading past the body's end raises
// ASearchError; writing past it extends the body a page at a time.
class ALoBitStream {
public:
    // stream: not owned. start, end: file offsets of the body (whole pages).
    ALoBitStream(AFileStream* stream, int32_t start, int32_t end, int width);
    ~ALoBitStream();
    ALoBitStream(const ALoBitStream&) = delete;
    ALoBitStream& operator=(const ALoBitStream&) = delete;

    uint32_t readField(int64_t bit);
    void writeField(int64_t bit, uint32_t value);
    // Writes the page in memory when it changed.
    void flush();
    int32_t end() const { return end_; }

    static const int32_t kPageBytes = 4096;

private:
    uint32_t* word(int64_t bit, bool writing);

    AFileStream* stream_;  // not owned
    uint32_t* page_;       // owned, kPageBytes bytes
    int32_t pageIndex_;    // page in memory, -1 none
    bool dirty_;
    int32_t start_, end_;
    int width_;
};

class ALoFile : public ALo {
public:
    // A new empty list in a temporary file, open for update; weightBits not
    // 0: entries carry weights; entries of one document are kept apart when
    // their weights differ under weightMask.
    explicit ALoFile(long weightBits = 0, long weightMask = 0);
    ALoFile(const ALo& source, short copyElements);
    // The request's whole result, in a completed temporary file.
    explicit ALoFile(const ASearchRequest& request);
    // Opens an existing list file read-only (recoverable errors when damaged).
    explicit ALoFile(const AFileSpec& spec);
    ~ALoFile() override;

    // Fills from an engine occurrence list (consumed), then closes the list.
    long fillFromList(LoHandle list);
    void setAllOccurrences(bool on) { allOccurrences = on ? 1 : 0; }

    long first() override;
    long next() override;
    long previous() override;
    long last() override;
    void saveTo(AString& result, const AFileSpec& dest, short keepInMemory) override;
    void filePath(AString& result) override;
    void setBase(long b) override;
    void add(long doc, long weight, long weight2) override;
    void appendList(ALo* other) override;

    static const int kFieldBits = 18;

protected:
    void doOpen() override;
    void doClose() override;
    void initFileFields();
    // Reopens in the wanted mode when open in the other one.
    void openIn(bool update);
    int entryBits() const { return weightBits ? 2 * kFieldBits : kFieldBits; }
    void offList();
    // The cursor on the last entry, reading every entry from the first.
    long walkToLast();
    void releaseOpenParts();

    int16_t writeMode;
    ALoBitStream* pager;  // owned while open
    int32_t lastStored;   // the element of the last entry, -1 none
    int32_t lastWeight;   // its weight
};
