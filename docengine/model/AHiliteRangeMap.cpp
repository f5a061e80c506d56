// The marker map and its text line.
#include "docengine/model/AHiliteRangeMap.h"

#include <cstdlib>
#include <cstring>

#include "base/object/AError.h"

AHiliteRangeMap::AHiliteRangeMap(const char* line) : AHiliteRangeMap() {
    parse(line);
}

// The line: key "," value "," ... in key order, e.g. "120,0,455,1,". Any of
// ",;:/ .-" separates; reading stops at the end or where no separator follows
// a value. A key without a separator after it is bad data and ends the line.
void AHiliteRangeMap::parse(const char* line) {
    static const char kSeparators[] = ",;:/ .-";
    entries_.clear();
    const char* p = line ? line : "";
    while (*p) {
        long key = atol(p);
        const char* sep = strpbrk(p, kSeparators);
        if (!sep)
            break;
        const char* valueStart = sep + 1;
        if (!*valueStart)
            break;
        set(key, atol(valueStart));
        const char* after = strpbrk(valueStart, kSeparators);
        if (!after)
            break;
        p = after + 1;
    }
    notify(201, 0);
}

AString AHiliteRangeMap::toLine() const {
    AString line;
    for (Pix p = entries_.first(); p; entries_.next(p)) {
        line += AString(entries_.keyOf(p));
        line += ",";
        line += AString(entries_.numberOf(p));
        line += ",";
    }
    return line;
}

long AHiliteRangeMap::get(long position) const {
    Pix p = entries_.seek(position);
    return p ? entries_.numberOf(p) : -1;
}

template <class Test>
bool AHiliteRangeMap::walkTo(Test test) {
    long index = 0;
    for (Pix p = entries_.first(); p; entries_.next(p), ++index) {
        if (test(entries_.keyOf(p), entries_.numberOf(p))) {
            cursorIndex_ = index;
            cursorPosition_ = entries_.keyOf(p);
            cursorValue_ = entries_.numberOf(p);
            return true;
        }
    }
    cursorIndex_ = index;
    cursorPosition_ = cursorValue_ = -1;
    return false;
}

bool AHiliteRangeMap::findInRange(long start, long end) {
    return walkTo([start, end](long key, long) { return start <= key && key < end; });
}

bool AHiliteRangeMap::findHit(long value) {
    return walkTo([value](long, long v) { return v == value; });
}

bool AHiliteRangeMap::removeValue(long value) {
    if (!findHit(value))
        return false;
    remove(cursorPosition_);
    return true;
}

AHiliteRangeMap* AHiliteRangeMap::extract(long start, long end) {
    AHiliteRangeMap* part = nullptr;
    for (Pix p = entries_.first(); p; entries_.next(p)) {
        long key = entries_.keyOf(p);
        if (key < start || key >= end)
            continue;
        if (!part)
            part = CheckAlloc(new AHiliteRangeMap, "ghilite", 1008);
        part->set(key - start, entries_.numberOf(p));
    }
    cursorIndex_ = entries_.count();
    return part;
}
