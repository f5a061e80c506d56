// Range sets and their cursor.
#include "base/object/ARangeArray.h"

#include "base/object/InRange.h"
#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

#include <cstring>

namespace {
long CapacityFor(long count) {
    return count / 100 * 100 + 100;
}
}  // namespace

ARangeArray::ARangeArray() : pairs_(nullptr), count_(0), capacity_(0) {
    reserveFor(0);
}

ARangeArray::~ARangeArray() {
    KY_Free(pairs_);
}

const ARange& ARangeArray::at(long index) const {
    if (!InRange(index, 0, count_ - 1))
        ThrowAssert("cbinary", 202);
    return pairs_[index];
}

void ARangeArray::reserveFor(long newCount) {
    long wanted = CapacityFor(newCount);
    if (wanted == capacity_)
        return;
    void* moved = KY_Realloc(pairs_, static_cast<size_t>(wanted) * sizeof(ARange));
    if (!moved) {
        // A smaller block refused: the larger one still serves.
        if (wanted < capacity_)
            return;
        g_errorMessage[0] = 0;
        ThrowMemError(AMemError("cbinary", 299));
    }
    pairs_ = static_cast<ARange*>(moved);
    capacity_ = wanted;
}

long ARangeArray::firstEndingAfter(int32_t position) const {
    long lo = 0, hi = count_;
    while (lo < hi) {
        long mid = lo + (hi - lo) / 2;
        if (pairs_[mid].end <= position)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void ARangeArray::insertAt(const ARange& pair, long index) {
    if (!InRange(index, 0, count_))
        ThrowAssert("cbinary", 202);
    reserveFor(count_ + 1);
    std::memmove(pairs_ + index + 1, pairs_ + index, (count_ - index) * sizeof(ARange));
    pairs_[index] = pair;
    ++count_;
}

void ARangeArray::removeBlock(long from, long to) {
    if (from < 0 || to > count_ || from > to)
        ThrowAssert("cbinary", 315);
    long removed = to - from;
    std::memmove(pairs_ + from, pairs_ + to, (count_ - to) * sizeof(ARange));
    std::memset(pairs_ + count_ - removed, 0, removed * sizeof(ARange));
    count_ -= removed;
    reserveFor(count_);
}

void ARangeArray::addRange(const ARange& range) {
    int32_t s = range.start, e = range.end;
    if (s >= e)
        return;
    long i = firstEndingAfter(s);
    if (i > 0 && pairs_[i - 1].end == s) {
        --i;
        s = pairs_[i].start;
    }
    long j = i;
    while (j < count_ && pairs_[j].start <= e) {
        if (pairs_[j].start < s)
            s = pairs_[j].start;
        if (pairs_[j].end > e)
            e = pairs_[j].end;
        ++j;
    }
    if (j > i) {
        pairs_[i] = ARange{s, e};
        removeBlock(i + 1, j);
        return;
    }
    if (i < count_ && e > pairs_[i].start)
        ThrowAssert("cbinary", 293);
    insertAt(ARange{s, e}, i);
}

void ARangeArray::removeRange(const ARange& range) {
    int32_t s = range.start, e = range.end;
    if (s >= e)
        return;
    long i = firstEndingAfter(s);
    long from = i, j = i;
    while (j < count_ && pairs_[j].start < e) {
        ARange p = pairs_[j];
        if (p.start < s) {
            if (j != i)
                ThrowAssert("cbinary", 95);
            if (p.end > e) {
                // The right part goes in first: a refused growth leaves the set whole.
                insertAt(ARange{e, p.end}, j + 1);
                pairs_[j].end = s;
                return;
            }
            pairs_[j].end = s;
            from = ++j;
            continue;
        }
        if (p.end > e) {
            pairs_[j].start = e;
            break;
        }
        ++j;
    }
    if (j > from)
        removeBlock(from, j);
}

void ABinaryCursor::clear() {
    set_ = nullptr;
    index_ = 0;
    start_ = end_ = current_ = 0;
}

void ABinaryCursor::attach(const ARangeArray* set) {
    clear();
    set_ = set;
}

int ABinaryCursor::loadRange(long index) {
    index_ = index;
    if (!set_ || !InRange(index, 0, set_->count() - 1))
        return 0;
    const ARange& r = set_->at(index);
    start_ = r.start;
    end_ = r.end;
    return 1;
}

int32_t ABinaryCursor::first() {
    current_ = loadRange(0) ? start_ : end_;
    return current_;
}

int32_t ABinaryCursor::next() {
    if (current_ == end_ - 1 && loadRange(index_ + 1))
        current_ = start_;
    else
        ++current_;
    return current_;
}
