// Array result lists (kind 4), which keep their documents in the order added,
// duplicates included, and the all-documents placeholder (kind 3).
//
// ALoSimple's array is sized once; an add beyond it raises ASearchError.
// Values are stored as passed and reported as value + base; weights are not
// kept. File body: the array, count 32-bit little-endian values.
#pragma once

#include "search/facade/ALo.h"

class ALoSimple : public ALo {
public:
    ALoSimple(const ALo& source, short copyElements);
    // The stored text form "count:maxDoc:d1,d2,..."; damaged text raises ASearchError.
    explicit ALoSimple(const char* text);
    // An empty list with room for n documents.
    explicit ALoSimple(long n);
    ~ALoSimple() override;

    long first() override;
    long next() override;
    long previous() override;
    long last() override;
    void readBody(AFileStream* s) override;
    void writeBody(AFileStream* s, short keepInMemory) override;
    void add(long doc, long weight, long weight2) override;

    long capacity() const { return docs ? docsBytes / 4 : 0; }

protected:
    void initSimpleFields();
    void allocateArray(long n);
    void allocateFor(long n, long) override { allocateArray(n); }
    long atPosition();

    int32_t* docs;  // owned, docsBytes / 4 entries
    int32_t docsBytes;
};

// Every document: stores nothing; its cursor always answers 0.
class ALoAll : public ALo {
public:
    ALoAll();
    ALoAll(const ALo& source, short copyElements);
    ~ALoAll() override;

    short contains(long) override { return 1; }
    long indexOf(long doc) override { return doc; }
    long first() override { return 0; }
    long next() override { return 0; }
    long previous() override { return 0; }
    long last() override { return 0; }
    void saveTo(AString& result, const AFileSpec&, short) override { result = AString(); }
    void filePath(AString& result) override { result = AString(); }
};
