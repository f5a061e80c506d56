// The outline map of an article: where each section starts in the article
// text and in the outline text, with the end values of both texts as a last
// entry, so that section k covers article positions [article(k), article(k+1)).
//
// A value; parse leaves the map empty (and answers false) for a text it
// refuses. Positions are character offsets in the decoded texts.
#pragma once

#include <string>

#include "base/object/ASortedArray.h"

class ArticleOutlineMap {
public:
    // Reads the stored map (see the diagram in the .cpp); false, with an empty
    // map, when the count is 0 or less or the text is malformed.
    bool parse(const char* text, long outlineEnd, long articleEnd);
    void clear();

    // The number of sections (0 when empty).
    long sections() const { return articlePositions_.count() > 0 ? articlePositions_.count() - 1 : 0; }
    // The section holding an article position; a position at or after the
    // article's end falls in the last section; -1 before the first or when empty.
    long sectionOf(long articlePosition) const;
    long articleAt(long index) const { return articlePositions_.at(index); }
    long outlineAt(long index) const { return outlineLines_.at(index); }
    // "article/outline ..." of every entry, the end values included; for the tests.
    std::string describe() const;

private:
    ASortedArray outlineLines_;
    ASortedArray articlePositions_;
};
