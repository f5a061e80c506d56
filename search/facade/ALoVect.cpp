// Bit-vector and scored result lists.
#include "search/facade/ALoVect.h"

#include <cstdlib>
#include <cstring>

#include "base/object/AFileStream.h"
#include "search/facade/ASearchRequest.h"

namespace {

const int32_t kMaxVectorBytes = (kLoMaxDoc >> 3) + 1;

int32_t BitsSet(const uint8_t* p, int32_t n) {
    int32_t total = 0;
    for (int32_t i = 0; i < n; ++i)
        total += __builtin_popcount(p[i]);
    return total;
}

}  // namespace

ALoVect::ALoVect() {
    initVectFields();
    rewind();
}

ALoVect::ALoVect(const ALo& source, short copyElements) {
    initVectFields();
    rewind();
    // Documents come out as stored value + base: the bound covers both.
    allocateVector(static_cast<long>(source.getMaxDoc()) + source.getBase());
    try {
        if (copyElements)
            copyFrom(const_cast<ALo*>(&source));
    } catch (...) {
        freeVector();
        throw;
    }
}

// A constructor that raises runs no destructor of its own class: what it
// allocated goes here.
ALoVect::ALoVect(const char* text) {
    initVectFields();
    try {
        readText(text, false);
    } catch (...) {
        freeVector();
        throw;
    }
}

ALoVect::~ALoVect() {
    close();
    freeVector();
}

void ALoVect::initVectFields() {
    kind = kLoKindVect;
    bits = nullptr;
    vectorBytes = 0;
    weight = weightMask = weightBits = 0;
    byteIndex = 0;
    cursorByte = 0;
    bitIndex = -1;
}

void ALoVect::allocateVector(long bound) {
    if (bits || bound <= 0)
        return;
    if (bound > kLoMaxDoc)
        LoDamaged("list bound beyond the largest document", 3110);
    int32_t n = static_cast<int32_t>((bound >> 3) + 1);
    bits = CheckAlloc(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(n), 1)), "lo", 3113);
    vectorBytes = n;
    allocated = 1;
    rewind();
}

void ALoVect::freeVector() {
    std::free(bits);
    bits = nullptr;
    allocated = 0;
}

void ALoVect::allocateFor(long, long bound) {
    allocateVector(bound);
}

void ALoVect::rewind() {
    ALo::rewind();
    byteIndex = 0;
    bitIndex = -1;
    cursorByte = bits && vectorBytes ? bits[0] : 0;
}

long ALoVect::atCursor() {
    current = byteIndex * 8 + bitIndex;
    return current + base;
}

short ALoVect::contains(long doc) {
    long d = doc - base;
    if (d < 0 || !bits || (d >> 3) >= vectorBytes)
        return 0;
    return (bits[d >> 3] >> (d & 7)) & 1;
}

long ALoVect::first() {
    rewind();
    if (!bits || vectorBytes == 0)
        return -1;
    return next();
}

long ALoVect::next() {
    if (!bits)
        return -1;
    do {
        if (++bitIndex > 7) {
            do {
                if (++byteIndex >= vectorBytes) {
                    byteIndex = vectorBytes;
                    bitIndex = 7;
                    cursorByte = 0;
                    current = -1;
                    position = -1;
                    return -1;
                }
                cursorByte = bits[byteIndex];
            } while (cursorByte == 0);
            bitIndex = 0;
        }
    } while (!((cursorByte >> bitIndex) & 1));
    ++position;
    return atCursor();
}

long ALoVect::previous() {
    if (!bits)
        return -1;
    // Past the end, the step back lands on the last element.
    if (byteIndex >= vectorBytes)
        return last();
    do {
        if (bitIndex - 1 < 0) {
            do {
                if (byteIndex == 0) {
                    rewind();
                    return -1;
                }
                cursorByte = bits[--byteIndex];
            } while (cursorByte == 0);
            bitIndex = 7;
        } else {
            --bitIndex;
        }
    } while (!((cursorByte >> bitIndex) & 1));
    --position;
    return atCursor();
}

long ALoVect::last() {
    rewind();
    if (!bits)
        return -1;
    for (int32_t i = vectorBytes - 1; i >= 0; --i)
        if (bits[i]) {
            byteIndex = i;
            cursorByte = bits[i];
            bitIndex = static_cast<int8_t>(31 - __builtin_clz(bits[i]));
            position = count - 1;
            return atCursor();
        }
    return -1;
}

bool ALoVect::setBit(int32_t d) {
    if (d < 0 || !bits || (d >> 3) >= vectorBytes)
        LoDamaged("list document outside the vector", 3200);
    uint8_t bit = static_cast<uint8_t>(1 << (d & 7));
    if (bits[d >> 3] & bit)
        return false;
    bits[d >> 3] |= bit;
    return true;
}

