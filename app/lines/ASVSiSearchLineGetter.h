// The rows of the reader's previous queries, newest first: " text#i", where
// i is the query's place in the list (kept oldest first).
//
// The list is not owned; it outlives the getter (the application keeps it
// until quit).
#pragma once

#include "app/lines/SortableLineGetter.h"

class ASiReqSearch;

class ASVSiSearchLineGetter : public SortableLineGetter {
public:
    // A null list gives no rows.
    explicit ASVSiSearchLineGetter(ASiReqSearch* list) : list_(list) {}

    long getLineCount() override;
    // Line n shows entry count - 1 - n; a line outside the list is empty.
    AString getRawLine(long record, long line) override;

private:
    ASiReqSearch* list_;  // not owned
};
