// The result-list family: ordered sets of document numbers kept after a
// search, walked with a cursor, combined, saved to files and reloaded.
//
// Kinds (stored in list files): 1 ALoVect, 2 ALoFile, 3 ALoAll, 4 ALoSimple,
// 5 ALoScore. Lists are shared through ARefObj and start with no reference.
// Document numbers, bounds and counts are 32-bit; stored values are
// (document - base). Damaged list files and stored texts raise ASearchError
// (file "lo"); broken preconditions of callers raise the assertion ("lo").
//
// List file (every integer little-endian; offsets from the start):
//   0 kind(2) 2 count(4) 6 bodyStart(4) 10 bodyEnd(4) 14 weightBits(4)
//   18 weightMask(4) 22 base(4) 26 maxDoc(4) | kind fields from 30 | body
//   [bodyStart, bodyEnd) | string set
// String set, right after the body:
//   count(4), then count times: length(4) and that many bytes (no NUL),
//   keys in increasing strcmp order; count <= 65535, length 1..65535.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AStrDic.h"
#include "search/engine/lists/Lo.h"
#include "search/facade/ADataFile.h"

class AFileStream;
class ASearchRequest;

enum : int16_t { kLoKindVect = 1, kLoKindFile = 2, kLoKindAll = 3, kLoKindSimple = 4, kLoKindScore = 5 };

const int kLoCommonHeader = 30;
// The largest document number a list holds: the 24 bits of a document reference.
const int32_t kLoMaxDoc = 0x00FFFFFF;

// Who deletes a list's temporary file later (the application's list of files
// to delete at the next start). Null (the default): nothing is registered.
typedef void (*ALoTempFileHook)(const AFileSpec& file);
void ALoSetTempFileHook(ALoTempFileHook hook);

class ALo : public ADataFile {
public:
    ~ALo() override;

    // A new empty (or, with copyElements, filled) list of this kind; null for
    // an unknown kind. The caller takes the first reference.
    ALo* create(short copyElements);
    // The document at index i (0 <= i < count), or -1.
    long seek(long i);
    // A new list of this kind with this list's documents that other holds.
    ALo* intersect(ALo* other);

    virtual short contains(long doc);
    virtual long indexOf(long doc);
    virtual long firstScoreAt(long i);
    virtual long secondScoreAt(long i);
    virtual short hasScores() const { return 0; }
    // The cursor: the document under it, -1 off the list.
    virtual long first() = 0;
    virtual long next() = 0;
    virtual long previous() = 0;
    virtual long last() = 0;
    // File operations; result receives the path written (empty for none).
    virtual void copyFileTo(AString& result, const AFileSpec& dest);
    virtual void saveTo(AString& result, const AFileSpec& dest, short keepInMemory);
    virtual void filePath(AString& result);
    virtual void reload(AString& result);
    virtual void readFrom(AFileStream* s);
    virtual void writeTo(AFileStream* s, short keepInMemory);
    virtual void readBody(AFileStream*) {}
    virtual void writeBody(AFileStream*, short) {}
    virtual void writeHeader(AFileStream* s, short keepInMemory);
    virtual void readHeader(AFileStream* s);
    virtual void appendFrom(ALo* other);
    virtual void setBase(long b) { base = b; }
    virtual void rewind();
    virtual void add(long doc, long weight, long weight2);
    virtual void copyFrom(ALo* other);
    virtual long scoreScale() { return 1; }
    virtual void appendList(ALo*) {}

    int16_t getKind() const { return kind; }
    long getCount() const { return count; }
    long getMaxDoc() const { return maxDoc; }
    long getBase() const { return base; }
    long getWeightBits() const { return weightBits; }
    long getWeightMask() const { return weightMask; }
    long getPosition() const { return position; }
    long getWeight() const { return weight; }
    long getWeight2() const { return weight2; }
    const AString& getName() const { return name; }
    void setName(const AString& text) { name = text; }
    AStrDic& getStrings() { return strings; }
    const AFileSpec& getFileSpec() const { return fileSpec; }
    bool isPersistent() const { return persistent != 0; }
    // Registers a file for later deletion (through the hook).
    static void registerTempFile(const AFileSpec& spec);

protected:
    ALo();
    void doOpen() override { rewind(); }
    void doClose() override { rewind(); }
    // Zeroes the fields of this part.
    void initFields();
    // Adds every document of an engine occurrence list, then (-1, -1, -1), and
    // closes the engine list. Answers the engine's code.
    long fillFrom(LoHandle list);
    // Fills from the request's result list (freed here, -1 for none), then
    // takes the name of its first field and the words of its question.
    void fillFromRequest(const ASearchRequest& request, LoHandle list);
    // Walks other from its first document, adding each with (weight, weight2 or 0).
    void addAllOf(ALo* other, bool withSecond);
    // Reads the text form "count:maxDoc:d1,d2,..." calling allocate(count,
    // maxDoc) then add(d, -1, 0) for each d; damaged text raises ASearchError.
    void readText(const char* text, bool checkCount);
    virtual void allocateFor(long, long) {}
    // The header length of this kind.
    virtual long headerSize() const { return kLoCommonHeader; }
    // The kind's fields after the common ones; the reader checks them.
    virtual void putKindFields(uint8_t*) {}
    virtual void getKindFields(const uint8_t*, long) {}
    // The string set after the body, at the stream position.
    void writeStrings(AFileStream* s);
    void readStrings(AFileStream* s);
    // A new unique list file in the temporary folder.
    static AFileSpec newTempFile();
    // Opens spec as a stream in mode.
    static AFileStream* openStream(const AFileSpec& spec, const char* mode);

    AStrDic strings;  // keys only (values unused)
    AString name;
    int16_t kind;
    int32_t count;
    int32_t bodyStart;
    int32_t bodyEnd;
    int32_t weightBits;
    int32_t weightMask;
    int32_t base;
    int32_t maxDoc;
    int32_t current;
    int32_t weight;
    int32_t weight2;
    int32_t position;
    AFileSpec fileSpec;
    AFileStream* stream;  // owned, file-backed lists only
    int16_t persistent;
    int16_t allocated;
    int16_t allOccurrences;
    int16_t fromFile;
};

// Little-endian fields of list headers.
void LoPut16(uint8_t* p, int32_t v);
void LoPut32(uint8_t* p, int32_t v);
int32_t LoGet16(const uint8_t* p);
int32_t LoGet32(const uint8_t* p);
// Raises ASearchError ("lo", line) with the text.
[[noreturn]] void LoDamaged(const char* text, long line);
