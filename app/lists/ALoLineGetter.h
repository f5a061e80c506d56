// The plain rows of a result list: one per document of an occurrence list,
// in the list's order, "<document>#<document>" (the key after '#'), sorted
// on field 0 by document number. The application's result rows replace it.
//
// Holds one reference on the list; reads it into memory once.
#pragma once

#include <vector>

#include "app/lines/SortableLineGetter.h"

class ALo;

class ALoLineGetter : public SortableLineGetter {
public:
    explicit ALoLineGetter(ALo* lo);
    ~ALoLineGetter() override;

    long getLineCount() override { return static_cast<long>(docs.size()); }
    AString getRawLine(long record, long line) override;
    void prepareLine(long record, int16_t sortMode) override;
    uint32_t getSortKey(int16_t field) override;

private:
    ALo* lo;  // one reference held
    std::vector<long> docs;
    long prepared = 0;
};
