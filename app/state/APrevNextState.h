// Cursors over a numbered sequence (hits, documents of a list) whose
// previous/next moves may start again at the other end, and the interface of
// objects that keep long values under long keys.
//
// Positions run from 0 to count - 1. Setting a position outside is an
// assertion ("uprevnext"); a move that cannot be made answers -1.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"

class APrevNextState {
public:
    APrevNextState() = default;
    virtual ~APrevNextState() = default;

    virtual long count() = 0;
    virtual long valueAt(long position) = 0;
    // The value at the new position, or -1 when there is no move.
    virtual long next(int16_t wrap);
    virtual long previous(int16_t wrap);
    virtual void prepare(long) {}
    virtual long extraState() { return 0; }
    virtual void setCurrent(long position);
    virtual int16_t hasNext(int16_t wrap);
    virtual int16_t hasPrevious(int16_t wrap);
    virtual ALongLongDic values() { return ALongLongDic(); }
    // Called after every change of position.
    virtual void currentChanged() {}

    long getCurrent() const { return current; }

private:
    long current = 0;
};

// The values start .. end - 1.
class APrevNextRangeState : public APrevNextState {
public:
    APrevNextRangeState(long first, long last) : start(first), end(last) {}
    long count() override { return end - start; }
    long valueAt(long position) override { return start + position; }

private:
    long start, end;
};

class APrevNextResponder {
public:
    virtual ~APrevNextResponder() = default;
    virtual void setValue(long key, long value) = 0;
    virtual long getValue(long key) = 0;
};
