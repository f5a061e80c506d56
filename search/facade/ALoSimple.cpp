// Array result lists and the all-documents list.
#include "search/facade/ALoSimple.h"

#include <cstdlib>

#include "base/object/AFileStream.h"

ALoSimple::ALoSimple(const ALo& source, short copyElements) {
    initSimpleFields();
    allocateArray(source.getCount());
    rewind();
    ALo& from = const_cast<ALo&>(source);
    weightMask = static_cast<int32_t>(from.getWeightMask());
    weightBits = static_cast<int32_t>(from.getWeightBits() & 0xFF);
    try {
        if (copyElements)
            copyFrom(&from);
    } catch (...) {
        std::free(docs);
        throw;
    }
    rewind();
}

ALoSimple::ALoSimple(const char* text) {
    initSimpleFields();
    try {
        readText(text, true);
    } catch (...) {
        std::free(docs);
        throw;
    }
}

ALoSimple::ALoSimple(long n) {
    initSimpleFields();
    allocateArray(n);
    rewind();
}

ALoSimple::~ALoSimple() {
    close();
    std::free(docs);
}

void ALoSimple::initSimpleFields() {
    kind = kLoKindSimple;
    docs = nullptr;
    docsBytes = 0;
}

void ALoSimple::allocateArray(long n) {
    allocated = 0;
    std::free(docs);
    docs = nullptr;
    docsBytes = 0;
    if (n < 0 || n > kLoMaxDoc + 1)
        LoDamaged("array list size out of range", 4020);
    // One entry at least, so that an empty list still has its array.
    size_t entries = n ? static_cast<size_t>(n) : 1;
    docs = CheckAlloc(static_cast<int32_t*>(std::calloc(entries, sizeof(int32_t))), "lo", 4023);
    docsBytes = static_cast<int32_t>(n * 4);
    allocated = 1;
}

long ALoSimple::atPosition() {
    current = position >= 0 && position < count ? docs[position] : -1;
    return current == -1 ? -1 : current + base;
}

void ALoSimple::add(long doc, long, long) {
    if (!docs)
        ThrowAssert("lo", 4035);
    if (count >= docsBytes / 4)
        LoDamaged("array list fuller than its capacity", 4037);
    docs[count] = static_cast<int32_t>(doc);
    position = count;
    if (doc > maxDoc)
        maxDoc = static_cast<int32_t>(doc);
    ++count;
}

long ALoSimple::first() {
    ALo::rewind();
    weight = 0;
    if (!isOpen())
        ThrowAssert("lo", 4049);
    if (!count)
        return -1;
    return next();
}

long ALoSimple::next() {
    weight = 0;
    if (position < count)
        ++position;
    return atPosition();
}

long ALoSimple::previous() {
    weight = 0;
    if (position >= 0)
        --position;
    return atPosition();
}

long ALoSimple::last() {
    weight = 0;
    if (!isOpen())
        ThrowAssert("lo", 4071);
    position = count;
    if (!count) {
        current = -1;
        return -1;
    }
    return previous();
}

void ALoSimple::writeBody(AFileStream* s, short keepInMemory) {
    if (!s)
        ThrowAssert("lo", 4082);
    long bytes = static_cast<long>(count) * 4;
    if (count > capacity() || s->write(docs, bytes) != bytes)
        LoDamaged("list file: array not written", 4085);
    if (!keepInMemory) {
        std::free(docs);
        docs = nullptr;
        allocated = 0;
    }
    bodyEnd = static_cast<int32_t>(s->tell());
}

// A list without its array (saved with keepInMemory 0) gets one of the stored
// size; one with a smaller array refuses the body.
void ALoSimple::readBody(AFileStream* s) {
    if (!s)
        ThrowAssert("lo", 4098);
    int64_t bytes = static_cast<int64_t>(bodyEnd) - bodyStart;
    if (bytes != static_cast<int64_t>(count) * 4)
        LoDamaged("list file: array size differs from the count", 4101);
    if (!docs)
        allocateArray(count);
    if (count > capacity())
        LoDamaged("list file: array larger than the list's room", 4105);
    if (s->seek(bodyStart, 0) != bodyStart || s->read(docs, static_cast<long>(bytes)) != bytes)
        LoDamaged("list file: array cut short", 4107);
    rewind();
}

ALoAll::ALoAll() {
    kind = kLoKindAll;
}

ALoAll::ALoAll(const ALo&, short) {
    kind = kLoKindAll;
}

ALoAll::~ALoAll() {
    close();
}
