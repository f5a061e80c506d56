// Generated French articles in the slash markup, for the robustness test and
// the parsing benchmark: paragraphs of Windows-1252 words with styles,
// colours, links, buttons, bitmaps, expandable sections, special characters
// and inline tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MarkupGenerator {
public:
    explicit MarkupGenerator(uint32_t seed) : state_(seed ? seed : 1) {}

    // An article of about `paragraphs` paragraphs.
    std::string article(int paragraphs);
    // Articles of 3 to 22 paragraphs until they hold at least minBytes; their size in *bytes.
    std::vector<std::string> articles(size_t minBytes, size_t* bytes);
    // A copy of text with a few random byte edits (flips, insertions, cuts).
    std::string mutate(const std::string& text);
    uint32_t next();

private:
    std::string word();
    std::string construct(int depth);

    uint32_t state_;
};
