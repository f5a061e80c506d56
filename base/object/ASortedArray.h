// An ascending array of 32-bit values grown in steps of 100, with the
// lower- and upper-bound searches.
//
// A refused growth raises AMemError and keeps the array as it was. An index
// outside the array is an assertion ("cbinary").
#pragma once

#include <cstdint>

class ASortedArray {
public:
    ASortedArray() : data_(nullptr), count_(0), capacity_(0) {}
    ~ASortedArray();
    ASortedArray(const ASortedArray&) = delete;
    ASortedArray& operator=(const ASortedArray&) = delete;

    // True when value may go between the two positions and keep the order
    // strictly increasing; before may be negative and after may equal the count.
    bool fitsAt(int32_t value, long before, long after) const;
    // Stores the value at index (0..count), moving the following ones up; answers the index.
    long insertAt(int32_t value, long index);
    // Stores the value after the last one, unchecked.
    long append(int32_t value) { return insertAt(value, count_); }
    // Frees the block; the capacity becomes -1 (unset).
    void clear();

    // First index whose value is not less than (greater than) value; the count when none.
    long lowerBound(int32_t value) const;
    long upperBound(int32_t value) const;

    long count() const { return count_; }
    long capacity() const { return capacity_; }
    int32_t at(long index) const;

private:
    int32_t* data_;  // owned
    long count_;
    long capacity_;
};
