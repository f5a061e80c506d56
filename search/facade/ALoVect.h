// Result lists held as bit vectors (kind 1) and scored lists (kind 5), which
// add a score and a first occurrence position per element.
//
// Element v is bit (v & 7) of byte (v >> 3), bit 0 least significant. The
// vector for a bound b has (b >> 3) + 1 bytes; b is at most kLoMaxDoc.
// Vector header after the common 30 bytes: 30 vectorBytes(4) (header 34).
// Scored further: 34 hasScores(2) 36 scoreScale(4) 40 scoresOffset(4)
// 44 positionsOffset(4) (header 48). Body: the vector, then for scored lists
// with scores count 16-bit scores and count 16-bit first positions.
#pragma once

#include "search/facade/ALo.h"

class ALoVect : public ALo {
public:
    ALoVect();
    ALoVect(const ALo& source, short copyElements);
    // The stored text form "count:maxDoc:d1,d2,..."; damaged text raises ASearchError.
    explicit ALoVect(const char* text);
    ~ALoVect() override;

    short contains(long doc) override;
    long first() override;
    long next() override;
    long previous() override;
    long last() override;
    void readBody(AFileStream* s) override;
    void writeBody(AFileStream* s, short keepInMemory) override;
    void rewind() override;
    void add(long doc, long weight, long weight2) override;
    void appendList(ALo* other) override;

    long getVectorBytes() const { return vectorBytes; }

protected:
    void initVectFields();
    // A zeroed vector for elements 0..bound, unless one exists; 0 gives none.
    void allocateVector(long bound);
    void freeVector();
    void allocateFor(long n, long bound) override;
    long headerSize() const override { return kLoCommonHeader + 4; }
    void putKindFields(uint8_t* p) override;
    void getKindFields(const uint8_t* p, long fileSize) override;
    // Reads the vector of [bodyStart, end) and checks count against it.
    void readVector(AFileStream* s, int32_t end);
    // Sets the bit of stored value d; true when it was clear.
    bool setBit(int32_t d);
    long atCursor();

    uint8_t* bits;  // owned, vectorBytes bytes
    int32_t vectorBytes;
    int32_t byteIndex;  // vectorBytes: past the end
    uint8_t cursorByte;
    int8_t bitIndex;  // -1 before bit 0
};

class ALoScore : public ALoVect {
public:
    ALoScore(const ALo& source, short copyElements);
    // Reads the list file (recoverable errors for damaged files); persistent.
    explicit ALoScore(const AFileSpec& spec);
    // The request's whole result, with its scores when withScores.
    ALoScore(const ASearchRequest& request, short withScores);
    // An empty list for documents 0..bound with room for n scored elements.
    ALoScore(long bound, long n, short withScores);
    ~ALoScore() override;

    // Fills from an engine occurrence list (consumed); answers the engine's code.
    long fillFromList(LoHandle list) { return fillFrom(list); }
    void setScoreScale(long scale) { scale_ = scale < 1 ? 1 : scale; }

    long firstScoreAt(long k) override;
    long secondScoreAt(long k) override;
    short hasScores() const override { return scored; }
    long first() override;
    long next() override;
    long previous() override;
    long last() override;
    void readBody(AFileStream* s) override;
    void writeBody(AFileStream* s, short keepInMemory) override;
    void add(long doc, long weight, long weight2) override;
    long scoreScale() override { return scale_; }

protected:
    void initScoreFields();
    void allocateArrays(long n);
    void freeArrays();
    long headerSize() const override { return kLoCommonHeader + 18; }
    void putKindFields(uint8_t* p) override;
    void getKindFields(const uint8_t* p, long fileSize) override;
    long withScores(long doc);

    int16_t scored;
    uint16_t* scores;          // owned, scoreCount entries
    uint16_t* firstPositions;  // owned, scoreCount entries
    int32_t scoreCount;
    int32_t scoresOffset;
    int32_t positionsOffset;
    int32_t scale_;
};
