// Sorted arrays of 32-bit values.
#include "base/object/ASortedArray.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

#include <algorithm>
#include <cstring>

ASortedArray::~ASortedArray() {
    KY_Free(data_);
}

void ASortedArray::clear() {
    KY_Free(data_);
    data_ = nullptr;
    count_ = 0;
    capacity_ = -1;
}

int32_t ASortedArray::at(long index) const {
    if (index < 0 || index >= count_)
        ThrowAssert("cbinary", 202);
    return data_[index];
}

bool ASortedArray::fitsAt(int32_t value, long before, long after) const {
    bool beforeOk = before < 0 || at(before) < value;
    bool afterOk = after == count_ || at(after) > value;
    return beforeOk && afterOk;
}

long ASortedArray::insertAt(int32_t value, long index) {
    if (index < 0 || index > count_)
        ThrowAssert("cbinary", 202);
    long newCount = count_ + 1;
    long newCapacity = 100 * (newCount / 100 + 1);
    if (newCapacity != capacity_) {
        void* grown = KY_Realloc(data_, static_cast<size_t>(newCapacity) * sizeof(int32_t));
        if (!grown) {
            g_errorMessage[0] = 0;
            ThrowMemError(AMemError("cbinary", 230));
        }
        data_ = static_cast<int32_t*>(grown);
        capacity_ = newCapacity;
    }
    std::memmove(data_ + index + 1, data_ + index, (count_ - index) * sizeof(int32_t));
    data_[index] = value;
    count_ = newCount;
    return index;
}

long ASortedArray::lowerBound(int32_t value) const {
    return std::lower_bound(data_, data_ + count_, value) - data_;
}

long ASortedArray::upperBound(int32_t value) const {
    return std::upper_bound(data_, data_ + count_, value) - data_;
}
