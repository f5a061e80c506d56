// An array of heap-allocated elements plus one default element: reading
// beyond the count gives a copy of the default, writing beyond it first
// fills the gap with copies of the default. Grows in steps of Step.
//
// A negative index is an assertion ("carray"); a refused allocation raises
// AMemError through CheckAlloc and leaves the array as it was.
#pragma once

#include <new>

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

template <class T, long Step>
class ARandomArray {
public:
    ARandomArray() : block_(nullptr), count_(0), capacity_(-1) {}
    explicit ARandomArray(const T& dflt) : default_(dflt), block_(nullptr), count_(0), capacity_(-1) {}
    ~ARandomArray() { clear(); }
    ARandomArray(const ARandomArray&) = delete;
    ARandomArray& operator=(const ARandomArray&) = delete;

    long count() const { return count_; }
    long capacity() const { return capacity_; }

    // A copy of element index, or of the default at or beyond the count.
    T at(long index) const {
        if (index < 0)
            ThrowAssert("carray", 176);
        return index < count_ ? *block_[index] : default_;
    }
    // The element itself; index must be below the count.
    T& ref(long index) {
        if (index < 0 || index >= count_)
            ThrowAssert("carray", 159);
        return *block_[index];
    }
    void put(long index, const T& value) {
        if (index < 0)
            ThrowAssert("carray", 159);
        if (index >= count_)
            growTo(index);
        *block_[index] = value;
    }
    void append(const T& value) { put(count_, value); }
    // Deletes every element and frees the block.
    void clear() {
        for (long i = 0; i < count_; ++i)
            delete block_[i];
        KY_Free(block_);
        block_ = nullptr;
        count_ = 0;
        capacity_ = -1;
    }

private:
    void growTo(long index) {
        if (index + 1 > capacity_) {
            long capacity = ((index + 1) / Step) * Step + Step;
            void* grown = KY_Realloc(block_, static_cast<size_t>(capacity) * sizeof(T*));
            block_ = static_cast<T**>(CheckAlloc(grown, "carray", 229));
            capacity_ = capacity;
        }
        while (count_ <= index) {
            block_[count_] = CheckAlloc(new (std::nothrow) T(default_), "carray", 88);
            ++count_;
        }
    }

    T default_;
    T** block_;  // owned, with the elements
    long count_;
    long capacity_;
};
