// A compiled regular expression of the object layer: finding, replacing and
// template expansion on AString texts. The groups are those of the last match
// made by any pattern (process-wide), so read them before the next match.
#pragma once

#include "base/object/AString.h"
#include "base/procedural/AError.h"

struct KY_RegExp;

// A pattern that does not compile, or a search with back-references that ran
// out of steps: recoverable, patterns come from data files and the reader.
class ARegExpError : public AThrowableError {
public:
    ARegExpError(const char* file = nullptr, long line = 0, int number = 0)
        : AThrowableError(file, line), number_(number) {}
    const char* className() const override { return "ARegExpError"; }
    // The syntax error number, kKyRegTooComplex (a search ran out of steps),
    // or 0: memory was short.
    int number() const { return number_; }

private:
    int number_;
};

class ARegExp {
public:
    // Compiles; raises ARegExpError ("bregexp", 47) when it cannot. The
    // searches below raise the same when they run out of steps or memory.
    explicit ARegExp(const char* pattern);
    ~ARegExp();
    ARegExp(const ARegExp&) = delete;
    ARegExp& operator=(const ARegExp&) = delete;

    // True when the pattern matches text; [start, end) of the match.
    bool match(const AString& text, long* start, long* end) const;
    // The text with its first match replaced; the text itself without a match.
    AString replaceFirst(const AString& text, const char* replacement) const;
    // Every match replaced, searching again after each. An empty match copies
    // one character before the next search; a pattern anchored with ^ matches
    // only at the start of the text.
    AString replaceAll(const AString& text, const char* replacement) const;
    // Like replaceAll, each match replaced by templ expanded against it ($d, $$).
    AString replaceAllExpanded(const AString& text, const char* templ) const;
    // Group n of the last match; empty when absent.
    AString group(int n) const;
    // templ expanded against the last match.
    AString expand(const char* templ) const;

private:
    AString replace(const AString& text, const char* replacement, bool expanded, bool all) const;

    KY_RegExp* re_;  // owned
    // Text of this pattern's last search: the process-wide groups point into
    // it, so it must outlive a temporary the caller passed.
    mutable AString subject_;
};