void ALoVect::add(long doc, long w1, long w2) {
    if (doc == -1)
        return;
    int32_t d = static_cast<int32_t>(doc - base);
    // A repeated document is no new element: the cursor stays.
    if (setBit(d)) {
        ++count;
        ++position;
    }
    current = d;
    if (d > maxDoc)
        maxDoc = d;
    weight = w1;
    weight2 = w2;
}

void ALoVect::appendList(ALo* other) {
    if (!other)
        return;
    last();
    appendFrom(other);
    rewind();
    close();
}

void ALoVect::putKindFields(uint8_t* p) {
    LoPut32(p, vectorBytes);
}

void ALoVect::getKindFields(const uint8_t* p, long fileSize) {
    int32_t n = LoGet32(p);
    if (n < 0 || n > kMaxVectorBytes || n > fileSize)
        LoDamaged("list file: vector size out of range", 3235);
    vectorBytes = n;
}

void ALoVect::readVector(AFileStream* s, int32_t end) {
    if (!s)
        ThrowAssert("lo", 3240);
    int32_t n = end - bodyStart;
    if (n != vectorBytes || (n == 0 && count != 0))
        LoDamaged("list file: vector size differs from the body", 3243);
    if (s->seek(bodyStart, 0) != bodyStart)
        LoDamaged("list file: seek to the body failed", 3245);
    freeVector();
    vectorBytes = n;
    if (n) {
        bits = CheckAlloc(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(n), 1)), "lo", 3249);
        allocated = 1;
        if (s->read(bits, n) != n)
            LoDamaged("list file: vector cut short", 3252);
    }
    if (BitsSet(bits, n) != count) {
        freeVector();
        vectorBytes = 0;
        count = 0;
        LoDamaged("list file: count differs from the vector", 3258);
    }
}

void ALoVect::readBody(AFileStream* s) {
    readVector(s, bodyEnd);
    rewind();
}

void ALoVect::writeBody(AFileStream* s, short keepInMemory) {
    if (!s)
        ThrowAssert("lo", 3268);
    if (vectorBytes && bits && s->write(bits, vectorBytes) != vectorBytes)
        LoDamaged("list file: vector not written", 3270);
    if (!keepInMemory)
        freeVector();
    bodyEnd = static_cast<int32_t>(s->tell());
}

ALoScore::ALoScore(const ALo& source, short copyElements) : ALoVect(source, 0) {
    initScoreFields();
    ALo& from = const_cast<ALo&>(source);
    if (from.getKind() == kLoKindScore) {
        scale_ = static_cast<int32_t>(from.scoreScale());
        scored = from.hasScores();
    }
    allocateArrays(from.getCount());
    try {
        if (copyElements)
            copyFrom(&from);
    } catch (...) {
        freeArrays();
        throw;
    }
}

ALoScore::ALoScore(const AFileSpec& spec) {
    initScoreFields();
    fileSpec = spec;
    fromFile = 1;
    AString path;
    try {
        reload(path);
    } catch (...) {
        freeArrays();
        throw;
    }
    persistent = 1;
}

ALoScore::ALoScore(const ASearchRequest& request, short withScores) {
    initScoreFields();
    scored = withScores ? 1 : 0;
    long bound = 0, n = 0;
    LoHandle list = request.openResult(&bound, &n);
    try {
        allocateVector(bound);
        allocateArrays(n);
        fillFromRequest(request, list);
    } catch (...) {
        freeArrays();
        throw;
    }
    setScoreScale(request.getItemBound());
    rewind();
}

ALoScore::ALoScore(long bound, long n, short withScores) {
    initScoreFields();
    scored = withScores ? 1 : 0;
    allocateVector(bound);
    allocateArrays(n);
}

ALoScore::~ALoScore() {
    close();
    freeArrays();
}

void ALoScore::initScoreFields() {
    kind = kLoKindScore;
    scored = 0;
    scores = firstPositions = nullptr;
    scoreCount = scoresOffset = positionsOffset = 0;
    scale_ = 1;
}

void ALoScore::freeArrays() {
    std::free(scores);
    std::free(firstPositions);
    scores = firstPositions = nullptr;
    scoreCount = 0;
}

void ALoScore::allocateArrays(long n) {
    freeArrays();
    if (!scored || n <= 0)
        return;
    if (n > kLoMaxDoc + 1)
        LoDamaged("scored list longer than the largest document", 3330);
    size_t bytes = static_cast<size_t>(n) * sizeof(uint16_t);
    scores = CheckAlloc(static_cast<uint16_t*>(std::calloc(bytes, 1)), "lo", 3332);
    firstPositions = CheckAlloc(static_cast<uint16_t*>(std::calloc(bytes, 1)), "lo", 3333);
    scoreCount = static_cast<int32_t>(n);
}

