// Line sorters: the field and direction choice (AFieldBasedSorter), the
// sorter over a line getter with its optional progress record (ALineSorter),
// and the in-memory sorter of one 32-bit key per field (AMemLongLineSorter),
// ordered by HeapSortRecords.
//
// Directions: a comma-separated list, one item per sort field, "" or "NORM"
// ascending, "INV" descending (case ignored); any other word, a field past
// the count and a missing getter are assertions ("ulinesrt"). The getter is
// not held (it holds its sorter); the progress record is owned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/object/ARefObj.h"

class ALineGetter;
class AProgressInfo;

class AFieldBasedSorter : public ARefObj {
public:
    AFieldBasedSorter(const char* directions, int16_t defaultField);

    // A new field takes its default direction; the current (or default)
    // field again reverses with toggle, else returns to its default.
    virtual void setSortField(int16_t field, int16_t toggle);
    virtual void toggleDirection();

    int16_t fieldCount() const { return static_cast<int16_t>(directions.size()); }
    int16_t currentField() const { return current; }
    int16_t defaultField() const { return defaultField_; }
    int16_t direction() const { return direction_; }
    int16_t fieldChanged() const { return fieldChanged_; }
    int16_t directionChanged() const { return directionChanged_; }

protected:
    int16_t current;
    int16_t defaultField_;
    std::vector<int16_t> directions;  // 0 ascending, 1 descending, per field
    int16_t direction_;
    int16_t fieldChanged_;
    int16_t directionChanged_;
};

class ALineSorter : public AFieldBasedSorter {
public:
    ALineSorter(ALineGetter* getter, const char* directions, int16_t defaultField, AProgressInfo* progress);
    ~ALineSorter() override;

    // The record shown on display line n.
    virtual long lineToRecord(long line) { return line; }

    void startProgress(int16_t kind, long total);
    void reportProgress(long value);
    void setProgressFlag(int16_t value);
    void endProgress();
    int16_t shouldContinue() const { return progress ? continueFlag : 1; }
    AProgressInfo* getProgress() const { return progress; }

protected:
    ALineGetter* getter;     // not held
    AProgressInfo* progress;  // owned, or null
    int16_t continueFlag;
};

class AMemLongLineSorter : public ALineSorter {
public:
    // Field -1 reads the keys at once and keeps the record order; another
    // field sorts on it at once. A getter without lines sorts nothing.
    AMemLongLineSorter(ALineGetter* getter, const char* directions, int16_t field, AProgressInfo* progress);
    ~AMemLongLineSorter() override;

    void setSortField(int16_t field, int16_t toggle) override;
    // The record of the n-th key record; 0 past the lines or for a line whose
    // key was never read (a cancel, a failed allocation).
    long lineToRecord(long line) override;

    void readKeys();
    void sort();
    long lineCount() const { return lineCount_; }
    long keysRead() const { return readCount; }

private:
    long lineCount_;
    uint32_t** records;  // owned: lineCount_ entries, each fieldCount + 1 values or null
    long readCount;      // records filled; only these are sorted
    bool keysDone;
};

// Sorts count records of size bytes in place into the comparator's
// non-decreasing order (not stable).
void HeapSortRecords(void* base, long count, size_t size, int (*compare)(const void*, const void*));
