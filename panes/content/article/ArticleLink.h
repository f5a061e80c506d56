// The target text of an article's link, read into what a click does:
//   "@text"        the online extended search for text
//   "C" n          the current document again, at text position n
//   ">" p ":" rest rest read by these rules (no ':' makes no link)
//   "S" x n        play media record n (x, any one character, is skipped)
//   "A" x n        the author window of author n
//   "G" x n[":" m] document n; m, when present, the media window's frame
// Numbers are decimal digits; a number that is missing, negative or not a
// number makes no link, as does any other first character.
#pragma once

#include <string>

struct ArticleLink {
    enum Kind { kNone, kSearch, kPosition, kPlay, kAuthor, kDocument };
    Kind kind = kNone;
    std::string text;  // kSearch
    long number = -1;  // the position, record, author or document
    long frame = -1;   // kDocument: the frame after ':', -1 for none

    static ArticleLink parse(const char* target);
    // "search abc", "position 45", "document 12 frame 3", "none"...: for tests and logs.
    std::string describe() const;
};
