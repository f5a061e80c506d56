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
class ALineGetter : public ARefObj {
public:
    ALineGetter() = default;
    ~ALineGetter() override;

    virtual void getLine(AString& out, long row) = 0;
    virtual long getLineCount() = 0;
};
