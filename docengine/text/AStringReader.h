// Readers over text in memory: a shared string for short texts, a movable
// memory block for long ones, and the reader that picks between them.
//
// Failures to allocate raise AMemError ("greader"); reading a block that is
// not locked is an assertion.
#pragma once

#include "base/object/AGlobalMemory.h"
#include "docengine/text/AReader.h"

class ASharedStringReader : public AReader {
public:
    explicit ASharedStringReader(const AString& text) : AReader(text.length()), text_(text) {}

    char charAt(long index) override;
    AString getText(long start, long count) override;

private:
    AString text_;  // shares the caller's body
};

class AMemoryBlockReader : public AReader {
public:
    // Takes ownership of a movable block holding length bytes.
    AMemoryBlockReader(void* block, long length);
    ~AMemoryBlockReader() override;

    char charAt(long index) override;
    AString getText(long start, long count) override;
    // Pins the block unless already pinned; unlock releases the pin.
    void lock() override;
    void unlock() override;

private:
    AGlobalHandle block_;  // owned
    AGlobalMemory pin_;    // the lock while pinned
};

class AStringReader : public AReader {
public:
    // Texts shorter than this stay in a string; longer go to a movable block.
    static const long kBlockThreshold = 0x7FFF;

    // Copies length bytes of text (-1: up to its NUL).
    AStringReader(const char* text, long length);
    ~AStringReader() override;

    char charAt(long index) override { return inner_->charAt(index); }
    AString getText(long start, long count) override { return inner_->getText(start, count); }
    void lock() override;
    void unlock() override;

    // The reader that holds the text (owned; for tests of the choice).
    AReader* inner() const { return inner_; }

private:
    AReader* inner_;  // one reference held
};
