// The rows of an online search, read from the result text of a ".net" file
// (one row a line; the category line is not part of it).
//
// Result row (TAB-separated; missing fields read ""):
//   category TAB title TAB address TAB summary
// Row forms (slash markup, text fields escaped with '\'):
//   list     "<title>#<address>"
//   summary  "/B<title>/A\n<summary>#<address>"
// A row without a title shows its address.
//
// Shared (ARefObj); keeps its own copy of the text.
#pragma once

#include <string>
#include <vector>

#include "app/lines/SortableLineGetter.h"

class ASVNetSearchLineGetter : public SortableLineGetter {
public:
    ASVNetSearchLineGetter(const char* resultText, int16_t summary);

    long getLineCount() override { return static_cast<long>(rows_.size()); }
    AString getRawLine(long record, long line) override;

private:
    std::vector<std::vector<std::string>> rows_;
    int16_t summary_;
};
