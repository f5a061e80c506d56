// The place list of one map: the atlas lexicon getter's rows (same default
// range) kept to the entries that a filter text names. The filter text is a
// map's place list: entry (record) numbers separated by ',' or ':'; numbers
// that are not whole, negative or past the index's last entry are left out,
// and each entry shows once, in index order. An empty filter shows no row.
//
// The index is not owned (as the base getter's); the filter is owned and
// handed out for the type-ahead search (valid until the next setFilter).
#pragma once

#include "app/lines/ASVLexLineGetter.h"
#include "base/object/ASortedArray.h"

class ASVAtlasFilterLexLineGetter : public ASVStandardLexLineGetter {
public:
    explicit ASVAtlasFilterLexLineGetter(AKeyIndex* index);

    void setFilter(const char* text);
    ASortedArray* filter() { return &filter_; }

    // The filter's entries (the base's entry count stays the index's).
    long getLineCount() override;

protected:
    AString entryText(long n) override;

private:
    ASortedArray filter_;
};
