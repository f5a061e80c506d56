// The marker map and its text line.
#include "docengine/model/AHiliteRangeMap.h"

#include <cstdlib>
#include <cstring>

#include "base/object/AFileStream.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"

AHiliteRangeMap::AHiliteRangeMap(const char* line) : AHiliteRangeMap() {
    parse(line);
}

namespace {

// The end of the decimal number at p: a '-' directly before a digit is its
// sign, so that negative note ids written by toLine read back.
const char* NumberEnd(const char* p) {
    if (*p == '-' && p[1] >= '0' && p[1] <= '9')
        ++p;
    while (*p >= '0' && *p <= '9')
        ++p;
    return p;
}

}  // namespace

// The line: key "," value "," ... in key order, e.g. "120,0,455,1,". Any of
// ",;:/ .-" separates; reading stops at the end or where no separator follows
// a value. A truncated line (a key without separator or value) keeps the
// pairs read before it: a note file cut short loses only its tail.
void AHiliteRangeMap::parse(const char* line) {
    static const char kSeparators[] = ",;:/ .-";
    entries_.clear();
    const char* p = line ? line : "";
    while (*p) {
        long key = strtol(p, nullptr, 10);
        const char* sep = strpbrk(NumberEnd(p), kSeparators);
        if (!sep)
            break;
        const char* valueStart = sep + 1;
        if (!*valueStart)
            break;
        set(key, strtol(valueStart, nullptr, 10));
        const char* after = strpbrk(NumberEnd(valueStart), kSeparators);
        if (!after)
            break;
        p = after + 1;
    }
    notify(201, 0);
}

void AHiliteRangeMap::writeTo(AOutStream& stream) const {
    stream.writeString(toLine().c_str()).writeString("\n");
}

void AHiliteRangeMap::readFrom(AFileStream& stream) {
    parse(stream.readLine(nullptr).c_str());
}

void AHiliteRangeMap::gotoIndex(long index) {
    long i = 0;
    for (Pix p = entries_.first(); p; entries_.next(p), ++i) {
        if (i == index) {
            cursorPosition_ = entries_.keyOf(p);
            cursorValue_ = entries_.numberOf(p);
            return;
        }
    }
    cursorPosition_ = cursorValue_ = -1;
}

long AHiliteRangeMap::first(long argument) {
    if (argument != -1)
        return next();
    cursorIndex_ = 0;
    gotoIndex(cursorIndex_);
    return cursorPosition_;
}

long AHiliteRangeMap::next() {
    if (cursorIndex_ >= entries_.count())
        return -1;
    ++cursorIndex_;
    gotoIndex(cursorIndex_);
    return cursorPosition_;
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