long ALoScore::firstScoreAt(long k) {
    if (!scored)
        return 0;
    if (k < 0 || k >= count || k >= scoreCount)
        ThrowAssert("lo", 3340);
    return scores[k];
}

long ALoScore::secondScoreAt(long k) {
    if (!scored)
        return 0;
    if (k < 0 || k >= count || k >= scoreCount)
        ThrowAssert("lo", 3347);
    return firstPositions[k];
}

long ALoScore::withScores(long doc) {
    if (doc == -1)
        return -1;
    bool held = scored && position >= 0 && position < scoreCount;
    weight = held ? scores[position] : 0;
    weight2 = held ? firstPositions[position] : 0;
    return doc;
}

long ALoScore::first() {
    return withScores(ALoVect::first());
}

long ALoScore::next() {
    return withScores(ALoVect::next());
}

long ALoScore::previous() {
    return withScores(ALoVect::previous());
}

long ALoScore::last() {
    return withScores(ALoVect::last());
}

void ALoScore::add(long doc, long w1, long w2) {
    if (doc == -1)
        return;
    int32_t d = static_cast<int32_t>(doc - base);
    bool above = count == 0 || d > maxDoc;
    bool fresh = setBit(d);
    if (fresh)
        ++count;
    current = d;
    if (d > maxDoc)
        maxDoc = d;
    if (!scored) {
        weight = weight2 = 0;
        return;
    }
    // The values of position k belong to the k-th element in document order:
    // an element added below others is placed at its rank, counted then only.
    int32_t rank =
        fresh && above ? count - 1 : BitsSet(bits, d >> 3) + __builtin_popcount(bits[d >> 3] & ((1u << (d & 7)) - 1));
    if (fresh) {
        if (count > scoreCount)
            LoDamaged("scored list fuller than its arrays", 3392);
        size_t tail = static_cast<size_t>(count - 1 - rank) * sizeof(uint16_t);
        std::memmove(scores + rank + 1, scores + rank, tail);
        std::memmove(firstPositions + rank + 1, firstPositions + rank, tail);
    }
    position = rank;
    scores[rank] = static_cast<uint16_t>(w1);
    firstPositions[rank] = static_cast<uint16_t>(w2);
    weight = w1;
    weight2 = w2;
}

void ALoScore::putKindFields(uint8_t* p) {
    ALoVect::putKindFields(p);
    LoPut16(p + 4, scored);
    LoPut32(p + 6, scale_);
    LoPut32(p + 10, scoresOffset);
    LoPut32(p + 14, positionsOffset);
}

void ALoScore::getKindFields(const uint8_t* p, long fileSize) {
    ALoVect::getKindFields(p, fileSize);
    int32_t flag = LoGet16(p + 4);
    int32_t at = LoGet32(p + 10);
    int32_t positions = LoGet32(p + 14);
    if (flag < 0 || flag > 1 || at < bodyStart || at > bodyEnd)
        LoDamaged("list file: score fields out of range", 3417);
    scored = static_cast<int16_t>(flag);
    scale_ = LoGet32(p + 6) < 1 ? 1 : LoGet32(p + 6);
    scoresOffset = at;
    positionsOffset = positions;
}

void ALoScore::readBody(AFileStream* s) {
    readVector(s, scoresOffset);
    freeArrays();
    if (scored) {
        int64_t bytes = static_cast<int64_t>(count) * 2;
        if (positionsOffset != scoresOffset + bytes || bodyEnd != positionsOffset + bytes)
            LoDamaged("list file: score arrays differ from the count", 3430);
        allocateArrays(count);
        if (count && (s->read(scores, static_cast<long>(bytes)) != bytes ||
                      s->read(firstPositions, static_cast<long>(bytes)) != bytes))
            LoDamaged("list file: score arrays cut short", 3434);
    } else if (bodyEnd != scoresOffset) {
        LoDamaged("list file: body longer than its vector", 3436);
    }
    rewind();
}

void ALoScore::writeBody(AFileStream* s, short keepInMemory) {
    ALoVect::writeBody(s, keepInMemory);
    scoresOffset = bodyEnd;
    positionsOffset = bodyEnd;
    if (scored) {
        long bytes = static_cast<long>(count) * 2;
        if (count > scoreCount || s->write(scores, bytes) != bytes)
            LoDamaged("list file: scores not written", 3447);
        positionsOffset = static_cast<int32_t>(s->tell());
        if (s->write(firstPositions, bytes) != bytes)
            LoDamaged("list file: positions not written", 3450);
        if (!keepInMemory)
            freeArrays();
    }
    bodyEnd = static_cast<int32_t>(s->tell());
}
