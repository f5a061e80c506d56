// A set of positions held as sorted, disjoint, non-touching half-open ranges
// [start, end) of signed 32-bit positions, and a cursor over every position.
//
// The pair array grows and shrinks in steps of 100. A refused growth raises
// AMemError and leaves the set as it was; broken invariants are assertions
// ("cbinary").
#pragma once

#include <cstdint>

struct ARange {
    int32_t start;
    int32_t end;  // exclusive
};

class ARangeArray {
public:
    ARangeArray();
    ~ARangeArray();
    ARangeArray(const ARangeArray&) = delete;
    ARangeArray& operator=(const ARangeArray&) = delete;

    const ARange& at(long index) const;
    void insertAt(const ARange& pair, long index);
    // Merges with every range it overlaps or touches; an empty range adds nothing.
    void addRange(const ARange& range);
    // Cuts every range it overlaps.
    void removeRange(const ARange& range);

    long count() const { return count_; }
    long capacity() const { return capacity_; }

private:
    // First pair whose end is above position; the count when none.
    long firstEndingAfter(int32_t position) const;
    // Applies the storage rule for a new count; raises before anything changes.
    void reserveFor(long newCount);
    void removeBlock(long from, long to);

    ARange* pairs_;  // owned
    long count_;
    long capacity_;
};

class ABinaryCursor {
public:
    ABinaryCursor() { clear(); }
    void clear();
    void attach(const ARangeArray* set);
    // Loads the range at index; 0 when there is none (the index is kept all the same).
    int loadRange(long index);
    // Each answers the current position; the walk is over when done().
    int32_t first();
    int32_t next();
    bool done() const { return current_ >= end_; }

private:
    const ARangeArray* set_;  // not owned
    long index_;
    int32_t start_;
    int32_t end_;
    int32_t current_;
};
