// Field choice, key reading and the heap sort of the line sorters.
#include "app/lines/ALineSorter.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/lines/AProgressInfo.h"
#include "base/procedural/AError.h"
#include "docengine/text/AReader.h"

namespace {

// The comparator reads the sort field and direction from here: one sort at a time.
int16_t gSortField = 0;
int16_t gSortDescending = 0;

int CompareKeyRecords(const void* a, const void* b) {
    uint32_t ka = (*static_cast<uint32_t* const*>(a))[gSortField];
    uint32_t kb = (*static_cast<uint32_t* const*>(b))[gSortField];
    int order = ka < kb ? -1 : ka > kb ? 1 : 0;
    return gSortDescending ? -order : order;
}

void SwapBytes(unsigned char* a, unsigned char* b, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        unsigned char t = a[i];
        a[i] = b[i];
        b[i] = t;
    }
}

}  // namespace

void HeapSortRecords(void* base, long count, size_t size, int (*compare)(const void*, const void*)) {
    if (count < 2)
        return;
    unsigned char* bytes = static_cast<unsigned char*>(base);
    // 1-based heap: node i lives at bytes + (i - 1) * size.
    auto at = [&](long i) { return bytes + static_cast<size_t>(i - 1) * size; };
    auto sift = [&](long i, long n) {
        while (2 * i <= n) {
            long j = 2 * i;
            if (j < n && compare(at(j), at(j + 1)) < 0)
                ++j;
            if (compare(at(i), at(j)) >= 0)
                break;
            SwapBytes(at(i), at(j), size);
            i = j;
        }
    };
    for (long l = count / 2; l >= 1; --l)
        sift(l, count);
    for (long n = count; n > 1;) {
        SwapBytes(at(1), at(n), size);
        --n;
        sift(1, n);
    }
}

AFieldBasedSorter::AFieldBasedSorter(const char* list, int16_t defaultField)
    : current(-1), defaultField_(defaultField), direction_(0), fieldChanged_(0), directionChanged_(0) {
    std::string text = list ? list : "";
    size_t from = 0;
    for (;;) {
        size_t comma = text.find(',', from);
        std::string item = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        if (item.empty() || strcasecmp(item.c_str(), "NORM") == 0)
            directions.push_back(0);
        else if (strcasecmp(item.c_str(), "INV") == 0)
            directions.push_back(1);
        else
            ThrowAssert("ulinesrt", 60);
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
}

void AFieldBasedSorter::setSortField(int16_t field, int16_t toggle) {
    if (field < 0) {
        current = field;
        fieldChanged_ = 1;
        return;
    }
    if (field >= fieldCount())
        ThrowAssert("ulinesrt", 90);
    fieldChanged_ = 0;
    directionChanged_ = 0;
    if (field != current && field != defaultField_) {
        current = field;
        fieldChanged_ = 1;
        direction_ = directions[static_cast<size_t>(field)];
    } else {
        current = field;
        direction_ = toggle ? static_cast<int16_t>(!direction_) : directions[static_cast<size_t>(field)];
    }
    directionChanged_ = 1;
}

void AFieldBasedSorter::toggleDirection() {
    direction_ = static_cast<int16_t>(!direction_);
    directionChanged_ = 1;
}

ALineSorter::ALineSorter(ALineGetter* getter_, const char* list, int16_t defaultField, AProgressInfo* progress_)
    : AFieldBasedSorter(list, defaultField), getter(getter_), progress(progress_), continueFlag(1) {}

ALineSorter::~ALineSorter() {
    delete progress;
}

void ALineSorter::startProgress(int16_t kind, long total) {
    if (!progress)
        return;
    continueFlag = 1;
    progress->start(kind, total);
}

void ALineSorter::reportProgress(long value) {
    if (!progress)
        return;
    progress->update(value);
    if (progress->cancelled)
        continueFlag = 0;
}

void ALineSorter::setProgressFlag(int16_t value) {
    if (progress)
        progress->showCount = value;
}

void ALineSorter::endProgress() {
    if (progress)
        progress->finish();
}

AMemLongLineSorter::AMemLongLineSorter(ALineGetter* getter_, const char* list, int16_t field,
                                       AProgressInfo* progress_)
    : ALineSorter(getter_, list, field, progress_), lineCount_(0), records(nullptr), readCount(0), keysDone(false) {
    if (!getter)
        ThrowAssert("ulinesrt", 150);
    // Zero-hit results and empty filters make getters without lines: nothing to sort.
    lineCount_ = getter->getLineCount();
    if (lineCount_ < 0)
        lineCount_ = 0;
    if (field == -1)
        readKeys();
    setSortField(field, 0);
}

AMemLongLineSorter::~AMemLongLineSorter() {
    if (records) {
        for (long i = 0; i < lineCount_; ++i)
            free(records[i]);
        delete[] records;
    }
}

void AMemLongLineSorter::readKeys() {
    if (!getter)
        ThrowAssert("ulinesrt", 200);
    startProgress(1, lineCount_);
    if (!records) {
        records = new (std::nothrow) uint32_t*[static_cast<size_t>(lineCount_ > 0 ? lineCount_ : 1)]();
        CheckAlloc(records, "ulinesrt", 205);
    }
    const size_t values = static_cast<size_t>(fieldCount()) + 1;
    long i = 0;
    for (; i < lineCount_; ++i) {
        if (i % 100 == 0) {
            reportProgress(i);
            if (!shouldContinue())
                break;
        }
        uint32_t* record = static_cast<uint32_t*>(calloc(values, sizeof(uint32_t)));
        if (!record)
            break;
        free(records[i]);
        records[i] = record;
        getter->prepareLine(i, 1);
        for (int16_t k = 0; k < fieldCount(); ++k)
            record[k] = getter->getSortKey(k);
        record[values - 1] = static_cast<uint32_t>(i);
    }
    readCount = i;
    keysDone = true;
    endProgress();
}

void AMemLongLineSorter::sort() {
    if (!keysDone) {
        readKeys();
        startProgress(2, lineCount_);
    }
    if (current >= 0 && readCount > 1) {
        gSortField = current;
        gSortDescending = direction_;
        // Only the records read take part: after a cancel the rest stay unset.
        HeapSortRecords(records, readCount, sizeof(uint32_t*), CompareKeyRecords);
    }
    endProgress();
}

void AMemLongLineSorter::setSortField(int16_t field, int16_t toggle) {
    AFieldBasedSorter::setSortField(field, toggle);
    if (current < 0)
        return;
    if (fieldChanged_) {
        if (!keysDone)
            readKeys();
        setProgressFlag(0);
        startProgress(2, lineCount_);
        sort();
    } else if (directionChanged_) {
        startProgress(2, lineCount_);
        sort();
    }
}

long AMemLongLineSorter::lineToRecord(long line) {
    if (!records)
        return line;
    if (line < 0 || line >= lineCount_ || !records[line])
        return 0;
    return static_cast<long>(records[line][fieldCount()]);
}
