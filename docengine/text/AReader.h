// Text sources: random access to the bytes of a document whatever holds them,
// the scope guard that locks a source for a walk, and the base of list-row
// producers.
//
// Readers are shared (ARefObj: the creator takes the first reference). Reading
// outside [0, length) answers 0; a text request outside the source is a broken
// invariant (assertion "greader"), callers clip what comes from outside.
#pragma once

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AReader : public ARefObj {
public:
    explicit AReader(long length = 0) : length_(length) {}

    virtual bool isReader() const { return true; }
    // The byte at index (sign-extended), 0 outside [0, length).
    virtual char charAt(long index) = 0;
    // A new string of count bytes from start; needs 0 <= start <= length - count.
    virtual AString getText(long start, long count) = 0;
    // Brackets a walk; every lock is matched by one unlock.
    virtual void lock() {}
    virtual void unlock() {}

    long length() const { return length_; }

protected:
    // Asserts 0 <= count and 0 <= start <= length - count (greader, line).
    void checkRange(long start, long count, long line) const;

    long length_;  // bytes
};

// Locks a reader for the life of the guard.
class AReaderLock {
public:
    explicit AReaderLock(AReader* reader);
    ~AReaderLock();
    AReaderLock(const AReaderLock&) = delete;
    AReaderLock& operator=(const AReaderLock&) = delete;

private:
    AReader* reader_;  // not owned
};

// Base of the application's row producers; the rows are slash markup.
//
// A record is a 0-based position in the getter's own source (a range of
// table records, a result list, a word list, a text buffer): the line maps
// of the sorters and the getter's own lineToRecord both answer such
// positions, and getRawLine resolves one into the source's text.
class ALineGetter : public ARefObj {
public:
    ALineGetter() = default;
    ~ALineGetter() override;

    // The row of display line n as drawn.
    virtual void getLine(AString& out, long row) = 0;
    virtual long getLineCount() = 0;
    // The raw text of record r; line is the display line, -1 when there is none.
    virtual AString getRawLine(long record, long line);
    // The record of display line n without a line map: n itself.
    virtual long lineToRecord(long line) { return line; }
    // A 16-bit location value of the record, when rows want one each.
    virtual int16_t getLineLocation(long record);
    // Column c of the line last prepared, in sort form.
    virtual AString getColumnSortText(int16_t column);
    // The 32-bit key of sort field f of the line last prepared.
    virtual uint32_t getSortKey(int16_t field);
    // Readies record r for getColumnSortText and getSortKey.
    virtual void prepareLine(long record, int16_t sortMode);
};
