// The plain rows of a result list: one per document of an occurrence list,
// in the list's order, "<document>#<document>" (the key after '#'), sorted
// on field 0 by document number. The application's result rows replace it.
// Made with a base and a table, line n is instead the text of the record
// that the list's n-th entry names in that table ("" outside the table);
// subclasses format it into a row.
//
// Holds one reference on the list; reads it into memory once. The base is
// not owned.
#pragma once

#include <vector>

#include "app/lines/SortableLineGetter.h"

class ALo;
class ASearchBase;

class ALoLineGetter : public SortableLineGetter {
public:
    explicit ALoLineGetter(ALo* lo);
    ALoLineGetter(ASearchBase* source, int16_t number, ALo* list);
    ~ALoLineGetter() override;

    long getLineCount() override { return static_cast<long>(docs.size()); }
    AString getRawLine(long record, long line) override;
    void prepareLine(long record, int16_t sortMode) override;
    uint32_t getSortKey(int16_t field) override;

protected:
    // The record of entry n of the list in the table; "" without a base or outside either.
    AString entryText(long n);

private:
    ALo* lo;  // one reference held
    ASearchBase* base = nullptr;  // not owned
    int16_t table = 0;
    std::vector<long> docs;
    long prepared = 0;
};
