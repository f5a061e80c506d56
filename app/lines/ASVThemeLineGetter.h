// The rows of the theme tree: one row per line of the theme text, its depth
// given by its leading TABs.
//
// Theme line (a line of the source getter; the line break is the source's):
//   TAB* label [ '#' a ':' m ]
//   TAB*    depth in the tree (0 a top theme); a line deeper than the line
//           before it by more than one still nests under that line
//   label   the theme's name in slash markup, TABs not allowed inside
//   a:m     the theme's key (the links record m of the links base; -1 none);
//           a line without '#' is a theme without articles (empty key)
// Row: the label after three no-break spaces per level, as a one-cell table
// row whose key (its link name) is the theme's key:
//   "/&TABLE:100%:N0:[[100,0,0,0,0:0|//" label "]]&/#" key
// Tree option 1 gives each row its depth as its level, so a tree parser
// nests the deeper rows under it; with 0 every row stands at level 0.
//
// Shared (ARefObj); holds one reference on the source getter.
#pragma once

#include <vector>

#include "app/lines/ALevelledLineGetter.h"

class ASVThemeLineGetter : public ALevelledLineGetter {
public:
    explicit ASVThemeLineGetter(ALineGetter* source);
    ~ASVThemeLineGetter() override;

    void setTreeOption(int16_t option) { treeOption_ = option; }
    int16_t getTreeOption() const { return treeOption_; }

    long getLineCount() override;
    // The theme line without its TABs, "label#key".
    AString getRawLine(long record, long line) override;
    int16_t getLineLevel(long row) override;

    // Raw line n of the source as it stands, "" outside.
    AString sourceLine(long row);
    // The lines of the themes above line (each the nearest line before with
    // fewer TABs), root-most first, then line; empty outside the lines.
    std::vector<long> ancestorsOf(long line);
    // The leading TABs of a theme line.
    static int16_t depthOf(const char* line);

private:
    ALineGetter* source_;  // one reference held
    int16_t treeOption_ = 0;
};
