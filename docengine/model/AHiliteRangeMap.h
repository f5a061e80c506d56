// The marker map: document position -> 32-bit value (for the reader's notes,
// the note number), walked in ascending position order with a cursor.
//
// It is also what a model calls its attachment: the model depends on it and a
// child model gets the part of its range (extract). Shared (ARefObj); a
// change through parse sends notice 201.
#pragma once

#include "base/object/ALongDic.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/depend/ADependable.h"

class AFileStream;
class AOutStream;

class AHiliteRangeMap : public ARefObj, public ADependable {
public:
    AHiliteRangeMap() : cursorIndex_(-1), cursorPosition_(-1), cursorValue_(-1) {}
    explicit AHiliteRangeMap(const char* line);

    // Empties the map, reads "key,value," pairs, then sends notice 201.
    void parse(const char* line);
    // The pairs as parse reads them; empty for an empty map.
    AString toLine() const;

    void set(long position, long value) { entries_.slot(position) = value; }
    void remove(long position) { entries_.removeKey(position); }
    // -1 when absent.
    long get(long position) const;
    long count() const { return entries_.count(); }

    // The first entry with start <= key < end becomes the cursor's; false when none.
    bool findInRange(long start, long end);
    bool findHit(long value);
    bool removeValue(long value);
    // Entries in [start, end), keyed from start; null when there is none. The caller releases it.
    AHiliteRangeMap* extract(long start, long end);

    // Makes the entry of that index the cursor's, (-1, -1) past the end; the index stays.
    void gotoIndex(long index);
    // -1 restarts at the first entry; any other argument steps as next does.
    long first(long argument);
    // The next entry's position, -1 after the last one (and on every later call).
    long next();
    // One text line: toLine() and a line end.
    void writeTo(AOutStream& stream) const;
    void readFrom(AFileStream& stream);

    long hitStart() const { return cursorPosition_; }
    // The names the application's notes call these by.
    long valueAt(long position) const { return get(position); }
    void setAt(long position, long value) { set(position, value); }
    void removeAt(long position) { remove(position); }
    bool selectHit(long value) { return removeValue(value); }
    void toText(AOutStream& stream) const { writeTo(stream); }
    long hitKey() const { return cursorPosition_; }
    long hitEnd() const { return cursorValue_; }
    long currentIndex() const { return cursorIndex_; }

private:
    template <class Test>
    bool walkTo(Test test);

    ALongLongDic entries_;
    long cursorIndex_;
    long cursorPosition_;
    long cursorValue_;
};
