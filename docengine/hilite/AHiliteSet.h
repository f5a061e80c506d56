// The hit set: the words of a highlight expression, asked by the text
// fragment parser whether a word (or a run of words joined by single blanks)
// is a hit or the beginning of one. Words are compared as given: the parser
// folds the document's characters through the set's filter first.
//
// Expression: lines; a line is sub-expressions separated by "<EXPR>", each
// later one led by its window number ("guerre <EXPR>3 mondiale"); a
// sub-expression is a comma list of words, "*" at the end of the last word
// making every word of the list a prefix; a one-part line with blanks is a
// phrase ("pomme de terre").
//
// Shared (ARefObj); every change of the expression sends notice 201. A null
// expression is an assertion ("ghilite").
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/object/AFilter.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/depend/ADependable.h"

// Splits text in place at each occurrence of separator: leading separators
// are skipped, runs of them count as one, an empty last part is dropped.
// Stores at most maximum part pointers; answers the number of parts found.
int splitString(char* text, char** parts, const char* separator, int maximum);

// One sub-expression: words with their compared lengths (the "*" of a
// prefix word left out), in sorted order for a lookup by first character.
class AHiliteWordList {
public:
    AHiliteWordList(const char* text, long number);
    virtual ~AHiliteWordList() = default;
    void addWord(const char* word, long length);
    // The single test: 1 for a hit; sets *partial and answers result when the
    // text is the beginning of a phrase word; else answers result.
    int match(int result, const char* text, long length, bool phrase, uint16_t* partial) const;
    bool holds(const std::string& word) const { return words_.count(word) != 0; }
    bool hasFirstChar(unsigned char c) const;

    long number;
    std::string firstChars;  // 0xFF for an empty word
    uint16_t prefix;
    uint16_t matched;

private:
    std::map<std::string, long> words_;  // key as written -> compared length
};

// One line of the expression.
class AHiliteExpr {
public:
    explicit AHiliteExpr(const char* text);
    virtual ~AHiliteExpr();
    AHiliteExpr(const AHiliteExpr&) = delete;
    AHiliteExpr& operator=(const AHiliteExpr&) = delete;

    bool hasFirstChar(unsigned char c) const;
    // Nonzero for a hit; *partial set when the run may grow into one.
    int match(int result, const char* text, long length, uint16_t* partial);
    // At most kMaxProximityWords words of the run are looked at; a longer run fails.
    int matchProximity(const char* text, long length, uint16_t* partial);

    static const int kMaxProximityWords = 256;

    std::vector<AHiliteWordList*> lists;  // owned
    uint16_t phrase;
    uint16_t proximity;
    long window;
};

class AHiliteSet : public ARefObj, public ADependable {
public:
    AHiliteSet(const char* expression, const char* separators, const AFilter& filter);
    AHiliteSet(const char* separators, const AFilter& filter);
    ~AHiliteSet() override;

    // Lines end at each "\n" and each "\r"; a line end at the very end adds no line.
    void setExpressionText(const char* text);
    // Null-terminated array of lines.
    void setExpression(const char* const* lines);
    void clear();

    AFilter getFilter() const { return filter_; }
    const char* separators() const { return separators_.c_str(); }
    bool isSeparator(unsigned char c) const { return c != 0 && separatorTable_[c]; }
    // The folded code of a byte (-1: dropped; above 255: two bytes, high first).
    int fold(unsigned char c, unsigned char prefix) const;
    bool isWordStart(unsigned char c) const { return wordStarts_[c]; }
    // Nonzero for a hit; *partial (when given) tells whether the run may grow into a longer hit.
    int matchWord(const char* text, long length, uint16_t* partial);
    long lineCount() const { return static_cast<long>(lines_.size()); }

private:
    void rebuild(const std::vector<std::string>& lines);

    AFilter filter_;
    std::string separators_;
    bool separatorTable_[256];
    bool wordStarts_[256];
    std::vector<AHiliteExpr*> lines_;  // owned
};
