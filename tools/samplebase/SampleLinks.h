// The links the builder adds to the articles where the corpus gives them:
// an author's name in the pages that credit her ("A:r", r her AUTEURS
// record) and, at the end of a page with sections, a line of buttons to its
// own headings ("C" + the heading's position in the markup).
#pragma once

#include <string>
#include <vector>

#include "tools/samplebase/SampleAuthors.h"

// The first mention of each author in each of her pages becomes a button
// "{@d1@/M/1" name "#A:" record "}"; author k is record k + 1 (record 0 is
// the skeleton's). The count of buttons made.
size_t AddSampleAuthorLinks(const std::vector<SampleAuthor>& authors, std::vector<std::string>* markups);

// The line "/ADans cet article : " + one button a heading, or "" for a markup
// with fewer than two "/G" headings.
std::string SampleSectionLinks(const std::string& markup);

// Appends that line to each whole-page article (a source without "#"); the
// count of articles that got one.
size_t AddSampleSectionLinks(const std::vector<std::string>& sources, std::vector<std::string>* markups);
