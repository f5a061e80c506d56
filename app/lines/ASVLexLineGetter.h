// The lexicon line getters: one list row per entry of an open B+ tree index
// whose data holds one record per key, in key order, and the kytab row
// callback they share with the other "label#key" lists.
//
// Index entry record (the index's data, record n = the tree value of the
// n-th key, so that a key lookup gives the row at once):
//   name '#' key      name: the text shown; key: the row's link name
//   a record without '#' is a name with an empty key.
// Row (ASVTableLineGetterCallBack, one kytab cell):
//   /&TABLE:100%:N0:[[100,0,0,0,0:0|//<name escaped>]]&/#<key>
//
// The index is not owned and must outlive the getter. An index without data
// gives no rows; an entry that cannot be read gives an empty row: the engine's
// error is not passed, a damaged entry must not hide the rest of the list.
#pragma once

#include "app/lines/StandardLineGetter.h"

class AKeyIndex;

// Records [start, end) of an index's data; end == start: all of them.
struct LexRange {
    long start = 0;
    long end = 0;
};

// The range the lexicon getters take when given none: the whole index.
const LexRange& DefaultLexRange();

class ASVTableLineGetterCallBack : public ALineGetterCallBack {
public:
    // raw "name#key" (line end dropped) as one table row.
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override;
    static AString row(const char* name, const char* key);
};

class ASVStandardLexLineGetter : public StandardLexLineGetter {
public:
    // Every entry of index; text is kept for the caller (getText).
    ASVStandardLexLineGetter(AKeyIndex* index, const AString& text);

    const AString& getText() const { return text_; }
    AKeyIndex* index() const { return index_; }

protected:
    ASVStandardLexLineGetter(AKeyIndex* index, const LexRange& range);
    long entryCount() override;
    AString entryText(long n) override;

private:
    AKeyIndex* index_;  // not owned
    AString text_;
    long count_;  // -1 until asked
};

class ASVAtlasLexLineGetter : public ASVStandardLexLineGetter {
public:
    explicit ASVAtlasLexLineGetter(AKeyIndex* index, const LexRange& range = DefaultLexRange());
};
