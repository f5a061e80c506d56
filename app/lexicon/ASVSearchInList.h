// The application's type-ahead search of index lists: the edit box's text
// is looked up in the index whose entries are the list's rows, and the list
// scrolls so that the row stands five rows below its top. The filtered
// variant maps the entry to its row in a list that shows only some entries.
//
// The index and the filter are not owned. A search without edit box or list,
// or a list without renderer, is an assertion ("appclass").
#pragma once

#include <cstdint>

#include "app/lexicon/SearchInList.h"

class AKeyIndex;
class ARenderer;
class ASortedArray;

class ASVSearchInList : public SearchInList {
    SV_DECLARE_CLASS(ASVSearchInList)
public:
    // Rows shown above the found one.
    enum : long { kRowsAbove = 5 };

    ASVSearchInList() = default;
    ASVSearchInList(AComponent* parent, int16_t editId, int16_t listId, AKeyIndex* index, char prefix);

    // Typing: as findFieldText.
    void search() override;
    // Looks the field's text up and makes the found row the list's current
    // line (without a click notice: nothing opens), kRowsAbove rows below the
    // top; a text past the last entry finds the last row. The row, or -1 when
    // the list has none.
    long findFieldText();
    // The index entry of a text: the index's find (0 without an index).
    virtual long entryOfText(const char* text);
    // The row of an index entry (the entry itself here).
    virtual long rowOfEntry(long entry) { return entry; }
    // Brings top (which may be negative) to the top, prepare rows laid out below it.
    virtual void scrollToLine(ARenderer* renderer, long top, long prepare);

    AKeyIndex* index() const { return index_; }

private:
    AKeyIndex* index_ = nullptr;  // not owned
};

class ASVFilterSearchInList : public ASVSearchInList {
    SV_DECLARE_CLASS(ASVFilterSearchInList)
public:
    ASVFilterSearchInList() = default;
    // filter: the entries shown, ascending (null: every entry).
    ASVFilterSearchInList(AComponent* parent, ASortedArray* filter, int16_t editId, int16_t listId, AKeyIndex* index,
                          char prefix);

    void setFilter(ASortedArray* filter) { filter_ = filter; }
    // The position of the first shown entry not below entry; the filter's count when none.
    long rowOfEntry(long entry) override;

private:
    ASortedArray* filter_ = nullptr;  // not owned
};
